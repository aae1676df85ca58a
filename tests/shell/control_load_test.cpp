// LOAD (register order, wire traffic, the single-tone bits, the warnings answered both ways, the I/O update
// pulse), the load indicator, RefreshFormVals writing nothing back, the PLL lamps, Ctrl+R, the close box and
// the window's registration.

#include "control_fixture.h"

#include "board/board_flags.h"
#include "board/globals.h"
#include "shell/frm_graphics.h"
#include "shell/mdi_main.h"

#include "platform/os/os_test_doubles.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/test_doubles.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

using namespace controltest;

namespace {

constexpr int16_t kCFR1 = 0x00;
constexpr int16_t kCFR2 = 0x01;
constexpr int16_t kCFR3 = 0x02;
constexpr int16_t kDAC = 0x03;
constexpr int16_t kIOUD = 0x04;

const QString kVcoWarning =
    QStringLiteral("An invalid VCO Range is currently selected!\r\n"
                   "This setting may work but may fail under certian conditions.\r\n\r\n"
                   "To ensure proper opperation select a valid VCO Range.");
const QString kExternalClockWarning = QStringLiteral("Invalid External Clock Value!\r\n"
                                                     "The external clock should not exceed 2 GHz.\r\n\r\n"
                                                     "Do you want to continue?");
const QString kSystemClockWarning = QStringLiteral("Invalid System Clock Value!\r\n"
                                                   "The system clock should not exceed 1 GHz.\r\n\r\n"
                                                   "Do you want to continue?");
const QString kLongUpdateWarning = QStringLiteral("I/O Update Rate Period is greater than 1 second.\r\n\r\n"
                                                  "Do you want to continue?");

class ControlLoad : public ControlWindowTest {
protected:
    void SetUp() override { useRevision(3); }

    // Some settings that differ from the power-on values in every register the window loads.
    void editEveryRegister(frmControl& w)
    {
        w.chkDigitalPD.setValue(1);
        w.chkInvertTxEnable.setValue(1);
        w.cmbDRV0.setListIndex(2);
        w.txtDACControl.setText(QStringLiteral("96"));
        bool cancel = false;
        w.txtDACControl.Validate(cancel);
        setPending(kIOUD, 1234);
    }

    QList<SerialWrite> expectedWrites(std::initializer_list<int16_t> order) const
    {
        QList<SerialWrite> writes;
        for (int16_t addr : order)
            writes.append({addr, bd().GetRegMapValue(0, addr)});
        return writes;
    }

    QStringList boxPrompts() const { return ui::testing::messageBoxes().prompts(); }

