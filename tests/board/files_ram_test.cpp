// RAM data files against the emulated chip: each format's round trip, bad lines, partial and empty files,
// the segment register around every transfer, failed reads and writes, and the fill test.

#include "files_fixture.h"

#include "board/ram_file.h"
#include "platform/runtime/locale_info.h"
#include "platform/ui/app.h"
#include "platform/ui/forms.h"
#include "platform/ui/test_doubles.h"

#include <QBuffer>

#include <random>

using namespace evalbdtest;
using namespace filestest;
using Kind = EvalBdEventRecord::Kind;

namespace {

// A segment register value that is not the full range, so that its restoration shows.
const QString kSavedSegment = QStringLiteral("000000000001001100000011110000000000010000000001");

class RamFiles : public FilesTest {
protected:
    void SetUp() override
    {
        FilesTest::SetUp();
        for (int16_t reg : {int16_t{0x05}, int16_t{0x06}})
            ASSERT_EQ(bd->USBSerialLoadPKT(reg, kSavedSegment), 0);
        bd->StrobeREGUD();
        clearRecords();
        pointerAtEvents.clear();
    }

    std::vector<uint32_t> randomRam(uint32_t seed)
    {
        std::mt19937 random(seed);
        std::vector<uint32_t> words(1024);
        for (uint32_t& w : words)
            w = random();
        // The extremes of every format.
        words[0] = 0;
        words[1] = 0xFFFFFFFFU;
        words[2] = 0x80000000U;
        words[3] = 0x7FFFFFFFU;
        return words;
    }
    void setRam(const std::vector<uint32_t>& words)
    {
        for (int a = 0; a < 1024; ++a)
            chip().setRamWord(a, words[static_cast<size_t>(a)]);
    }
    std::vector<uint32_t> ram() const
    {
        const auto& r = drv.board(0)->chip()->ram();
        return std::vector<uint32_t>(r.begin(), r.end());
    }
    // The segment register is back: written map, and the chip's active value.
    void expectSegmentRestored(int16_t reg)
    {
        EXPECT_EQ(bd->GetRegMapValue(1, reg), kSavedSegment);
        EXPECT_EQ(chip().activeRegister(reg), valueOf(kSavedSegment));
    }
};

// The expected dump line of a word, written out independently of the code under test.
QString expectedLine(uint32_t w, int format)
{
    switch (format) {
    case 0:
        return bits(w, 32);
    case 1:
        return QString::asprintf("%08X", w);
    case 2:
        return QStringLiteral(" %1 ").arg(w);
    default: {
        const int32_t s = static_cast<int32_t>(w);
        return s < 0 ? QStringLiteral("-%1 ").arg(-static_cast<int64_t>(s)) : QStringLiteral(" %1 ").arg(s);
    }
    }
}

TEST_F(RamFiles, DumpThenLoadRoundTripsInTheReadableFormats)
{
    for (const bool lsbFirst : {false, true}) {
        for (const int isfc : {0, 1}) {
            for (const int format : {0, 1, 2}) {
                SCOPED_TRACE(testing::Message()
                             << "lsb " << lsbFirst << " isfc " << isfc << " format " << format);
                setSerialMode(lsbFirst, false);
                bd->setISFC(isfc);
                bd->USBWritePortBuffVal(kPortA);
                const int16_t segmentRegister = isfc ? 0x05 : 0x06;
                const std::vector<uint32_t> image = randomRam(format * 4 + isfc * 2 + lsbFirst);
                setRam(image);
                clearRecords();
                const int ioUpdates = chip().ioUpdateCount();

                ASSERT_TRUE(ebDumpRAM(path("dump.txt"), static_cast<int16_t>(format)));
                const QStringList lines = crlfLines("dump.txt");
                ASSERT_EQ(lines.size(), 1024);
                for (int a = 0; a < 1024; ++a)
                    ASSERT_EQ(lines[a], expectedLine(image[static_cast<size_t>(a)], format)) << "line " << a;
                expectSegmentRestored(segmentRegister);
                EXPECT_EQ(chip().ioUpdateCount(), ioUpdates + 2);

                chip().fillRam(0x5A5A5A5AU);
                clearRecords();
                ASSERT_EQ(ebLoadRAMFile(path("dump.txt"), static_cast<int16_t>(format)), kRamLoadDone);
                EXPECT_EQ(ram(), image);
                expectSegmentRestored(segmentRegister);
                EXPECT_EQ(chip().ioUpdateCount(), ioUpdates + 4);
                expectCleanProtocol();
            }
        }
    }
}

TEST_F(RamFiles, SignedPairsLoadAndSignedDump)
{
    // Upper half first: 1 / -1 gives upper 0x0001 and lower 0xFFFF; 65535 / -32768 and 0 / 0 follow.
    QStringList lines;
    for (int a = 0; a < 1024; ++a) {
        const QString pairs[][2] = {{" 1 ", "-1 "}, {"65535", "-32768"}, {"0", "  0  "}, {"-1", "32767"}};
        lines << pairs[a % 4][0] << pairs[a % 4][1];
    }
    writeFile("pairs.txt", crlfText(lines));
    ASSERT_EQ(ebLoadRAMFile(path("pairs.txt"), 3), kRamLoadDone);
    const uint32_t expected[] = {0x0001FFFFU, 0xFFFF8000U, 0U, 0xFFFF7FFFU};
    for (int a = 0; a < 1024; ++a)
        ASSERT_EQ(chip().ramWord(a), expected[a % 4]) << "address " << a;

    ASSERT_TRUE(ebDumpRAM(path("signed.txt"), 3));
    const QStringList dumped = crlfLines("signed.txt");
    ASSERT_EQ(dumped.size(), 1024);
    EXPECT_EQ(dumped.mid(0, 4), QStringList({" 131071 ", "-32768 ", " 0 ", "-32769 "}));
}

TEST_F(RamFiles, BadLinesMoveNothing)
{
    struct Case {
        int format;
        QByteArray text;
    };
    const Case cases[] = {
        {0, "0101\r\n0102\r\n"},
        {0, "0101\r\n\r\n0101\r\n"},
        {0, QByteArray(33, '1') + "\r\n"},
        {0, "0101 0101\r\n"},
        {0, "+101\r\n"},
        {1, "1F\r\nG1\r\n"},
        {1, "-1\r\n"},
        {1, "100000000\r\n"},
        {1, "12 34\r\n"},
        {1, "&HFF\r\n"},
        {1, "\r\n"},
        {2, "12 34\r\n"},
        {2, "1.5\r\n"},
        {2, "4294967296\r\n"},
        {2, "-2147483649\r\n"},
        {2, "ABC\r\n"},
        {2, "1\r\n \r\n"},
        {3, "1\r\n"},
        {3, "1\r\n65536\r\n"},
        {3, "-32769\r\n1\r\n"},
        {3, "x\r\n1\r\n"},
        {5, "1\r\n"},
        {0, QByteArray(300, '0') + "\r\n"},
    };
    chip().fillRam(0x12345678U);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "format " << c.format << " text " << c.text.toStdString());
        writeFile("bad.txt", c.text);
        clearRecords();
        EXPECT_EQ(ebLoadRAMFile(path("bad.txt"), static_cast<int16_t>(c.format)), kRamLoadFailed);
        EXPECT_EQ(bulkCount(), 0);
        EXPECT_EQ(ui::ScreenMousePointer(), 0);
    }
    EXPECT_EQ(chip().ramWord(0), 0x12345678U);
    EXPECT_EQ(chip().ramWord(1023), 0x12345678U);
}

