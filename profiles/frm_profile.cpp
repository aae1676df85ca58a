// The Profiles window as a window: design properties, handler binding, the frames of the eight profiles,
// the form shown, the active profile, loading, LOAD, the refresh, the greying and the CCI overflow lamp.

#include "profiles/frm_profile.h"

#include "board/evalbd.h"
#include "board/globals.h"
#include "boardui/form_names.h"
#include "profiles/profile_register.h"
#include "profiles/put_in_container.h"
#include "shell/mdi_main.h"

#include "platform/ui/colors.h"
#include "platform/ui/forms.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

using namespace profiles;

namespace {

constexpr uint32_t kSelectedColour = 0xFF0000; // blue
constexpr uint32_t kCCIOverflowLit = 0x0000FF;
constexpr uint32_t kCCIOverflowDark = 0x000040;

// LOAD's registers: CFR2, CFR1, then the eight profiles.
constexpr std::array<int16_t, 2 + kProfileCount> kLoadOrder = {
    kCFR2,
    kCFR1,
    profileRegister(0),
    profileRegister(1),
    profileRegister(2),
    profileRegister(3),
    profileRegister(4),
    profileRegister(5),
    profileRegister(6),
    profileRegister(7),
};

const QStringList kRAMModeItems = {
    QStringLiteral("Direct Switch"), QStringLiteral("Ramp Up"), QStringLiteral("Bi-directional Ramp"),
    QStringLiteral("Continuous Bi-directional Ramp"), QStringLiteral("Continuous Re-circulate")};

// A spin button at rest: limits 1 and -1, value 0. The limits are set so that the value never leaves 0
// on the way (a change would step the word).
void makeSpin(ui::ScrollBar& bar)
{
    bar.setMax(-1);
    bar.setMin(1);
    bar.setValue(0);
}

} // namespace

frmProfile::frmProfile() : RegisterWindow(FormName)
{
    setMdiChild(true);
    setDesignProperties();
    bindHandlers();
    // The window's bits: those of its table (the rows come with Form_Load) and the internal profile control
    // of CFR1, which no box shows but LOAD sends with the rest of the register.
    indicateLoadOn(lblLoadFlash, {kInternalProfileControl});
    registerProc(formnames::RefreshFormVals, [this] { RefreshFormVals(); });
    registerProc(formnames::UpdateProfileSel, [this] { UpdateProfileSel(); });
    registerProc(formnames::UdControlState, [this] { UdControlState(); });
    registerProc(formnames::UdStatusIndicators, [this] { UdStatusIndicators(); });
}

frmProfile::~frmProfile() = default;

// ---- design ----

void frmProfile::setDesignProperties()
{
    setCaption(QStringLiteral("Profiles"));
    initQDUCElements(0);
    initRAMElements(0);
    initSingleToneElements(0);
    // Profile 0 starts in the quadrature-modulation form.
    fraProfileRAM(0).setVisible(false);
    fraProfileSnglTone(0).setVisible(false);

    lblProfileSel.setCaption(QStringLiteral("Activate"));
    for (ui::OptionButton& option : optProfileSel)
        option.setCaption(QStringLiteral("Profile %1").arg(option.Index()));
    chkEnableSineOut.setCaption(QStringLiteral("Enable Sine Out"));
    chkClearCCI.setCaption(QStringLiteral("Clear CCI"));
    chkQFirstData.setCaption(QStringLiteral("Q First Data Pairing"));
    chkInvSincEn.setCaption(QStringLiteral("Enable Inverse Sinc"));
    chkUseProfileOSK.setCaption(QStringLiteral("Enable Profile ASF"));
    chkUseProfileOSK.setToolTipText(QStringLiteral("Enables the \"Amplitude SF\" fields on this form"));
    chkUseProfileOSK.setValue(1);
    lblCCIOvrFlow.setCaption(QStringLiteral("CCI Over Flow"));
    lblCCIOvrFlow.setAlignment(ui::vbCenter);
    lblCCIOvrFlow.setForeColor(ui::colors::vbWhite);
    lblCCIOvrFlow.setBackColor(0x000040);
    cmdLoad.setCaption(QStringLiteral("LOAD"));
    lblLoadFlash.setCaption(QStringLiteral("\u25C0"));
    lblLoadFlash.setForeColor(ui::colors::vbRed);
    lblLoadFlash.setVisible(false);
    lblSpacer.setVisible(false);
    lblSpacer2.setVisible(false);
}