    // The main window, whose board object then is the one every window uses.
    mdiMain& openMain()
    {
        useRevision(3);
        return *mdi;
    }
};

TEST_F(ControlLoad, OfflineCopiesTheRegistersIntoTheWrittenMapAndAsks)
{
    frmControl& w = open();
    editEveryRegister(w);
    os::testing::soundRecorder().played.clear();
    w.cmdLoad.click();
    for (int16_t addr = kCFR1; addr <= kIOUD; ++addr)
        EXPECT_EQ(bd().GetRegMapValue(1, addr), bd().GetRegMapValue(0, addr)) << addr;
    EXPECT_EQ(os::testing::soundRecorder().played, QStringList{QStringLiteral("SystemQuestion")});
    EXPECT_TRUE(w.cmdLoad.Enabled());
    EXPECT_FALSE(w.lblLoadFlash.Visible());
    ui::testing::clock().advance(1000);
    EXPECT_FALSE(w.lblLoadFlash.Visible());
}

TEST_F(ControlLoad, SendsIoudFirstThenCfr1ToDacCtrlOverTheWire)
{
    plugBoard();
    frmControl& w = open();
    editEveryRegister(w);
    const QList<SerialWrite> expected = expectedWrites({kIOUD, kCFR1, kCFR2, kCFR3, kDAC});
    clearTraffic();
    os::testing::soundRecorder().played.clear();
    w.cmdLoad.click();
    EXPECT_EQ(serialWrites(), expected);
    for (int16_t addr = kCFR1; addr <= kIOUD; ++addr) {
        EXPECT_EQ(chip().bufferRegister(addr), pending(addr)) << addr;
        EXPECT_EQ(written(addr), pending(addr)) << addr;
    }
    EXPECT_EQ(chip().ioUpdateCount(), 0) << "no main window, no Auto box";
    EXPECT_TRUE(os::testing::soundRecorder().played.isEmpty());
    EXPECT_TRUE(drv.violations().empty()) << drv.violationTexts().join('\n').toStdString();
}

TEST_F(ControlLoad, PulsesIOUpdateOnlyWhenTheMainWindowsAutoBoxIsChecked)
{
    mdiMain& main = openMain();
    plugBoard();
    frmControl& w = open();
    editEveryRegister(w);
    main.chkAutoIOUd.setValue(1);
    w.cmdLoad.click();
    EXPECT_EQ(chip().ioUpdateCount(), 1);
    EXPECT_EQ(chip().activeRegister(kDAC), pending(kDAC));

    main.chkAutoIOUd.setValue(0);
    w.chkDACPD.setValue(1);
    w.cmdLoad.click();
    EXPECT_EQ(chip().ioUpdateCount(), 1);
    EXPECT_EQ(chip().bufferRegister(kCFR1), pending(kCFR1));
}

TEST_F(ControlLoad, SingleToneClearsRamEnableAndTheRampBitBeforeSending)
{
    plugBoard();
    frmControl& w = open();
    setPendingField(kCFR1, 25, 24, 1);
    setPendingField(kCFR1, 31, 31, 1);
    setPendingField(kCFR2, 19, 19, 1);
    w.RefreshFormVals();
    ASSERT_EQ(w.chkEnableRAM.Value(), 1);
    clearTraffic();
    w.cmdLoad.click();
    EXPECT_EQ(pendingField(kCFR1, 31, 31), 0u);
    EXPECT_EQ(pendingField(kCFR2, 19, 19), 0u);
    EXPECT_EQ((chip().bufferRegister(kCFR1) >> 31) & 1, 0u);
    EXPECT_EQ((chip().bufferRegister(kCFR2) >> 19) & 1, 0u);
    EXPECT_EQ(serialWrites().size(), 5);
    // The box follows the map, without writing anything itself.
    EXPECT_EQ(w.chkEnableRAM.Value(), 0);
    EXPECT_FALSE(w.refreshing());
}

TEST_F(ControlLoad, RunModeFourAndOtherModesSendTheBitsAsTheyAre)
{
    plugBoard();
    frmControl& w = open();
    struct Case {
        int16_t runMode;
        int mode;
    };
    for (const Case& c : {Case{4, 1}, Case{0, 0}, Case{0, 2}}) {
        SCOPED_TRACE(testing::Message() << "run mode " << c.runMode << " mode " << c.mode);
        giRunMode = c.runMode;
        setPendingField(kCFR1, 25, 24, c.mode);
        setPendingField(kCFR1, 31, 31, 1);
        setPendingField(kCFR2, 19, 19, 1);
        w.cmdLoad.click();
        EXPECT_EQ(pendingField(kCFR1, 31, 31), 1u);
        EXPECT_EQ((chip().bufferRegister(kCFR1) >> 31) & 1, 1u);
        EXPECT_EQ((chip().bufferRegister(kCFR2) >> 19) & 1, 1u);
    }
}

// Each Yes/No warning: No sends nothing and leaves LOAD enabled; Yes loads.
TEST_F(ControlLoad, ClockWarningsAnsweredBothWays)
{
    plugBoard();
    frmControl& w = open();
    w.chkEnablePllSR3.setValue(0);
    w.chkRefclkDivDisable.setValue(1);
    struct Case {
        const char* reference;
        QString warning;
    };
    for (const Case& c : {Case{"2500", kExternalClockWarning}, Case{"1500", kSystemClockWarning}}) {
        SCOPED_TRACE(c.reference);
        w.txtExternClk.setText(QString::fromLatin1(c.reference));
        for (const int answer : {ui::vbNo, ui::vbYes}) {
            w.chkDACPD.setValue(w.chkDACPD.Value() == 1 ? 0 : 1);
            auto& boxes = ui::testing::messageBoxes();
            boxes.reset();
            boxes.answer(answer);
            clearTraffic();
            w.cmdLoad.click();
            ASSERT_EQ(boxes.shown.size(), 1u);
            EXPECT_EQ(boxes.shown[0].prompt, c.warning);
            EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Warning!"));
            EXPECT_EQ(boxes.shown[0].buttons, ui::vbYesNo | ui::vbExclamation);
            EXPECT_EQ(serialWrites().size(), answer == ui::vbYes ? 5 : 0);
            EXPECT_EQ(written(kCFR1) == pending(kCFR1), answer == ui::vbYes);
            EXPECT_TRUE(w.cmdLoad.Enabled());
        }
    }
}

TEST_F(ControlLoad, InvalidVcoBandWarnsAndLoadsAnyway)
{
    plugBoard();
    frmControl& w = open();
    w.chkEnablePllSR3.setValue(1);
    w.txtCLKMultiVal.setText(QStringLiteral("10"));
    w.txtExternClk.setText(QStringLiteral("50"));
    w.lsbVCORangeSR3.setListIndex(4); // 832-920 MHz does not hold 500 MHz
    ASSERT_TRUE(w.lblErr(5).Visible());
    clearTraffic();
    w.cmdLoad.click();
    EXPECT_EQ(boxPrompts(), QStringList{kVcoWarning});
    EXPECT_EQ(ui::testing::messageBoxes().shown[0].buttons, ui::vbExclamation);
    EXPECT_EQ(serialWrites().size(), 5);

    // With the PLL off the band does not matter.
    w.chkEnablePllSR3.setValue(0);
    ASSERT_TRUE(w.lblErr(5).Visible());
    ui::testing::messageBoxes().reset();
    w.cmdLoad.click();
    EXPECT_TRUE(boxPrompts().isEmpty());
}

TEST_F(ControlLoad, Revision12SiliconIsWarnedAboutItsOwnBandOnly)
{
    useRevision(2);
    frmControl& w = open();
    w.chkEnableMulti.setValue(1);
    w.chkRefclkDivDisable.setValue(1);
    w.cmbRFDividerRatio.setListIndex(0);
    w.cmbMDivider.setListIndex(0);
    w.txtExternClk.setText(QStringLiteral("900"));
    ASSERT_FALSE(w.lblErr(3).Visible());
    w.cmdLoad.click();
    EXPECT_TRUE(boxPrompts().isEmpty()) << boxPrompts().join('\n').toStdString();

    w.lstVCORange.setListIndex(40);
    ui::testing::messageBoxes().answer(ui::vbOK);
    w.cmdLoad.click();
    EXPECT_EQ(boxPrompts(), QStringList{kVcoWarning});
}

// The period as shown (without the divider) above 1 s warns; exactly 1 s does not.
TEST_F(ControlLoad, LongIOUpdatePeriodWarning)
{
    plugBoard();
    frmControl& w = open();
    w.chkEnablePllSR3.setValue(0);
    w.chkRefclkDivDisable.setValue(1);
    w.txtExternClk.setText(QStringLiteral("100"));
    w.chkInternalIOUpdate.setValue(1);
    w.cmbIOUpdateClkDiv.setListIndex(3);
    auto& boxes = ui::testing::messageBoxes();

    setPending(kIOUD, 25000000); // 1 s
    w.UpdateIOUDClk();
    w.cmdLoad.click();
    EXPECT_TRUE(boxes.shown.empty());

    setPending(kIOUD, 25000003); // 1.0000001 s
    w.UpdateIOUDClk();
    boxes.answer(ui::vbNo);
    clearTraffic();
    w.cmdLoad.click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].prompt, kLongUpdateWarning);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Warning - Extremely Long I/O Update Rate Detected!"));
    EXPECT_TRUE(serialWrites().isEmpty());
    boxes.answer(ui::vbYes);
    w.cmdLoad.click();
    EXPECT_EQ(serialWrites().size(), 5);

    // Not used while the internal update is off.
    w.chkInternalIOUpdate.setValue(0);
    boxes.reset();
    w.cmdLoad.click();
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ControlLoad, WithoutShowWarningsNothingIsAsked)
{
    frmControl& w = open();
    w.chkEnablePllSR3.setValue(1);
    w.txtCLKMultiVal.setText(QStringLiteral("10"));
    w.txtExternClk.setText(QStringLiteral("50"));
    w.lsbVCORangeSR3.setListIndex(4);
    w.txtExternClk.setText(QStringLiteral("2500"));
    w.chkShowWarnings.setValue(0);
    ASSERT_TRUE(w.lblErr(0).Visible());
    ASSERT_TRUE(w.lblErr(5).Visible());
    w.cmdLoad.click();
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
    EXPECT_EQ(written(kCFR3), pending(kCFR3));
}

