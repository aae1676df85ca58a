// The Profiles window's LOAD, its load indicator, the refresh of every control from the pending map, the
// greying by operating mode and the CCI overflow lamp.

#include "profiles/frm_profile.h"

#include "board/board_flags.h"
#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "board/globals.h"
#include "board/progress.h"
#include "board/sound.h"
#include "profiles/mod_edit_dialog_subs.h"
#include "profiles/mod_edit_out_freq.h"
#include "profiles/profile_register.h"
#include "shell/mdi_main.h"

#include "platform/runtime/number_format.h"
#include "platform/ui/app.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"

using namespace profiles;

namespace {

constexpr int16_t kTuningWordBits = 32;
// The run mode in which single tone with the RAM enabled shows the RAM segments.
constexpr int16_t kRunModeRAMSegments = 4;
constexpr uint32_t kCCIOverflowLit = 0x0000FF;
constexpr uint32_t kCCIOverflowDark = 0x000040;

// The bits of CFR1 and CFR2 this window owns, for the load indicator.
QString ownedCFR1Bits(const QString& cfr1)
{
    return QString::number(fieldValue(cfr1, {22, 16}));
}

QString ownedCFR2Bits(const QString& cfr2)
{
    return QString::number(bitValue(cfr2, 24)) + QString::number(bitValue(cfr2, 8));
}

QString decimalOf(uint64_t word)
{
    return QString::number(word);
}

} // namespace

// ---- LOAD ----

void frmProfile::cmdLoad_Click()
{
    if (!goEvalBd)
        return;
    cmdLoad.setEnabled(false);
    setMousePointer(ui::vbHourglass);
    InitProgressBar(0, 10, QStringLiteral("Loading..."));
    int32_t done = 0;
    auto send = [&done](int16_t addr) {
        const QString value = goEvalBd->GetRegMapValue(0, addr);
        // Asked anew for each register: the board may go away in the middle of the load.
        if (!goEZUSB().DriverName().isEmpty())
            goEvalBd->USBSerialLoadPKT(addr, value);
        else
            goEvalBd->SetRegMapValue(1, addr, value);
        SetProgressBarValue(++done);
    };
    send(kCFR2);
    send(kCFR1);
    for (int n = 0; n < kProfileCount; ++n)
        send(profileRegister(n));
    ResetProgressBar();

    const mdiMain* main = ui::loadedForm<mdiMain>();
    if (main && main->chkAutoIOUd.Value() == 1)
        goEvalBd->StrobeREGUD();

    // Clear CCI reaches the chip once per load in which it was set.
    chkClearCCI.setValue(0);
    goEvalBd->SetRegMapBitValue(1, kCFR1, 21, 0);
    goEvalBd->SetRegMapBitValue(0, kCFR1, 21, 0);

    if (!gbBoardConnected)
        PlaySoundAsync(QStringLiteral("SystemQuestion"));

    ui::DoEvents();
    cmdLoad.setEnabled(true);
    setMousePointer(ui::vbDefault);
    lblLoadFlash.setVisible(false);
}

void frmProfile::tmrLoadFlash_Timer()
{
    bool changed = false;
    if (goEvalBd) {
        changed = ownedCFR1Bits(goEvalBd->GetRegMapValue(0, kCFR1)) !=
                      ownedCFR1Bits(goEvalBd->GetRegMapValue(1, kCFR1)) ||
                  ownedCFR2Bits(goEvalBd->GetRegMapValue(0, kCFR2)) !=
                      ownedCFR2Bits(goEvalBd->GetRegMapValue(1, kCFR2));
        for (int n = 0; n < kProfileCount && !changed; ++n)
            changed = goEvalBd->GetRegMapValue(0, profileRegister(n)) !=
                      goEvalBd->GetRegMapValue(1, profileRegister(n));
    }
    lblLoadFlash.setVisible(changed && !lblLoadFlash.Visible());
    lblLoadFlash.Refresh();
}

// ---- refresh ----

void frmProfile::RefreshFormVals()
{
    if (!goEvalBd)
        return;
    const QString cfr2 = goEvalBd->GetRegMapValue(0, kCFR2);
    const QString cfr1 = goEvalBd->GetRegMapValue(0, kCFR1);
    const uint64_t operatingMode = fieldValue(cfr1, {25, 24});
    const bool ramEnabled = bitValue(cfr1, 31) == 1;
    bRefreshing = true;
    const double clock = sysClock();

    // Operating mode 3 has no form of its own: the shown one stays and no field is loaded.
    int16_t form = -1;
    if (operatingMode == 0 || operatingMode == 2)
        form = kFormQDUC;
    else if (operatingMode == 1)
        form = ramEnabled && giRunMode == kRunModeRAMSegments ? kFormRAM : kFormSingleTone;
    if (form >= 0)
        SetFormMode(form);

    UpdateProfileSel();

    if (form >= 0)
        for (int n = 0; n < kProfileCount; ++n)
            if (fraProfileQDUC.exists(n) && fraProfileRAM.exists(n) && fraProfileSnglTone.exists(n))
                loadFieldsOf(n, form, clock);

    chkUseProfileOSK.setValue(bitValue(cfr2, 24));
    chkClearCCI.setValue(bitValue(cfr1, 21));
    chkInvSincEn.setValue(bitValue(cfr1, 22));
    chkEnableSineOut.setValue(bitValue(cfr1, 16));
    chkQFirstData.setValue(bitValue(cfr2, 8));

    UdControlState();
    bRefreshing = false;
}

