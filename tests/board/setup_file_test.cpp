// Saving and loading setup files against the register maps, the emulated board and a Control window's clock.

#include "evalbd_fixture.h"

#include "board/progress.h"
#include "board/setup_file.h"
#include "board/setup_file_format.h"
#include "board/system_clock.h"
#include "boardui/form_names.h"

#include "platform/ui/app.h"
#include "platform/ui/controls_textbox.h"
#include "platform/ui/form.h"
#include "platform/ui/test_doubles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace evalbdtest;

namespace {

// The one control of the Control window that setup files use, fed to and from the system clock as the
// Control window does.
class ClockWindow : public ui::Form {
public:
    ClockWindow() : Form(QStringLiteral("frmControl"))
    {
        txtExternClk.Change = [this] { systemClock().showExternalClock(this, txtExternClk.Text()); };
        registerProc(formnames::ShowExternalClock,
                     [this] { txtExternClk.setText(systemClock().externalClockText()); });
    }
    ~ClockWindow() override { systemClock().forget(this); }
    ui::TextBox txtExternClk{this, "txtExternClk"};
};

class RecordingProgress : public ProgressSink {
public:
    void init(int32_t min, int32_t max, const QString& text) override
    {
        log << QStringLiteral("init %1 %2 %3").arg(min).arg(max).arg(text);
    }
    void setValue(int32_t) override {}
    void reset() override { log << QStringLiteral("reset"); }
    QStringList log;
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

QString readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.readAll());
}

class SetupFile : public EvalBdTest {
protected:
    QTemporaryDir dir;
    RecordingProgress progress;

    void SetUp() override
    {
        setProgressSink(&progress);
        systemClock().reset();
    }
    void TearDown() override { setProgressSink(nullptr); }

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    // Fills both maps (without a board) with a pattern.
    void fillMaps(int salt)
    {
        for (int16_t a : setupFileRegisters()) {
            const QString v = patternFor(a, bd->GetRegLength(a), salt);
            bd->SetRegMapValue(0, a, v);
            bd->SetRegMapValue(1, a, v);
        }
    }
    std::array<QString, 32> maps(int sel) const
    {
        std::array<QString, 32> out;
        for (int16_t a = 0; a < 32; ++a)
            out[a] = bd->GetRegMapValue(static_cast<int16_t>(sel), a);
        return out;
    }
    void writeText(const QString& file, const QString& text)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toLatin1());
    }
};

TEST_F(SetupFile, RoundTripWithoutABoardRestoresMapsLinesAndClock)
{
    ClockWindow control;
    control.Load();
    control.txtExternClk.setText("122.88000");
    fillMaps(1);
    bd->setExtPD(1);
    bd->setISFC(0);
    bd->setOSK(1);
    bd->setP2(1);
    bd->setP1(0);
    bd->setP0(1);
    const auto savedWritten = maps(1);
    bd->SetRegMapValue(0, 0x03, patternFor(3, 32, 9)); // a pending change is not saved

    ASSERT_TRUE(ebSaveSetupFile(path("a.stp")));
    EXPECT_TRUE(readFile(path("a.stp")).contains("\"External Clock\",122.88\r\n"));
    EXPECT_EQ(progress.log, QStringList({"init 0 21 Saving Setup...", "reset"}));

    fillMaps(2);
    control.txtExternClk.setText("50.00000");
    bd->setExtPD(0);
    bd->setOSK(0);
    bd->setP2(0);
    bd->setP0(0);
    progress.log.clear();

    ASSERT_EQ(ebLoadSetupFile(path("a.stp")), kSetupLoaded);
    for (int16_t a : setupFileRegisters()) {
        EXPECT_EQ(bd->GetRegMapValue(1, a), savedWritten[a]) << a;
        EXPECT_EQ(bd->GetRegMapValue(0, a), savedWritten[a]) << a; // both maps equal: nothing blinks
    }
    EXPECT_EQ(control.txtExternClk.Text(), "122.88000");
    EXPECT_EQ(bd->ExtPD(), 1);
    EXPECT_EQ(bd->ISFC(), 0);
    EXPECT_EQ(bd->OSK(), 1);
    EXPECT_EQ(bd->P2(), 1);
    EXPECT_EQ(bd->P1(), 0);
    EXPECT_EQ(bd->P0(), 1);
    EXPECT_EQ(progress.log,
              QStringList({"init 0 15 Reading File Data", "reset", "init 0 21 Loading...", "reset"}));
    EXPECT_EQ(ui::ScreenMousePointer(), 0);
}

