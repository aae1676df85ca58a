#pragma once

// The transmit and loop boxes that the FIFO control and FIFO debug windows share. Each window owns one
// FifoTransmitter over its own two lamp boxes and its refreshing flag; the boxes' Click handlers call
// loopClicked and transmitClicked, and code that must end a transmission calls stop.
//
// A single transmission raises TXEnable and polls the almost-empty line every 0.01 s, with events running,
// until the line falls or 3000 polls have passed. While that poll runs the window must not go away: its
// close is deferred (deferWhilePolling) and every wait is followed by a check that the transmitter still
// exists.

#include "platform/ui/controls.h"

#include <functional>
#include <memory>

class FifoTransmitter {
public:
    static constexpr int kMaxPolls = 3000;
    static constexpr double kPollSeconds = 0.01;

    FifoTransmitter(ui::CheckBox& transmit, ui::CheckBox& loop, bool& refreshing);
    FifoTransmitter(const FifoTransmitter&) = delete;
    FifoTransmitter& operator=(const FifoTransmitter&) = delete;

    // chkRetransmit_Click: RTEnable follows the box; clearing it also lowers TXEnable and clears the
    // transmit box.
    void loopClicked();
    // chkTransmitData_Click: in loop mode toggles TXEnable; otherwise one polled transmission.
    void transmitClicked();
    // Ends any transmission from code: RTEnable and TXEnable lowered on the board (when either is up or a
    // box is checked) and both boxes cleared without running their handlers' board actions. A single
    // transmission's poll ends at its next wake-up.
    void stop();

    bool polling() const { return polling_; }
    // Runs `action` now, or when the running poll ends. Returns false when it was deferred.
    bool deferWhilePolling(std::function<void()> action);

    // Draws each box as a lamp alone (no check mark), lit or dark by its value.
    void showLamps();

private:
    void showLamp(ui::CheckBox& box);

    ui::CheckBox& transmit_;
    ui::CheckBox& loop_;
    bool& refreshing_;
    bool polling_ = false;
    bool stopRequested_ = false;
    std::function<void()> afterPoll_;
    // Expires with the transmitter: a poll that wakes to find it gone touches nothing.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};
