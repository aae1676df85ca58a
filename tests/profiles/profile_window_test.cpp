#include "profile_fixture.h"
#include "qstring_print.h"

#include "board/board_flags.h"
#include "board/globals.h"
#include "shell/frm_control.h"
#include "shell/mdi_main.h"

#include "platform/ui/colors.h"
#include "platform/ui/forms.h"
#include "platform/ui/test_doubles.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using namespace profiletest;

constexpr uint32_t kBlue = 0xFF0000;

class ProfileWindow : public ProfileWindowTest {};

// A window that stands in for another part of the program and counts the calls it gets by name.
class StandIn : public ui::Form {
public:
    StandIn(const QString& name, const QString& procedure) : Form(name)
    {
        registerProc(procedure, [this] { ++calls; });
    }
    int calls = 0;
};

TEST_F(ProfileWindow, LoadsEightProfilesInTheirFramesCaptionedWithTheirNumbers)
{
    mdi->mnuViewProfiles.setChecked(false);
    frmProfile& w = open();
    for (int n = 0; n < 8; ++n) {
        EXPECT_EQ(w.fraProfileQDUC(n).Caption(), QStringLiteral("Profile %1").arg(n));
        EXPECT_EQ(w.fraProfileRAM(n).Caption(), QStringLiteral("RAM Segment %1").arg(n));
        EXPECT_EQ(w.fraProfileSnglTone(n).Caption(), QStringLiteral("Profile %1").arg(n));
        // Every child sits inside its own profile's frame.
        EXPECT_EQ(w.txtOutFreqQD(n).widget()->parentWidget(), w.fraProfileQDUC(n).widget());
        EXPECT_EQ(w.cmbRAMSegModeControl(n).widget()->parentWidget(), w.fraProfileRAM(n).widget());
        EXPECT_EQ(w.vscAmpScaleSpinST(n).widget()->parentWidget(), w.fraProfileSnglTone(n).widget());
        EXPECT_EQ(w.cmbRAMSegModeControl(n).ListCount(), 5);
        EXPECT_EQ(w.txtCCIValQD(n).MaxLength(), 2);
    }
    EXPECT_FALSE(w.fraProfileQDUC.exists(8));
    EXPECT_TRUE(mdi->mnuViewProfiles.Checked());
    EXPECT_EQ(w.cmbRAMSegModeControl(7).List(4), QStringLiteral("Continuous Re-circulate"));
}

TEST_F(ProfileWindow, OpeningWritesNeitherTheMapNorTheChip)
{
    plugBoard();
    QStringList before;
    for (int16_t addr = 0; addr < 0x16; ++addr)
        before << bd().GetRegMapValue(0, addr);
    open();
    QStringList after;
    for (int16_t addr = 0; addr < 0x16; ++addr)
        after << bd().GetRegMapValue(0, addr);
    EXPECT_EQ(after, before);
    EXPECT_TRUE(pipeWrites(0).isEmpty());
    EXPECT_TRUE(pipeWrites(3).isEmpty());
}

struct FormCase {
    int operatingMode;
    bool ramEnabled;
    int16_t runMode;
    int16_t shownForm;  // the form RefreshFormVals shows
    int16_t calledForm; // what GetFormMode answers
};

class FormPerMode : public ProfileWindowTest, public ::testing::WithParamInterface<FormCase> {};