void frmProfile::initQDUCElements(int n)
{
    fraProfileQDUC(n).setCaption(QStringLiteral("Profile"));
    lblOutFreqQD(n).setCaption(QStringLiteral("Output Freq:"));
    txtOutFreqQD(n).setText(QStringLiteral("0.000000000"));
    txtOutFreqQD(n).Tag = QStringLiteral("0");
    lblMHzQD(n).setCaption(QStringLiteral("MHz"));
    lblPhaseOffsetQD(n).setCaption(QStringLiteral("Phase Offset:"));
    txtPhaseOffsetQD(n).setText(QStringLiteral("0.000"));
    txtPhaseOffsetQD(n).Tag = QStringLiteral("0");
    lblDegQD(n).setCaption(QStringLiteral("Deg"));
    lblOutputScaleFactorQD(n).setCaption(QStringLiteral("Output Scale Factor :"));
    txtOSFValQD(n).setText(QStringLiteral("0.0000000"));
    txtOSFValQD(n).Tag = QStringLiteral("0");
    txtOSFValQD(n).setMaxLength(9);
    lblCCIInterpRateQD(n).setCaption(QStringLiteral("CCI Interpolation Rate:"));
    txtCCIValQD(n).setText(QStringLiteral("2"));
    txtCCIValQD(n).Tag = QStringLiteral("2");
    txtCCIValQD(n).setMaxLength(2);
    chkSpectralInvQD(n).setCaption(QStringLiteral("Spectral Inversion"));
    chkInvCCIQD(n).setCaption(QStringLiteral("Inverse CCI Bypass"));
}

void frmProfile::initRAMElements(int n)
{
    fraProfileRAM(n).setCaption(QStringLiteral("RAM Segment"));
    lblRAMSegBeginAddr(n).setCaption(QStringLiteral("Beginning Address:"));
    txtRAMSegBeginAddr(n).setText(QStringLiteral("0"));
    txtRAMSegBeginAddr(n).setMaxLength(4);
    lblRAMSegFinalAddr(n).setCaption(QStringLiteral("Final Address:"));
    txtRAMSegFinalAddr(n).setText(QStringLiteral("0"));
    txtRAMSegFinalAddr(n).setMaxLength(4);
    lblRAMSegAddrRampRate(n).setCaption(QStringLiteral("Address Step Rate:"));
    txtRAMSegAddrRampRate(n).setText(QStringLiteral("0.0000"));
    txtRAMSegAddrRampRate(n).Tag = QStringLiteral("0");
    txtRAMSegAddrRampRate(n).setMaxLength(9);
    lblRAMMicro(n).setCaption(QStringLiteral("\u00B5"));
    lblRAMSec(n).setCaption(QStringLiteral("s"));
    lblRAMSegModCtrl(n).setCaption(QStringLiteral("Mode Control:"));
    ui::ComboBox& modes = cmbRAMSegModeControl(n);
    modes.Clear();
    for (const QString& item : kRAMModeItems)
        modes.AddItem(item);
    chkRAMZeroCrossing(n).setCaption(QStringLiteral("Zero Crossing"));
    chkRAMNoDwellActive(n).setCaption(QStringLiteral("No Dwell"));
}