// The indicator blinks while a compared bit differs between the two copies, and only then.
TEST_F(ControlLoad, IndicatorBlinksOnlyWhileTheCopiesDiffer)
{
    frmControl& w = open();
    const auto ticks = [&](int count) {
        QList<bool> seen;
        for (int k = 0; k < count; ++k) {
            ui::testing::clock().advance(200);
            seen.append(w.lblLoadFlash.Visible());
        }
        return seen;
    };
    EXPECT_EQ(ticks(4), (QList<bool>{false, false, false, false}));

    // Bits other windows own, or that LOAD may clear, are not compared.
    w.chkEnableRAM.setValue(1);
    w.chkEnQDUCRAMEval.setValue(1);
    setPendingField(kCFR2, 19, 19, 1);
    setPendingField(kCFR1, 21, 21, 1);
    EXPECT_EQ(ticks(4), (QList<bool>{false, false, false, false}));

    struct Change {
        int16_t addr;
        int bit;
    };
    for (const Change& c : {Change{kCFR1, 24}, Change{kCFR1, 13}, Change{kCFR2, 31}, Change{kCFR2, 0},
                            Change{kCFR3, 31}, Change{kDAC, 31}, Change{kIOUD, 0}}) {
        SCOPED_TRACE(testing::Message() << c.addr << ":" << c.bit);
        const uint64_t before = pending(c.addr);
        setPending(c.addr, before ^ (uint64_t{1} << c.bit));
        EXPECT_EQ(ticks(4), (QList<bool>{true, false, true, false}));
        setPending(c.addr, before);
        EXPECT_EQ(ticks(2), (QList<bool>{false, false}));
    }

    w.chkDACPD.setValue(1);
    EXPECT_TRUE(ticks(1).front());
    w.cmdLoad.click();
    EXPECT_FALSE(w.lblLoadFlash.Visible());
    EXPECT_EQ(ticks(3), (QList<bool>{false, false, false}));
}

