// The register-map file (from the written map and from the chip) and the short simulator parameter file.

#include "files_fixture.h"

#include "board/board_flags.h"
#include "board/regmap_file.h"
#include "board/system_clock.h"
#include "platform/runtime/locale_info.h"
#include "platform/ui/app.h"
#include "platform/ui/controls_textbox.h"
#include "platform/ui/form.h"
#include "platform/ui/test_doubles.h"

#include <QDir>

using namespace evalbdtest;
using namespace filestest;

namespace {

class RegMapFile : public FilesTest {
protected:
    void SetUp() override
    {
        FilesTest::SetUp();
        gbBoardConnected = true;
    }
    void TearDown() override { gbBoardConnected = false; }

    QStringList expectedWrittenMap() const
    {
        QStringList lines;
        for (int16_t a = 0; a <= 0x1E; ++a)
            lines << bd->GetRegMapValue(1, a);
        return lines;
    }
};

TEST_F(RegMapFile, WrittenMapGivesThirtyOneLinesOfTheRegistersWidths)
{
    for (const int16_t rev : {int16_t{2}, int16_t{3}}) {
        SCOPED_TRACE(rev);
        bd->InitRegMap(rev);
        bd->SetRegMapValue(1, 0x07, bits(0x12345678, 32));
        gbBoardConnected = false;
        progress.calls.clear();
        ASSERT_TRUE(ebWriteRegMapFile(path("RegMapFile.txt"), true));
        const QStringList lines = crlfLines("RegMapFile.txt");
        ASSERT_EQ(lines.size(), 31);
        EXPECT_EQ(lines, expectedWrittenMap());
        for (int a = 0; a <= 0x1E; ++a)
            EXPECT_EQ(lines[a].size(), bd->GetRegLength(static_cast<int16_t>(a))) << "register " << a;
        EXPECT_EQ(lines[0x17].size(), rev == 2 ? 40 : 8);
        EXPECT_EQ(lines[0x07], bits(0x12345678, 32));
        EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
        EXPECT_EQ(bulkCount(), 0);
        ASSERT_EQ(progress.calls.size(), 33);
        EXPECT_EQ(progress.calls.front(), QStringLiteral("init 0 29 Writing Regmap File"));
        EXPECT_EQ(progress.calls[31], QStringLiteral("value 30"));
        EXPECT_EQ(progress.calls.back(), QStringLiteral("reset"));
        EXPECT_EQ(ui::ScreenMousePointer(), 0);
    }
}

TEST_F(RegMapFile, ChipValuesAreReadBack)
{
    ASSERT_EQ(bd->USBSerialLoadPKT(0x07, bits(0xA5A5F00F, 32)), 0);
    ASSERT_EQ(bd->USBSerialLoadPKT(0x0B, bits(0x0123456789ABCDEFULL, 64)), 0);
    bd->StrobeREGUD();
    // The written map says otherwise; the file must show the chip.
    bd->SetRegMapValue(1, 0x07, bits(0, 32));
    ASSERT_TRUE(ebWriteRegMapFile(path("RegMapFile.txt"), false));
    const QStringList lines = crlfLines("RegMapFile.txt");
    ASSERT_EQ(lines.size(), 31);
    for (int a = 0; a <= 0x1E; ++a) {
        EXPECT_EQ(lines[a], bits(chip().readValue(a), chip().width(a))) << "register " << a;
    }
    EXPECT_EQ(lines[0x07], bits(0xA5A5F00F, 32));
}

TEST_F(RegMapFile, NoBoardForChipValues)
{
    gbBoardConnected = false;
    writeFile("RegMapFile.txt", "old\r\n");
    ui::testing::messageBoxes().answer(ui::vbOK);
    EXPECT_FALSE(ebWriteRegMapFile(path("RegMapFile.txt"), false));
    ASSERT_EQ(ui::testing::messageBoxes().shown.size(), 1U);
    const auto& box = ui::testing::messageBoxes().shown[0];
    EXPECT_EQ(box.prompt, QStringLiteral("Evaluation board not connected!"));
    EXPECT_EQ(box.title, QStringLiteral("Error!"));
    EXPECT_EQ(box.buttons, ui::vbInformation);
    EXPECT_EQ(readFile("RegMapFile.txt"), QByteArray("old\r\n"));
    EXPECT_TRUE(progress.calls.isEmpty());
    EXPECT_EQ(bulkCount(), 0);
}

TEST_F(RegMapFile, FailedChipReadLeavesNoHalfFile)
{
    writeFile("RegMapFile.txt", "old\r\n");
    drv.failTransfer(0, 5, 4);
    ui::testing::messageBoxes().answer(ui::vbOK);
    EXPECT_FALSE(ebWriteRegMapFile(path("RegMapFile.txt"), false));
    EXPECT_EQ(readFile("RegMapFile.txt"), QByteArray("old\r\n"));
    EXPECT_EQ(ui::testing::messageBoxes().shown.size(), 1U);
    EXPECT_EQ(progress.calls.back(), QStringLiteral("reset"));
    EXPECT_EQ(ui::ScreenMousePointer(), 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"RegMapFile.txt"}));
}

