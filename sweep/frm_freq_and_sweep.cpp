// The OSK Control window as a register window: its field table and value fields, the destination list,
// LOAD, the refresh from the pending map, greying, the run-mode layouts, the board lines it drives at once
// and the ramp-finished lamp.

#include "sweep/frm_freq_and_sweep.h"

#include "board/board_flags.h"
#include "board/chip_registers.h"
#include "board/evalbd.h"
#include "board/globals.h"
#include "board/text_util.h"
#include "boardui/form_names.h"
#include "boardui/text_selection.h"
#include "profiles/sys_clock.h"
#include "shell/frm_graphics.h"
#include "shell/mdi_main.h"
#include "shell/startup.h"
#include "sweep/osk_greying.h"
#include "sweep/osk_mode_layout.h"

#include "platform/ui/app.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"

#include <QMdiSubWindow>
#include <QStyle>
#include <initializer_list>
#include <limits>

using profiles::ValueKind;
using profiles::ValueRow;

namespace {

// LOAD's registers, in the order the chip takes them.
constexpr std::initializer_list<int16_t> kLoadOrder = {kCFR1, kCFR2, kFTW, kPOW, kASF, kLSPR, kLSDPR, kLSRR};

constexpr RegisterField kAutoOsk = regBit(kCFR1, 8);
constexpr RegisterField kExternalOskPin = regBit(kCFR1, 23);
constexpr RegisterField kRampDestination{kCFR2, 21, 20};

void setGrey(std::initializer_list<ui::Control*> controls, bool grey)
{
    for (ui::Control* control : controls)
        control->setForeColor(grey ? ui::colors::vbGrayText : ui::colors::vbWindowText);
}

} // namespace

frmFreqAndSweep::frmFreqAndSweep() : RegisterWindow(FormName), values_(cmdLoad)
{
    setMdiChild(true);
    setDesignProperties();
    buildFieldTable();
    buildValueFields();
    // The window's bits of CFR1 and CFR2 (the table) and the words of the value fields, which fill FTW,
    // POW, ASF, LSPR, LSDPR and LSRR whole.
    std::vector<RegisterField> words;
    words.reserve(values_.rows().size());
    for (const ValueRow& row : values_.rows())
        words.push_back(row.field);
    indicateLoadOn(lblLoadFlash, std::move(words));
    bindHandlers();
    registerProc(formnames::RefreshFormVals, [this] { RefreshFormVals(); });
    registerProc(formnames::UpdateFreqsAndRRs, [this] { UpdateFreqsAndRRs(); });
    registerProc(formnames::UdStatusIndicators, [this] { UdStatusIndicators(); });
    registerProc(formnames::UdControlState, [this] { UdControlState(); });
    registerProc(formnames::SetMode, [this] { SetMode(); });
}

frmFreqAndSweep::~frmFreqAndSweep() = default;

void frmFreqAndSweep::buildFieldTable()
{
    auto controlState = [this] { UdControlState(); };
    fields_.check(chkAutoASFEnable, kAutoOsk, controlState);
    // Whoever changes output shift keying, the user or a refresh, the Profiles window greys to match.
    fields_
        .check(chkEnableASF, kOutputShiftKeying,
               [this] {
                   UdControlState();
                   ui::Forms::callIfLoaded(formnames::frmProfile, formnames::UdControlState);
               })
        .afterOnRefresh = true;
    fields_.check(chkLoadARRIOU, regBit(kCFR1, 10));
    fields_.check(chkClrFreqAccum, regBit(kCFR1, 12));
    fields_.check(chkAutoClrFreqAccum, regBit(kCFR1, 14));
    fields_.check(chkLoadSRRonIOUD, regBit(kCFR1, 15));
    fields_.check(chkManualOSKExtCtrl, kExternalOskPin, controlState);
    fields_.check(chkLSNoDwellLow, regBit(kCFR2, 17));
    fields_.check(chkLSNoDwellHigh, regBit(kCFR2, 18));
    fields_.check(chkEnLinSweep, kDigitalRampEnable);
    // The list's frame change runs also while refreshing.
    fields_.list(lstLSDest, kRampDestination, [this] { showDestination(lstLSDest.ListIndex()); })
        .afterOnRefresh = true;
    fields_.combo(cmbASKIncDecSize, kAmplitudeStepSize);
    fields_.bindClicks();
}

