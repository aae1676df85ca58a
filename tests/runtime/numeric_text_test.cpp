#include "platform/runtime/locale_info.h"
#include "platform/runtime/numeric_text.h"
#include "runtime_test_support.h"

#include <cmath>
#include <limits>

using namespace rt;
using rt::testing::errorNumberOf;

namespace {

struct NumericCase {
    const char* text;
    bool numeric;
};

void expectNumeric(std::initializer_list<NumericCase> cases)
{
    for (const NumericCase& c : cases)
        EXPECT_EQ(IsNumeric(QString::fromUtf8(c.text)), c.numeric) << '"' << c.text << '"';
}

TEST(IsNumeric, PointLocale)
{
    ScopedNumberLocale locale(QLatin1Char('.'), QStringLiteral("-"), QLatin1Char(','));
    expectNumeric({
        {"", false},     {" ", false},        {"12", true},    {" 12 ", true},
        {"\t7\t", true}, {"-12.5", true},     {"+3", true},    {".5", true},
        {"5.", true},    {".", false},        {"-", false},    {"--1", false},
        {"- 5", false},  {"1E5", true},       {"1e-5", true},  {"2.5E+3", true},
        {"1E", false},   {"1E+", false},      {"E5", false},   {"12a", false},
        {"1 2", false},  {"1.2.3", false},    {"1,234", true}, {"1,234,567.5", true},
        {"1,23", false}, {"1234,567", false}, {",123", false}, {"1,", false},
        {"&H1F", true},  {"&hff", true},      {"&H", false},   {"&HG", false},
        {"&H1F ", true}, {"&O17", true},      {"&O8", false},  {"&H1FFFFFFFF", false},
        {"12,5", false}, {"0x1F", false},
    });
}

TEST(IsNumeric, CommaLocale)
{
    ScopedNumberLocale locale(QLatin1Char(','), QStringLiteral("-"), QLatin1Char('.'));
    expectNumeric({
        {"1,5", true},
        {"-0,25E-3", true},
        {"1.234,5", true},
        {"1.5", false}, // a point is this locale's group separator, and "1.5" is no group of three
        {"3.5", false},
        {",5", true},
        {"1.234", true},
    });
}

TEST(IsNumeric, LocaleWithoutGroupSeparatorRejectsIt)
{
    ScopedNumberLocale locale(QLatin1Char('.'));
    EXPECT_FALSE(IsNumeric(QStringLiteral("1,234")));
    EXPECT_TRUE(IsNumeric(QStringLiteral("1234.5")));
}

TEST(CDbl, ReadsTheLocalesText)
{
    {
        ScopedNumberLocale locale(QLatin1Char('.'), QStringLiteral("-"), QLatin1Char(','));
        EXPECT_EQ(CDbl(QStringLiteral(" -3.25 ")), -3.25);
        EXPECT_EQ(CDbl(QStringLiteral("1,234.5")), 1234.5);
        EXPECT_EQ(CDbl(QStringLiteral("0.1")), 0.1);
        EXPECT_EQ(CDbl(QStringLiteral("1E-400")), 0.0);
        EXPECT_EQ(CDbl(QStringLiteral("&H1F")), 31.0);
        EXPECT_EQ(CDbl(QStringLiteral("&HFFFF")), -1.0);
        EXPECT_EQ(CDbl(QStringLiteral("1.7976931348623157E308")), std::numeric_limits<double>::max());
    }
    {
        ScopedNumberLocale locale(QLatin1Char(','));
        EXPECT_EQ(CDbl(QStringLiteral("-1,5E3")), -1500.0);
        EXPECT_EQ(errorNumberOf([] { CDbl(QStringLiteral("1.5")); }), errTypeMismatch);
    }
}

TEST(CDbl, ErrorsCarryClassicNumbersAndTexts)
{
    ScopedNumberLocale locale(QLatin1Char('.'));
    try {
        CDbl(QStringLiteral("abc"));
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), errTypeMismatch);
        EXPECT_EQ(e.description(), QStringLiteral("Type mismatch"));
    }
    EXPECT_EQ(errorNumberOf([] { CDbl(QString()); }), errTypeMismatch);
    EXPECT_EQ(errorNumberOf([] { CDbl(QStringLiteral("1E400")); }), errOverflow);
    EXPECT_EQ(errorNumberOf([] { CDbl(QStringLiteral("1E999999999999999999")); }), errOverflow);
}

struct IntegerCase {
    double value;
    long long expected; // ignored when overflow
    bool overflow;
};

TEST(IntegerConversions, CIntRoundsTiesToEvenAndChecksRange)
{
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    const IntegerCase cases[] = {
        {2.5, 2, false},         {3.5, 4, false},
        {-2.5, -2, false},       {-3.5, -4, false},
        {2.4999, 2, false},      {0.5, 0, false},
        {1.5, 2, false},         {-0.5, 0, false},
        {32767.4, 32767, false}, {-32768.5, -32768, false},
        {32767.5, 0, true},      {-32769, 0, true},
        {nan, 0, true},          {inf, 0, true},
        {-inf, 0, true},         {1e300, 0, true},
    };
    for (const IntegerCase& c : cases) {
        SCOPED_TRACE(c.value);
        if (c.overflow)
            EXPECT_EQ(errorNumberOf([&] { CInt(c.value); }), errOverflow);
        else
            EXPECT_EQ(CInt(c.value), c.expected);
    }
}