TEST_P(FormPerMode, RefreshShowsTheFormOfTheOperatingMode)
{
    const FormCase c = GetParam();
    frmProfile& w = open();
    setOperatingMode(c.operatingMode, c.ramEnabled);
    giRunMode = c.runMode;
    w.RefreshFormVals();
    for (int n = 0; n < 8; ++n) {
        EXPECT_EQ(w.fraProfileQDUC(n).Visible(), c.shownForm == frmProfile::kFormQDUC) << n;
        EXPECT_EQ(w.fraProfileRAM(n).Visible(), c.shownForm == frmProfile::kFormRAM) << n;
        EXPECT_EQ(w.fraProfileSnglTone(n).Visible(), c.shownForm == frmProfile::kFormSingleTone) << n;
    }
    int16_t called = -1;
    w.GetFormMode(called);
    EXPECT_EQ(called, c.calledForm);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FormPerMode,
    ::testing::Values(FormCase{0, false, 0, frmProfile::kFormQDUC, frmProfile::kFormQDUC},
                      FormCase{0, true, 4, frmProfile::kFormQDUC, frmProfile::kFormQDUC},
                      FormCase{2, false, 0, frmProfile::kFormQDUC, frmProfile::kFormQDUC},
                      FormCase{1, false, 0, frmProfile::kFormSingleTone, frmProfile::kFormSingleTone},
                      FormCase{1, false, 4, frmProfile::kFormSingleTone, frmProfile::kFormSingleTone},
                      // The RAM segments are shown only in run mode 4; GetFormMode asks CFR1 alone.
                      FormCase{1, true, 0, frmProfile::kFormSingleTone, frmProfile::kFormRAM},
                      FormCase{1, true, 4, frmProfile::kFormRAM, frmProfile::kFormRAM}));

TEST_F(ProfileWindow, EachFormLoadsItsFieldsFromTheProfileRegister)
{
    frmProfile& w = open();
    // Quadrature modulation: CCI 5, spectral inversion off, inverse CCI bypass on, scale 128, phase 16384,
    // tuning word 429496730.
    setPending(0x11, (uint64_t{5} << 58) | (uint64_t{1} << 56) | (uint64_t{128} << 48) |
                         (uint64_t{16384} << 32) | 429496730ULL);
    setOperatingMode(0);
    w.RefreshFormVals();
    EXPECT_EQ(w.txtOutFreqQD(3).Text(), QStringLiteral("100.00000009"));
    EXPECT_EQ(w.txtOutFreqQD(3).Tag, QStringLiteral("429496730"));
    EXPECT_EQ(w.txtPhaseOffsetQD(3).Text(), QStringLiteral("90.000"));
    EXPECT_EQ(w.txtPhaseOffsetQD(3).Tag, QStringLiteral("16384"));
    EXPECT_EQ(w.txtOSFValQD(3).Text(), QStringLiteral("1.0000000"));
    EXPECT_EQ(w.txtCCIValQD(3).Text(), QStringLiteral("5"));
    EXPECT_EQ(w.txtCCIValQD(3).Tag, QStringLiteral("5"));
    EXPECT_EQ(w.txtCCIValQD(3).ToolTipText(), QStringLiteral("Hex: 05   Bin: 000101"));
    EXPECT_EQ(w.chkInvCCIQD(3).Value(), 1);
    EXPECT_EQ(w.chkSpectralInvQD(3).Value(), 0);

    // Single tone: amplitude 8192 in bits 61:48.
    setPending(0x11, (uint64_t{8192} << 48) | (uint64_t{512} << 32) | 2147483648ULL);
    setOperatingMode(1);
    w.RefreshFormVals();
    EXPECT_EQ(w.txtAmpScaleST(3).Text(), QStringLiteral("0.50000"));
    EXPECT_EQ(w.txtAmpScaleST(3).Tag, QStringLiteral("8192"));
    EXPECT_EQ(w.txtPhaseOffsetST(3).Text(), QStringLiteral("2.813"));
    EXPECT_EQ(w.txtOutFreqST(3).Text(), QStringLiteral("500.00000000"));
    // The other form's fields keep what they showed.
    EXPECT_EQ(w.txtOutFreqQD(3).Text(), QStringLiteral("100.00000009"));

    // RAM segment: ramp rate 250 (1 us at 1000 MHz), final 1023, begin 17, no dwell, zero crossing, mode 6.
    setPending(0x11, (uint64_t{250} << 40) | (uint64_t{1023} << 30) | (uint64_t{17} << 14) | (1U << 5) |
                         (1U << 3) | 6U);
    setOperatingMode(1, true);
    giRunMode = 4;
    w.RefreshFormVals();
    EXPECT_EQ(w.txtRAMSegAddrRampRate(3).Text(), QStringLiteral("1.0000"));
    EXPECT_EQ(w.txtRAMSegAddrRampRate(3).Tag, QStringLiteral("250"));
    EXPECT_EQ(w.txtRAMSegFinalAddr(3).Text(), QStringLiteral("1023"));
    EXPECT_EQ(w.txtRAMSegBeginAddr(3).Text(), QStringLiteral("17"));
    EXPECT_EQ(w.txtRAMSegBeginAddr(3).Tag, QStringLiteral("17"));
    EXPECT_EQ(w.chkRAMNoDwellActive(3).Value(), 1);
    EXPECT_EQ(w.chkRAMZeroCrossing(3).Value(), 1);
    // Modes 5-7 have no item: the list shows "Direct Switch", and the refresh writes nothing back.
    EXPECT_EQ(w.cmbRAMSegModeControl(3).Text(), QStringLiteral("Direct Switch"));
    EXPECT_EQ(pendingField(0x11, 2, 0), 6U);
}