// Every bit of CFR1 and CFR2 on its own: the indicator blinks for the window's table fields and the CFR2
// bits LOAD sends whole, and not for RAM enable, the RAM destination or the bits other windows own.
TEST_F(ControlLoad, IndicatorComparesExactlyTheWindowsOwnBits)
{
    frmControl& w = open();
    struct Compared {
        int16_t addr;
        std::vector<int> bits;
    };
    const std::array<Compared, 2> compared = {{
        {kCFR1, {25, 24, 13, 11, 7, 6, 5, 4, 3, 2}},
        {kCFR2, {31, 30, 29, 28, 27, 26, 25, 23, 22, 15, 14, 13, 12, 11, 10, 9, 7, 6, 5, 4, 3, 2, 1, 0}},
    }};
    for (const Compared& reg : compared) {
        const uint64_t before = pending(reg.addr);
        for (int bit = 0; bit < 32; ++bit) {
            SCOPED_TRACE(testing::Message() << reg.addr << ":" << bit);
            setPending(reg.addr, before ^ (uint64_t{1} << bit));
            const bool blinks = std::find(reg.bits.begin(), reg.bits.end(), bit) != reg.bits.end();
            EXPECT_EQ(w.loadPending(), blinks);
            ui::testing::clock().advance(200);
            EXPECT_EQ(w.lblLoadFlash.Visible(), blinks);
            setPending(reg.addr, before);
            ui::testing::clock().advance(200);
            EXPECT_FALSE(w.lblLoadFlash.Visible());
        }
    }
}

// Values the window shows, read back from both layouts: the refresh must not change a single bit.
TEST_F(ControlLoad, RefreshFormValsWritesNothingBack)
{
    plugBoard();
    std::mt19937_64 random(4470);
    for (const int16_t rev : {int16_t{3}, int16_t{2}}) {
        useRevision(rev);
        frmControl& w = open();
        for (int round = 0; round < 20; ++round) {
            SCOPED_TRACE(testing::Message() << "rev " << rev << " round " << round);
            std::array<QString, 5> before0;
            std::array<QString, 5> before1;
            for (int16_t addr = kCFR1; addr <= kIOUD; ++addr) {
                setPending(addr, random() & 0xFFFFFFFFu);
                setWritten(addr, random() & 0xFFFFFFFFu);
                before0[addr] = bd().GetRegMapValue(0, addr);
                before1[addr] = bd().GetRegMapValue(1, addr);
            }
            clearTraffic();
            w.RefreshFormVals();
            for (int16_t addr = kCFR1; addr <= kIOUD; ++addr) {
                EXPECT_EQ(bd().GetRegMapValue(0, addr), before0[addr]) << addr;
                EXPECT_EQ(bd().GetRegMapValue(1, addr), before1[addr]) << addr;
            }
            EXPECT_TRUE(serialWrites().isEmpty());
            EXPECT_FALSE(w.refreshing());
        }
        w.Unload();
    }
}