TEST(IntegerConversions, CLngAndCByte)
{
    const IntegerCase longCases[] = {
        {2147483647.4, 2147483647, false}, {-2147483648.5, -2147483648LL, false},
        {2147483647.5, 0, true},           {1e10, 0, true},
        {429496729.5, 429496730, false},   {-6.5, -6, false},
    };
    for (const IntegerCase& c : longCases) {
        SCOPED_TRACE(c.value);
        if (c.overflow)
            EXPECT_EQ(errorNumberOf([&] { CLng(c.value); }), errOverflow);
        else
            EXPECT_EQ(CLng(c.value), c.expected);
    }
    const IntegerCase byteCases[] = {
        {255.4, 255, false}, {255.5, 0, true}, {-0.5, 0, false},
        {-0.6, 0, true},     {0.5, 0, false},  {1.5, 2, false},
    };
    for (const IntegerCase& c : byteCases) {
        SCOPED_TRACE(c.value);
        if (c.overflow)
            EXPECT_EQ(errorNumberOf([&] { CByte(c.value); }), errOverflow);
        else
            EXPECT_EQ(CByte(c.value), c.expected);
    }
}

TEST(IntegerConversions, FromText)
{
    ScopedNumberLocale locale(QLatin1Char(','));
    EXPECT_EQ(CInt(QStringLiteral("2,5")), 2);
    EXPECT_EQ(CLng(QStringLiteral("-3,5")), -4);
    EXPECT_EQ(CInt(QStringLiteral("&HFFFF")), -1);
    EXPECT_EQ(CLng(QStringLiteral("&H10000")), 65536);
    EXPECT_EQ(errorNumberOf([] { CInt(QStringLiteral("abc")); }), errTypeMismatch);
    EXPECT_EQ(errorNumberOf([] { CInt(QStringLiteral("40000")); }), errOverflow);
}

TEST(CStr, FifteenDigitsAndClassicExponentForm)
{
    ScopedNumberLocale locale(QLatin1Char('.'));
    struct Case {
        double value;
        const char* expected;
    } const cases[] = {
        {0.1, "0.1"},
        {1.0 / 3.0, "0.333333333333333"},
        {0.1 + 0.2, "0.3"},
        {-2.5, "-2.5"},
        {0.0, "0"},
        {-0.0, "0"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E+15"},
        {1234567890123456.0, "1.23456789012346E+15"},
        {1.5e20, "1.5E+20"},
        {1e300, "1E+300"},
        {0.0001, "0.0001"},
        {0.00012345, "0.00012345"},
        {0.00001, "1E-05"},
        {1.5e-5, "1.5E-05"},
        {-1e-300, "-1E-300"},
        {4294967295.0, "4294967295"},
        {0.004, "0.004"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CStr(c.value), QString::fromLatin1(c.expected)) << c.value;
    EXPECT_EQ(CStr(std::numeric_limits<double>::infinity()), QStringLiteral("inf"));
    EXPECT_EQ(CStr(std::nan("")), QStringLiteral("nan"));
    EXPECT_EQ(CStr(-9223372036854775807LL - 1), QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(CStr(42), QStringLiteral("42"));
}

TEST(CStr, CommaLocale)
{
    ScopedNumberLocale locale(QLatin1Char(','));
    EXPECT_EQ(CStr(2.5), QStringLiteral("2,5"));
    EXPECT_EQ(CStr(-1.5e-5), QStringLiteral("-1,5E-05"));
    EXPECT_EQ(CStr(Decimal(-12)), QStringLiteral("-12"));
    // What CStr writes, CDbl reads back.
    for (double v : {0.1, -2.75, 1e-7, 123456.789, 1.5e20})
        EXPECT_EQ(CDbl(CStr(v)),
                  std::stod(CStr(v).replace(QLatin1Char(','), QLatin1Char('.')).toStdString()));
}

TEST(Val, ClassicLeadingNumberScan)
{
    ScopedNumberLocale locale(QLatin1Char(','));
    struct Case {
        const char* text;
        double expected;
    } const cases[] = {
        {"  12 34 abc", 1234.0},
        {"-1.5e3x", -1500.0},
        {"&HFFFF", -1.0},
        {"&H10000", 65536.0},
        {"&HFFFFFFFF", -1.0},
        {"&h1f", 31.0},
        {"&O17", 15.0},
        {"abc", 0.0},
        {"", 0.0},
        {".5", 0.5},
        {"1,5", 1.0},
        {"1E", 1.0},
        {"1D2", 100.0},
        {"+7", 7.0},
        {"1.2.3", 1.2},
        {"&", 0.0},
        {"&Hxyz", 0.0},
        {"- 3", -3.0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Val(QString::fromLatin1(c.text)), c.expected) << c.text;
    EXPECT_EQ(errorNumberOf([] { Val(QStringLiteral("&H1FFFFFFFF")); }), errOverflow);
    EXPECT_EQ(errorNumberOf([] { Val(QStringLiteral("1E999")); }), errOverflow);
}

} // namespace