TEST_F(ProfileWindow, OperatingModeThreeKeepsTheFormAndEveryField)
{
    frmProfile& w = open();
    setOperatingMode(1);
    w.RefreshFormVals();
    const QString shown = w.txtOutFreqST(2).Text();
    setPendingField(0x10, 31, 0, 2147483648ULL);
    setOperatingMode(3);
    w.RefreshFormVals();
    EXPECT_TRUE(w.fraProfileSnglTone(2).Visible());
    EXPECT_FALSE(w.fraProfileQDUC(2).Visible());
    EXPECT_EQ(w.txtOutFreqST(2).Text(), shown);
    // Greyed all the same: the window-wide boxes and the quadrature-modulation fields.
    EXPECT_EQ(w.chkClearCCI.ForeColor(), ui::colors::vbGrayText);
    EXPECT_EQ(w.chkEnableSineOut.ForeColor(), ui::colors::vbGrayText);
    EXPECT_EQ(w.txtOutFreqQD(5).ForeColor(), ui::colors::vbGrayText);
    EXPECT_EQ(w.chkSpectralInvQD(5).ForeColor(), ui::colors::vbGrayText);
}

TEST_F(ProfileWindow, SetFormModeOutsideTheThreeFormsChangesNoFrame)
{
    frmProfile& w = open();
    w.SetFormMode(frmProfile::kFormRAM);
    w.SetFormMode(3);
    for (int n = 0; n < 8; ++n) {
        EXPECT_TRUE(w.fraProfileRAM(n).Visible());
        EXPECT_FALSE(w.fraProfileQDUC(n).Visible());
        EXPECT_FALSE(w.fraProfileSnglTone(n).Visible());
    }
}

TEST_F(ProfileWindow, SelectingAProfileSetsThePinsColoursItsFramesAndRefreshesTheDebugWindow)
{
    plugBoard();
    StandIn debug(QStringLiteral("frmDebug"), QStringLiteral("RefreshFormVals"));
    debug.Load();
    frmProfile& w = openShown();
    w.optProfileSel(5).click();
    w.optProfileSel(2).click();
    EXPECT_EQ(chip().profilePins(), 2);
    EXPECT_EQ(bd().ActiveProfile(), 2);
    EXPECT_EQ(debug.calls, 2);
    EXPECT_EQ(w.Caption(), QStringLiteral("Profiles - (Profile 2 Active)"));
    for (int n = 0; n < 8; ++n) {
        const uint32_t expected = n == 2 ? kBlue : ui::colors::vbWindowText;
        EXPECT_EQ(w.fraProfileQDUC(n).ForeColor(), expected) << n;
        EXPECT_EQ(w.fraProfileRAM(n).ForeColor(), expected) << n;
        EXPECT_EQ(w.fraProfileSnglTone(n).ForeColor(), expected) << n;
        EXPECT_EQ(w.optProfileSel(n).ForeColor(), expected) << n;
    }
    // A profile frame's colour marks its caption only; its fields keep the window text.
    EXPECT_EQ(w.lblOutputScaleFactorQD(2).ForeColor(), ui::colors::vbWindowText);
}