TEST_F(SetupFile, RoundTripWithABoardReadsAndWritesTheChip)
{
    plug();
    ClockWindow control;
    control.Load();
    control.txtExternClk.setText("1000.00000");
    for (int16_t a : setupFileRegisters())
        ASSERT_EQ(bd->USBSerialLoadPKT(a, patternFor(a, bd->GetRegLength(a), 3)), 0) << a;
    bd->StrobeREGUD();
    // The windows may show other pending values: the file holds what the chip answers.
    bd->SetRegMapValue(0, 0x02, patternFor(2, 32, 4));
    bd->setOSK(1);
    bd->setP1(1);
    bd->USBWritePortBuffVal(kPortE);

    ASSERT_TRUE(ebSaveSetupFile(path("board.stp")));
    const QString text = readFile(path("board.stp"));
    EXPECT_TRUE(text.contains("\"02\",\"" + patternFor(2, 32, 3) + "\"")) << text.toStdString();

    for (int16_t a : setupFileRegisters())
        ASSERT_EQ(bd->USBSerialLoadPKT(a, patternFor(a, bd->GetRegLength(a), 7)), 0);
    bd->StrobeREGUD();
    bd->setOSK(0);
    bd->setP1(0);
    bd->USBWritePortBuffVal(kPortE);
    clearRecords();

    ASSERT_EQ(ebLoadSetupFile(path("board.stp")), kSetupLoaded);
    for (int16_t a : setupFileRegisters()) {
        const QString expected = patternFor(a, bd->GetRegLength(a), 3);
        EXPECT_EQ(bits(chip().activeRegister(a), bd->GetRegLength(a)), expected) << a;
        EXPECT_EQ(bd->GetRegMapValue(0, a), expected) << a;
        EXPECT_EQ(bd->GetRegMapValue(1, a), expected) << a;
    }
    EXPECT_EQ((board().portE() >> 3) & 1, 1) << "OSK line sent";
    EXPECT_EQ((board().portE() >> 1) & 1, 1) << "P1 line sent";
    expectCleanProtocol();
}

