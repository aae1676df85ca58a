// The FIFO debug window: its line boxes with and without Auto Apply, the flag lamps, detection, trip
// points and typed data words with good and bad input, the ramp and the file load.

#include "debug_fixture.h"

#include "debug/frm_fifo_debug.h"
#include "shell/frm_graphics.h"

#include "platform/ui/forms.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace {

using namespace debugtest;

class FifoDebugTest : public DebugWindowTest {
protected:
    frmFIFODebug& window()
    {
        auto& w = ui::form<frmFIFODebug>();
        w.Show();
        QApplication::setActiveWindow(mdi->frameWidget()->window());
        return w;
    }
    static bool lit(const ui::Image& lamp)
    {
        return lamp.Picture().toImage() == ui::form<frmGraphics>().imgGreenLed(1).Picture().toImage();
    }
    // The lamp a lamp check box shows: 1 lit, 0 dark, -1 none.
    static int lamp(const ui::CheckBox& box)
    {
        const auto* button = qobject_cast<const QAbstractButton*>(box.widget());
        const QImage shown = button->icon().pixmap(12, 12).toImage().convertToFormat(QImage::Format_ARGB32);
        for (int index : {0, 1}) {
            const QImage picture = ui::form<frmGraphics>().imgGreenLed(index).Picture().toImage();
            if (!shown.isNull() && shown == picture.convertToFormat(QImage::Format_ARGB32))
                return index;
        }
        return -1;
    }
};

TEST_F(FifoDebugTest, LineBoxesReachTheBoardAtOnceOrOnApply)
{
    usb::EmulatedBoard& board = plugFifoBoard();
    frmFIFODebug& w = window();
    EXPECT_EQ(w.chkPCIO(0).Value(), 1) << "FIFO_LDB idles high";
    EXPECT_EQ(w.chkAutoApply.Value(), 1);
    clearTraffic();
    w.chkPCIO(4).click(); // FIFO_Reset
    EXPECT_EQ(portCWrites(), (std::vector<int>{0x13}));
    EXPECT_EQ(commands(5).size(), 1) << "the CTL lines follow";
    EXPECT_EQ(commands(kGetPortC).size(), 1) << "and the boxes are re-read";

    w.chkAutoApply.click();
    clearTraffic();
    w.chkPCIO(4).click();
    w.chkCTLIO(1).click(); // FIFO WCLK
    EXPECT_TRUE(pipeWrites(0).isEmpty());
    w.cmdApply.click();
    EXPECT_EQ(portCWrites(), (std::vector<int>{0x03}));
    EXPECT_EQ(board.ctl() & 0x02, 0x02);
    EXPECT_EQ(w.chkCTLIO(1).Value(), 1);
}

TEST_F(FifoDebugTest, FlagLampsFollowTheReadyLines)
{
    plugFifoBoard();
    frmFIFODebug& w = window();
    EXPECT_FALSE(lit(w.imgFIFOFlags(0))) << "empty: almost-empty line low";
    EXPECT_TRUE(lit(w.imgFIFOFlags(1)));
    w.Command1.click();
    EXPECT_EQ(fifo().contents(), range(65536));
    EXPECT_TRUE(prompts().isEmpty()) << "a good ramp load says nothing";
    w.cmRefresh.click();
    EXPECT_TRUE(lit(w.imgFIFOFlags(0)));
    EXPECT_FALSE(lit(w.imgFIFOFlags(1))) << "full: almost-full line low";
}

TEST_F(FifoDebugTest, CtrlRReReadsLinesAndLamps)
{
    plugFifoBoard();
    frmFIFODebug& w = window();
    EXPECT_EQ(lamp(w.chkTransmitData), 0) << "dark lamps from the start";
    EXPECT_EQ(lamp(w.chkRetransmit), 0);
    // Behind the window's back: transmit and loop raised, the FIFO filled.
    bd().USBWritePortBuffVal(kPortC, 0x0F);
    fifo().load(range(65536));
    w.txtPAE.SetFocus();
    QKeyEvent ctrlR(QEvent::KeyPress, Qt::Key_R, Qt::ControlModifier, QStringLiteral("\x12"));
    QApplication::sendEvent(w.txtPAE.widget(), &ctrlR);
    EXPECT_EQ(w.txtPAE.Text(), QStringLiteral("1")) << "the key does not reach the box";
    for (int i = 0; i < frmFIFODebug::kPortCLines; ++i)
        EXPECT_EQ(w.chkPCIO(i).Value(), i < 4 ? 1 : 0) << i;
    EXPECT_EQ(lamp(w.chkTransmitData), 1);
    EXPECT_EQ(lamp(w.chkRetransmit), 1);
    EXPECT_TRUE(lit(w.imgFIFOFlags(0)));
    EXPECT_FALSE(lit(w.imgFIFOFlags(1)));
}