TEST_F(ProfileWindow, RefreshFollowsTheBoardsActiveProfileWithoutWritingItBack)
{
    plugBoard();
    frmProfile& w = open();
    bd().setActiveProfile(6);
    clearTraffic();
    w.RefreshFormVals();
    EXPECT_TRUE(w.optProfileSel(6).Value());
    EXPECT_EQ(w.fraProfileQDUC(6).ForeColor(), kBlue);
    EXPECT_TRUE(pipeWrites(0).isEmpty());
    // Outside a refresh the same selection writes the pins again.
    w.UpdateProfileSel();
    EXPECT_EQ(pipeWrites(0).size(), 1);
}

struct GreyCase {
    int operatingMode;
    bool outputShiftKeying; // CFR1 bit 9
    bool profileAmplitude;  // CFR2 bit 24
    bool clearCCINormal;
    bool sineOutNormal;
    bool useProfileOSKNormal;
    bool amplitudeNormal; // single-tone amplitude controls (mode 1 only)
};

class GreyPerMode : public ProfileWindowTest, public ::testing::WithParamInterface<GreyCase> {};

TEST_P(GreyPerMode, ControlsThatDoNotApplyAreGreyedByTextColourOnly)
{
    const GreyCase c = GetParam();
    frmProfile& w = open();
    setOperatingMode(c.operatingMode);
    setPendingField(0x00, 9, 9, c.outputShiftKeying ? 1 : 0);
    setPendingField(0x01, 24, 24, c.profileAmplitude ? 1 : 0);
    w.RefreshFormVals();
    auto colour = [](bool normal) { return normal ? ui::colors::vbWindowText : ui::colors::vbGrayText; };
    EXPECT_EQ(w.chkClearCCI.ForeColor(), colour(c.clearCCINormal));
    EXPECT_EQ(w.chkQFirstData.ForeColor(), colour(c.clearCCINormal));
    EXPECT_EQ(w.chkEnableSineOut.ForeColor(), colour(c.sineOutNormal));
    EXPECT_EQ(w.chkUseProfileOSK.ForeColor(), colour(c.useProfileOSKNormal));
    if (c.operatingMode == 1) {
        EXPECT_EQ(w.txtAmpScaleST(4).ForeColor(), colour(c.amplitudeNormal));
        EXPECT_EQ(w.lblASFST(4).ForeColor(), colour(c.amplitudeNormal));
        EXPECT_EQ(w.txtAmpScaleStepST(4).ForeColor(), colour(c.amplitudeNormal));
    } else {
        EXPECT_EQ(w.txtOutFreqQD(4).ForeColor(), colour(c.operatingMode == 0));
        EXPECT_EQ(w.lblDegQD(4).ForeColor(), colour(c.operatingMode == 0));
    }
    EXPECT_TRUE(w.chkClearCCI.Enabled());
    EXPECT_TRUE(w.txtAmpScaleST(4).Enabled());
}

INSTANTIATE_TEST_SUITE_P(Modes, GreyPerMode,
                         ::testing::Values(GreyCase{0, false, true, true, false, false, false},
                                           GreyCase{1, false, true, false, true, true, true},
                                           GreyCase{1, false, false, false, true, true, false},
                                           GreyCase{1, true, true, false, true, false, false},
                                           GreyCase{2, false, true, false, false, false, false}));

