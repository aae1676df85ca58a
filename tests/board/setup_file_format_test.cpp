// The setup file's text: fields, numbers, the written form and every way a file is refused.

#include "board/setup_file_format.h"

#include <gtest/gtest.h>

namespace {

// Widths of the revision 3 layout for the registers a setup file holds.
int rev3Width(int16_t address)
{
    static const int widths[0x19] = {32, 32, 32, 32, 32, 48, 48, 32, 16, 32, 32, 64, 64,
                                     32, 64, 64, 64, 64, 64, 64, 64, 64, 32, 8,  16};
    return address >= 0 && address < 0x19 ? widths[address] : 0;
}

// The rows a revision 3 chip loads, without regard to files from the other revision.
SetupRowWidths rev3Only(int16_t address)
{
    return {rev3Width(address), 0};
}

QString ones(int width)
{
    return QString(width, QLatin1Char('1'));
}

SetupFileContents sample()
{
    SetupFileContents contents;
    for (int16_t address : setupFileRegisters()) {
        QString bits(rev3Width(address), QLatin1Char('0'));
        bits[address % bits.size()] = QLatin1Char('1');
        contents.rows.push_back({address, bits});
    }
    contents.externalClock = 122.88;
    contents.lines = {1, 0, 1, 0, 1, 1};
    return contents;
}

} // namespace

TEST(SetupFileFormat, WrittenTextHasTheClassicLayout)
{
    const QStringList lines = QString::fromLatin1(writeSetupFileText(sample())).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 38); // 37 lines, each ended by CR LF
    EXPECT_EQ(lines[0], "\"ZR4470 Evaluation Software Setup File\"");
    EXPECT_EQ(lines[1], "\"Rev\",1");
    EXPECT_EQ(lines[2], "\"\"");
    EXPECT_EQ(lines[3], "\"Addr(Hex)\",\"Value(Bin)\"");
    EXPECT_EQ(lines[4], "\"00\",\"10000000000000000000000000000000\"");
    EXPECT_TRUE(lines[14].startsWith("\"0A\",\"")) << lines[14].toStdString();
    EXPECT_TRUE(lines[25].startsWith("\"15\",\"")) << lines[25].toStdString();
    EXPECT_TRUE(lines[26].startsWith("\"18\",\"")) << lines[26].toStdString();
    EXPECT_EQ(lines[27], "\"End Of Regmap\",\"End Of Regmap\"");
    EXPECT_EQ(lines[28], "\"\"");
    EXPECT_EQ(lines[29], "\"Other Settings...\"");
    EXPECT_EQ(lines[30], "\"External Clock\",122.88");
    EXPECT_EQ(lines[31], "\"External Power Down Pin\",1");
    EXPECT_EQ(lines[32], "\"ISFC Pin\",0");
    EXPECT_EQ(lines[33], "\"OSK\",1");
    EXPECT_EQ(lines[34], "\"P3\",0");
    EXPECT_EQ(lines[35], "\"P2\",1");
    EXPECT_EQ(lines[36], "\"P1\",1");
    EXPECT_EQ(lines[37], "");
}

TEST(SetupFileFormat, NumbersAreShortestWithAPeriod)
{
    EXPECT_EQ(setupNumberText(1000), "1000");
    EXPECT_EQ(setupNumberText(122.88), "122.88");
    EXPECT_EQ(setupNumberText(0.1), "0.1");
    EXPECT_EQ(setupFieldNumber(" 122.88 "), 122.88);
    EXPECT_EQ(setupFieldNumber("1.5E+3"), 1500.0);
    for (const char* bad : {"", "1,5", "abc", "inf", "nan", "1e999", "0x10", "12a"})
        EXPECT_FALSE(setupFieldNumber(QString::fromLatin1(bad))) << bad;
}