void frmProfile::initSingleToneElements(int n)
{
    fraProfileSnglTone(n).setCaption(QStringLiteral("Profile"));
    lblOutFreqST(n).setCaption(QStringLiteral("Output Freq:"));
    txtOutFreqST(n).setText(QStringLiteral("0.000000000"));
    txtOutFreqST(n).Tag = QStringLiteral("0");
    lblMHzST(n).setCaption(QStringLiteral("MHz"));
    lblPhaseOffsetST(n).setCaption(QStringLiteral("Phase Offset:"));
    txtPhOSpinStepST(n).setText(QStringLiteral("1"));
    txtPhOSpinStepST(n).setMaxLength(3);
    txtPhOSpinStepST(n).setToolTipText(
        QStringLiteral("Number of phase word LSB's to increment or decrement by."));
    makeSpin(vscPhaseOSpinST(n));
    txtPhaseOffsetST(n).setText(QStringLiteral("0.000"));
    txtPhaseOffsetST(n).Tag = QStringLiteral("0");
    lblDegST(n).setCaption(QStringLiteral("Deg"));
    lblASFST(n).setCaption(QStringLiteral("Amplitude SF:"));
    txtAmpScaleStepST(n).setText(QStringLiteral("1"));
    txtAmpScaleStepST(n).setMaxLength(3);
    txtAmpScaleStepST(n).setToolTipText(
        QStringLiteral("Number of amplitude word LSB's to increment or decrement by."));
    makeSpin(vscAmpScaleSpinST(n));
    txtAmpScaleST(n).setText(QStringLiteral("0.00000"));
    txtAmpScaleST(n).Tag = QStringLiteral("0");
}

// ---- building the frames ----

void frmProfile::BuildCollections()
{
}

void frmProfile::AddQDUCFrame(int16_t& profile)
{
    const int n = fraProfileQDUC.Count();
    profile = static_cast<int16_t>(n);
    fraProfileQDUC.add(n);
    for (auto* array : {&lblOutFreqQD, &lblMHzQD, &lblPhaseOffsetQD, &lblDegQD, &lblOutputScaleFactorQD,
                        &lblCCIInterpRateQD})
        array->add(n);
    for (auto* array : {&txtOutFreqQD, &txtPhaseOffsetQD, &txtOSFValQD, &txtCCIValQD})
        array->add(n);
    chkSpectralInvQD.add(n);
    chkInvCCIQD.add(n);
    initQDUCElements(n);
    fraProfileQDUC(n).setCaption(fraProfileQDUC(n).Caption() + QStringLiteral(" ") + QString::number(n));
    fillQDUCFrame(n);
}

void frmProfile::AddRSFrame(int16_t& profile)
{
    const int n = fraProfileRAM.Count();
    profile = static_cast<int16_t>(n);
    fraProfileRAM.add(n);
    for (auto* array : {&lblRAMSegBeginAddr, &lblRAMSegFinalAddr, &lblRAMSegAddrRampRate, &lblRAMMicro,
                        &lblRAMSec, &lblRAMSegModCtrl})
        array->add(n);
    for (auto* array : {&txtRAMSegBeginAddr, &txtRAMSegFinalAddr, &txtRAMSegAddrRampRate})
        array->add(n);
    cmbRAMSegModeControl.add(n);
    chkRAMZeroCrossing.add(n);
    chkRAMNoDwellActive.add(n);
    initRAMElements(n);
    fraProfileRAM(n).setCaption(fraProfileRAM(n).Caption() + QStringLiteral(" ") + QString::number(n));
    fillRAMFrame(n);
}

void frmProfile::AddSTFrame(int16_t& profile)
{
    const int n = fraProfileSnglTone.Count();
    profile = static_cast<int16_t>(n);
    fraProfileSnglTone.add(n);
    for (auto* array : {&lblOutFreqST, &lblMHzST, &lblPhaseOffsetST, &lblDegST, &lblASFST})
        array->add(n);
    for (auto* array :
         {&txtOutFreqST, &txtPhOSpinStepST, &txtPhaseOffsetST, &txtAmpScaleStepST, &txtAmpScaleST})
        array->add(n);
    vscPhaseOSpinST.add(n);
    vscAmpScaleSpinST.add(n);
    initSingleToneElements(n);
    fraProfileSnglTone(n).setCaption(fraProfileSnglTone(n).Caption() + QStringLiteral(" ") +
                                     QString::number(n));
    fillSingleToneFrame(n);
}

// ---- loading and closing ----