void frmFreqAndSweep::buildValueFields()
{
    auto frequency = [this](ui::TextBox& box, RegisterField field, const char* caption) {
        values_.add({.box = &box, .kind = ValueKind::Frequency, .field = field, .caption = caption});
    };
    auto plain = [this](ui::TextBox& box, ValueKind kind, RegisterField field) {
        values_.add({.box = &box, .kind = kind, .field = field});
    };
    auto rampRate = [this](ui::TextBox& box, RegisterField field, const QString& name) {
        values_.add({.box = &box,
                     .kind = ValueKind::RampRate,
                     .field = field,
                     .caption = QStringLiteral("Edit ") + name,
                     .rateName = name});
    };
    frequency(txtOutFreqST, kFrequencyTuningWord, "Edit output frequency");
    plain(txtPhaseOffsetST, ValueKind::Phase, kPhaseOffsetWord);
    plain(txtAmpScaleST, ValueKind::Amplitude, kAmplitudeScaleFactor);
    values_.add({.box = &txtASKRR,
                 .kind = ValueKind::RampRate,
                 .field = kAmplitudeRampRate,
                 .caption = QStringLiteral("Edit Amplitude Ramp Rate"),
                 .rateName = QStringLiteral("Amplitude Address Ramp Rate")});
    frequency(txtLSSweepFreq0, kRampLowerFrequency, "Edit Sweep Frequency 0");
    frequency(txtLSSweepFreq1, kRampUpperFrequency, "Edit Sweep Frequency 1");
    frequency(txtLSRisingDFW0, kRampRisingFrequencyStep, "Edit Sweep Rising Step Size");
    frequency(txtLSFallingDFW1, kRampFallingFrequencyStep, "Edit Sweep Falling Step Size");
    plain(txtLSSweepPhase0, ValueKind::Phase, kRampLowerPhase);
    plain(txtLSSweepPhase1, ValueKind::Phase, kRampUpperPhase);
    plain(txtLSRisingDPW0, ValueKind::Phase, kRampRisingPhaseStep);
    plain(txtLSFallingDPW1, ValueKind::Phase, kRampFallingPhaseStep);
    plain(txtLSSweepAmp0, ValueKind::Amplitude, kRampLowerAmplitude);
    plain(txtLSSweepAmp1, ValueKind::Amplitude, kRampUpperAmplitude);
    plain(txtLSRisingDAW0, ValueKind::Amplitude, kRampRisingAmplitudeStep);
    plain(txtLSFallingDAW1, ValueKind::Amplitude, kRampFallingAmplitudeStep);
    rampRate(txtLSRisingRR, kRampRisingRate, QStringLiteral("Rising Sweep Ramp Rate"));
    rampRate(txtLSFallingRR, kRampFallingRate, QStringLiteral("Falling Sweep Ramp Rate"));
}

void frmFreqAndSweep::bindHandlers()
{
    ui::bind(optSweepDwn.Click, this, &frmFreqAndSweep::optSweepDwn_Click);
    ui::bind(optSweepUp.Click, this, &frmFreqAndSweep::optSweepUp_Click);
    ui::bind(chkLSHold.Click, this, &frmFreqAndSweep::chkLSHold_Click);
    ui::bind(chkOSKPin.Click, this, &frmFreqAndSweep::chkOSKPin_Click);
    ui::bind(cmdLoad.Click, this, &frmFreqAndSweep::cmdLoad_Click);
    ui::bind(tmrLoadFlash.Timer, this, &frmFreqAndSweep::tmrLoadFlash_Timer);
    ui::bind(vscAmpScaleSpinST.Change, this, &frmFreqAndSweep::vscAmpScaleSpinST_Change);
    ui::bind(vscPhaseOSpinST.Change, this, &frmFreqAndSweep::vscPhaseOSpinST_Change);
    ui::bind(txtPhOSpinStepST.KeyPress, this, &frmFreqAndSweep::txtPhOSpinStepST_KeyPress);
    txtPhOSpinStepST.GotFocus = [this] { SelectAllText(txtPhOSpinStepST); };
}

