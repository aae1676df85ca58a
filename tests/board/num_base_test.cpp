#include "board/num_base.h"

#include "platform/runtime/locale_info.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/test_doubles.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace {

using rt::Decimal;

// Runs `call` and returns the error it raised; fails the test when it raised none.
template <typename Call> rt::RuntimeError errorOf(Call&& call)
{
    try {
        call();
    } catch (const rt::RuntimeError& e) {
        return e;
    }
    ADD_FAILURE() << "no error raised";
    return rt::RuntimeError(0, QString());
}

QString ones(int n)
{
    return QString(n, QLatin1Char('1'));
}
QString zeros(int n)
{
    return QString(n, QLatin1Char('0'));
}

// Reference: the low `width` bits of v (two's complement), most significant first.
QString referenceBits(long long v, int width)
{
    QString s;
    for (int i = width - 1; i >= 0; --i)
        s += (i < 64 ? ((static_cast<unsigned long long>(v) >> i) & 1u) : (v < 0 ? 1u : 0u)) ? '1' : '0';
    return s;
}

TEST(NumBaseDec2Bin, WorkedExamples)
{
    EXPECT_EQ(cbaseDec2Bin(5, 8), "00000101");
    EXPECT_EQ(cbaseDec2Bin(-1, 8), ones(8));
    EXPECT_EQ(cbaseDec2Bin(-128, 8), "10000000");
    EXPECT_EQ(cbaseDec2Bin(256, 8), zeros(8));
    EXPECT_EQ(cbaseDec2Bin(5, 0), "");
    EXPECT_EQ(cbaseDec2Bin(12345, 100).size(), 96);
    EXPECT_EQ(cbaseDec2Bin(-1, 100), ones(96));
    EXPECT_EQ(cbaseDec2Bin(1, 96), zeros(95) + "1");
}

TEST(NumBaseDec2Bin, EveryArgumentKindGivesTheSameBits)
{
    const QString expected = "0000000011111111";
    EXPECT_EQ(cbaseDec2Bin(255, 16), expected);
    EXPECT_EQ(cbaseDec2Bin(255u, 16), expected);
    EXPECT_EQ(cbaseDec2Bin(int16_t(255), 16), expected);
    EXPECT_EQ(cbaseDec2Bin(uint64_t(255), 16), expected);
    EXPECT_EQ(cbaseDec2Bin(255.0, 16), expected);
    EXPECT_EQ(cbaseDec2Bin(255.0f, 16), expected);
    EXPECT_EQ(cbaseDec2Bin(Decimal(255), 16), expected);
    EXPECT_EQ(cbaseDec2Bin(QStringLiteral("255"), 16), expected);
    EXPECT_EQ(cbaseDec2Bin(" 255 ", 16), expected);
    // Hexadecimal text as the register windows build it.
    EXPECT_EQ(cbaseDec2Bin("&hFF", 16), expected);
    EXPECT_EQ(cbaseDec2Bin("&Hff", 16), expected);
    EXPECT_EQ(cbaseDec2Bin("&h0", 8), zeros(8));
    EXPECT_EQ(cbaseDec2Bin("&HFFFF", 8), ones(8));
}

TEST(NumBaseDec2Bin, FractionsAreTruncatedTowardZero)
{
    EXPECT_EQ(cbaseDec2Bin(5.5, 8), "00000101");
    EXPECT_EQ(cbaseDec2Bin(4.5, 8), "00000100");
    EXPECT_EQ(cbaseDec2Bin(0.99, 8), zeros(8));
    EXPECT_EQ(cbaseDec2Bin(-2.7, 8), "11111110");
    EXPECT_EQ(cbaseDec2Bin(-0.5, 8), zeros(8));
    EXPECT_EQ(cbaseDec2Bin(Decimal::fromParts(55, 0, 0, true, 1), 4), "1011"); // -5.5 -> -5
}

TEST(NumBaseDec2Bin, LocaleTextInBothLocales)
{
    {
        rt::ScopedNumberLocale dot(QLatin1Char('.'));
        EXPECT_EQ(cbaseDec2Bin("6.9", 4), "0110");
        EXPECT_EQ(cbaseDec2Bin("-3", 4), "1101");
    }
    {
        rt::ScopedNumberLocale comma(QLatin1Char(','));
        EXPECT_EQ(cbaseDec2Bin("6,9", 4), "0110");
        EXPECT_EQ(cbaseDec2Bin(6.9, 4), "0110");
    }
}