TEST_F(ProfileWindow, ProfileASFBoxWritesItsBitAndRegreysTheAmplitudeFields)
{
    frmProfile& w = open();
    setOperatingMode(1);
    w.RefreshFormVals();
    setPendingField(0x01, 24, 24, 1);
    w.RefreshFormVals();
    ASSERT_EQ(w.chkUseProfileOSK.Value(), 1);
    w.chkUseProfileOSK.click();
    EXPECT_EQ(pendingField(0x01, 24, 24), 0U);
    EXPECT_EQ(w.txtAmpScaleST(0).ForeColor(), ui::colors::vbGrayText);
    w.GrayOSKASK(false);
    EXPECT_EQ(w.txtAmpScaleST(0).ForeColor(), ui::colors::vbButtonText);
    EXPECT_EQ(w.lblASFST(0).ForeColor(), ui::colors::vbWindowText);
}

TEST_F(ProfileWindow, CCIOverflowLampFollowsTheStatusInputAtEachPoll)
{
    usb::EmulatedBoard& board = plugBoard();
    frmProfile& w = open();
    EXPECT_EQ(w.lblCCIOvrFlow.BackColor(), 0x000040U);
    mdi->tmrUSBCheck.setEnabled(true);
    ui::testing::clock().advance(600);
    board.setStatusInput(0x80, true);
    ui::testing::clock().advance(300);
    EXPECT_EQ(w.lblCCIOvrFlow.BackColor(), 0x0000FFU);
    board.setStatusInput(0x80, false);
    ui::testing::clock().advance(300);
    EXPECT_EQ(w.lblCCIOvrFlow.BackColor(), 0x000040U);
}

TEST_F(ProfileWindow, ClosingFromTheCloseBoxUnticksTheViewEntry)
{
    frmProfile& w = open();
    ASSERT_TRUE(mdi->mnuViewProfiles.Checked());
    EXPECT_TRUE(w.Unload(ui::vbFormCode));
    EXPECT_TRUE(mdi->mnuViewProfiles.Checked());
    frmProfile& again = open();
    EXPECT_TRUE(again.Unload(ui::vbFormControlMenu));
    EXPECT_FALSE(mdi->mnuViewProfiles.Checked());
}

TEST_F(ProfileWindow, IsReachableByNameForTheWindowsThatRefreshIt)
{
    EXPECT_TRUE(ui::Forms::showByName(QStringLiteral("frmProfile")));
    frmProfile* w = ui::loadedForm<frmProfile>();
    ASSERT_NE(w, nullptr);
    setPendingField(0x0E, 63, 58, 9);
    EXPECT_TRUE(ui::Forms::callIfLoaded(QStringLiteral("frmProfile"), QStringLiteral("RefreshFormVals")));
    EXPECT_EQ(w->txtCCIValQD(0).Text(), QStringLiteral("9"));
}

// Going back and forth between the Control and Profiles windows with one click into a value box each time:
// every such click selects the box's whole text, the box that kept its window's focus meanwhile too, so
// that what is typed replaces the value.
TEST_F(ProfileWindow, OneClickIntoAValueBoxOfTheOtherWindowSelectsItsWholeText)
{
    frmProfile& w = openShown();
    control->Show();
    ui::TextBox& clock = control->txtExternClk;
    ui::TextBox& frequency = w.txtOutFreqQD(0);
    for (ui::TextBox* box : {&clock, &frequency, &clock, &frequency, &clock}) {
        QWidget* widget = box->widget();
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(widget->width() / 2, 8));
        ASSERT_TRUE(box->hasFocus()) << box->Name().toStdString();
        EXPECT_EQ(box->SelLength(), box->Text().size()) << box->Name().toStdString();
    }
    ASSERT_EQ(clock.Text(), QStringLiteral("1000.00000"));
    type(clock, QStringLiteral("700"));
    EXPECT_EQ(clock.Text(), QStringLiteral("700"));
}

} // namespace
