#include "platform/runtime/locale_info.h"
#include "platform/runtime/number_format.h"
#include "runtime_test_support.h"

#include <cmath>
#include <limits>

using namespace rt;
using rt::testing::dec;

namespace {

struct FormatCase {
    double value;
    const char* pattern;
    const char* expected;
};

void expectFormats(const FormatCase* begin, const FormatCase* end)
{
    for (const FormatCase* c = begin; c != end; ++c) {
        EXPECT_EQ(Format(c->value, QString::fromUtf8(c->pattern)), QString::fromUtf8(c->expected))
            << c->value << " with " << c->pattern;
    }
}

TEST(Format, HalvesRoundAwayFromZeroOnTheDecimalValue)
{
    ScopedNumberLocale locale(QLatin1Char('.'));
    const FormatCase cases[] = {
        {2.8125, "0.000", "2.813"},
        {0.0005, "0.000", "0.001"},
        {1.0005, "0.000", "1.001"}, // 1.000499999... as a double, 1.0005 with fifteen digits
        {2.5, "0", "3"},
        {-2.5, "0", "-3"},
        {0.5, "0", "1"},
        {0.49999, "0", "0"},
        {9.9995, "0.000", "10.000"},
        {359.9945068359375, "0.000", "359.995"},
        {0.99993896484375, "0.00000", "0.99994"},
        {1.9921875, "0.0000000", "1.9921875"},
        {0.244140625, "0.00", "0.24"},
        {0.004, "0.0000", "0.0040"},
        {4.7, "0.000", "4.700"},
        {100.0, "0.00000", "100.00000"},
        {2000.0, "0.000000", "2000.000000"},
        {1.23456789, "0.000000000", "1.234567890"},
        {123456789.0, "0.000", "123456789.000"},
    };
    expectFormats(std::begin(cases), std::end(cases));
}

TEST(Format, ZeroPaddingAndPlainIntegers)
{
    ScopedNumberLocale locale(QLatin1Char('.'));
    const FormatCase cases[] = {
        {5, "00", "05"},
        {123, "00", "123"},
        {0, "00", "00"},
        {7, "000", "007"},
        {5, "00000", "00005"},
        {65535, "00000", "65535"},
        {12, "00000000", "00000012"},
        {255, "0", "255"},
        {0, "0", "0"},
        {-7, "00", "-07"},
        {1e300, "0.0", ""},
    };
    expectFormats(std::begin(cases), std::end(cases) - 1);
    const QString huge = Format(1e300, QStringLiteral("0.0"));
    EXPECT_EQ(huge, QStringLiteral("1") + QString(300, QLatin1Char('0')) + QStringLiteral(".0"));
}

TEST(Format, NamedFormats)
{
    ScopedNumberLocale locale(QLatin1Char('.'), QStringLiteral("-"), QLatin1Char(','));
    const FormatCase cases[] = {
        {0, "Fixed", "0.00"},
        {1234.567, "Fixed", "1234.57"},
        {-0.5, "Fixed", "-0.50"},
        {0.125, "fixed", "0.13"},
        {1234567.891, "Standard", "1,234,567.89"},
        {-1234.5, "Standard", "-1,234.50"},
        {0.256, "Percent", "25.60%"},
        {12345, "Scientific", "1.23E+04"},
        {0.1, "General Number", "0.1"},
        {1e20, "General Number", "1E+20"},
        {2, "Yes/No", "Yes"},
        {0, "On/Off", "Off"},
        {0.25, "", "0.25"},
    };
    expectFormats(std::begin(cases), std::end(cases));
}

TEST(Format, DigitPlaceholdersGroupingAndScaling)
{
    ScopedNumberLocale locale(QLatin1Char('.'), QStringLiteral("-"), QLatin1Char(','));
    const FormatCase cases[] = {
        {1234567, "#,##0", "1,234,567"},
        {123, "#,##0", "123"},
        {0, "#,##0", "0"},
        {1234.5, "#,##0.00", "1,234.50"},
        {0.5, "#.##", ".5"},
        {1.25, "0.0#", "1.25"},
        {1.2, "0.0#", "1.2"},
        {1.0, "0.##", "1."},
        {100, "0.", "100."},
        {1234, "0,", "1"},
        {1500, "0,.0", "1.5"},
        {2500000, "0,,.0", "2.5"},
        {1.5, ".00", "1.50"},
        {0.375, "0%", "38%"},
    };
    expectFormats(std::begin(cases), std::end(cases));
}

TEST(Format, ScientificPatterns)
{
    ScopedNumberLocale locale(QLatin1Char('.'));
    const FormatCase cases[] = {
        {12345, "0.00E+00", "1.23E+04"},   {0.00012345, "0.000E+00", "1.235E-04"},
        {9.9999, "0.00E+00", "1.00E+01"},  {0, "0.00E+00", "0.00E+00"},
        {-1500, "0.0E-00", "-1.5E03"},     {0.0015, "0.0E-00", "1.5E-03"},
        {12345, "00.00E+00", "12.35E+03"}, {1.5e100, "0.0e+0", "1.5e+100"},
        {1500, "0.000e+", "1.500e+3"},     {0, "0.000e+", "0.000e+0"},
    };
    expectFormats(std::begin(cases), std::end(cases));
}

TEST(Format, SectionsAndLiterals)
{
    ScopedNumberLocale locale(QLatin1Char('.'));
    const FormatCase cases[] = {
        {-5, "0;(0)", "(5)"},
        {5, "0;(0)", "5"},
        {0, "0;(0);\"zero\"", "zero"},
        {-0.001, "0.00;(0.00)", "(0.00)"},
        {-5, "0;;\"zero\"", "-5"},
        {5, "\"f=\"0.0\" MHz\"", "f=5.0 MHz"},
        {5, "\\$0", "$5"},
        {5, "0 \"a;b\"", "5 a;b"},
        {1234, "0-0", "123-4"},
        {-3, "x0", "-x3"},
    };
    expectFormats(std::begin(cases), std::end(cases));
}

// A negative value that rounds to zero keeps its minus sign, as the classic runtime shows it; an exact
// zero never has one.
TEST(Format, NegativeValuesRoundingToZeroKeepTheirSign)
{
    ScopedNumberLocale locale(QLatin1Char('.'));
    EXPECT_EQ(Format(-0.0001, QStringLiteral("0.000")), QStringLiteral("-0.000"));
    EXPECT_EQ(Format(-0.4, QStringLiteral("0")), QStringLiteral("-0"));
    EXPECT_EQ(Format(-0.0, QStringLiteral("0.000")), QStringLiteral("0.000"));
    EXPECT_EQ(Format(dec("-0.000"), QStringLiteral("0.0")), QStringLiteral("0.0"));
}

TEST(Format, TheResolutionPatternWithThirtyEightDecimals)
{
    ScopedNumberLocale locale(QLatin1Char('.'));
    const QString pattern = QStringLiteral("0.") + QString(38, QLatin1Char('0'));
    // 1000 / 2^32 with fifteen significant digits, padded to 38 decimals.
    EXPECT_EQ(Format(1000.0 / 4294967296.0, pattern),
              QStringLiteral("0.000000232830643653870") + QString(17, QLatin1Char('0')));
    EXPECT_EQ(Format(0.0, pattern), QStringLiteral("0.") + QString(38, QLatin1Char('0')));
    EXPECT_EQ(Format(1.0 / 256.0, pattern), QStringLiteral("0.00390625") + QString(30, QLatin1Char('0')));
}

TEST(Format, CommaLocale)
{
    ScopedNumberLocale locale(QLatin1Char(','), QStringLiteral("-"), QLatin1Char('.'));
    const FormatCase cases[] = {
        {2.8125, "0.000", "2,813"},
        {0, "Fixed", "0,00"},
        {-1.5, "0.0", "-1,5"},
        {1234567.891, "Standard", "1.234.567,89"},
        {12345, "Scientific", "1,23E+04"},
        {0.1, "General Number", "0,1"},
        {5, "00", "05"},
    };
    expectFormats(std::begin(cases), std::end(cases));
    EXPECT_EQ(Format(0, QStringLiteral("Fixed")).at(1), QLatin1Char(','));
}

TEST(Format, CommaLocaleWithoutGroupSeparatorStillGroups)
{
    ScopedNumberLocale locale(QLatin1Char(','));
    EXPECT_EQ(Format(1234567.5, QStringLiteral("#,##0.0")), QStringLiteral("1.234.567,5"));
}

TEST(Format, DecimalAndIntegerValuesAreExact)
{
    ScopedNumberLocale locale(QLatin1Char('.'), QStringLiteral("-"), QLatin1Char(','));
    EXPECT_EQ(Format(Decimal::maxValue(), QStringLiteral("0")),
              QStringLiteral("79228162514264337593543950335"));
    EXPECT_EQ(Format(dec("12345678901234567890.5"), QStringLiteral("0")),
              QStringLiteral("12345678901234567891"));
    EXPECT_EQ(Format(dec("0.0005"), QStringLiteral("0.000")), QStringLiteral("0.001"));
    EXPECT_EQ(Format(dec("-2.5"), QStringLiteral("0")), QStringLiteral("-3"));
    EXPECT_EQ(Format(dec("0.3333333333333333333333333333"), QStringLiteral("General Number")),
              QStringLiteral("0.3333333333333333333333333333"));
    EXPECT_EQ(Format(-1234567LL, QStringLiteral("#,##0")), QStringLiteral("-1,234,567"));
    EXPECT_EQ(Format(std::numeric_limits<long long>::min(), QStringLiteral("0")),
              QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(Format(18446744073709551615ull, QStringLiteral("0")), QStringLiteral("18446744073709551615"));
    EXPECT_EQ(Format(0, QStringLiteral("Fixed")), QStringLiteral("0.00"));
    EXPECT_EQ(Format(7u, QStringLiteral("000")), QStringLiteral("007"));
}

TEST(Format, InfinityAndNanGiveTextInsteadOfHanging)
{
    ScopedNumberLocale locale(QLatin1Char('.'));
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Format(inf, QStringLiteral("0.000")), QStringLiteral("inf"));
    EXPECT_EQ(Format(-inf, QStringLiteral("0.00E+00")), QStringLiteral("-inf"));
    EXPECT_EQ(Format(std::nan(""), QStringLiteral("Fixed")), QStringLiteral("nan"));
    EXPECT_EQ(Format(std::numeric_limits<double>::max(), QStringLiteral("0.00E+00")),
              QStringLiteral("1.80E+308"));
    EXPECT_EQ(Format(std::numeric_limits<double>::denorm_min(), QStringLiteral("0.0E+00")),
              QStringLiteral("4.9E-324"));
}

} // namespace