TEST(NumBaseDec2Bin, WideValuesUseAllNinetySixBits)
{
    const Decimal max96 = Decimal::fromParts(0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, false, 0);
    EXPECT_EQ(cbaseDec2Bin(max96, 96), ones(96));
    EXPECT_EQ(cbaseDec2Bin(-max96, 96), zeros(95) + "1");
    const Decimal twoTo64 = Decimal::powerOfTwo(64);
    EXPECT_EQ(cbaseDec2Bin(twoTo64, 66), "01" + zeros(64));
    EXPECT_EQ(cbaseDec2Bin(-twoTo64, 66), "11" + zeros(64));
    EXPECT_EQ(cbaseDec2Bin(twoTo64 - Decimal(1), 65), "0" + ones(64));
    EXPECT_EQ(cbaseDec2Bin(std::numeric_limits<uint64_t>::max(), 64), ones(64));
    EXPECT_EQ(cbaseDec2Bin(std::numeric_limits<int64_t>::min(), 70), ones(7) + zeros(63));
}

TEST(NumBaseDec2Bin, FastPathMatchesReference)
{
    std::mt19937_64 rng(4470);
    for (int i = 0; i < 2000; ++i) {
        const long long v = static_cast<long long>(rng()) >> (rng() % 64);
        const int width = static_cast<int>(rng() % 97);
        ASSERT_EQ(cbaseDec2Bin(v, width), referenceBits(v, width)) << v << " " << width;
        ASSERT_EQ(cbaseDec2Bin(Decimal(v), width), referenceBits(v, width)) << v << " " << width;
    }
}

// The digit-by-digit conversion on decimals (remainder by 2, halve, keep the integer part), as a reference
// for whole values.
QString digitByDigitBits(Decimal n, int width)
{
    const bool negative = n.isNegative();
    if (negative)
        n = n.abs() - Decimal(1);
    QString s;
    for (int i = 0; i < 96; ++i) {
        const Decimal half = n / Decimal(2);
        const Decimal r = Decimal(2) * (half - half.truncated());
        n = half.truncated();
        s.prepend((r == Decimal(1)) != negative ? '1' : '0');
    }
    return s.right(width);
}

TEST(NumBaseDec2Bin, MatchesDigitByDigitConversionUpTo90Bits)
{
    std::mt19937_64 rng(96);
    for (int i = 0; i < 300; ++i) {
        const uint32_t hi = static_cast<uint32_t>(rng()) >> (6 + rng() % 26);
        Decimal v = Decimal::fromParts(static_cast<uint32_t>(rng()), static_cast<uint32_t>(rng()), hi,
                                       (rng() & 1) != 0, 0);
        const int width = static_cast<int>(rng() % 97);
        ASSERT_EQ(cbaseDec2Bin(v, width), digitByDigitBits(v, width)) << qPrintable(v.toInvariantString());
    }
}

TEST(NumBaseDec2Bin, Errors)
{
    const rt::RuntimeError notNumber = errorOf([] { cbaseDec2Bin("12abc", 8); });
    EXPECT_EQ(notNumber.number(), 13);
    EXPECT_EQ(errorOf([] { cbaseDec2Bin("", 8); }).number(), 13);
    EXPECT_EQ(errorOf([] { cbaseDec2Bin("&H", 8); }).number(), 13);
    EXPECT_EQ(errorOf([] { cbaseDec2Bin("&HFG", 8); }).number(), 13);
    EXPECT_EQ(errorOf([] { cbaseDec2Bin("&H" + QString(25, 'F'), 8); }).number(), 6);
    EXPECT_EQ(errorOf([] { cbaseDec2Bin(1e30, 8); }).number(), 6);
    EXPECT_EQ(errorOf([] { cbaseDec2Bin(5, -1); }).number(), 5);
}

TEST(NumBaseDec2Hex, WorkedExamples)
{
    EXPECT_EQ(cbaseDec2Hex(255, 4), "00FF");
    EXPECT_EQ(cbaseDec2Hex(255, 1), "F");
    EXPECT_EQ(cbaseDec2Hex(255, 30), zeros(28) + "FF");
    EXPECT_EQ(cbaseDec2Hex(255, 25), zeros(23) + "FF");
    EXPECT_EQ(cbaseDec2Hex(0xABCDEF, 0), "");
    EXPECT_EQ(cbaseDec2Hex(Decimal::powerOfTwo(95), 25), "08" + zeros(23));
    EXPECT_EQ(cbaseDec2Hex(-1, 4), "FFFF");
    EXPECT_EQ(cbaseDec2Hex(-1, 27), QString(27, 'F'));
    EXPECT_EQ(cbaseDec2Hex(26.9, 2), "1A");
}

