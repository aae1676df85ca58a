// The board module's start-up and files against the emulated driver with no application object: the
// program that runs these links the board library alone. The window services are a virtual clock alone, so
// every window call takes the stand-alone way (no Control window, nothing loaded, no pointer), and the
// board's events reach plain callbacks.

#include "board/board_flags.h"
#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "board/message_sink.h"
#include "board/ram_file.h"
#include "board/regmap_file.h"
#include "board/setup_file.h"
#include "board/setup_file_format.h"
#include "board/system_clock.h"
#include "board/window_services.h"
#include "board_core/virtual_time_windows.h"
#include "common/bit_strings.h"
#include "platform/usb/emulated_driver.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using testbits::bits;
using testbits::valueOf;

class RecordingSink : public boardmsg::MessageSink {
public:
    QStringList prompts;
    int show(const QString& prompt, int, const QString&) override
    {
        prompts << prompt;
        return boardmsg::vbOK;
    }
};

// A value of the register's width that differs from register to register and from the defaults.
QString patternFor(int16_t address, int width, int salt)
{
    QString value(width, QLatin1Char('0'));
    for (int k = 0; k < width; ++k)
        if ((k * 7 + address * 3 + salt) % 5 == 0)
            value[k] = QLatin1Char('1');
    return value;
}

// One emulated board, selected in a fresh USB object, and the board object started on it as the program's
// start-up does: port levels fetched, the chip reset and its revision detected.
class BoardFilesWithoutGui : public ::testing::Test {
protected:
    usb::ScopedEmulatedDriver scoped;
    usb::EmulatedDriver& drv = scoped.get();
    ScopedEZUSB ezusb;
    std::unique_ptr<cZR4470XEvalBd> bd = std::make_unique<cZR4470XEvalBd>();
    RecordingSink sink;
    QTemporaryDir dir;
    boardcore::VirtualTimeWindows windows;
    boardcore::ScopedWindowServices installed{windows};

    BoardFilesWithoutGui() { goEvalBd = bd.get(); }
    ~BoardFilesWithoutGui() override
    {
        goEvalBd = nullptr;
        gbBoardConnected = false;
    }
    void SetUp() override { boardmsg::setMessageSink(&sink); }
    void TearDown() override { boardmsg::setMessageSink(nullptr); }

    int16_t startUp(const usb::BoardOptions& options = {})
    {
        drv.attach(0, options);
        EXPECT_EQ(goEZUSB().GetDevices(), 1);
        EXPECT_EQ(goEZUSB().SelectDevice(0, 0), 1);
        bd->InitIOBuffs();
        bd->StrobeReset();
        const int16_t revision = bd->DetectSiliconRev();
        bd->InitRegMap(revision == 2 ? 2 : 3);
        gbBoardConnected = true;
        return revision;
    }
    usb::EmulatedChip& chip() { return *drv.board(0)->chip(); }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    void writeFile(const QString& file, const QByteArray& bytes)
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
};

TEST_F(BoardFilesWithoutGui, StartUpDetectsEachRevisionAndRaisesTheResetEvents)
{
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    struct Case {
        usb::ChipRevision chip;
        int16_t detected;
        int16_t idRegisterWidth; // 0x1F: 40 bits on revision 3, 8 on revisions 1 and 2
    };
    for (const Case c : {Case{usb::ChipRevision::Rev3, 3, 40}, Case{usb::ChipRevision::Rev2, 2, 8},
                         Case{usb::ChipRevision::Rev1, 2, 8}}) {
        SCOPED_TRACE(static_cast<int>(c.chip));
        drv.detach(0);
        ScopedEZUSB freshUsbObject;
        std::vector<QString> raised;
        bd->RESETAsserted = [&] { raised.push_back(QStringLiteral("asserted")); };
        bd->AfterRESET = [&] { raised.push_back(QStringLiteral("after")); };
        bd->RegMapReset = [&](int32_t mode) { raised.push_back(QStringLiteral("map %1").arg(mode)); };
        usb::BoardOptions options;
        options.chip.revision = c.chip;
        EXPECT_EQ(startUp(options), c.detected);
        EXPECT_EQ(bd->SiliconRev(), c.detected);
        EXPECT_EQ(bd->GetRegLength(0x1F), c.idRegisterWidth);
        ASSERT_GE(raised.size(), 2U);
        EXPECT_EQ(raised[0], QStringLiteral("asserted"));
        EXPECT_NE(std::find(raised.begin(), raised.end(), QStringLiteral("after")), raised.end());
    }
    EXPECT_TRUE(sink.prompts.isEmpty()) << sink.prompts.join('\n').toStdString();
}

TEST_F(BoardFilesWithoutGui, EventsWithoutAHandlerAreRaisedToTheTapAlone)
{
    startUp();
    std::vector<EvalBdEventRecord::Kind> tapped;
    bd->setEventTap([&](const EvalBdEventRecord& r) { tapped.push_back(r.kind); });
    bd->StrobeReset(); // no handler is bound to any event
    using Kind = EvalBdEventRecord::Kind;
    EXPECT_EQ(tapped, (std::vector<Kind>{Kind::RESETAsserted, Kind::RegMapReset, Kind::AfterRESET,
                                         Kind::RESETReleased, Kind::RegMapReset}));
    EXPECT_EQ(bd->Reset(), 0) << "the reset line is released";
}

