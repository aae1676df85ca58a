#include "board/utility.h"

#include "platform/runtime/locale_info.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct FormatCase {
    double value;
    const char* expected;
};

TEST(UtilityFormatEng, ScalesIntoThreeDigitGroups)
{
    rt::ScopedNumberLocale dot(QLatin1Char('.'));
    const FormatCase cases[] = {
        {1500, "1.500e+03"},  {0.0000047, "4.700e-06"}, {1, "1.000e00"},         {5, "5.000e+00"},
        {999, "999.000e+00"}, {1000, "1.000e+03"},      {-1500, "-1.500e+03"},   {0.5, "500.000e-03"},
        {1e-12, "1.000e-12"}, {2.5e9, "2.500e+09"},     {-0.002, "-2.000e-03"},  {1e300, "1.000e+300"},
        {0, "0.000e+00"},     {-1, "-1.000e00"},        {123456, "123.456e+03"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(FormatEng(c.value, "0.000"), QString::fromUtf8(c.expected)) << c.value;
}

TEST(UtilityFormatEng, CommaLocaleAndOtherFormats)
{
    rt::ScopedNumberLocale comma(QLatin1Char(','));
    EXPECT_EQ(FormatEng(1500, "0.000"), "1,500e+03");
    EXPECT_EQ(FormatEng(0.0000047, "0.0"), "4,7e-06");
    EXPECT_EQ(FormatEng(25000, "0"), "25e+03");
}

TEST(UtilityFormatEng, NonFiniteValuesReturnAtOnce)
{
    EXPECT_EQ(FormatEng(std::numeric_limits<double>::infinity(), "0.000"), "Inf");
    EXPECT_EQ(FormatEng(-std::numeric_limits<double>::infinity(), "0.000"), "-Inf");
    EXPECT_EQ(FormatEng(std::numeric_limits<double>::quiet_NaN(), "0.000"), "NaN");
    EXPECT_EQ(FormatSI(std::numeric_limits<double>::infinity(), "0.000"), "Inf ");
    EXPECT_EQ(FormatSI(std::numeric_limits<double>::quiet_NaN(), "0.000"), "NaN ");
}

TEST(UtilityFormatEng, ExtremeFiniteValuesStillEnd)
{
    EXPECT_TRUE(FormatEng(std::numeric_limits<double>::max(), "0.000").endsWith("e+306"));
    EXPECT_TRUE(FormatEng(std::numeric_limits<double>::denorm_min(), "0.000").endsWith("e-324"));
}

TEST(UtilityFormatSI, PrefixesFromYoctoToYotta)
{
    rt::ScopedNumberLocale dot(QLatin1Char('.'));
    const FormatCase cases[] = {
        {0.0000047, "4.700 \u00B5"}, {0, "0.000 "},       {1500, "1.500 k"},    {1, "1.000 "},
        {0.02, "20.000 m"},          {2e-24, "2.000 y"},  {5e24, "5.000 Y"},    {-3.3e6, "-3.300 M"},
        {4.5e-9, "4.500 n"},         {7e-12, "7.000 p"},  {1.2e-15, "1.200 f"}, {3e-18, "3.000 a"},
        {6e-21, "6.000 z"},          {2.2e9, "2.200 G"},  {8e12, "8.000 T"},    {4e15, "4.000 P"},
        {9e18, "9.000 E"},           {1.1e21, "1.100 Z"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(FormatSI(c.value, "0.000"), QString::fromUtf8(c.expected)) << c.value;
}

TEST(UtilityFormatSI, BeyondTheTableTheExponentStays)
{
    rt::ScopedNumberLocale dot(QLatin1Char('.'));
    EXPECT_EQ(FormatSI(1e27, "0.000"), "1.000e+27 ");
    EXPECT_EQ(FormatSI(3e-30, "0.000"), "3.000e-30 ");
}

TEST(UtilityFormatSI, CommaLocale)
{
    rt::ScopedNumberLocale comma(QLatin1Char(','));
    EXPECT_EQ(FormatSI(0.0125, "0.000000"), QString::fromUtf8("12,500000 m"));
}

TEST(UtilityEngToSIPrefix, ExponentBecomesPrefix)
{
    const std::pair<const char*, const char*> cases[] = {
        {"4.700E-06", "4.700 u"},
        {"1.500e+03", "1.500 k"},
        {"2.000E+00", "2.000 "},
        {"1.000e00", "1.000 "},
        {"5.000E-15", "5.000 f"},
        {"3.000E-12", "3.000 p"},
        {"7.000e-09", "7.000 n"},
        {"4.700e-03", "4.700 m"},
        {"6.000E+06", "6.000 M"},
        {"1.000E+09", "1.000 G"},
        {"4,700E-06", "4,700 u"},
        {"-2.5E-3", "-2.5 m"},
        // No exponent: exponent 0.
        {"3.300", "3.300 "},
        // No prefix for it: the exponent stays so that the value is still right.
        {"1.000E+12", "1.000E+12 "},
        {"1.000E-18", "1.000E-18 "},
        {"1.0E+4", "1.0E+4 "},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(EngToSIPrefix(in), out) << in;
}

TEST(UtilityEngToSIPrefix, ReadsWhatFormatEngWrites)
{
    rt::ScopedNumberLocale dot(QLatin1Char('.'));
    EXPECT_EQ(EngToSIPrefix(FormatEng(0.0000047, "0.000")) + "S", "4.700 uS");
    EXPECT_EQ(EngToSIPrefix(FormatEng(0, "0.000")) + "S", "0.000 S");
    EXPECT_EQ(EngToSIPrefix(FormatEng(1, "0.000")) + "S", "1.000 S");
    EXPECT_EQ(EngToSIPrefix(FormatEng(0.25, "0.000")) + "S", "250.000 mS");
}

TEST(UtilityIsValidHexString, OneTokenWithBlanksAround)
{
    const std::pair<const char*, bool> cases[] = {
        {" -1F ", true}, {"1 2", false}, {"", true},      {"\t+ab\t", true}, {"1G", false},
        {"12 ", true},   {"  ", true},   {"-", true},     {"0x1F", false},   {"1F  -", false},
        {"FFFF", true},  {"1,5", false}, {" \t 7", true},
    };
    for (const auto& [text, valid] : cases)
        EXPECT_EQ(IsValidHexString(text), valid) << text;
}

} // namespace