TEST(NumBaseHex, WorkedExamplesAndErrors)
{
    EXPECT_EQ(cbaseHex(0, 1), "0");
    EXPECT_EQ(cbaseHex(0, 0), "0");
    EXPECT_EQ(cbaseHex(255, 1), "FF");
    EXPECT_EQ(cbaseHex(16383, 2), "3FFF");
    EXPECT_EQ(cbaseHex(255, 6), "0000FF");
    EXPECT_EQ(cbaseHex(0x123456789ABCull, 2), "123456789ABC");
    EXPECT_EQ(cbaseHex("&h7f", 1), "7F");
    EXPECT_EQ(cbaseHex(-255, 1), "-FF");
    const rt::RuntimeError e = errorOf([] { cbaseHex("abc", 2); });
    EXPECT_EQ(e.number(), 5);
    EXPECT_EQ(e.description(), "Num can only be a numeric value.");
    EXPECT_EQ(e.source(), "cbaseHex()");
    EXPECT_EQ(errorOf([] { cbaseHex("", 2); }).number(), 5);
}

TEST(NumBaseDec2HexNegs, TwosComplementDigits)
{
    EXPECT_EQ(cbaseDec2HexNegs(-1, 4), "FFFF");
    EXPECT_EQ(cbaseDec2HexNegs(10, 2), "0A");
    EXPECT_EQ(cbaseDec2HexNegs(-2, 3), "FFE");
    EXPECT_EQ(cbaseDec2HexNegs(0x1FF, 2), "FF");
    EXPECT_EQ(cbaseDec2HexNegs(5, 0), "");
    EXPECT_EQ(cbaseDec2HexNegs(-1, 24), QString(24, 'F'));
    // Beyond 96 bits the sign extends instead of repeating the lowest digit.
    EXPECT_EQ(cbaseDec2HexNegs(-2, 26), QString(25, 'F') + "E");
    EXPECT_EQ(cbaseDec2HexNegs(0xA, 26), zeros(25) + "A");
}

TEST(NumBaseBinS2Dec, WorkedExamplesAndLimits)
{
    EXPECT_EQ(cbaseBinS2Dec(""), Decimal(0));
    EXPECT_EQ(cbaseBinS2Dec("1x1"), Decimal(5));
    EXPECT_EQ(cbaseBinS2Dec("00000101"), Decimal(5));
    EXPECT_EQ(cbaseBinS2Dec(ones(64)), Decimal(std::numeric_limits<uint64_t>::max()));
    EXPECT_EQ(cbaseBinS2Dec(ones(96)), Decimal::fromParts(0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, false, 0));
    EXPECT_EQ(cbaseBinS2Dec(zeros(15) + ones(96)),
              Decimal::fromParts(0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, false, 0));
    // A long text that is not a number is converted, not refused.
    EXPECT_EQ(cbaseBinS2Dec("x" + zeros(111) + "1"), Decimal(1));

    const rt::RuntimeError tooLong = errorOf([] { cbaseBinS2Dec(zeros(112)); });
    EXPECT_EQ(tooLong.number(), 5);
    EXPECT_EQ(tooLong.description(), "To many bits: Can only convert 111 bit string!!!");
    EXPECT_EQ(tooLong.source(), "cbaseBinS2Dec()");

    const rt::RuntimeError beyond96 = errorOf([] { cbaseBinS2Dec("1" + zeros(96)); });
    EXPECT_EQ(beyond96.number(), 6);
    EXPECT_EQ(beyond96.source(), "cbaseBinS2Dec()");
}

TEST(NumBaseSignedBinS2Dec, TwosComplement)
{
    EXPECT_EQ(cbaseSignedBinS2Dec("1000"), Decimal(-8));
    EXPECT_EQ(cbaseSignedBinS2Dec("0111"), Decimal(7));
    EXPECT_EQ(cbaseSignedBinS2Dec(""), Decimal(0));
    EXPECT_EQ(cbaseSignedBinS2Dec(ones(64)), Decimal(-1));
    EXPECT_EQ(cbaseSignedBinS2Dec("1" + zeros(63)), Decimal(std::numeric_limits<int64_t>::min()));
    EXPECT_EQ(cbaseSignedBinS2Dec(ones(100)), Decimal(-1));
    const rt::RuntimeError e = errorOf([] { cbaseSignedBinS2Dec(ones(112)); });
    EXPECT_EQ(e.number(), 5);
    EXPECT_EQ(e.source(), "cbaseBinS2Dec()");
}

