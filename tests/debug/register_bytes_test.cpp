// The register debug window's byte rows as text, without the window: what a box may hold, the conversions
// between a bit box and its hexadecimal box, a value cut into bytes and the value the rows make up again.

#include "debug/register_bytes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using regbytes::ByteRow;
using regbytes::Composed;

TEST(RegisterBytes, BoxTextsAndTheirConversions)
{
    struct TextCase {
        const char* text;
        bool bits;
        bool hex;
    };
    const TextCase texts[] = {
        {"", true, true},     {"0", true, true},     {"10110011", true, false}, {"101100110", false, false},
        {"2", false, true},   {"fF", false, true},   {"G", false, false},       {"1 0", false, false},
        {"-1", false, false}, {"0x1", false, false}, {"11111111", true, false}, {"A0", false, true},
    };
    for (const TextCase& c : texts) {
        const QString text = QString::fromLatin1(c.text);
        EXPECT_EQ(regbytes::isBitText(text), c.bits) << c.text;
        EXPECT_EQ(regbytes::isHexText(text), c.hex) << c.text;
    }

    struct Conversion {
        const char* bits;
        const char* padded;
        const char* hex;
    };
    const Conversion conversions[] = {
        {"0", "00000000", "00"},        {"1", "00000001", "01"},        {"1010", "00001010", "0A"},
        {"10000000", "10000000", "80"}, {"11111111", "11111111", "FF"}, {"01011010", "01011010", "5A"},
    };
    for (const Conversion& c : conversions) {
        const QString bits = QString::fromLatin1(c.bits);
        EXPECT_EQ(regbytes::paddedBits(bits), QString::fromLatin1(c.padded)) << c.bits;
        EXPECT_EQ(regbytes::hexOfBits(bits), QString::fromLatin1(c.hex)) << c.bits;
        EXPECT_EQ(regbytes::bitsOfHex(QString::fromLatin1(c.hex)), QString::fromLatin1(c.padded)) << c.hex;
    }
    EXPECT_EQ(regbytes::bitsOfHex(QStringLiteral("a")), QStringLiteral("00001010"))
        << "lower case reads alike";
    EXPECT_EQ(regbytes::paddedHex(QStringLiteral("7")), QStringLiteral("07"));
    EXPECT_EQ(regbytes::paddedHex(QStringLiteral("7F")), QStringLiteral("7F"));
}

TEST(RegisterBytes, AValueIsCutIntoBytesFromTheRight)
{
    const QString value = QStringLiteral("000000011111111010101010"); // 01 FE AA
    EXPECT_EQ(regbytes::byteCount(value), 3);
    EXPECT_EQ(regbytes::byteOf(value, 0), QStringLiteral("10101010"));
    EXPECT_EQ(regbytes::byteOf(value, 1), QStringLiteral("11111110"));
    EXPECT_EQ(regbytes::byteOf(value, 2), QStringLiteral("00000001"));
    EXPECT_EQ(regbytes::byteOf(value, 3), QString());
    EXPECT_EQ(regbytes::byteOf(value, -1), QString());
    EXPECT_EQ(regbytes::byteCount(QStringLiteral("1111111100")), 1) << "a short rest is no byte";
    EXPECT_EQ(regbytes::byteCount(QString()), 0);
}

TEST(RegisterBytes, TheEnabledRowsMakeUpTheRegisterOrNameTheFirstBadByte)
{
    struct ComposeCase {
        const char* name;
        std::vector<ByteRow> rows; // byte 0 first
        int width;
        Composed::Fault fault;
        int byte;
        const char* value;
    };
    const ByteRow off{QStringLiteral("++++++++"), QStringLiteral("++"), false};
    const ComposeCase cases[] = {
        {"two bytes",
         {{"10101010", "AA", true}, {"1", "01", true}},
         16,
         Composed::Fault::None,
         -1,
         "0000000110101010"},
        {"rows beyond the width are not read",
         {{"11110000", "F0", true}, {"x", "", true}},
         8,
         Composed::Fault::None,
         -1,
         "11110000"},
        {"a half-typed bit box counts padded", {{"11", "3", true}}, 8, Composed::Fault::None, -1, "00000011"},
        {"pasted text in a bit box",
         {{"00000000", "00", true}, {"10201", "12", true}},
         16,
         Composed::Fault::BadByte,
         1,
         ""},
        {"an empty hexadecimal box", {{"00000000", "", true}}, 8, Composed::Fault::BadByte, 0, ""},
        {"a bad hexadecimal box", {{"00000000", "G1", true}}, 8, Composed::Fault::BadByte, 0, ""},
        {"the most significant bad byte is named",
         {{"2", "00", true}, {"00000000", "00", true}, {"3", "00", true}},
         24,
         Composed::Fault::BadByte,
         2,
         ""},
        {"a disabled row leaves the register short",
         {{"00000000", "00", true}, off},
         16,
         Composed::Fault::Incomplete,
         -1,
         ""},
        {"fewer rows than the register", {{"00000000", "00", true}}, 16, Composed::Fault::Incomplete, -1, ""},
    };
    for (const ComposeCase& c : cases) {
        const Composed composed = regbytes::compose(c.rows, c.width);
        EXPECT_EQ(composed.fault, c.fault) << c.name;
        EXPECT_EQ(composed.byte, c.byte) << c.name;
        EXPECT_EQ(composed.value, QString::fromLatin1(c.value)) << c.name;
    }
}

TEST(RegisterBytes, EveryByteValueGoesRoundBothBoxes)
{
    std::vector<ByteRow> rows(8);
    QString value;
    for (int b = 0; b < 256; ++b) {
        const QString bits = QString::number(b, 2).rightJustified(8, QLatin1Char('0'));
        const QString hex = regbytes::hexOfBits(bits);
        ASSERT_EQ(regbytes::bitsOfHex(hex), bits) << b;
        ASSERT_EQ(hex, QString::number(b, 16).toUpper().rightJustified(2, QLatin1Char('0'))) << b;
    }
    for (int i = 0; i < 8; ++i) {
        const QString bits = QString::number(0x11 * (i + 1), 2).rightJustified(8, QLatin1Char('0'));
        rows[static_cast<size_t>(i)] = {bits, regbytes::hexOfBits(bits), true};
        value.prepend(bits);
    }
    const Composed composed = regbytes::compose(rows, 64);
    EXPECT_EQ(composed.fault, Composed::Fault::None);
    EXPECT_EQ(composed.value, value);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(regbytes::byteOf(composed.value, i), rows[static_cast<size_t>(i)].bits) << i;
}

} // namespace
