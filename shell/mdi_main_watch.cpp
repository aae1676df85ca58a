// The USB watch (every 300 ms) and the handlers of the board object's events.

#include "shell/mdi_main.h"

#include "board/board_flags.h"
#include "board/cls_ezusb.h"
#include "board/form_names.h"
#include "boardui/board_attach.h"
#include "shell/mdi_main_progress.h"
#include "shell/startup.h"

#include "platform/ui/app.h"
#include "platform/ui/forms.h"

namespace {

// Windows with live lamps, in the order the watch updates them.
const QString* const kLiveStatusWindows[] = {&formnames::frmControl, &formnames::frmProfile,
                                             &formnames::frmFreqAndSweep, &formnames::frmMultiChipSync,
                                             &formnames::frmDebug};

// Windows that show chip values, in the order a board reset refreshes them. The register-map values window
// is not among them.
const QString* const kResetRefreshWindows[] = {
    &formnames::frmControl,     &formnames::frmQDUCRSR,   &formnames::frmMultiChipSync,
    &formnames::frmIOInterface, &formnames::frmProfile,   &formnames::frmFreqAndSweep,
    &formnames::frmDebug,       &formnames::frmFIFODebug, &formnames::frmADC,
    &formnames::frmWatchDogTmr, &formnames::frmGPIO};

const QString& kBusyWindow = formnames::frmWorkingHard;

struct FlagScope {
    bool& flag;
    explicit FlagScope(bool& f) : flag(f) { flag = true; }
    ~FlagScope() { flag = false; }
};

} // namespace

void mdiMain::tmrUSBCheck_Timer()
{
    // A tick that comes while the previous one is still attaching the board waits for the next; so does one
    // that comes while the board object is in the middle of a transfer (its commands would interleave with
    // the transfer's).
    if (inConnectPath_)
        return;
    if (goEvalBd != nullptr && goEvalBd->TransferBusy())
        return;

    gbBoardConnected = goEZUSB().IsConnected();
    const bool connectEdge = gbBoardConnected && !gbPrevConnected;
    const bool disconnectEdge = !gbBoardConnected && gbPrevConnected;
    // The edge is taken before its handler runs, so a tick inside the handler cannot see it again.
    gbPrevConnected = gbBoardConnected;

    if (connectEdge) {
        FlagScope inConnect(inConnectPath_);
        ebOnBoardConnect();
    }

    if (!gbBoardConnected) {
        if (disconnectEdge)
            ebOnBoardDisconnect();
        // Blink: the attention sign and the text take turns.
        if (lblUSBStat.BackColor() != glClrDkRed)
            lblUSBStat.setBackColor(glClrDkRed);
        if (imgUsbAttention.Visible()) {
            imgUsbAttention.setVisible(false);
            lblUSBStat.setForeColor(glClrRed);
        } else {
            imgUsbAttention.setVisible(true);
            lblUSBStat.setForeColor(glClrDkRed);
        }
        return;
    }

    if (lblUSBStat.BackColor() != glClrDkGreen)
        lblUSBStat.setBackColor(glClrDkGreen);
    if (goEvalBd == nullptr || goEvalBd->TransferBusy())
        return;
    goEvalBd->USBReadPortBuffVal(kPortD);
    for (const QString* name : kLiveStatusWindows)
        ui::Forms::callIfLoaded(*name, formnames::UdStatusIndicators);
}

void mdiMain::EvalBd_AfterRESET()
{
    for (const QString* name : kResetRefreshWindows)
        ui::Forms::callIfLoaded(*name, formnames::RefreshFormVals);
}

void mdiMain::transferBegins(int32_t total, const QString& text, bool showMessage)
{
    progressBarBegin(total, text);

    if (EvalBd) {
        savedFlashUSBStatus_ = EvalBd->FlashUSBStatus();
        savedUSBStatus_ = EvalBd->USBStatus();
        EvalBd->setFlashUSBStatus(false);
        EvalBd->setUSBStatus(1);
        EvalBd->USBWritePortBuffVal(kPortA);
    }

    // The busy window, when the program has one; for a FIFO load it keeps its own text.
    if (ui::Form* busy = ui::Forms::load(kBusyWindow)) {
        if (showMessage)
            if (auto* message = dynamic_cast<ui::Label*>(busy->control(QStringLiteral("lblMessage"))))
                message->setCaption(text);
        busy->Show();
        busy->Refresh();
        ui::DoEvents();
    }
}

void mdiMain::transferEnds(bool success, const QString& errorText)
{
    progressBarEnd(success, errorText);
    if (ui::Form* busy = ui::Forms::find(kBusyWindow))
        busy->Unload();
    if (EvalBd) {
        EvalBd->setFlashUSBStatus(savedFlashUSBStatus_);
        EvalBd->setUSBStatus(savedUSBStatus_);
        EvalBd->USBWritePortBuffVal(kPortA);
    }
}

void mdiMain::EvalBd_FIFOLoadBegin(int32_t count, int16_t perPacket)
{
    (void)perPacket;
    transferBegins(count, QStringLiteral("Loading FIFO"), false);
}

void mdiMain::EvalBd_FIFOPacketSent(int32_t count)
{
    progressBarValue(count);
}

void mdiMain::EvalBd_FIFOLoadFinished(bool success)
{
    transferEnds(success, QStringLiteral("FIFO Load Error!"));
}

void mdiMain::EvalBd_RAMCOMBegin(int32_t words, int16_t wordsPerPacket, bool isRead)
{
    (void)wordsPerPacket;
    transferBegins(words, isRead ? QStringLiteral("Reading RAM") : QStringLiteral("Writing RAM"), true);
}

void mdiMain::EvalBd_RAMPacketXfered(int32_t wordsDone)
{
    progressBarValue(wordsDone);
}

void mdiMain::EvalBd_RAMCOMFinished(bool success)
{
    transferEnds(success, QStringLiteral("RAM Load Error!"));
}