void frmProfile::loadFieldsOf(int n, int16_t form, double clock)
{
    const QString profile = profileValue(n);
    auto showFrequency = [&](ui::TextBox& box) {
        const uint64_t word = fieldValue(profile, kFrequencyField);
        box.Tag = decimalOf(word);
        box.setText(edtFormatFreq(
            edtFTWToFreq(rt::Decimal(static_cast<unsigned long long>(word)), clock, kTuningWordBits),
            kTuningWordBits, clock));
    };
    auto showPhase = [&](ui::TextBox& box) {
        const uint64_t word = fieldValue(profile, kPhaseField);
        box.Tag = decimalOf(word);
        box.setText(rt::Format(edtPOWToDegrees(static_cast<double>(word)), QStringLiteral("0.000")));
    };

    if (form == kFormQDUC) {
        showFrequency(txtOutFreqQD(n));
        showPhase(txtPhaseOffsetQD(n));
        const uint64_t scale = fieldValue(profile, kOutputScaleField);
        txtOSFValQD(n).Tag = decimalOf(scale);
        txtOSFValQD(n).setText(
            rt::Format(edtOSFToGain(static_cast<int16_t>(scale)), QStringLiteral("0.0000000")));
        chkInvCCIQD(n).setValue(bitValue(profile, kInverseCCIBypassBit));
        chkSpectralInvQD(n).setValue(bitValue(profile, kSpectralInversionBit));
        const QString rate = decimalOf(fieldValue(profile, kCCIRateField));
        txtCCIValQD(n).Tag = rate;
        txtCCIValQD(n).setText(rate);
    } else if (form == kFormSingleTone) {
        showFrequency(txtOutFreqST(n));
        showPhase(txtPhaseOffsetST(n));
        const uint64_t amplitude = fieldValue(profile, kAmplitudeField);
        txtAmpScaleST(n).Tag = decimalOf(amplitude);
        txtAmpScaleST(n).setText(
            rt::Format(edtASFToAmpl(static_cast<int32_t>(amplitude)), QStringLiteral("0.00000")));
    } else if (form == kFormRAM) {
        // Modes 5-7 have no item: the list shows its first.
        const uint64_t mode = fieldValue(profile, kRAMModeField);
        cmbRAMSegModeControl(n).setListIndex(mode <= 4 ? static_cast<int>(mode) : 0);
        chkRAMZeroCrossing(n).setValue(bitValue(profile, kRAMZeroCrossingBit));
        chkRAMNoDwellActive(n).setValue(bitValue(profile, kRAMNoDwellBit));
        const QString begin = decimalOf(fieldValue(profile, kRAMBeginField));
        txtRAMSegBeginAddr(n).Tag = begin;
        txtRAMSegBeginAddr(n).setText(begin);
        const QString last = decimalOf(fieldValue(profile, kRAMFinalField));
        txtRAMSegFinalAddr(n).Tag = last;
        txtRAMSegFinalAddr(n).setText(last);
        const uint64_t rampRate = fieldValue(profile, kRAMRampRateField);
        txtRAMSegAddrRampRate(n).Tag = decimalOf(rampRate);
        txtRAMSegAddrRampRate(n).setText(
            edtFormatRAMRRTime(CalculateRAMRRTime(static_cast<int32_t>(rampRate), clock)));
    }
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
    const QString cfr1 = goEvalBd->GetRegMapValue(0, kCFR1);
    const QString cfr2 = goEvalBd->GetRegMapValue(0, kCFR2);
    const uint64_t operatingMode = fieldValue(cfr1, {25, 24});
    const bool outputShiftKeying = bitValue(cfr1, 9) == 1;
    const bool profileAmplitude = bitValue(cfr2, 24) == 1;

    auto colourQDUCFields = [this](bool normal) {
        for (ui::Frame& frame : fraProfileQDUC) {
            const int n = frame.Index();
            for (ui::Control* control : std::initializer_list<ui::Control*>{
                     &txtOutFreqQD(n), &lblOutFreqQD(n), &lblMHzQD(n), &txtPhaseOffsetQD(n),
                     &lblPhaseOffsetQD(n), &lblDegQD(n), &chkSpectralInvQD(n)})
                setControlColour(*control, normal);
        }
    };

    switch (operatingMode) {
    case 0:
        setControlColour(chkClearCCI, true);
        setControlColour(chkQFirstData, true);
        setControlColour(chkEnableSineOut, false);
        setControlColour(chkUseProfileOSK, false);
        colourQDUCFields(true);
        break;
    case 1: {
        setControlColour(chkClearCCI, false);
        setControlColour(chkQFirstData, false);
        setControlColour(chkEnableSineOut, true);
        setControlColour(chkUseProfileOSK, !outputShiftKeying);
        const bool amplitudeApplies = !outputShiftKeying && profileAmplitude;
        for (ui::Frame& frame : fraProfileSnglTone) {
            const int n = frame.Index();
            for (ui::Control* control :
                 std::initializer_list<ui::Control*>{&lblASFST(n), &txtAmpScaleStepST(n), &txtAmpScaleST(n)})
                setControlColour(*control, amplitudeApplies);
        }
        break;
    }
    default:
        setControlColour(chkClearCCI, false);
        setControlColour(chkQFirstData, false);
        setControlColour(chkEnableSineOut, false);
        setControlColour(chkUseProfileOSK, false);
        colourQDUCFields(false);
        break;
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
