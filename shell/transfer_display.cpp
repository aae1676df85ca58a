#include "shell/transfer_display.h"

#include "board/evalbd.h"
#include "boardui/form_names.h"
#include "shell/mdi_main_progress.h"

#include "platform/ui/app.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"

namespace {

const QString& kBusyWindow = formnames::frmWorkingHard;

} // namespace

void TransferDisplay::begins(cZR4470XEvalBd* board, int32_t total, const QString& text, bool showMessage)
{
    progressBarBegin(total, text);

    if (board) {
        savedFlashUSBStatus_ = board->FlashUSBStatus();
        savedUSBStatus_ = board->USBStatus();
        board->setFlashUSBStatus(false);
        board->setUSBStatus(1);
        board->USBWritePortBuffVal(kPortA);
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

void TransferDisplay::progress(int32_t done)
{
    progressBarValue(done);
}

void TransferDisplay::ends(cZR4470XEvalBd* board, bool success, const QString& errorText)
{
    progressBarEnd(success, errorText);
    if (ui::Form* busy = ui::Forms::find(kBusyWindow))
        busy->Unload();
    if (board) {
        board->setFlashUSBStatus(savedFlashUSBStatus_);
        board->setUSBStatus(savedUSBStatus_);
        board->USBWritePortBuffVal(kPortA);
    }
}