TEST_F(RamFiles, LinesThatReadInEachFormat)
{
    struct Case {
        int format;
        const char* line;
        uint32_t word;
    };
    const Case cases[] = {
        {0, "  101\t", 5},
        {0, "1", 1},
        {0, "10000000000000000000000000000000", 0x80000000U},
        {1, "00000000ff", 0xFF},
        {1, " FFFFFFFF ", 0xFFFFFFFFU},
        {2, " 1234 ", 1234},
        {2, "-1", 0xFFFFFFFFU},
        {2, "4294967295", 0xFFFFFFFFU},
        {2, "-2147483648", 0x80000000U},
        {2, "-0", 0},
        {2, "+7", 7},
        {2, "00000000000000000000000000042", 42},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const std::optional<uint32_t> word = board::parseRamWordLine(QString::fromLatin1(c.line), c.format);
        ASSERT_TRUE(word.has_value());
        EXPECT_EQ(*word, c.word);
    }
    for (const char* line : {"99999999999999999999", "-", "--1", "1-"})
        EXPECT_FALSE(board::parseRamWordLine(QString::fromLatin1(line), 2).has_value()) << line;
    {
        // The user's decimal separator does not make a whole number out of a fraction.
        rt::ScopedNumberLocale comma(QLatin1Char(','));
        EXPECT_FALSE(board::parseRamWordLine(QStringLiteral("12,5"), 2).has_value());
        EXPECT_EQ(board::parseRamWordLine(QStringLiteral("12,0"), 2), 12U);
    }
}