TEST_F(FifoDebugTest, BoardResetReReadsTheLines)
{
    plugFifoBoard();
    frmFIFODebug& w = window();
    bd().USBWritePortBuffVal(kPortC, 0x0B); // loop mode raised behind the window's back
    ASSERT_EQ(w.chkRetransmit.Value(), 0);
    bd().StrobeReset();
    EXPECT_EQ(w.chkPCIO(3).Value(), 1);
    EXPECT_EQ(w.chkRetransmit.Value(), 1);
    EXPECT_EQ(lamp(w.chkRetransmit), 1);
    EXPECT_EQ(w.portCImage(), 0x0B);
}

TEST_F(FifoDebugTest, ProgrammedTripPointsMoveTheFlags)
{
    struct Case {
        const char* empty;
        const char* full;
        bool emptyLit; // more than `empty` words stored
        bool fullLit;  // fewer than 65536 - `full` words stored
    } cases[] = {{"5", "1", true, true},
                 {"8", "1", false, true},
                 {"5", "65530", true, false},
                 {"20", "65528", false, false},
                 {"7", "65527", true, true}};
    plugFifoBoard();
    frmFIFODebug& w = window();
    w.txtFifoData.setText(QStringLiteral("00000001 00000002 00000003 00000004 00000005 00000006 00000007 "
                                         "00000008"));
    w.cmdWriteData.click();
    ASSERT_EQ(fifo().stored(), 8);
    for (const Case& c : cases) {
        w.txtPAE.setText(QString::fromLatin1(c.empty));
        w.txtPAF.setText(QString::fromLatin1(c.full));
        w.cmdProgramFlags.click();
        w.cmRefresh.click();
        EXPECT_EQ(lit(w.imgFIFOFlags(0)), c.emptyLit) << c.empty;
        EXPECT_EQ(lit(w.imgFIFOFlags(1)), c.fullLit) << c.full;
    }
    EXPECT_EQ(fifo().stored(), 8) << "programming the flags stores no word";
}

TEST_F(FifoDebugTest, DetectionAsksFirst)
{
    // The result boxes carry the program's title.
    const QString title = QStringLiteral("ZR4470 Evaluation Software");
    ui::setApplicationTitle(title);
    const Box question{QStringLiteral("Do you want to continue?"),
                       QStringLiteral("This opperation will Reset the evaluation board?\r\n"
                                      "Do you want to continue?"),
                       ui::vbYesNo | ui::vbExclamation};
    struct Case {
        bool fifoPresent;
        int answer;
        const char* result; // nullptr: no traffic, no second box
    } cases[] = {{true, ui::vbNo, nullptr},
                 {true, ui::vbYes, "FIFO Detected!"},
                 {false, ui::vbYes, "FIFO Not Detected!"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result ? c.result : "No");
        drv.detachAll();
        plugFifoBoard(0, c.fifoPresent);
        frmFIFODebug& w = window();
        clearTraffic();
        const size_t mark = boxMark();
        Boxes expected{question};
        expectBox(question, c.answer);
        if (c.result) {
            expected.push_back({title, QString::fromLatin1(c.result), ui::vbOKOnly});
            expectBox(expected.back());
        }
        w.cmdTestForFIFO.click();
        EXPECT_EQ(boxesSince(mark), expected);
        EXPECT_EQ(pipeWrites(0).isEmpty(), c.result == nullptr);
    }
}

