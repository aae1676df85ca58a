// The OSK Control window as a register window: its bits, LOAD, the indicator, greying, the layouts of the
// run modes, the board lines it drives and the lamp the USB watch lights.

#include "sweep_fixture.h"

#include "board/run_mode.h"
#include "shell/frm_graphics.h"

#include "platform/os/os_test_doubles.h"
#include "platform/ui/app.h"
#include "platform/ui/colors.h"
#include "platform/usb/emulated_board.h"

namespace {

using namespace sweeptest;

TEST_F(SweepWindowTest, ViewEntryOpensTheWindowAndClosingUnchecksIt)
{
    mdi->mnuViewFreqNSwp.choose();
    frmFreqAndSweep* sweep = ui::loadedForm<frmFreqAndSweep>();
    ASSERT_NE(sweep, nullptr);
    EXPECT_EQ(sweep->Caption(), QStringLiteral("OSK Control"));
    EXPECT_TRUE(mdi->mnuViewFreqNSwp.Checked());
    sweep->Unload(ui::vbFormControlMenu);
    EXPECT_FALSE(mdi->mnuViewFreqNSwp.Checked());
}

TEST_F(SweepWindowTest, BoxesAndListsStoreTheirBitsButNotWhileRefreshing)
{
    plugBoard();
    frmFreqAndSweep& sweep = openSweep();
    const struct {
        ui::CheckBox* box;
        RegisterField bit;
    } boxes[] = {
        {&sweep.chkAutoASFEnable, regBit(kCFR1, 8)},     {&sweep.chkEnableASF, regBit(kCFR1, 9)},
        {&sweep.chkLoadARRIOU, regBit(kCFR1, 10)},       {&sweep.chkClrFreqAccum, regBit(kCFR1, 12)},
        {&sweep.chkAutoClrFreqAccum, regBit(kCFR1, 14)}, {&sweep.chkLoadSRRonIOUD, regBit(kCFR1, 15)},
        {&sweep.chkManualOSKExtCtrl, regBit(kCFR1, 23)}, {&sweep.chkLSNoDwellLow, regBit(kCFR2, 17)},
        {&sweep.chkLSNoDwellHigh, regBit(kCFR2, 18)},    {&sweep.chkEnLinSweep, regBit(kCFR2, 19)}};
    for (const auto& [box, bit] : boxes) {
        box->setValue(1);
        EXPECT_EQ(pendingField(bit), 1U) << box->Name().toStdString();
    }
    EXPECT_EQ(pending(kCFR1), 0x0080D700U);
    EXPECT_EQ(pending(kCFR2) & 0x000E0000U, 0x000E0000U);
    setPending(kASF, 0xFFFFFFFCU);
    sweep.cmbASKIncDecSize.setListIndex(3);
    EXPECT_EQ(pending(kASF), 0xFFFFFFFFU) << "÷ 8 sets bits 1:0 and keeps the rest";
    sweep.RefreshFormVals();
    EXPECT_EQ(sweep.cmbASKIncDecSize.ListIndex(), 3);

    // A refresh that changes every box and the list leaves both maps as they were and sends no line; the
    // frames still follow the list.
    setPending(kCFR1, 0);
    setPendingField({kCFR2, 21, 20}, 2);
    sweep.optSweepUp.setValue(true);
    bd().setLSCTL(0); // the port image only: the refresh turns the options over
    const QString cfr1 = bd().GetRegMapValue(0, kCFR1);
    const QString cfr2 = bd().GetRegMapValue(0, kCFR2);
    clearTraffic();
    sweep.RefreshFormVals();
    EXPECT_EQ(sweep.chkEnableASF.Value(), 0);
    EXPECT_EQ(sweep.lstLSDest.ListIndex(), 2);
    EXPECT_TRUE(sweep.optSweepDwn.Value());
    EXPECT_EQ(bd().GetRegMapValue(0, kCFR1), cfr1);
    EXPECT_EQ(bd().GetRegMapValue(0, kCFR2), cfr2);
    EXPECT_TRUE(pipeWrites(0).isEmpty());
    EXPECT_TRUE(sweep.fraSweepWord0(2).Visible()) << "the frames still follow the list";
    EXPECT_FALSE(sweep.fraSweepWord0(0).Visible());

    // Under the refreshing flag the boxes, the list and the options store nothing and drive no line.
    {
        const auto scope = sweep.refreshingScope();
        sweep.chkEnableASF.setValue(1);
        sweep.lstLSDest.setListIndex(1);
        sweep.optSweepUp.setValue(true);
        EXPECT_EQ(bd().GetRegMapValue(0, kCFR1), cfr1);
        EXPECT_EQ(bd().GetRegMapValue(0, kCFR2), cfr2);
        EXPECT_TRUE(pipeWrites(0).isEmpty());
        EXPECT_TRUE(sweep.fraSweepWord0(1).Visible()) << "the frames still follow the list";
    }
    EXPECT_FALSE(sweep.refreshing());
}

TEST_F(SweepWindowTest, DestinationListSwitchesFramesAndAnUnlistedCodeChangesNothing)
{
    frmFreqAndSweep& sweep = openSweep();
    sweep.lstLSDest.setListIndex(1);
    EXPECT_EQ(pendingField({kCFR2, 21, 20}), 1U);
    EXPECT_TRUE(sweep.fraMsg.Visible());
    EXPECT_TRUE(sweep.fraSweepWord0(1).Visible());
    EXPECT_FALSE(sweep.fraSweepWord1(0).Visible());
    // A limit committed as a frequency leaves its phase view alone until the destination changes.
    sweep.lstLSDest.setListIndex(0);
    regtest::pasteAndEnter(sweep.txtLSSweepFreq1, QStringLiteral("500"));
    EXPECT_EQ(sweep.txtLSSweepPhase1.Text(), QStringLiteral("0.000"));
    sweep.lstLSDest.setListIndex(1);
    EXPECT_EQ(sweep.txtLSSweepPhase1.Text(), QStringLiteral("180.000"));
    // A refresh with the same destination still brings the phase views up to date.
    setPendingField({kLSPR, 31, 16}, 32768);
    sweep.RefreshFormVals();
    EXPECT_EQ(sweep.txtLSSweepPhase0.Text(), QStringLiteral("180.000"));

    setPendingField({kCFR2, 21, 20}, 3);
    sweep.RefreshFormVals();
    EXPECT_EQ(sweep.lstLSDest.ListIndex(), -1);
    EXPECT_TRUE(sweep.fraSweepWord0(1).Visible());
    EXPECT_EQ(pendingField({kCFR2, 21, 20}), 3U);
    EXPECT_TRUE(boxes().empty());
    sweep.lstLSDest.setListIndex(0);
    EXPECT_FALSE(sweep.fraMsg.Visible());
    EXPECT_EQ(pendingField({kCFR2, 21, 20}), 0U);
}

TEST_F(SweepWindowTest, LoadWritesItsRegistersInOrderAndPulsesUnderAuto)
{
    plugBoard();
    setAutoIOUpdate(true);
    frmFreqAndSweep& sweep = openSweep();
    regtest::pasteAndEnter(sweep.txtOutFreqST, QStringLiteral("100"));
    sweep.tmrLoadFlash_Timer();
    EXPECT_TRUE(sweep.lblLoadFlash.Visible());
    clearTraffic();
    const int pulses = chip().ioUpdateCount();
    sweep.cmdLoad.click();
    EXPECT_EQ(writtenAddresses(), (QList<int>{0x00, 0x01, 0x07, 0x08, 0x09, 0x0B, 0x0C, 0x0D}));
    EXPECT_EQ(chip().ioUpdateCount(), pulses + 1);
    EXPECT_EQ(written(kFTW), 429496730U);
    EXPECT_FALSE(sweep.lblLoadFlash.Visible());
    EXPECT_TRUE(sweep.cmdLoad.Enabled());
    const QRect frame = sweep.lblLoadFlash.widget()->geometry();
    EXPECT_TRUE(frame.contains(sweep.cmdLoad.widget()->geometry().adjusted(-1, -1, 1, 1)))
        << "the indicator rims LOAD";
}

TEST_F(SweepWindowTest, LoadWithoutBoardCopiesAndTheIndicatorWatchesOnlyItsBits)
{
    frmFreqAndSweep& sweep = openSweep();
    setPendingField(regBit(kCFR1, 13), 1); // another window's bit
    sweep.tmrLoadFlash_Timer();
    EXPECT_FALSE(sweep.lblLoadFlash.Visible());
    setPendingField({kLSDPR, 63, 50}, 5);
    sweep.tmrLoadFlash_Timer();
    EXPECT_TRUE(sweep.lblLoadFlash.Visible());
    sweep.tmrLoadFlash_Timer();
    EXPECT_FALSE(sweep.lblLoadFlash.Visible()) << "it blinks";
    sweep.cmdLoad.click();
    for (int16_t addr : {kCFR1, kCFR2, kFTW, kPOW, kASF, kLSPR, kLSDPR, kLSRR})
        EXPECT_EQ(bd().GetRegMapValue(1, addr), bd().GetRegMapValue(0, addr)) << addr;
    EXPECT_EQ(os::testing::soundRecorder().played, QStringList{QStringLiteral("SystemQuestion")});
    sweep.tmrLoadFlash_Timer();
    EXPECT_FALSE(sweep.lblLoadFlash.Visible());
}

TEST_F(SweepWindowTest, TheIndicatorWatchesEveryBitOfItsRegistersAndNoneOfAnotherWindows)
{
    frmFreqAndSweep& sweep = openSweep();
    struct Bit {
        int16_t addr;
        int bit;
        bool watched;
    };
    const Bit bits[] = {
        // The words LOAD sends whole, at both ends and where two fields meet.
        {kFTW, 0, true},
        {kFTW, 31, true},
        {kPOW, 0, true},
        {kPOW, 15, true},
        {kASF, 0, true},
        {kASF, 1, true},
        {kASF, 2, true},
        {kASF, 15, true},
        {kASF, 16, true},
        {kASF, 31, true},
        {kLSPR, 0, true},
        {kLSPR, 31, true},
        {kLSPR, 32, true},
        {kLSPR, 63, true},
        {kLSDPR, 0, true},
        {kLSDPR, 17, true},
        {kLSDPR, 32, true},
        {kLSDPR, 63, true},
        {kLSRR, 0, true},
        {kLSRR, 15, true},
        {kLSRR, 16, true},
        {kLSRR, 31, true},
        // The window's own bits of CFR1 and CFR2.
        {kCFR1, 8, true},
        {kCFR1, 9, true},
        {kCFR1, 10, true},
        {kCFR1, 12, true},
        {kCFR1, 14, true},
        {kCFR1, 15, true},
        {kCFR1, 23, true},
        {kCFR2, 17, true},
        {kCFR2, 18, true},
        {kCFR2, 19, true},
        {kCFR2, 20, true},
        {kCFR2, 21, true},
        // Bits other windows load.
        {kCFR1, 0, false},
        {kCFR1, 11, false},
        {kCFR1, 13, false},
        {kCFR1, 22, false},
        {kCFR1, 24, false},
        {kCFR1, 31, false},
        {kCFR2, 5, false},
        {kCFR2, 16, false},
        {kCFR2, 22, false},
        {kCFR2, 31, false},
        {kMCS, 27, false},
        {kRSR0, 0, false},
        {profileRegister(0), 0, false},
    };
    ASSERT_FALSE(sweep.loadPending());
    for (const Bit& b : bits) {
        const RegisterField field = regBit(b.addr, b.bit);
        const uint64_t before = pendingField(field);
        setPendingField(field, before ^ 1U);
        EXPECT_EQ(sweep.loadPending(), b.watched) << "register " << b.addr << " bit " << b.bit;
        setPendingField(field, before);
        EXPECT_FALSE(sweep.loadPending());
    }
}

struct Greying {
    int mode, enable, autoOsk, externalPin;
    bool enableGrey, amplitudeGrey, autoGrey, pinGrey;
};

class SweepGreyingTest : public SweepWindowTest, public ::testing::WithParamInterface<Greying> {};

TEST_P(SweepGreyingTest, OperatingModeAndOskBitsGreyTheOskControls)
{
    const Greying& g = GetParam();
    frmFreqAndSweep& sweep = openSweep();
    setOperatingMode(g.mode);
    setPendingField(regBit(kCFR1, 9), static_cast<uint64_t>(g.enable));
    setPendingField(regBit(kCFR1, 8), static_cast<uint64_t>(g.autoOsk));
    setPendingField(regBit(kCFR1, 23), static_cast<uint64_t>(g.externalPin));
    control->lstOppMode.setListIndex(g.mode); // the Control window passes the change on
    auto grey = [](const ui::Control& c) { return c.ForeColor() == ui::colors::vbGrayText; };
    EXPECT_EQ(grey(sweep.chkEnableASF), g.enableGrey);
    for (const ui::Control* c : std::initializer_list<const ui::Control*>{
             &sweep.txtAmpScaleST, &sweep.txtAmpScaleStepST, &sweep.chkManualOSKExtCtrl, &sweep.lblASFReg,
             &sweep.chkAutoASFEnable})
        EXPECT_EQ(grey(*c), g.amplitudeGrey) << c->Name().toStdString();
    for (const ui::Control* c : std::initializer_list<const ui::Control*>{
             &sweep.chkLoadARRIOU, &sweep.cmbASKIncDecSize, &sweep.txtASKRR, &sweep.lblIncDecSize,
             &sweep.lblns(0), &sweep.lblASKRR})
        EXPECT_EQ(grey(*c), g.autoGrey) << c->Name().toStdString();
    EXPECT_EQ(grey(sweep.chkOSKPin), g.pinGrey);
    // Greyed or not, a box keeps working.
    sweep.chkLoadARRIOU.setValue(1);
    EXPECT_EQ(pendingField(regBit(kCFR1, 10)), 1U);
}

INSTANTIATE_TEST_SUITE_P(Modes, SweepGreyingTest,
                         ::testing::Values(Greying{0, 1, 1, 1, true, true, true, true},
                                           Greying{1, 1, 1, 0, false, false, false, false},
                                           Greying{1, 1, 0, 1, false, false, true, false},
                                           Greying{1, 1, 0, 0, false, false, true, true},
                                           Greying{1, 0, 1, 1, false, true, true, true},
                                           Greying{2, 1, 1, 1, true, true, true, true},
                                           Greying{3, 1, 1, 1, true, true, true, true}));

TEST_F(SweepWindowTest, RunModeFourShowsTheRampGeneratorOthersTheOskPanelAlone)
{
    frmFreqAndSweep& sweep = openSweep(4);
    // LOAD sits in the bottom right corner of the window, inside its borders.
    auto loadInCorner = [&] {
        const QWidget* load = sweep.pbxLoadBtn.widget();
        const QPoint corner = load->mapTo(sweep.frameWidget(), load->rect().bottomRight());
        const int border = static_cast<int>(sweep.BorderSize() / 15);
        EXPECT_NEAR(corner.x() + 1, sweep.Width() - border, 2);
        EXPECT_NEAR(corner.y() + 1, sweep.Height() - border, 2);
    };
    for (const int mode : {4, 0, 1, 2, 3, 5, 4}) {
        giRunMode = static_cast<int16_t>(mode);
        SetModeAllForms();
        const bool large = mode == 4;
        EXPECT_EQ(sweep.Width(), large ? 583 : 285) << mode;
        EXPECT_EQ(sweep.Height(), large ? 426 : 266) << mode;
        EXPECT_EQ(sweep.fraOtherSrcs.Visible(), large) << mode;
        EXPECT_EQ(sweep.fraLinSwpSetup(0).Visible(), large) << mode;
        EXPECT_EQ(sweep.fraOtherSrcs.Left(), large ? 8 : 576) << mode;
        EXPECT_EQ(sweep.fraOtherSrcs.Top(), large ? 208 : 8) << mode;
        loadInCorner();
    }
    giRunMode = 6; // no such run mode: the layout stays
    SetModeAllForms();
    EXPECT_EQ(sweep.Width(), 583);
    EXPECT_TRUE(sweep.fraLinSwpSetup(0).Visible());
    const float border = sweep.BorderSize();
    sweep.setBorderSize(border + 100);
    EXPECT_EQ(sweep.BorderSize(), border);
}

TEST_F(SweepWindowTest, LinesGoToTheBoardAtOnceAndTheLampFollowsTheWatch)
{
    usb::EmulatedBoard& board = plugBoard();
    frmFreqAndSweep& sweep = openSweep();
    sweep.optSweepUp.setValue(true);
    EXPECT_TRUE(board.portE() & usb::kPortELsCtl);
    sweep.optSweepDwn.setValue(true);
    EXPECT_FALSE(board.portE() & usb::kPortELsCtl);
    sweep.chkLSHold.setValue(1);
    sweep.chkOSKPin.setValue(1);
    EXPECT_EQ(board.portE() & (usb::kPortELsHold | usb::kPortEOsk), usb::kPortELsHold | usb::kPortEOsk);
    clearTraffic();
    sweep.RefreshFormVals();
    EXPECT_TRUE(pipeWrites(0).isEmpty()) << "a refresh sends no line";
    EXPECT_EQ(sweep.chkOSKPin.Value(), 1);

    const QImage dark = ui::form<frmGraphics>().imgGreenLed(0).Picture().toImage();
    const QImage lit = ui::form<frmGraphics>().imgGreenLed(1).Picture().toImage();
    board.setStatusInputs(usb::kPortDLsOvr);
    mdi->tmrUSBCheck_Timer();
    EXPECT_EQ(sweep.imgLSFinished.Picture().toImage(), lit);
    gbBoardConnected = false;
    bd().USBSetPortBuffVal(0, 0);
    sweep.UdStatusIndicators();
    EXPECT_EQ(sweep.imgLSFinished.Picture().toImage(), lit) << "without a board the lamp keeps its picture";
    gbBoardConnected = true;
    board.setStatusInputs(0);
    mdi->tmrUSBCheck_Timer();
    EXPECT_EQ(sweep.imgLSFinished.Picture().toImage(), dark);
}

} // namespace