TEST_F(RamFiles, LineEndSplitAcrossTheReadersBlocks)
{
    // The reader takes the file in blocks of 64 KiB: line 1023's CR is the first block's last byte, its LF
    // the second block's first.
    QByteArray text = QByteArray(126, ' ') + "1\r\n";
    for (int k = 2; k <= 1024; ++k)
        text += QByteArray::number(k).rightJustified(62, ' ') + "\r\n";
    ASSERT_EQ(text.indexOf("1023\r\n") + 4, 65535);
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    const board::RamFileContents contents = board::readRamDataFile(buffer, 2);
    ASSERT_TRUE(contents.ok()) << contents.problem.toStdString();
    ASSERT_EQ(contents.words.size(), 1024U);
    EXPECT_EQ(contents.words[0], 1U);
    EXPECT_EQ(contents.words[1022], 1023U);
    EXPECT_EQ(contents.words[1023], 1024U);
}

TEST_F(RamFiles, ReadingStopsAfter1024Words)
{
    QStringList lines;
    for (int k = 0; k < 1030; ++k)
        lines << QString::number(k + 7);
    lines << QStringLiteral("not a number");
    writeFile("long.txt", crlfText(lines));
    ASSERT_EQ(ebLoadRAMFile(path("long.txt"), 2), kRamLoadDone);
    EXPECT_EQ(chip().ramWord(0), 7U);
    EXPECT_EQ(chip().ramWord(1023), 1030U);
}

TEST_F(RamFiles, ShortFileLoadsOnlyItsAddresses)
{
    for (const bool lsbFirst : {false, true}) {
        SCOPED_TRACE(lsbFirst);
        setSerialMode(lsbFirst, false);
        chip().fillRam(0xCAFEF00DU);
        writeFile("short.txt", crlfText({"11", "22", "33"}));
        clearRecords();
        ASSERT_EQ(ebLoadRAMFile(path("short.txt"), 1), kRamLoadDone);
        EXPECT_EQ(chip().ramWord(0), 0x11U);
        EXPECT_EQ(chip().ramWord(1), 0x22U);
        EXPECT_EQ(chip().ramWord(2), 0x33U);
        EXPECT_EQ(chip().ramWord(3), 0xCAFEF00DU);
        EXPECT_EQ(chip().ramWord(1023), 0xCAFEF00DU);
        ASSERT_EQ(events.front().kind, Kind::RAMCOMBegin);
        EXPECT_EQ(events.front().first, 3);
        expectSegmentRestored(0x06);
        expectCleanProtocol();
    }
}