TEST(NumBaseHexStr2Dec, ValuesAndErrors)
{
    EXPECT_EQ(cbaseHexStr2Dec("ff"), 255.0);
    EXPECT_EQ(cbaseHexStr2Dec("FF"), 255.0);
    EXPECT_EQ(cbaseHexStr2Dec(""), 0.0);
    EXPECT_EQ(cbaseHexStr2Dec("1FFFFFFFFFFFFF"), 9007199254740991.0); // 53 bits, exact
    // 64 bits: one correct rounding of the exact value.
    EXPECT_EQ(cbaseHexStr2Dec("FFFFFFFFFFFFFFFF"), 18446744073709551616.0);
    EXPECT_EQ(cbaseHexStr2Dec("8000000000000401"), 9223372036854777856.0);

    for (const QString bad : {"&hFF", "0x1F", " 1F", "1F ", "-1", "G"}) {
        const rt::RuntimeError e = errorOf([&] { cbaseHexStr2Dec(bad); });
        EXPECT_EQ(e.number(), 13) << qPrintable(bad);
        EXPECT_EQ(e.description(), "Type mismatch - Invalid input string.");
        EXPECT_EQ(e.source(), "cbaseHexStr2Dec()");
    }
}

TEST(NumBaseHexStr2Dec, ExactVariantKeepsSixtyFourBits)
{
    EXPECT_EQ(cbaseHexStr2DecExact("FFFFFFFFFFFFFFFF"), Decimal(std::numeric_limits<uint64_t>::max()));
    EXPECT_EQ(cbaseHexStr2DecExact("8000000000000001"), Decimal(0x8000000000000001ull));
    EXPECT_EQ(cbaseHexStr2DecExact(""), Decimal(0));
    EXPECT_EQ(cbaseHexStr2DecExact(QString(24, 'F')),
              Decimal::fromParts(0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, false, 0));
    EXPECT_EQ(errorOf([] { cbaseHexStr2DecExact("1" + zeros(24)); }).number(), 6);
    EXPECT_EQ(errorOf([] { cbaseHexStr2DecExact("xyz"); }).number(), 13);
}

TEST(NumBaseSignedHexStr2Dec, SignFromFirstDigit)
{
    EXPECT_EQ(cbaseSignedHexStr2Dec("F"), Decimal(-1));
    EXPECT_EQ(cbaseSignedHexStr2Dec("7F"), Decimal(127));
    EXPECT_EQ(cbaseSignedHexStr2Dec("80"), Decimal(-128));
    EXPECT_EQ(cbaseSignedHexStr2Dec("ffff"), Decimal(-1));
    EXPECT_EQ(cbaseSignedHexStr2Dec(""), Decimal(0));
    const rt::RuntimeError bad = errorOf([] { cbaseSignedHexStr2Dec("1Z"); });
    EXPECT_EQ(bad.number(), 13);
    EXPECT_EQ(bad.source(), "cbaseHexStr2Dec()");
    const rt::RuntimeError tooLong = errorOf([] { cbaseSignedHexStr2Dec(QString(28, '0')); });
    EXPECT_EQ(tooLong.number(), 5);
    EXPECT_EQ(tooLong.source(), "cbaseBinS2Dec()");
}

TEST(NumBaseBinStr2Hex, PaddingAndGroups)
{
    EXPECT_EQ(cbaseBinStr2Hex("101", 2), "05");
    EXPECT_EQ(cbaseBinStr2Hex("", 2), "00");
    EXPECT_EQ(cbaseBinStr2Hex("11111111", 2), "FF");
    EXPECT_EQ(cbaseBinStr2Hex("1010101111001101", 4), "ABCD");
    EXPECT_EQ(cbaseBinStr2Hex("100000000", 2), "100"); // a longer result is kept whole
}

