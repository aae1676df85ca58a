#include "platform/runtime/decimal.h"
#include "platform/runtime/locale_info.h"
#include "runtime_test_support.h"

#include <cmath>
#include <cstdint>
#include <limits>

using namespace rt;
using rt::testing::dec;
using rt::testing::errorNumberOf;
using rt::testing::inv;

namespace {

const char* const kMax = "79228162514264337593543950335";

struct ArithmeticCase {
    const char* a;
    char op;
    const char* b;
    const char* expected; // nullptr: overflow
};

Decimal apply(const Decimal& a, char op, const Decimal& b)
{
    switch (op) {
    case '+':
        return a + b;
    case '-':
        return a - b;
    case '*':
        return a * b;
    default:
        return a / b;
    }
}

TEST(Decimal, ArithmeticRoundsToTheTypePrecisionWithTiesToEven)
{
    const ArithmeticCase cases[] = {
        {"1", '/', "3", "0.3333333333333333333333333333"},
        {"2", '/', "3", "0.6666666666666666666666666667"},
        {"10", '/', "3", "3.3333333333333333333333333333"},
        {"1", '/', "7", "0.1428571428571428571428571429"},
        {"1", '/', "8", "0.125"},
        {"-7", '/', "2", "-3.5"},
        {"7", '/', "-0.25", "-28"},
        {"100", '/', "1000", "0.1"},
        {kMax, '/', "10", "7922816251426433759354395033.5"},
        // 39614081257132168796771975167.5 needs 30 digits: the tie goes to the even neighbour.
        {kMax, '/', "2", "39614081257132168796771975168"},
        {"0.1", '+', "0.2", "0.3"},
        {kMax, '-', "1", "79228162514264337593543950334"},
        {kMax, '+', "0.4", kMax},
        {kMax, '-', "0.5", "79228162514264337593543950334"},
        {kMax, '+', "0.5", nullptr},
        {kMax, '+', "1", nullptr},
        {"-79228162514264337593543950335", '-', "1", nullptr},
        {"10000000000000000000000000000", '*', "10", nullptr},
        {"0.5", '+', "0.0000000000000000000000000001", "0.5000000000000000000000000001"},
        {"1.5", '*', "1.5", "2.25"},
        {"-1.5", '*', "-2", "3"},
        {"1.0000000000000000000000000001", '*', "1.0000000000000000000000000001",
         "1.0000000000000000000000000002"},
        {"0.0000000000000001", '*', "0.0000000000000001", "0"},
        {"0.0000000000000000000000000001", '*', "0.5", "0"}, // a tie below the last place: even 0
        {"0.0000000000000000000000000001", '*', "1.5", "0.0000000000000000000000000002"},
        {"0.0000000000000000000000000001", '*', "2.5", "0.0000000000000000000000000002"},
        {"0.0000000000000000000000000001", '*', "2.51", "0.0000000000000000000000000003"},
        {"123456789012345678901234.5678", '-', "123456789012345678901234.5678", "0"},
        {"4294967296", '*', "4294967296", "18446744073709551616"},
        {"18446744073709551616", '*', "4294967296", nullptr}, // 2^96
    };
    for (const ArithmeticCase& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " " + c.op + " " + c.b);
        if (c.expected == nullptr) {
            EXPECT_EQ(errorNumberOf([&] { apply(dec(c.a), c.op, dec(c.b)); }), errOverflow);
        } else {
            EXPECT_EQ(inv(apply(dec(c.a), c.op, dec(c.b))), c.expected);
        }
    }
}

TEST(Decimal, DivisionByZeroRaisesError11)
{
    try {
        (void)(Decimal(1) / Decimal(0));
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), errDivisionByZero);
        EXPECT_EQ(e.description(), QStringLiteral("Division by zero"));
    }
    EXPECT_EQ(errorNumberOf([] { (void)(Decimal(0) / dec("0.000")); }), errDivisionByZero);
    EXPECT_EQ(inv(Decimal(0) / Decimal(5)), "0");
}