TEST_F(RamFiles, EmptyMissingAndUnnamedFiles)
{
    writeFile("empty.txt", QByteArray());
    EXPECT_EQ(ebLoadRAMFile(path("empty.txt"), 0), kRamLoadFailed);
    EXPECT_EQ(ebLoadRAMFile(path("missing.txt"), 0), kRamLoadFailed);
    EXPECT_EQ(ebLoadRAMFile(QString(), 0), kRamLoadNoPath);
    EXPECT_EQ(bulkCount(), 0);
    EXPECT_EQ(ui::ScreenMousePointer(), 0);
}

TEST_F(RamFiles, HourglassWhileTransferringAndTheCallersPointerAfter)
{
    writeFile("one.txt", "1\r\n");
    ui::setScreenMousePointer(ui::vbArrowHourglass);
    ASSERT_EQ(ebLoadRAMFile(path("one.txt"), 0), kRamLoadDone);
    ASSERT_FALSE(pointerAtEvents.isEmpty());
    for (int pointer : pointerAtEvents)
        EXPECT_EQ(pointer, ui::vbHourglass);
    EXPECT_EQ(ui::ScreenMousePointer(), ui::vbArrowHourglass);
    ui::setScreenMousePointer(0);
}

TEST_F(RamFiles, FailedLoadStillRestoresTheSegmentRegister)
{
    writeFile("one.txt", "1\r\n2\r\n");
    // The instruction packet of the RAM transfer is the 2nd write on pipe 3 after the segment load.
    drv.failTransfer(0, 3, 2);
    EXPECT_EQ(ebLoadRAMFile(path("one.txt"), 2), kRamLoadFailed);
    expectSegmentRestored(0x06);
    EXPECT_EQ(ui::ScreenMousePointer(), 0);
}

// A stand-in for the RAM segment window, counting its refreshes.
class RamSegmentWindow : public ui::Form {
public:
    RamSegmentWindow() : Form(QStringLiteral("frmQDUCRSR"))
    {
        registerProc(QStringLiteral("RefreshFormVals"), [this] { ++refreshes; });
    }
    int refreshes = 0;
};

TEST_F(RamFiles, RamSegmentWindowRefreshedAfterEveryTransferOnly)
{
    RamSegmentWindow window;
    window.Load();
    writeFile("one.txt", "1\r\n");
    writeFile("bad.txt", "x\r\n");
    ASSERT_EQ(ebLoadRAMFile(path("one.txt"), 0), kRamLoadDone);
    EXPECT_EQ(window.refreshes, 1);
    drv.failTransfer(0, 3, 2);
    ASSERT_EQ(ebLoadRAMFile(path("one.txt"), 0), kRamLoadFailed);
    EXPECT_EQ(window.refreshes, 2);
    ASSERT_EQ(ebLoadRAMFile(path("bad.txt"), 0), kRamLoadFailed);
    EXPECT_EQ(window.refreshes, 2);
}

TEST_F(RamFiles, FailedDumpLeavesTheOldFileAndRestoresEverything)
{
    writeFile("dump.txt", "old contents\r\n");
    drv.failTransfer(0, 5, 3);
    EXPECT_FALSE(ebDumpRAM(path("dump.txt"), 0));
    EXPECT_EQ(readFile("dump.txt"), QByteArray("old contents\r\n"));
    expectSegmentRestored(0x06);
    EXPECT_EQ(ui::ScreenMousePointer(), 0);
}

TEST_F(RamFiles, DumpIntoAFolderThatDoesNotExist)
{
    // The dump tells its caller why it failed; the caller shows the one message.
    EXPECT_EQ(ebDumpRAMToFile(path("no such folder/RAMDump.txt"), 0), RamDumpResult::NotWritten);
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
    expectSegmentRestored(0x06);
    EXPECT_EQ(ui::ScreenMousePointer(), 0);
}

TEST_F(RamFiles, DumpInAnUnknownFormatIsRefusedBeforeAnyTraffic)
{
    writeFile("dump.txt", "keep\r\n");
    EXPECT_FALSE(ebDumpRAM(path("dump.txt"), 4));
    EXPECT_FALSE(ebDumpRAM(path("dump.txt"), -1));
    EXPECT_EQ(bulkCount(), 0);
    EXPECT_EQ(readFile("dump.txt"), QByteArray("keep\r\n"));
}