void frmProfile::Form_Load()
{
    BuildCollections();
    // Profiles 1-7 get their frames now, in the grid's cells after profile 0's.
    for (int k = 1; k < kProfileCount; ++k) {
        int16_t n = 0;
        AddQDUCFrame(n);
        AddRSFrame(n);
        AddSTFrame(n);
        placeProfileCell(n);
    }
    for (ui::Frame* frame : {&fraProfileQDUC(0), &fraProfileRAM(0), &fraProfileSnglTone(0)})
        frame->setCaption(frame->Caption() + QStringLiteral(" 0"));
    for (ui::Frame& frame : fraProfileQDUC)
        frame.setVisible(true);
    buildFieldTable();
    sizeWindow();
    RefreshFormVals();
}

// ---- form mode and the active profile ----

void frmProfile::SetFormMode(int16_t mode)
{
    if (mode != kFormQDUC && mode != kFormRAM && mode != kFormSingleTone)
        return;
    for (ui::Frame& frame : fraProfileQDUC) {
        const int n = frame.Index();
        fraProfileQDUC(n).setVisible(mode == kFormQDUC);
        fraProfileRAM(n).setVisible(mode == kFormRAM);
        fraProfileSnglTone(n).setVisible(mode == kFormSingleTone);
    }
}

void frmProfile::GetFormMode(int16_t& mode) const
{
    mode = formModeOf(kOperatingMode.get(), kRAMEnable.get() == 1);
}

void frmProfile::UpdateProfileSel()
{
    if (!goEvalBd)
        return;
    const int profile = goEvalBd->ActiveProfile();
    if (optProfileSel.exists(profile))
        optProfileSel(profile).setValue(true);
}

void frmProfile::setProfileColour(int n, uint32_t colour)
{
    for (ui::Control* control : std::initializer_list<ui::Control*>{
             &fraProfileQDUC(n), &fraProfileRAM(n), &fraProfileSnglTone(n), &optProfileSel(n)})
        control->setForeColor(colour);
}

void frmProfile::optProfileSel_Click(int index)
{
    if (!bRefreshing_ && goEvalBd) {
        goEvalBd->setActiveProfile(static_cast<int16_t>(index));
        ui::Forms::callIfLoaded(formnames::frmDebug, formnames::RefreshFormVals);
    }
    for (ui::Frame& frame : fraProfileQDUC)
        if (frame.ForeColor() == kSelectedColour && fraProfileRAM.exists(frame.Index()) &&
            fraProfileSnglTone.exists(frame.Index()))
            setProfileColour(frame.Index(), ui::colors::vbWindowText);
    if (fraProfileRAM.exists(index) && fraProfileSnglTone.exists(index))
        setProfileColour(index, kSelectedColour);
    setCaption(QStringLiteral("Profiles - (Profile ") + QString::number(index) + QStringLiteral(" Active)"));
}

// ---- binding ----

void frmProfile::bindHandlers()
{
    // The value boxes and the step boxes are bound by their rows (buildFieldTable).
    vscAmpScaleSpinST.bind(&ui::ScrollBar::Change, this, &frmProfile::vscAmpScaleSpinST_Change);
    vscPhaseOSpinST.bind(&ui::ScrollBar::Change, this, &frmProfile::vscPhaseOSpinST_Change);

    // The check boxes and lists are bound by buildFieldTable, the value boxes by their rows.
    optProfileSel.bind(&ui::OptionButton::Click, this, &frmProfile::optProfileSel_Click);
    ui::bind(cmdLoad.Click, this, &frmProfile::cmdLoad_Click);
    ui::bind(tmrLoadFlash.Timer, this, &frmProfile::tmrLoadFlash_Timer);
}

// ---- spin bars: step the word and write the profile to the chip at once ----

void frmProfile::vscAmpScaleSpinST_Change(int index)
{
    values_.spin(vscAmpScaleSpinST(index), txtAmpScaleStepST(index), txtAmpScaleST(index), 999);
}