TEST(Decimal, OverflowCarriesTheClassicNumberAndText)
{
    try {
        (void)(Decimal::maxValue() + Decimal(1));
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), errOverflow);
        EXPECT_EQ(e.description(), QStringLiteral("Overflow"));
    }
}

TEST(Decimal, SixtyFourBitValuesRoundTripExactly)
{
    const uint64_t unsignedValues[] = {
        0u, 1u, 4294967295u, 4294967296u, 9007199254740993u, 18446744073709551615u};
    for (uint64_t v : unsignedValues) {
        const Decimal d(static_cast<unsigned long long>(v));
        EXPECT_EQ(inv(d), std::to_string(v));
        EXPECT_EQ(d.toUInt64(), v);
        EXPECT_EQ(Decimal::fromText(QString::number(v)).toUInt64(), v);
    }
    const int64_t signedValues[] = {std::numeric_limits<int64_t>::min(), -1, 0, 1,
                                    std::numeric_limits<int64_t>::max()};
    for (int64_t v : signedValues) {
        const Decimal d(static_cast<long long>(v));
        EXPECT_EQ(inv(d), std::to_string(v));
        EXPECT_EQ(d.toInt64(), v);
    }
    EXPECT_EQ(inv(Decimal(-2147483647 - 1)), "-2147483648");
    EXPECT_EQ(inv(Decimal(4294967295u)), "4294967295");
}

TEST(Decimal, PowersOfTwoUpTo95)
{
    EXPECT_EQ(inv(Decimal::powerOfTwo(0)), "1");
    EXPECT_EQ(inv(Decimal::powerOfTwo(64)), "18446744073709551616");
    EXPECT_EQ(inv(Decimal::powerOfTwo(95)), "39614081257132168796771975168");
    Decimal product(1);
    for (int n = 1; n <= 95; ++n) {
        product *= Decimal(2);
        ASSERT_EQ(product, Decimal::powerOfTwo(n)) << n;
    }
    EXPECT_EQ(Decimal::powerOfTwo(95) - Decimal(1) + Decimal::powerOfTwo(95), Decimal::maxValue());
    EXPECT_EQ(errorNumberOf([] { Decimal::powerOfTwo(96); }), errOverflow);
    EXPECT_NE(errorNumberOf([] { Decimal::powerOfTwo(-1); }), 0);
}

TEST(Decimal, MaximumMagnitudeHoldsAtEveryScale)
{
    for (int scale = 0; scale <= 28; ++scale) {
        const Decimal d = Decimal::fromParts(0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, scale % 2 == 1, scale);
        std::string digits = kMax;
        if (scale > 0)
            digits.insert(digits.size() - static_cast<size_t>(scale), ".");
        const std::string expected = (scale % 2 == 1 ? "-" : "") + digits;
        SCOPED_TRACE(scale);
        EXPECT_EQ(inv(d), expected);
        EXPECT_EQ(Decimal::tryFromInvariantText(QString::fromStdString(expected)), d);
        EXPECT_EQ(d - d, Decimal(0));
        EXPECT_EQ((d / Decimal(1)), d);
        EXPECT_EQ(d.truncated() + (d - d.truncated()), d);
    }
    EXPECT_EQ(errorNumberOf([] { Decimal::fromParts(1, 0, 0, false, 29); }), errInvalidCall);
}