// ---- the destination list ----

void frmFreqAndSweep::showDestination(int index)
{
    // CFR2 bits 21:20 = 3 has no entry: nothing selected, and the frames stay as they are.
    if (index < 0 || index > 2)
        return;
    fraMsg.setVisible(index != 0);
    SetGUISweepType(static_cast<int16_t>(index));
    RefreshLSParmDisplays();
}

void frmFreqAndSweep::SetGUISweepType(int16_t sweepType)
{
    for (ui::Frame& frame : fraSweepWord0)
        frame.setVisible(frame.Index() == sweepType);
    for (ui::Frame& frame : fraSweepWord1)
        frame.setVisible(frame.Index() == sweepType);
}

// ---- LOAD ----

void frmFreqAndSweep::cmdLoad_Click()
{
    loadWindow(cmdLoad, kLoadOrder);
}

// ---- refresh ----

void frmFreqAndSweep::RefreshFormVals()
{
    if (!goEvalBd)
        return;
    regwin::ScopedFlag refreshing(bRefreshing_);
    fields_.refresh();
    // Setting an unchanged selection raises no Click here: the frames and the ramp views follow explicitly.
    showDestination(lstLSDest.ListIndex());
    for (const ValueRow& row : values_.rows())
        values_.show(row, row.field.get());
    if (goEvalBd->LSCTL() == 1)
        optSweepUp.setValue(true);
    else
        optSweepDwn.setValue(true);
    chkOSKPin.setValue(goEvalBd->OSK() == 1 ? 1 : 0);
    chkLSHold.setValue(goEvalBd->LSHOLD() == 1 ? 1 : 0);
    UdControlState();
}

void frmFreqAndSweep::UpdateFreqsAndRRs()
{
    // Without a clock the texts stay as they are, but for a word that changed since it was shown.
    for (const ValueRow& row : values_.rows())
        if (row.kind == ValueKind::Frequency || row.kind == ValueKind::RampRate)
            values_.show(row, values_.tagWord(row));
}

void frmFreqAndSweep::RefreshLSParmDisplays()
{
    if (!goEvalBd)
        return;
    for (const ValueRow& row : values_.rows())
        if (row.field.addr == kLSPR || row.field.addr == kLSDPR)
            values_.show(row, row.field.get());
}

// ---- spin bars ----

void frmFreqAndSweep::txtPhOSpinStepST_KeyPress(int& keyAscii)
{
    keyAscii = KeyFilterNoSign(KeyFilterSignedInt(keyAscii));
}

void frmFreqAndSweep::vscAmpScaleSpinST_Change()
{
    values_.spin(vscAmpScaleSpinST, txtAmpScaleStepST, txtAmpScaleST, std::numeric_limits<int16_t>::max());
}

void frmFreqAndSweep::vscPhaseOSpinST_Change()
{
    values_.spin(vscPhaseOSpinST, txtPhOSpinStepST, txtPhaseOffsetST, std::numeric_limits<int16_t>::max());
}

// ---- greying ----