TEST_F(FifoDebugTest, TripPointsRefuseWhatIsNoOffset)
{
    struct Case {
        const char* typed;
        const char* shown;
        bool beep;
    } cases[] = {{"65535", "65535", false}, {"70000", "65535", true}, {"65536", "65535", true},
                 {"abc", "65535", true},    {"-5", "65535", true},    {"", "65535", true},
                 {"1E3", "1E3", false}};
    plugFifoBoard();
    frmFIFODebug& w = window();
    for (const Case& c : cases) {
        os::testing::soundRecorder().played.clear();
        regtest::clickInto(w.txtPAF);
        w.txtPAF.setText(QString::fromLatin1(c.typed)); // as a paste, past the key filter
        w.txtPAE.SetFocus();                            // leaving the box validates it
        EXPECT_EQ(w.txtPAF.Text(), QString::fromLatin1(c.shown)) << c.typed;
        EXPECT_EQ(!sounds().isEmpty(), c.beep) << c.typed;
    }
    regtest::retype(w.txtPAE, QStringLiteral("1 2x"));
    EXPECT_EQ(w.txtPAE.Text(), QStringLiteral("12")) << "the key filter drops blanks and letters";
    w.txtPAE.setText(QStringLiteral("-1"));
    w.cmdProgramFlags.click();
    EXPECT_EQ(w.txtPAE.Text(), QStringLiteral("1"));
    EXPECT_EQ(fifo().emptyOffset(), 1U);
    EXPECT_EQ(fifo().fullOffset(), 1000U);
}

TEST_F(FifoDebugTest, WriteSendsWholeHexWordsOnly)
{
    struct Case {
        const char* text;
        const char* count;
        bool enabled;
    } cases[] = {{"0003FE00 0000001F 0003FE00 0000001F", "4", true},
                 {"FFFF FFFF", "1", true},
                 {"123456789", "1", false},
                 {"", "0", false},
                 {"GGGGGGGG", "1", false}};
    plugFifoBoard();
    frmFIFODebug& w = window();
    EXPECT_EQ(w.FIFOWC.Caption(), QStringLiteral("4"));
    for (const Case& c : cases) {
        w.txtFifoData.setText(QString::fromLatin1(c.text));
        EXPECT_EQ(w.FIFOWC.Caption(), QString::fromLatin1(c.count)) << c.text;
        EXPECT_EQ(w.cmdWriteData.Enabled(), c.enabled) << c.text;
    }
    regtest::retype(w.txtFifoData, QStringLiteral("00 03fe0g0"));
    EXPECT_EQ(w.txtFifoData.Text(), QStringLiteral("00 03FE00")) << "hexadecimal digits and blanks only";
    EXPECT_EQ(w.FIFOWC.Caption(), QStringLiteral("1"));
    EXPECT_TRUE(w.cmdWriteData.Enabled());
    regtest::type(w.txtFifoData, QStringLiteral("1"));
    EXPECT_EQ(w.FIFOWC.Caption(), QStringLiteral("1"));
    EXPECT_FALSE(w.cmdWriteData.Enabled()) << "nine digits";
    w.txtFifoData.setText(QStringLiteral("FFFFFFFF 00000001"));
    w.cmdWriteData.click();
    EXPECT_EQ(fifo().contents(), (std::vector<uint32_t>{0x3FFFF, 1}));
    EXPECT_TRUE(prompts().isEmpty());
}

TEST_F(FifoDebugTest, FileLoadAsInTheControlWindow)
{
    plugFifoBoard();
    frmFIFODebug& w = window();
    EXPECT_FALSE(w.cmdLoadFIFOFile.Enabled());
    const QString path = writeFile(QStringLiteral("d.txt"), {"7", "8"});
    ui::testing::dialogs().answerOpen(path);
    w.cmdSelFIFOFile.click();
    EXPECT_EQ(ui::testing::dialogs().open.requests.front().initialFolder, os::programFolder());
    ASSERT_TRUE(w.cmdLoadFIFOFile.Enabled());
    w.Command1.click();
    const Box loaded{QStringLiteral("Successfull FIFO Load"),
                     QStringLiteral("FIFO Data Loaded Successfully!!!"), ui::vbInformation};
    expectBox(loaded);
    w.cmdLoadFIFOFile.click();
    EXPECT_EQ(fifo().contents(), (std::vector<uint32_t>{7, 8})) << "reset first, then the file";
    EXPECT_EQ(boxesSince(0), Boxes{loaded}) << "the ramp before it said nothing";
}

} // namespace