void frmProfile::vscPhaseOSpinST_Change(int index)
{
    values_.spin(vscPhaseOSpinST(index), txtPhOSpinStepST(index), txtPhaseOffsetST(index), 999);
}

// ---- LOAD ----

void frmProfile::cmdLoad_Click()
{
    // LOAD is disabled while the registers go, which hands the focus on, and the refresh may switch the
    // shown fields: the focus comes back to where the user was.
    const QPointer<QWidget> focused = QApplication::focusWidget();
    regwin::LoadOptions options;
    options.pointerForm = this;
    options.progressText = QStringLiteral("Loading...");
    // Clear CCI reaches the chip once per load in which it was set.
    options.afterAll = [this](regwin::LoadOutcome) {
        chkClearCCI.setValue(0);
        kClearCCI.setBoth(0);
    };
    loadWindow(cmdLoad, kLoadOrder, options);
    if (focused && focused->isVisible() && focused->isEnabled() && !focused->hasFocus())
        focused->setFocus(Qt::OtherFocusReason);
}

// ---- refresh ----

void frmProfile::RefreshFormVals()
{
    if (!goEvalBd)
        return;
    regwin::ScopedFlag refreshing(bRefreshing_);
    const std::optional<ProfileFormMode> form =
        refreshFormOf(kOperatingMode.get(), kRAMEnable.get() == 1, giRunMode);
    refreshForm_ = form ? static_cast<int16_t>(*form) : int16_t{-1};
    if (form)
        SetFormMode(*form);

    UpdateProfileSel();
    fields_.refresh();
    UdControlState();
}

// ---- greying and lamps ----

void frmProfile::setControlColour(ui::Control& control, bool normal)
{
    control.setForeColor(normal ? ui::colors::vbWindowText : ui::colors::vbGrayText);
}

void frmProfile::UdControlState()
{
    if (!goEvalBd)
        return;
    const ProfileShading shading =
        shadingOf(kOperatingMode.get(), kOutputShiftKeying.get() == 1, kProfileAmplitude.get() == 1);
    setControlColour(chkClearCCI, shading.clearCCIAndQFirstData);
    setControlColour(chkQFirstData, shading.clearCCIAndQFirstData);
    setControlColour(chkEnableSineOut, shading.sineOut);
    setControlColour(chkUseProfileOSK, shading.profileOSK);
    if (shading.qducFields)
        for (ui::Frame& frame : fraProfileQDUC) {
            const int n = frame.Index();
            for (ui::Control* control : std::initializer_list<ui::Control*>{
                     &txtOutFreqQD(n), &lblOutFreqQD(n), &lblMHzQD(n), &txtPhaseOffsetQD(n),
                     &lblPhaseOffsetQD(n), &lblDegQD(n), &chkSpectralInvQD(n)})
                setControlColour(*control, *shading.qducFields);
        }
    if (shading.amplitudeFields)
        for (ui::Frame& frame : fraProfileSnglTone) {
            const int n = frame.Index();
            for (ui::Control* control :
                 std::initializer_list<ui::Control*>{&lblASFST(n), &txtAmpScaleStepST(n), &txtAmpScaleST(n)})
                setControlColour(*control, *shading.amplitudeFields);
        }
}

void frmProfile::GrayOSKASK(bool grey)
{
    for (ui::Frame& frame : fraProfileSnglTone) {
        const int n = frame.Index();
        lblASFST(n).setForeColor(grey ? ui::colors::vbGrayText : ui::colors::vbWindowText);
        for (ui::TextBox* box : {&txtAmpScaleStepST(n), &txtAmpScaleST(n)})
            box->setForeColor(grey ? ui::colors::vbGrayText : ui::colors::vbButtonText);
    }
}

void frmProfile::UdStatusIndicators()
{
    if (goEvalBd)
        lblCCIOvrFlow.setBackColor(goEvalBd->CIC_OVERFL() == 1 ? kCCIOverflowLit : kCCIOverflowDark);
}

void registerProfileWindow()
{
    ui::Forms::registerFactory(frmProfile::FormName, [] { return std::make_unique<frmProfile>(); });
}
