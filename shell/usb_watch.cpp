#include "shell/usb_watch.h"

#include "board/board_flags.h"
#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "boardui/board_attach.h"
#include "boardui/form_names.h"
#include "shell/board_status_indicators.h"
#include "shell/register_window.h"

#include "platform/ui/forms.h"

namespace {

// Windows with live lamps, in the order the watch updates them.
const QString* const kLiveStatusWindows[] = {&formnames::frmControl, &formnames::frmProfile,
                                             &formnames::frmFreqAndSweep, &formnames::frmMultiChipSync,
                                             &formnames::frmDebug};

} // namespace

void UsbWatch::tick()
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
        notAnswering_ = false; // the attach has just drawn the lamp afresh
        regwin::ScopedFlag inConnect(inConnectPath_);
        ebOnBoardConnect();
    }

    if (!gbBoardConnected) {
        notAnswering_ = false;
        if (disconnectEdge)
            ebOnBoardDisconnect();
        indicators_.blinkDisconnected();
        return;
    }

    if (!notAnswering_)
        indicators_.keepConnected();
    if (goEvalBd == nullptr || goEvalBd->TransferBusy())
        return;
    // The status read is also what tries a board that stopped answering again.
    goEvalBd->USBReadPortBuffVal(kPortD);
    showAnswering(goEZUSB().IsAnswering());
    for (const QString* name : kLiveStatusWindows)
        ui::Forms::callIfLoaded(*name, formnames::UdStatusIndicators);
}

void UsbWatch::showAnswering(bool answering)
{
    if (answering == !notAnswering_)
        return;
    notAnswering_ = !answering;
    if (notAnswering_)
        indicators_.showNotAnswering(goEZUSB().DriverName());
    else
        indicators_.showConnection(true, goEZUSB().DriverName());
}

void UsbWatch::showChosenBoard()
{
    const QString name = goEZUSB().DriverName();
    if (name.isEmpty())
        return;
    if (!gbBoardConnected) {
        indicators_.showBoardName(name);
        return;
    }
    notAnswering_ = !goEZUSB().IsAnswering();
    if (notAnswering_)
        indicators_.showNotAnswering(name);
    else
        indicators_.showConnection(true, name);
}
