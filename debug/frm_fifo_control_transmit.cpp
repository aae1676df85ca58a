#include "debug/frm_fifo_control_transmit.h"

#include "board/evalbd.h"
#include "board/utility.h"
#include "shell/frm_graphics.h"
#include "shell/register_window.h"

#include "platform/ui/app.h"
#include "platform/ui/forms.h"

#include <QAbstractButton>
#include <QIcon>

FifoTransmitter::FifoTransmitter(ui::CheckBox& transmit, ui::CheckBox& loop, bool& refreshing)
    : transmit_(transmit), loop_(loop), refreshing_(refreshing)
{
}

void FifoTransmitter::showLamp(ui::CheckBox& box)
{
    auto* button = qobject_cast<QAbstractButton*>(box.widget());
    if (!button)
        return;
    if (button->styleSheet().isEmpty())
        button->setStyleSheet(
            QStringLiteral("QCheckBox::indicator { width: 0px; height: 0px; border: none; image: none; }"));
    button->setIcon(QIcon(ui::form<frmGraphics>().imgGreenLed(box.Value() == 1 ? 1 : 0).Picture()));
}

void FifoTransmitter::showLamps()
{
    showLamp(transmit_);
    showLamp(loop_);
}

void FifoTransmitter::loopClicked()
{
    showLamps();
    if (refreshing_ || !goEvalBd)
        return;
    goEvalBd->setRTEnable(loop_.Value() == 1 ? 1 : 0);
    goEvalBd->USBWritePortBuffVal(kPortC);
    if (loop_.Value() != 1) {
        goEvalBd->setTXEnable(0);
        goEvalBd->USBWritePortBuffVal(kPortC);
        regwin::ScopedFlag quiet(refreshing_);
        transmit_.setValue(0);
    }
}

void FifoTransmitter::transmitClicked()
{
    showLamps();
    if (refreshing_ || !goEvalBd)
        return;
    // Start from the board's real lines: the other FIFO window may have changed them. A read that fails
    // leaves the buffer as it is rather than every line low.
    if (const std::optional<uint8_t> lines = goEvalBd->FetchPortValue(kPortC))
        goEvalBd->USBSetPortBuffVal(kPortC, *lines);
    if (goEvalBd->RTEnable() == 1) {
        goEvalBd->setTXEnable(goEvalBd->TXEnable() == 1 ? 0 : 1);
        goEvalBd->USBWritePortBuffVal(kPortC);
        return;
    }
    if (goEvalBd->TXEnable() != 0)
        return;

    goEvalBd->setTXEnable(1);
    goEvalBd->USBWritePortBuffVal(kPortC);
    transmit_.setEnabled(false);
    polling_ = true;
    stopRequested_ = false;
    const std::weak_ptr<int> alive = alive_;
    int polls = 0;
    bool drained = false;
    while (!drained && polls < kMaxPolls) {
        Pause(kPollSeconds);
        if (alive.expired())
            return;
        if (stopRequested_)
            break;
        ++polls;
        drained = !goEvalBd || goEvalBd->FIFO_PAE() == 0;
    }
    ui::DoEvents();
    if (alive.expired())
        return;
    polling_ = false;
    transmit_.setEnabled(true);
    if (goEvalBd) {
        goEvalBd->setTXEnable(0);
        goEvalBd->USBWritePortBuffVal(kPortC);
    }
    {
        regwin::ScopedFlag quiet(refreshing_);
        transmit_.setValue(0);
    }
    if (afterPoll_) {
        auto action = std::move(afterPoll_);
        afterPoll_ = nullptr;
        action();
    }
}

void FifoTransmitter::stop()
{
    stopRequested_ = polling_;
    if (goEvalBd) {
        const bool running = goEvalBd->RTEnable() == 1 || goEvalBd->TXEnable() == 1 || loop_.Value() == 1 ||
                             transmit_.Value() == 1;
        if (running) {
            goEvalBd->setRTEnable(0);
            goEvalBd->setTXEnable(0);
            goEvalBd->USBWritePortBuffVal(kPortC);
        }
    }
    regwin::ScopedFlag quiet(refreshing_);
    loop_.setValue(0);
    transmit_.setValue(0);
}

bool FifoTransmitter::deferWhilePolling(std::function<void()> action)
{
    if (!polling_) {
        action();
        return true;
    }
    afterPoll_ = std::move(action);
    return false;
}
