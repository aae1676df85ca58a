// The Profiles window's LOAD, its load indicator, the refresh of every control from the pending map, the
// greying by operating mode and the CCI overflow lamp.

#include "profiles/frm_profile.h"

#include "board/evalbd.h"
#include "board/globals.h"
#include "profiles/profile_register.h"

#include "platform/ui/app.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <vector>

using namespace profiles;

namespace {

// The run mode in which single tone with the RAM enabled shows the RAM segments.
constexpr int16_t kRunModeRAMSegments = 4;
constexpr uint32_t kCCIOverflowLit = 0x0000FF;
constexpr uint32_t kCCIOverflowDark = 0x000040;

} // namespace

// ---- LOAD ----

void frmProfile::cmdLoad_Click()
{
    if (!goEvalBd)
        return;
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
    std::vector<int16_t> order{kCFR2, kCFR1};
    for (int n = 0; n < kProfileCount; ++n)
        order.push_back(profileRegister(n));
    regwin::runLoad(cmdLoad, loadIndicator_, order, options);
    if (focused && focused->isVisible() && focused->isEnabled() && !focused->hasFocus())
        focused->setFocus(Qt::OtherFocusReason);
}

void frmProfile::tmrLoadFlash_Timer()
{
    loadIndicator_.tick();
}

// ---- refresh ----

void frmProfile::RefreshFormVals()
{
    if (!goEvalBd)
        return;
    const uint64_t operatingMode = kOperatingMode.get();
    const bool ramEnabled = kRAMEnable.get() == 1;
    regwin::ScopedFlag refreshing(bRefreshing);

    // Operating mode 3 has no form of its own: the shown one stays and no field is loaded.
    refreshForm_ = -1;
    if (operatingMode == 0 || operatingMode == 2)
        refreshForm_ = kFormQDUC;
    else if (operatingMode == 1)
        refreshForm_ = ramEnabled && giRunMode == kRunModeRAMSegments ? kFormRAM : kFormSingleTone;
    if (refreshForm_ >= 0)
        SetFormMode(refreshForm_);

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
    const uint64_t operatingMode = kOperatingMode.get();
    const bool outputShiftKeying = kOutputShiftKeying.get() == 1;
    const bool profileAmplitude = kProfileAmplitude.get() == 1;

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