TEST_F(BoardFilesWithoutGui, SetupFileLoadsIntoBothMapsAndTheChip)
{
    ASSERT_EQ(startUp(), 3);
    SetupFileContents contents;
    for (int16_t address : setupFileRegisters())
        contents.rows.push_back({address, patternFor(address, bd->GetRegLength(address), 3)});
    contents.externalClock = 122.88;
    contents.lines = {1, 0, 1, 1, 0, 1};
    writeFile(path("a.stp"), writeSetupFileText(contents));

    ASSERT_EQ(ebLoadSetupFile(path("a.stp")), kSetupLoaded);
    for (const SetupFileRow& row : contents.rows) {
        EXPECT_EQ(bd->GetRegMapValue(0, row.address), row.bits) << row.address;
        EXPECT_EQ(bd->GetRegMapValue(1, row.address), row.bits) << row.address;
        EXPECT_EQ(bits(chip().activeRegister(row.address), static_cast<int>(row.bits.size())), row.bits)
            << row.address;
    }
    // No Control window: the file's clock is kept as the clock the next save writes.
    EXPECT_EQ(systemClock().externalClockText(), QStringLiteral("122.88000"));
    EXPECT_EQ(bd->ExtPD(), 1);
    EXPECT_EQ(bd->OSK(), 1);
    EXPECT_EQ(bd->P0(), 1);

    // And a save writes what the chip answers with that clock, each profile register read after its
    // settling wait on the virtual clock.
    const double start = windows.now;
    ASSERT_TRUE(ebSaveSetupFile(path("b.stp")));
    EXPECT_GE(windows.now - start, 8 * 0.55);
    EXPECT_EQ(windows.yieldingTurns, windows.turns);
    QFile saved(path("b.stp"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray text = saved.readAll();
    EXPECT_TRUE(text.contains("\"External Clock\",122.88\r\n")) << text.toStdString();
    EXPECT_TRUE(sink.prompts.isEmpty()) << sink.prompts.join('\n').toStdString();
}

TEST_F(BoardFilesWithoutGui, BadSetupFileChangesNothing)
{
    startUp();
    const QString before = bd->GetRegMapValue(0, 0x02);
    writeFile(path("bad.stp"), "\"not a setup file\"\r\n");
    EXPECT_EQ(ebLoadSetupFile(path("bad.stp")), kSetupBadFile);
    EXPECT_EQ(bd->GetRegMapValue(0, 0x02), before);
}

TEST_F(BoardFilesWithoutGui, RamFileLoadsIntoTheChipAndDumpsBack)
{
    startUp();
    std::vector<uint32_t> words(kRamWordCount);
    QByteArray text;
    for (int k = 0; k < kRamWordCount; ++k) {
        words[static_cast<size_t>(k)] = static_cast<uint32_t>(k) * 0x01010101U ^ 0xA5A50000U;
        text += board::formatRamDumpLine(words[static_cast<size_t>(k)], kRamFormatHex).toLatin1() + "\r\n";
    }
    writeFile(path("ram.txt"), text);
    std::vector<int32_t> finished;
    bd->RAMCOMFinished = [&](bool ok) { finished.push_back(ok ? 1 : 0); };

    ASSERT_EQ(ebLoadRAMFile(path("ram.txt"), kRamFormatHex), kRamLoadDone);
    const auto& ram = chip().ram();
    EXPECT_TRUE(std::equal(words.begin(), words.end(), ram.begin()));

    ASSERT_EQ(ebDumpRAMToFile(path("dump.txt"), kRamFormatHex), RamDumpResult::Done);
    const board::RamFileContents dumped = board::readRamDataFile(path("dump.txt"), kRamFormatHex);
    ASSERT_TRUE(dumped.ok()) << dumped.problem.toStdString();
    EXPECT_EQ(dumped.words, words);
    EXPECT_EQ(finished, (std::vector<int32_t>{1, 1})) << "the load's and the dump's end, both successful";
}

TEST_F(BoardFilesWithoutGui, RegisterMapFileFromTheChipAndFromTheMaps)
{
    startUp();
    const QString cfr2 = patternFor(0x01, bd->GetRegLength(0x01), 5);
    ASSERT_EQ(bd->USBSerialLoadPKT(0x01, cfr2), 0);
    bd->StrobeREGUD();
    for (const bool fromMaps : {false, true}) {
        SCOPED_TRACE(fromMaps);
        const QString file = path(fromMaps ? "maps.txt" : "chip.txt");
        ASSERT_TRUE(ebWriteRegMapFile(file, fromMaps));
        QFile written(file);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = written.readAll().split('\n');
        ASSERT_EQ(lines.size(), 0x1F + 1); // 0x00-0x1E, each ending in CR LF, and nothing after the last
        EXPECT_EQ(lines[1], cfr2.toLatin1() + "\r");
    }
    // The simulator's parameter file needs the system clock of the Control window, which is not there.
    EXPECT_FALSE(ebWriteSimParmFile());
    ASSERT_EQ(sink.prompts.size(), 1);
    EXPECT_TRUE(sink.prompts[0].startsWith(QStringLiteral("The System Clock is not a valid number!")));
}

} // namespace