TEST_F(RamFiles, TransfersWaitForAFreeBoard)
{
    writeFile("one.txt", "1\r\n");
    int16_t nested = -1;
    bool nestedDump = true;
    bd->setEventTap([&](const EvalBdEventRecord& r) {
        if (r.kind == Kind::RAMCOMBegin && nested == -1) {
            nested = ebLoadRAMFile(path("one.txt"), 0);
            nestedDump = ebDumpRAM(path("nested.txt"), 0);
        }
    });
    ASSERT_EQ(ebLoadRAMFile(path("one.txt"), 0), kRamLoadDone);
    EXPECT_EQ(nested, kRamLoadFailed);
    EXPECT_FALSE(nestedDump);
    EXPECT_FALSE(QFile::exists(path("nested.txt")));
}

// Stand-ins for the windows the fill test refreshes, recording the order.
class RefreshedWindow : public ui::Form {
public:
    RefreshedWindow(const QString& name, QStringList& journal) : Form(name)
    {
        registerProc(QStringLiteral("RefreshFormVals"), [this, &journal] { journal << Name(); });
    }
};

TEST_F(RamFiles, FillTestLoadsTheRampAndRefreshesTheWindows)
{
    QStringList journal;
    RefreshedWindow debug(QStringLiteral("frmDebug"), journal);
    RefreshedWindow control(QStringLiteral("frmControl"), journal);
    RefreshedWindow profile(QStringLiteral("frmProfile"), journal);
    debug.Load();
    control.Load();
    profile.Load();
    bd->setP1(1);
    bd->USBWritePortBuffVal(kPortE);

    ebRAMFillTest();
    for (int a = 0; a < 1024; ++a)
        ASSERT_EQ(chip().ramWord(a), static_cast<uint32_t>(a));
    EXPECT_EQ(board().portE() & 0x07, 0);
    const QString cfr1 = QStringLiteral("10000001000000000000000000000000");
    const QString profile0 =
        QStringLiteral("0000100010110101000000001111111111000000000000000000000000000000");
    EXPECT_EQ(chip().activeRegister(0x00), valueOf(cfr1));
    EXPECT_EQ(chip().activeRegister(0x0E), valueOf(profile0));
    EXPECT_EQ(bd->GetRegMapValue(0, 0x00), cfr1);
    EXPECT_EQ(bd->GetRegMapValue(0, 0x0E), profile0);
    EXPECT_EQ(journal, QStringList({"frmControl", "frmProfile", "frmDebug"}));
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
    EXPECT_EQ(ui::ScreenMousePointer(), 0);

    // A dump in hexadecimal holds the ramp.
    ASSERT_TRUE(ebDumpRAM(path("ramp.txt"), 1));
    const QStringList lines = crlfLines("ramp.txt");
    ASSERT_EQ(lines.size(), 1024);
    EXPECT_EQ(lines.front(), QStringLiteral("00000000"));
    EXPECT_EQ(lines.back(), QStringLiteral("000003FF"));
}

TEST_F(RamFiles, FillTestFailureMessage)
{
    // The RAM transfer's instruction: after the port, the two register writes go as one packet each.
    drv.failTransfer(0, 3, 3);
    ui::testing::messageBoxes().answer(ui::vbOK);
    ebRAMFillTest();
    ASSERT_EQ(ui::testing::messageBoxes().shown.size(), 1U);
    const auto& box = ui::testing::messageBoxes().shown[0];
    EXPECT_EQ(box.prompt, QStringLiteral("Error occured loading the RAM!"));
    EXPECT_EQ(box.title, QStringLiteral("Oh Crapp!!!!"));
    EXPECT_EQ(box.buttons, ui::vbExclamation);
    EXPECT_EQ(ui::ScreenMousePointer(), 0);
}

} // namespace
