// The OSK Control window's state: greying by operating mode, the two layouts of the run modes, the board
// lines it drives at once and the ramp-finished lamp.

#include "board/chip_registers.h"
#include "sweep/frm_freq_and_sweep.h"

#include "board/board_flags.h"
#include "board/evalbd.h"
#include "board/form_names.h"
#include "board/globals.h"
#include "shell/frm_graphics.h"
#include "shell/startup.h"

#include "platform/ui/colors.h"
#include "platform/ui/forms.h"

#include <QMdiSubWindow>
#include <QStyle>
#include <cmath>
#include <initializer_list>

namespace {

constexpr float kTwipsPerPixel = 15.0F;

// Places in twips, (left, top).
struct Twips {
    int x;
    int y;
};
constexpr Twips kSmallWindow{4275, 3990};
constexpr Twips kLargeWindow{8745, 6390};
constexpr Twips kAuxHidden{8640, 120};
constexpr Twips kAuxShown{120, 3120};

int pixels(float twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

void setGrey(std::initializer_list<ui::Control*> controls, bool grey)
{
    for (ui::Control* control : controls)
        control->setForeColor(grey ? ui::colors::vbGrayText : ui::colors::vbWindowText);
}

} // namespace

// ---- greying ----

void frmFreqAndSweep::UdControlState()
{
    if (!goEvalBd)
        return;
    const uint64_t mode = kOperatingMode.get();
    const bool oskEnabled = kOutputShiftKeying.get() == 1;
    const bool autoOsk = regBit(kCFR1, 8).get() == 1;
    const std::initializer_list<ui::Control*> amplitudeGroup = {
        &txtAmpScaleST, &txtAmpScaleStepST, &chkManualOSKExtCtrl, &lblASFReg, &chkAutoASFEnable};
    const std::initializer_list<ui::Control*> autoGroup = {&chkLoadARRIOU, &cmbASKIncDecSize, &txtASKRR,
                                                           &lblIncDecSize, &lblns(0),         &lblASKRR};
    bool enableGrey = true;
    bool amplitudeGrey = true;
    bool autoGrey = true;
    bool pinGrey = true;
    if (mode == 1) {
        enableGrey = false;
        if (oskEnabled) {
            amplitudeGrey = false;
            autoGrey = !autoOsk;
            pinGrey = !autoOsk && regBit(kCFR1, 23).get() != 1;
        }
    }
    setGrey({&chkEnableASF}, enableGrey);
    setGrey({&chkOSKPin}, pinGrey);
    setGrey(amplitudeGroup, amplitudeGrey);
    setGrey(autoGroup, autoGrey);
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
    borderSize_ = static_cast<float>(border) * kTwipsPerPixel;
    titleBarHeight_ = static_cast<float>(title) * kTwipsPerPixel;
}

void frmFreqAndSweep::SetMode()
{
    if (giRunMode < 0 || giRunMode > 5)
        return;
    const bool sweepMode = giRunMode == 4;
    const Twips window = sweepMode ? kLargeWindow : kSmallWindow;
    const Twips aux = sweepMode ? kAuxShown : kAuxHidden;
    Move(Left(), Top(), pixels(static_cast<float>(window.x)), pixels(static_cast<float>(window.y)));
    fraOtherSrcs.setVisible(sweepMode);
    fraOtherSrcs.Move(pixels(static_cast<float>(aux.x)), pixels(static_cast<float>(aux.y)));
    fraLinSwpSetup(0).setVisible(sweepMode);
    // LOAD in the bottom right corner of the client area.
    const float left = static_cast<float>(window.x) -
                       static_cast<float>(pbxLoadBtn.Width()) * kTwipsPerPixel - 2 * borderSize_;
    const float top = static_cast<float>(window.y) -
                      static_cast<float>(pbxLoadBtn.Height()) * kTwipsPerPixel - titleBarHeight_;
    pbxLoadBtn.Move(pixels(left), pixels(top));
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
    if (!bRefreshing)
        UpdateLSCTL();
}

void frmFreqAndSweep::optSweepUp_Click()
{
    if (!bRefreshing)
        UpdateLSCTL();
}

void frmFreqAndSweep::chkLSHold_Click()
{
    if (bRefreshing || !goEvalBd)
        return;
    goEvalBd->setLSHOLD(chkLSHold.Value() == 1 ? 1 : 0);
    sendPortE();
}

void frmFreqAndSweep::chkOSKPin_Click()
{
    if (bRefreshing || !goEvalBd)
        return;
    goEvalBd->setOSK(chkOSKPin.Value() == 1 ? 1 : 0);
    sendPortE();
}

void frmFreqAndSweep::UpdateOtherForms()
{
    ui::Forms::callIfLoaded(formnames::frmDebug, formnames::RefreshFormVals);
}

void frmFreqAndSweep::UdStatusIndicators()
{
    if (!gbBoardConnected || !goEvalBd)
        return;
    imgLSFinished.setPicture(ui::form<frmGraphics>().imgGreenLed(goEvalBd->LS_OVR() == 1 ? 1 : 0).Picture());
}