TEST(NumBaseBinStr2Hex, BadGroupShowsCriticalBoxAndIsSkipped)
{
    ui::testing::ScriptedMessageBoxes& boxes = ui::testing::messageBoxes();
    boxes.answer({ui::vbOK, ui::vbOK, ui::vbOK});
    // "1x10" is not binary; the walk goes on with the next group.
    EXPECT_EQ(cbaseBinStr2Hex("1x100101", 3), "005");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].prompt,
              "Error: and invalid value was passed. Only binary strings can be passed to this function.");
    EXPECT_EQ(boxes.shown[0].title, "cbaseBinStr2Hex: Type Missmatch");
    EXPECT_EQ(boxes.shown[0].buttons, ui::vbCritical);
    // Every bad group shows its own box.
    EXPECT_EQ(cbaseBinStr2Hex("2222 ", 2), "00");
    EXPECT_EQ(boxes.shown.size(), 3u);
}

TEST(NumBaseBinInvert, EveryOtherCharacterBecomesOne)
{
    EXPECT_EQ(cbaseBinInvert("1010"), "0101");
    EXPECT_EQ(cbaseBinInvert("1x 0"), "0111");
    EXPECT_EQ(cbaseBinInvert(""), "");
}

TEST(NumBaseDecInt, TruncatesTowardZeroInBothLocales)
{
    EXPECT_EQ(cbaseDecInt(-2.7), Decimal(-2));
    EXPECT_EQ(cbaseDecInt(2.7), Decimal(2));
    EXPECT_EQ(cbaseDecInt(0.25), Decimal(0));
    // Values whose classic text is in exponent form still give their integer part.
    EXPECT_EQ(cbaseDecInt(1.5e20), Decimal::fromText("150000000000000000000"));
    EXPECT_EQ(cbaseDecInt(1.5e-5), Decimal(0));
    {
        rt::ScopedNumberLocale comma(QLatin1Char(','));
        EXPECT_EQ(cbaseDecInt(3.5), Decimal(3));
        EXPECT_EQ(cbaseDecInt("3,5"), Decimal(3));
        EXPECT_EQ(cbaseDecInt("-3,5"), Decimal(-3));
    }
    {
        rt::ScopedNumberLocale dot(QLatin1Char('.'));
        EXPECT_EQ(cbaseDecInt("3.5"), Decimal(3));
        EXPECT_EQ(cbaseDecInt(".5"), Decimal(0));
        EXPECT_EQ(cbaseDecInt("7."), Decimal(7));
    }
    EXPECT_EQ(errorOf([] { cbaseDecInt("seven"); }).number(), 13);
}

TEST(NumBaseDecMod, RemainderWithTheSignOfA)
{
    EXPECT_EQ(cbaseDecMod(7, 2), Decimal(1));
    EXPECT_EQ(cbaseDecMod(255, 16), Decimal(15));
    EXPECT_EQ(cbaseDecMod(-7, 2), Decimal(-1));
    EXPECT_EQ(cbaseDecMod(5.5, 2), Decimal::fromParts(15, 0, 0, false, 1));
    // Exact for the largest 96-bit values, where the quotient has more digits than the decimal keeps.
    const Decimal max96 = Decimal::fromParts(0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, false, 0);
    EXPECT_EQ(cbaseDecMod(max96, 16), Decimal(15));
    EXPECT_EQ(errorOf([] { cbaseDecMod(1, 0); }).number(), 11);
}

TEST(NumBaseDecimalSep, FollowsTheLocale)
{
    {
        rt::ScopedNumberLocale comma(QLatin1Char(','));
        EXPECT_EQ(cbaseDecimalSep(), ",");
        EXPECT_EQ(cbaseDecimalSepCode(), 44);
    }
    {
        rt::ScopedNumberLocale dot(QLatin1Char('.'));
        EXPECT_EQ(cbaseDecimalSep(), ".");
        EXPECT_EQ(cbaseDecimalSepCode(), 46);
    }
}

TEST(NumBaseRoundTrip, BitsAndHexAgreeForRegisterWidths)
{
    std::mt19937_64 rng(1);
    for (int i = 0; i < 500; ++i) {
        const uint64_t v = rng();
        const QString bits = cbaseDec2Bin(v, 64);
        ASSERT_EQ(cbaseBinS2Dec(bits), Decimal(v));
        ASSERT_EQ(cbaseBinStr2Hex(bits, 16), cbaseDec2Hex(v, 16));
        ASSERT_EQ(cbaseHexStr2DecExact(cbaseDec2Hex(v, 16)), Decimal(v));
        ASSERT_EQ(cbaseSignedBinS2Dec(bits), Decimal(static_cast<int64_t>(v)));
    }
}

} // namespace