TEST_F(SetupFile, BadFilesChangeNothingAndSendNothing)
{
    plug();
    ClockWindow control;
    control.Load();
    control.txtExternClk.setText("1000.00000");
    ASSERT_TRUE(ebSaveSetupFile(path("good.stp")));
    const QStringList good = readFile(path("good.stp")).split("\r\n");

    struct Case {
        const char* what;
        int line;
        const char* replacement;
    };
    const Case cases[] = {
        {"revision 2 file", 1, "\"Rev\",2"},
        {"address outside the saved range", 10, "\"1A\",\"00000000\""},
        {"value of the wrong width", 12, "\"08\",\"0101\""},
        {"value with other characters", 12, "\"08\",\"010101010101010x\""},
        {"register 18 of neither revision's width", 26, "\"18\",\"000011110000\""},
        {"register 18 of the other revision's width with other characters", 26, "\"18\",\"0000111x\""},
        {"register 08 of a width that register 18 has elsewhere", 12, "\"08\",\"00001111\""},
        {"missing external clock", 30, "\"Other\",1"},
        {"pin that is not a number", 34, "\"P3\",high"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList lines = good;
        lines[c.line] = QString::fromLatin1(c.replacement);
        writeText(path("bad.stp"), lines.join("\r\n"));
        const auto pending = maps(0);
        const auto written = maps(1);
        const int16_t portA = bd->USBGetPortBuffVal(kPortA);
        const int16_t portE = bd->USBGetPortBuffVal(kPortE);
        clearRecords();
        progress.log.clear();

        EXPECT_EQ(ebLoadSetupFile(path("bad.stp")), kSetupBadFile);
        EXPECT_EQ(maps(0), pending);
        EXPECT_EQ(maps(1), written);
        EXPECT_EQ(bd->USBGetPortBuffVal(kPortA), portA);
        EXPECT_EQ(bd->USBGetPortBuffVal(kPortE), portE);
        EXPECT_EQ(bulkCount(), 0);
        EXPECT_EQ(control.txtExternClk.Text(), "1000.00000");
        EXPECT_EQ(progress.log.last(), "reset");
        EXPECT_EQ(ui::ScreenMousePointer(), 0);
    }
    EXPECT_EQ(ebLoadSetupFile(path("missing.stp")), kSetupBadFile);
}

TEST_F(SetupFile, AttachedBoardWithoutChipRefusesBeforeOpening)
{
    plug({.chip = {.revision = usb::ChipRevision::None}});
    bd->setSiliconRev(0);
    EXPECT_EQ(ebLoadSetupFile(path("never-opened.stp")), kSetupNoChip);
    EXPECT_TRUE(progress.log.isEmpty());
}

TEST_F(SetupFile, RefusedChipWritesAreReportedNotCalledSuccess)
{
    plug();
    ClockWindow control;
    control.Load();
    control.txtExternClk.setText("1000.00000");
    ASSERT_TRUE(ebSaveSetupFile(path("s.stp")));
    clearRecords();
    drv.failTransfer(0, 3, 1, 1000); // every serial packet fails from now on
    EXPECT_EQ(ebLoadSetupFile(path("s.stp")), kSetupChipWriteFailed);
}

TEST_F(SetupFile, RevisionTwoChipSkipsRegister18)
{
    bd->InitRegMap(2);
    bd->setSiliconRev(2);
    SetupFileContents contents;
    contents.rows = {{0x18, "1010101010101010"}, {0x02, patternFor(2, 32, 5)}};
    contents.externalClock = 1000;
    writeText(path("r.stp"), QString::fromLatin1(writeSetupFileText(contents)));
    const QString before = bd->GetRegMapValue(0, 0x18);
    ASSERT_EQ(ebLoadSetupFile(path("r.stp")), kSetupLoaded);
    EXPECT_EQ(bd->GetRegMapValue(0, 0x18), before);
    EXPECT_EQ(bd->GetRegMapValue(0, 0x02), patternFor(2, 32, 5));
}

TEST_F(SetupFile, FilesFromTheOtherRevisionLoadAllButTheRegisterThatDiffers)
{
    struct Case {
        int16_t savedOn, loadedOn;
        int savedWidth18, loadedWidth18;
    };
    const Case cases[] = {{2, 3, 8, 16}, {3, 2, 16, 8}, {1, 3, 8, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "saved on " << c.savedOn << ", loaded on " << c.loadedOn);
        bd->InitRegMap(c.savedOn);
        bd->setSiliconRev(c.savedOn);
        fillMaps(5);
        ASSERT_TRUE(ebSaveSetupFile(path("other.stp")));
        ASSERT_TRUE(readFile(path("other.stp"))
                        .contains("\"18\",\"" + patternFor(0x18, c.savedWidth18, 5) + "\"\r\n"));

        bd->InitRegMap(c.loadedOn);
        bd->setSiliconRev(c.loadedOn);
        fillMaps(9);
        ASSERT_EQ(ebLoadSetupFile(path("other.stp")), kSetupLoaded);
        for (int16_t a : setupFileRegisters()) {
            const QString expected =
                a == 0x18 ? patternFor(0x18, c.loadedWidth18, 9) : patternFor(a, bd->GetRegLength(a), 5);
            EXPECT_EQ(bd->GetRegMapValue(0, a), expected) << a;
            EXPECT_EQ(bd->GetRegMapValue(1, a), expected) << a;
        }
    }
}

TEST_F(SetupFile, RevisionTwoFileOnARevisionThreeBoardLeavesRegister18AsItWas)
{
    bd->InitRegMap(2);
    bd->setSiliconRev(2);
    fillMaps(5);
    ASSERT_TRUE(ebSaveSetupFile(path("rev2.stp")));

    bd->InitRegMap(3);
    bd->setSiliconRev(3);
    plug();
    ClockWindow control;
    control.Load();
    ASSERT_EQ(bd->USBSerialLoadPKT(0x18, "0000000011110000"), 0);
    bd->StrobeREGUD();
    clearRecords();
    ASSERT_EQ(ebLoadSetupFile(path("rev2.stp")), kSetupLoaded);
    EXPECT_EQ(bits(chip().activeRegister(0x18), 16), "0000000011110000");
    EXPECT_EQ(bits(chip().activeRegister(0x02), 32), patternFor(2, 32, 5));
    EXPECT_EQ(bits(chip().activeRegister(0x15), 64), patternFor(0x15, 64, 5));
    expectCleanProtocol();
}

TEST_F(SetupFile, SaveFailuresLeaveNoFileAndTellTheUser)
{
    plug();
    ClockWindow control;
    control.Load();
    control.txtExternClk.setText("1000.00000");
    writeText(path("keep.stp"), "old content");
    auto& expected = ui::testing::messageBoxes();
    expected.expect("Unable to read register 02h from the evaluation board.\nThe setup file was not saved.");
    expected.expect("The external clock \"fast\" is not a number.\nThe setup file was not saved.");
    expected.expect("Unable to create the setup file\n" + dir.filePath("no/such/folder/x.stp"));

    // A chip read that fails.
    drv.failTransfer(0, 5, 3);
    EXPECT_FALSE(ebSaveSetupFile(path("keep.stp")));
    EXPECT_EQ(readFile(path("keep.stp")), "old content");
    drv.clearFaults();

    // A clock box that holds no number.
    control.txtExternClk.setText("fast");
    EXPECT_FALSE(ebSaveSetupFile(path("keep.stp")));
    EXPECT_EQ(readFile(path("keep.stp")), "old content");
    control.txtExternClk.setText("1000.00000");

    // A file that cannot be created.
    EXPECT_FALSE(ebSaveSetupFile(dir.filePath("no/such/folder/x.stp")));
    EXPECT_FALSE(QFile::exists(dir.filePath("no/such/folder/x.stp")));

    const auto& boxes = ui::testing::messageBoxes().shown;
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_TRUE(boxes[0].prompt.startsWith("Unable to read register")) << boxes[0].prompt.toStdString();
    EXPECT_TRUE(boxes[1].prompt.contains("\"fast\" is not a number")) << boxes[1].prompt.toStdString();
    EXPECT_TRUE(boxes[2].prompt.startsWith("Unable to create the setup file"))
        << boxes[2].prompt.toStdString();
    for (const auto& box : boxes)
        EXPECT_EQ(box.title, "Save Setup File");
    EXPECT_EQ(progress.log.count("reset"), 3);
    EXPECT_EQ(ui::ScreenMousePointer(), 0);
    QDir folder(dir.path());
    EXPECT_EQ(folder.entryList(QDir::Files), QStringList({"keep.stp"})) << "no temporary file left";
}

TEST_F(SetupFile, WithoutAControlWindowTheLastClockIsKept)
{
    SetupFileContents contents;
    contents.rows = {{0x00, QString(32, QLatin1Char('0'))}};
    contents.externalClock = 250.5;
    writeText(path("c.stp"), QString::fromLatin1(writeSetupFileText(contents)));
    ASSERT_EQ(ebLoadSetupFile(path("c.stp")), kSetupLoaded);
    EXPECT_EQ(systemClock().externalClockText(), "250.50000");
    ASSERT_TRUE(ebSaveSetupFile(path("d.stp")));
    EXPECT_TRUE(readFile(path("d.stp")).contains("\"External Clock\",250.5\r\n"));
}

} // namespace