TEST(SetupFileFormat, FieldsSplitAsTheClassicReaderDoes)
{
    struct Case {
        const char* line;
        std::optional<QStringList> fields;
    };
    const Case cases[] = {
        {"\"a\",\"b\"", QStringList{"a", "b"}},
        {"  \"a b\" , 12 ", QStringList{"a b", "12"}},
        {"\"a,b\",3", QStringList{"a,b", "3"}},
        {"plain , text", QStringList{"plain", "text"}},
        {"\"\"", QStringList{""}},
        {"", QStringList{""}},
        {"\"a\",", QStringList{"a", ""}},
        {"\"open", std::nullopt},
        {"\"a\"b,c", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitSetupFields(QString::fromLatin1(c.line)), c.fields) << c.line;
}

TEST(SetupFileFormat, WrittenFileReadsBack)
{
    const SetupFileContents written = sample();
    const SetupFileParse parse = parseSetupFile(writeSetupFileText(written), rev3Only);
    ASSERT_TRUE(parse.contents) << parse.error.toStdString();
    ASSERT_EQ(parse.contents->rows.size(), written.rows.size());
    for (size_t k = 0; k < written.rows.size(); ++k) {
        EXPECT_EQ(parse.contents->rows[k].address, written.rows[k].address);
        EXPECT_EQ(parse.contents->rows[k].bits, written.rows[k].bits);
    }
    EXPECT_EQ(parse.contents->externalClock, 122.88);
    EXPECT_EQ(parse.contents->lines, written.lines);
}

TEST(SetupFileFormat, RowsInAnyOrderAndLooseLineEndsAreAccepted)
{
    QString text = QString::fromLatin1(writeSetupFileText(sample()));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    std::swap(lines[4], lines[20]);
    lines[31] = "\"External Power Down Pin\",7"; // any non-zero number sets the line
    text = lines.join(QLatin1Char('\n'));
    const SetupFileParse parse = parseSetupFile(text.toLatin1(), rev3Only);
    ASSERT_TRUE(parse.contents) << parse.error.toStdString();
    EXPECT_EQ(parse.contents->rows.front().address, 0x10);
    EXPECT_EQ(parse.contents->rows[16].address, 0x00);
    EXPECT_EQ(parse.contents->lines[kSetupExtPD], 1);
}

TEST(SetupFileFormat, RowsNotLoadedOnThisChipNeedOnlyBinaryDigits)
{
    // On a revision 1/2 chip register 0x18 is skipped: a 16-bit row from a revision 3 file still reads.
    auto rev2 = [](int16_t address) { return SetupRowWidths{address == 0x18 ? 0 : rev3Width(address), 0}; };
    EXPECT_TRUE(parseSetupFile(writeSetupFileText(sample()), rev2).contents);
    SetupFileContents bad = sample();
    bad.rows.back().bits = "0120";
    EXPECT_FALSE(parseSetupFile(writeSetupFileText(bad), rev2).contents);
}

TEST(SetupFileFormat, BadFilesAreRefused)
{
    const QStringList good = QString::fromLatin1(writeSetupFileText(sample())).split(QStringLiteral("\r\n"));
    struct Case {
        const char* what;
        int line; // 0-based line to replace, -1 to cut the file after `cut` lines
        const char* replacement;
        int cut;
    };
    const Case cases[] = {
        {"other title", 0, "\"ZR4470 Evaluation Software Setup Fil\"", 0},
        {"format revision 2", 1, "\"Rev\",2", 0},
        {"revision not a number", 1, "\"Rev\",x", 0},
        {"address 16", 5, "\"16\",\"00000000000000000000000000000000\"", 0},
        {"address 1F", 5, "\"1F\",\"0000000000000000000000000000000000000000\"", 0},
        {"address not hexadecimal", 5, "\"0G\",\"00000000000000000000000000000000\"", 0},
        {"address empty", 5, "\"\",\"00000000000000000000000000000000\"", 0},
        {"value too short", 5, "\"01\",\"0000000000000000000000000000000\"", 0},
        {"value too long", 5, "\"01\",\"000000000000000000000000000000000\"", 0},
        {"value with a 2", 5, "\"01\",\"00000000000000000000000000000002\"", 0},
        {"value empty", 5, "\"01\",\"\"", 0},
        {"row of one field", 5, "\"01\"", 0},
        {"row of three fields", 5, "\"01\",\"00000000000000000000000000000000\",\"x\"", 0},
        {"half end marker", 27, "\"End Of Regmap\",\"x\"", 0},
        {"clock label", 30, "\"Extern Clock\",1000", 0},
        {"clock not a number", 30, "\"External Clock\",fast", 0},
        {"pin label P0", 36, "\"P0\",1", 0},
        {"pin not a number", 33, "\"OSK\",x", 0},
        {"pin beyond 16 bits", 33, "\"OSK\",70000", 0},
        {"pin fraction", 33, "\"OSK\",1.5", 0},
        {"unterminated quote", 6, "\"02,\"0000", 0},
        {"ends after the register part", -1, "", 28},
        {"ends without end marker", -1, "", 20},
        {"ends before the last pin", -1, "", 36},
        {"empty file", -1, "", 0},
    };
    for (const Case& c : cases) {
        QStringList lines = good;
        if (c.line >= 0)
            lines[c.line] = QString::fromLatin1(c.replacement);
        else
            lines = lines.mid(0, c.cut);
        const QByteArray data = lines.join(QStringLiteral("\r\n")).toLatin1();
        const SetupFileParse parse = parseSetupFile(data, rev3Only);
        EXPECT_FALSE(parse.contents) << c.what;
        EXPECT_FALSE(parse.error.isEmpty()) << c.what;
    }
}

TEST(SetupFileFormat, TooManyRowsAreRefused)
{
    SetupFileContents contents = sample();
    while (static_cast<int>(contents.rows.size()) <= kMaxSetupRows)
        contents.rows.push_back({0x00, ones(32)});
    EXPECT_FALSE(parseSetupFile(writeSetupFileText(contents), rev3Only).contents);
    contents.rows.resize(kMaxSetupRows);
    EXPECT_TRUE(parseSetupFile(writeSetupFileText(contents), rev3Only).contents);
}