void frmFreqAndSweep::UdControlState()
{
    if (!goEvalBd)
        return;
    const sweep::OskGreying grey = sweep::oskGreying({.operatingMode = kOperatingMode.get(),
                                                      .oskEnabled = kOutputShiftKeying.get() == 1,
                                                      .autoOsk = kAutoOsk.get() == 1,
                                                      .externalPin = kExternalOskPin.get() == 1});
    setGrey({&chkEnableASF}, grey.enable);
    setGrey({&chkOSKPin}, grey.pin);
    setGrey({&txtAmpScaleST, &txtAmpScaleStepST, &chkManualOSKExtCtrl, &lblASFReg, &chkAutoASFEnable},
            grey.amplitude);
    setGrey({&chkLoadARRIOU, &cmbASKIncDecSize, &txtASKRR, &lblIncDecSize, &lblns(0), &lblASKRR},
            grey.autoSetup);
}

// ---- layout by run mode ----

void frmFreqAndSweep::UpdateWindowMetrics()
{
    const QWidget* frame = frameWidget();
    if (!frame)
        return;
    // The frame's borders and title bar as the style draws them: the window may not be on screen yet.
    int border = 0;
    int title = 0;
    if (const auto* sub = qobject_cast<const QMdiSubWindow*>(frame)) {
        border = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
        title = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub) + border;
    } else {
        border = (frame->frameGeometry().width() - frame->width()) / 2;
        title = frame->frameGeometry().height() - frame->height();
    }
    borderSize_ = static_cast<float>(border) * sweep::kTwipsPerPixel;
    titleBarHeight_ = static_cast<float>(title) * sweep::kTwipsPerPixel;
}

void frmFreqAndSweep::SetMode()
{
    const std::optional<sweep::OskModeLayout> layout = sweep::oskModeLayout(
        giRunMode, borderSize_, titleBarHeight_, QSize(pbxLoadBtn.Width(), pbxLoadBtn.Height()));
    if (!layout)
        return;
    Move(Left(), Top(), layout->window.width(), layout->window.height());
    fraOtherSrcs.setVisible(layout->sweepShown);
    fraOtherSrcs.Move(layout->auxiliary.x(), layout->auxiliary.y());
    fraLinSwpSetup(0).setVisible(layout->sweepShown);
    pbxLoadBtn.Move(layout->load.x(), layout->load.y());
}

// ---- board lines ----

void frmFreqAndSweep::sendPortE()
{
    goEvalBd->USBWritePortBuffVal(kPortE);
    UpdateOtherForms();
}

void frmFreqAndSweep::UpdateLSCTL()
{
    if (!goEvalBd)
        return;
    goEvalBd->setLSCTL(optSweepUp.Value() ? 1 : 0);
    sendPortE();
}

void frmFreqAndSweep::optSweepDwn_Click()
{
    if (!bRefreshing_)
        UpdateLSCTL();
}

void frmFreqAndSweep::optSweepUp_Click()
{
    if (!bRefreshing_)
        UpdateLSCTL();
}

void frmFreqAndSweep::chkLSHold_Click()
{
    if (bRefreshing_ || !goEvalBd)
        return;
    goEvalBd->setLSHOLD(chkLSHold.Value() == 1 ? 1 : 0);
    sendPortE();
}

void frmFreqAndSweep::chkOSKPin_Click()
{
    if (bRefreshing_ || !goEvalBd)
        return;
    goEvalBd->setOSK(chkOSKPin.Value() == 1 ? 1 : 0);
    sendPortE();
}

void frmFreqAndSweep::UpdateOtherForms()
{
    ui::Forms::callIfLoaded(formnames::frmDebug, formnames::RefreshFormVals);
}

// ---- the ramp-finished lamp ----

void frmFreqAndSweep::UdStatusIndicators()
{
    if (!gbBoardConnected || !goEvalBd)
        return;
    imgLSFinished.setPicture(ui::form<frmGraphics>().imgGreenLed(goEvalBd->LS_OVR() == 1 ? 1 : 0).Picture());
}

// ---- loading ----

void frmFreqAndSweep::Form_Load()
{
    imgLSFinished.setPicture(ui::form<frmGraphics>().imgGreenLed(0).Picture());
    UpdateWindowMetrics();
    SetMode();
    RefreshFormVals();
}