TEST_F(RegMapFile, AnIncompleteRegisterLeavesNoFile)
{
    for (const QString& value : {QStringLiteral("101"), QString(32, QLatin1Char('x'))}) {
        writeFile("RegMapFile.txt", "old\r\n");
        bd->SetRegMapValue(1, 0x07, value);
        auto& boxes = ui::testing::messageBoxes();
        const size_t shownBefore = boxes.shown.size();
        boxes.expect(QStringLiteral("Register 07H is incomplete!\r\n") + path("RegMapFile.txt") +
                     QStringLiteral(" was not written."));
        EXPECT_FALSE(ebWriteRegMapFile(path("RegMapFile.txt"), true));
        ASSERT_EQ(boxes.shown.size(), shownBefore + 1);
        EXPECT_EQ(boxes.shown.back().title, QStringLiteral("Error!"));
        EXPECT_EQ(boxes.shown.back().buttons, ui::vbExclamation);
        EXPECT_EQ(readFile("RegMapFile.txt"), QByteArray("old\r\n"));
    }
}

TEST_F(RegMapFile, UnwritableFile)
{
    ui::testing::messageBoxes().answer(ui::vbOK);
    EXPECT_FALSE(ebWriteRegMapFile(path("missing folder/RegMapFile.txt"), true));
    EXPECT_EQ(ui::testing::messageBoxes().shown.size(), 1U);
    EXPECT_EQ(progress.calls.back(), QStringLiteral("reset"));
    EXPECT_EQ(ui::ScreenMousePointer(), 0);
}

// The Control window as far as the parameter file reads it: it feeds the system clock what its box shows.
class ControlWindow : public ui::Form {
public:
    ControlWindow() : Form(QStringLiteral("frmControl"))
    {
        txtSysClkTxt.Change = [this] { systemClock().showClock(this, txtSysClkTxt.Text()); };
        systemClock().showClock(this, txtSysClkTxt.Text());
    }
    ~ControlWindow() override { systemClock().forget(this); }
    ui::TextBox txtSysClkTxt{this, QStringLiteral("txtSysClkTxt")};
};

class SimParmFile : public FilesTest {
protected:
    void SetUp() override
    {
        FilesTest::SetUp();
        previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        control.Load();
    }
    void TearDown() override { QDir::setCurrent(previous); }

    QString previous;
    ControlWindow control;
};

TEST_F(SimParmFile, ClockInHertzWithAPointWhateverTheLocale)
{
    struct Case {
        QChar separator;
        const char* text;
        const char* hz;
    };
    const Case cases[] = {
        {QLatin1Char('.'), "1000", "1000000000.000"},  {QLatin1Char('.'), "1000.00000", "1000000000.000"},
        {QLatin1Char(','), "122,88", "122880000.000"}, {QLatin1Char(','), "0,0000005", "0.500"},
        {QLatin1Char('.'), "0.00000000049", "0.000"},  {QLatin1Char('.'), "0.0000000005", "0.001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        rt::ScopedNumberLocale locale(c.separator);
        control.txtSysClkTxt.setText(QString::fromLatin1(c.text));
        ASSERT_TRUE(ebWriteSimParmFile());
        EXPECT_EQ(crlfLines("SimParmFile.txt"), QStringList({"RegMapFile.txt", c.hz}));
    }
    EXPECT_EQ(ui::ScreenMousePointer(), 0);
}

TEST_F(SimParmFile, ClockThatIsNotANumberIsRefusedWithAMessage)
{
    writeFile("SimParmFile.txt", "old\r\n");
    for (const char* text : {"", "abc", "1000 MHz", "1E40"}) {
        SCOPED_TRACE(text);
        control.txtSysClkTxt.setText(QString::fromLatin1(text));
        ui::testing::messageBoxes().reset();
        ui::testing::messageBoxes().answer(ui::vbOK);
        EXPECT_FALSE(ebWriteSimParmFile());
        EXPECT_EQ(ui::testing::messageBoxes().shown.size(), 1U);
        EXPECT_EQ(readFile("SimParmFile.txt"), QByteArray("old\r\n"));
    }
}

} // namespace