TEST(Decimal, ComparisonIgnoresScaleAndSignOfZero)
{
    EXPECT_EQ(dec("1.000"), Decimal(1));
    EXPECT_EQ(-Decimal(0), Decimal(0));
    EXPECT_FALSE((-Decimal(0)).isNegative());
    EXPECT_LT(Decimal(-1), dec("0.5"));
    EXPECT_LT(dec("-2.5"), dec("-2.4"));
    EXPECT_GT(Decimal::maxValue(), dec("79228162514264337593543950334"));
    EXPECT_LT(dec("7922816251426433759354395033.4"), dec("7922816251426433759354395033.5"));
    // Thirty digits do not fit: the text reads as the nearest value the type holds.
    EXPECT_EQ(dec("79228162514264337593543950334.9"), Decimal::maxValue());
    EXPECT_LT(dec("0.0000000000000000000000000001"), dec("0.0000000000000000000000000002"));
    EXPECT_GT(dec("0.0000000000000000000000000001"), Decimal(0));
    EXPECT_TRUE(dec("-0.000").isZero());
    EXPECT_FALSE(dec("-0.000").isNegative());
}

TEST(Decimal, DoublesKeepFifteenSignificantDigits)
{
    struct Case {
        double value;
        const char* expected;
    } const cases[] = {
        {0.1, "0.1"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {2.8125, "2.8125"},
        {-0.0005, "-0.0005"},
        {1e20, "100000000000000000000"},
        {123456789012345678.0, "123456789012346000"},
        {1000.0 / 4294967296.0, "0.00000023283064365387"},
        {1e-30, "0"},
        {0.0, "0"},
        {4294967295.0, "4294967295"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(inv(Decimal::fromDouble(c.value)), c.expected) << c.value;
    EXPECT_EQ(errorNumberOf([] { Decimal::fromDouble(std::nan("")); }), errOverflow);
    EXPECT_EQ(errorNumberOf([] { Decimal::fromDouble(HUGE_VAL); }), errOverflow);
    EXPECT_EQ(errorNumberOf([] { Decimal::fromDouble(1e30); }), errOverflow);
}

TEST(Decimal, ToDoubleIsCorrectlyRounded)
{
    EXPECT_EQ(dec("0.1").toDouble(), 0.1);
    EXPECT_EQ(dec("-2.8125").toDouble(), -2.8125);
    EXPECT_EQ(Decimal::maxValue().toDouble(), 79228162514264337593543950335.0);
    EXPECT_EQ(dec("0.0000000000000000000000000001").toDouble(), 1e-28);
}

TEST(Decimal, RoundingModes)
{
    struct Case {
        const char* value;
        int decimals;
        const char* halfEven;
        const char* halfAway;
    } const cases[] = {
        {"2.5", 0, "2", "3"},
        {"3.5", 0, "4", "4"},
        {"-2.5", 0, "-2", "-3"},
        {"2.45", 1, "2.4", "2.5"},
        {"2.451", 1, "2.5", "2.5"},
        {"-0.4", 0, "0", "0"},
        {"7", 2, "7", "7"},
        {"429496729.6", 0, "429496730", "429496730"},
        {"7.9228162514264337593543950335", 27, "7.922816251426433759354395034",
         "7.922816251426433759354395034"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(inv(dec(c.value).roundedHalfEven(c.decimals)), c.halfEven);
        EXPECT_EQ(inv(dec(c.value).roundedHalfAwayFromZero(c.decimals)), c.halfAway);
    }
    EXPECT_FALSE(dec("-0.4").roundedHalfEven().isNegative());
}

TEST(Decimal, IntegerPartsAndConversions)
{
    EXPECT_EQ(inv(dec("-2.7").truncated()), "-2");
    EXPECT_EQ(inv(dec("-2.7").floor()), "-3");
    EXPECT_EQ(inv(dec("2.7").floor()), "2");
    EXPECT_EQ(inv(dec("-3").floor()), "-3");
    EXPECT_EQ(inv(dec("-0.5").truncated()), "0");
    EXPECT_TRUE(dec("12.000").isInteger());
    EXPECT_FALSE(dec("12.001").isInteger());
    EXPECT_EQ(inv(dec("-12.5").abs()), "12.5");

    EXPECT_EQ(dec("2.5").toInt64(), 2);
    EXPECT_EQ(dec("-3.5").toInt64(), -4);
    EXPECT_EQ(dec("-9223372036854775808.4").toInt64(), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(errorNumberOf([] { dec("9223372036854775807.5").toInt64(); }), errOverflow);
    EXPECT_EQ(errorNumberOf([] { dec("18446744073709551616").toUInt64(); }), errOverflow);
    EXPECT_EQ(errorNumberOf([] { dec("-1").toUInt64(); }), errOverflow);
    EXPECT_EQ(dec("-0.4").toUInt64(), 0u);
    EXPECT_EQ(dec("18446744073709551615.4").toUInt64(), 18446744073709551615u);
}

TEST(Decimal, TextInThePointLocale)
{
    ScopedNumberLocale locale(QLatin1Char('.'), QStringLiteral("-"), QLatin1Char(','));
    EXPECT_EQ(inv(Decimal::fromText(QStringLiteral(" -12.5 "))), "-12.5");
    EXPECT_EQ(inv(Decimal::fromText(QStringLiteral("1,234.5"))), "1234.5");
    EXPECT_EQ(inv(Decimal::fromText(QStringLiteral("1.5E3"))), "1500");
    EXPECT_EQ(inv(Decimal::fromText(QStringLiteral("25e-3"))), "0.025");
    EXPECT_EQ(inv(Decimal::fromText(QStringLiteral("1E-40"))), "0");
    EXPECT_EQ(inv(Decimal::fromText(QStringLiteral("0.33333333333333333333333333335"))),
              "0.3333333333333333333333333334");
    EXPECT_EQ(inv(Decimal::fromText(QStringLiteral("&HFF"))), "255");
    EXPECT_EQ(errorNumberOf([] { Decimal::fromText(QStringLiteral("12,5")); }), errTypeMismatch);
    EXPECT_EQ(errorNumberOf([] { Decimal::fromText(QStringLiteral("")); }), errTypeMismatch);
    EXPECT_EQ(errorNumberOf([] { Decimal::fromText(QStringLiteral("1E29")); }), errOverflow);
    EXPECT_FALSE(Decimal::tryFromText(QStringLiteral("1E29")).has_value());
    EXPECT_FALSE(Decimal::tryFromText(QStringLiteral("x")).has_value());
    EXPECT_EQ(Decimal::fromText(QStringLiteral("-12.5")).toString(), QStringLiteral("-12.5"));
}

TEST(Decimal, TextInTheCommaLocale)
{
    ScopedNumberLocale locale(QLatin1Char(','), QStringLiteral("-"), QLatin1Char('.'));
    const Decimal d = Decimal::fromText(QStringLiteral("-12,5"));
    EXPECT_EQ(inv(d), "-12.5");
    EXPECT_EQ(d.toString(), QStringLiteral("-12,5"));
    EXPECT_EQ(inv(Decimal::fromText(QStringLiteral("1.234,5"))), "1234.5");
    EXPECT_EQ(errorNumberOf([] { Decimal::fromText(QStringLiteral("3.5")); }), errTypeMismatch);
    EXPECT_EQ(Decimal::fromDouble(3.5).toString(), QStringLiteral("3,5"));
    EXPECT_EQ(Decimal(-7).toString(), QStringLiteral("-7"));
    // Invariant text does not follow the locale.
    EXPECT_EQ(inv(*Decimal::tryFromInvariantText(QStringLiteral("3.5"))), "3.5");
    EXPECT_EQ(dec("0.25").toInvariantString(), QStringLiteral("0.25"));
}

TEST(Decimal, TextWithAnotherNegativeSign)
{
    ScopedNumberLocale locale(QLatin1Char(','), QString(QChar(0x2212)));
    EXPECT_EQ(Decimal::fromText(QString(QChar(0x2212)) + QStringLiteral("2,5")), dec("-2.5"));
    EXPECT_EQ(Decimal::fromText(QStringLiteral("-2,5")), dec("-2.5"));
    EXPECT_EQ(dec("-2.5").toString(), QString(QChar(0x2212)) + QStringLiteral("2,5"));
}

} // namespace