TEST_F(ControlLoad, RefreshShowsEachLayoutsGroupAndClearsTheOtherLayoutsMarks)
{
    frmControl& w = open();
    EXPECT_EQ(w.chkSR3.Value(), 1);
    EXPECT_TRUE(w.rrfMultiplier.Visible());
    w.txtCLKMultiVal.setText(QStringLiteral("11"));
    ASSERT_TRUE(w.lblErr(4).Visible());

    useRevision(2);
    w.RefreshFormVals();
    EXPECT_EQ(w.chkSR3.Value(), 0);
    EXPECT_FALSE(w.rrfMultiplier.Visible());
    EXPECT_FALSE(w.lblErr(4).Visible());
    EXPECT_FALSE(w.lblErr(5).Visible());
    // The unchecked box shows the revision 1/2 group: its clock is (N / R) x reference.
    EXPECT_EQ(w.txtVCOFreq.Text(), QStringLiteral("VCOFreq"));
}

TEST_F(ControlLoad, PllLampsFollowTheLockInput)
{
    usb::EmulatedBoard& board = plugBoard();
    frmControl& w = open();
    frmGraphics& graphics = ui::form<frmGraphics>();
    const auto lit = [&](const ui::Image& lamp) {
        if (lamp.Picture().toImage() == graphics.imgGreenLed(1).Picture().toImage())
            return 1;
        return lamp.Picture().toImage() == graphics.imgGreenLed(0).Picture().toImage() ? 0 : -1;
    };
    board.setStatusInput(usb::kPortDPllLock, true);
    w.cmdRefreshPlllockSR3.click(); // reads port D itself
    EXPECT_EQ(lit(w.imgPllLockSR3), 1);
    board.setStatusInput(usb::kPortDPllLock, false);
    w.UdStatusIndicators(); // the USB watch has not read port D: the lamp stays
    EXPECT_EQ(lit(w.imgPllLockSR3), 1);
    bd().USBReadPortBuffVal(kPortD);
    w.UdStatusIndicators();
    EXPECT_EQ(lit(w.imgPllLockSR3), 0);
    board.setStatusInput(usb::kPortDPllLock, true);
    bd().USBReadPortBuffVal(kPortD);
    w.cmdRefreshPLLLock.click();
    EXPECT_EQ(lit(w.imgDUTFlagsPD), 1);
}

TEST_F(ControlLoad, CtrlRRefreshesTheWindow)
{
    frmControl& w = open();
    setPendingField(kDAC, 7, 0, 77);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_R, Qt::ControlModifier, QStringLiteral("\x12"));
    QApplication::sendEvent(w.txtDACControl.widget(), &press);
    EXPECT_EQ(w.txtDACControl.Text(), QStringLiteral("77"));
    int other = 'r';
    w.Form_KeyPress(other);
    EXPECT_EQ(other, 'r');
}

TEST_F(ControlLoad, CloseBoxOnlyUnticksTheViewEntry)
{
    mdiMain& main = openMain();
    frmControl& w = open();
    EXPECT_TRUE(main.mnuViewControl.Checked());
    EXPECT_FALSE(w.Unload(ui::vbFormControlMenu));
    EXPECT_TRUE(w.IsLoaded());
    EXPECT_FALSE(main.mnuViewControl.Checked());
}

TEST_F(ControlLoad, RegisteredByName)
{
    registerControlWindow();
    ui::Form* form = ui::Forms::load(QStringLiteral("frmControl"));
    ASSERT_NE(form, nullptr);
    EXPECT_NE(dynamic_cast<frmControl*>(form), nullptr);
    EXPECT_EQ(form->Caption(), QStringLiteral("Control"));
    EXPECT_TRUE(ui::Forms::callIfLoaded(QStringLiteral("frmControl"), QStringLiteral("RefreshFormVals")));
    EXPECT_TRUE(ui::Forms::callIfLoaded(QStringLiteral("frmControl"), QStringLiteral("UdStatusIndicators")));
    EXPECT_TRUE(ui::Forms::callIfLoaded(QStringLiteral("frmControl"), QStringLiteral("UdControlState")));
}

} // namespace
