#pragma once

// When this copy of the program holds the interface of each board it serves, and how a board whose replies
// no longer pair with its requests is brought back. The driver does the device work (LibusbDriver: claims,
// resets, transfers, handles); this class decides when. A board is in one of four states:
//
//   InStep         Requests go to the board. Its interface is claimed at the first request that needs it and
//                  given back when the program waits for its user. A claim taken inside the events that an
//                  action lets run (a DoEvents of a wait that does not use the board, where the USB watch
//                  reads it) goes back when those events have run; one the action took before stays.
//                  -> OutOfStepHeld: a request timed out, or a reply does not pair with its request.
//                  -> HeldByAnother: a full claim wait was refused.
//   OutOfStepHeld  An answer owed to this copy may still come: the claim is kept, so that it reaches no other
//                  copy. Requests fail at once; one each probe interval (a firmware-version request at once)
//                  probes the board: reset, which empties its endpoints, then its firmware version, and
//                  nothing may follow it.
//                  -> InStep: a probe proved it back.
//                  -> ResetAndLetGo: left alone for two probe intervals when the program waits for its user;
//                     unanswered through a few probes in a row; or its claim went to another copy waiting
//                     for it while the probe's reset had let go of it (that is no unplug).
//   ResetAndLetGo  Reset (it owes this copy nothing) and not claimed. Requests fail at once; one each probe
//                  interval claims it again and probes it.
//                  -> OutOfStepHeld while that probe runs, -> InStep when it proves it back; a board
//                     unanswered through a few probes is reset and let go again after each one.
//                  -> HeldByAnother: the probe's full claim wait was refused.
//   HeldByAnother  Another copy holds it: a full claim wait was refused. No request waits for its claim any
//                  more: each tries it once, so that a user action waits at most about one claim wait and the
//                  USB watch's status read none.
//                  -> InStep, or on to its probe when it was out of step: a try got the claim.
//
// A board that leaves is forgotten (its next one starts in step). At the end of the program, the boards this
// copy still holds out of step are reset before the end lets go of them; one already let go may be another
// copy's by then, in the middle of its request, and is left alone.

#include "platform/usbhost/slot_table.h"

#include <array>
#include <chrono>

namespace usbhost {

class BoardLinkSupervisor {
public:
    // What the device work of one request came to.
    enum class Outcome {
        Done,
        Refused,    // a claim: another copy holds the interface; a reset: its claim went to another copy
        Unanswered, // a proof: no answer, another than the known one, or something followed it
        Gone,       // unplugged: the driver has let go of the board and told forget()
        Failed,
    };

    // The device work, done by the driver on a board's slot.
    class Link {
    public:
        virtual ~Link() = default;
        virtual Outcome claimInterface(int slot) = 0; // one try
        virtual void releaseInterface(int slot) = 0;
        virtual Outcome resetBoard(int slot) = 0; // empties the endpoints; the claim may go meanwhile
        // After a reset: the firmware-version request, answered as known, and nothing after it.
        virtual Outcome proveBoard(int slot) = 0;
    };

    enum class State { InStep, OutOfStepHeld, ResetAndLetGo, HeldByAnother };

    using Clock = std::chrono::steady_clock;

    struct Timing {
        std::chrono::milliseconds claimWait{1000};
        std::chrono::milliseconds probeInterval{2000};
    };

    // Probes in a row that went unanswered before a board is let go after each.
    static constexpr int kUnansweredProbesHeld = 3;

    BoardLinkSupervisor(Link& link, const Timing& timing) : link_(link), timing_(timing) {}

    // Whether a request may go to the board now, claimed when it needs the claim (bulk transfers; requests
    // on the control pipe do not). An out-of-step board is probed when its time has come, or at once for a
    // firmware-version request.
    bool admit(int slot, bool versionCommand, bool needsClaim);
    // A request timed out or its reply did not pair: what the board sends next may be an older answer.
    void putOutOfStep(int slot);
    // The board left.
    void forget(int slot) { boards_[slot] = Board{}; }

    // The program waits for its user: every claim goes back, but for a board out of step that this copy
    // still tries (one left alone is reset first).
    void programWaitsForItsUser();
    // An action starts letting queued events run, and they have run: the claims taken meanwhile go back.
    void actionEventsBegin() { ++actionEventsDepth_; }
    void actionEventsEnd();
    // The process ends: the boards held out of step are reset.
    void programEnds();

    State state(int slot) const { return boards_[slot].state; }
    bool claimed(int slot) const { return boards_[slot].claimed; }
    bool inStep(int slot) const
    {
        return boards_[slot].state == State::InStep ||
               (boards_[slot].state == State::HeldByAnother && !boards_[slot].proofOwed);
    }

private:
    struct Board {
        State state = State::InStep;
        bool proofOwed = false; // HeldByAnother: it was out of step
        bool claimed = false;
        int claimDepth = 0; // the depth of action events its claim was taken at
        Clock::time_point lastProbe{};
        int unansweredProbes = 0;
    };

    bool claim(int slot);
    bool probe(int slot);
    void probeUnanswered(int slot);
    // Resets a board this copy holds and lets go of it; false when it left meanwhile.
    bool resetAndLetGo(int slot);
    void letGo(int slot);

    Link& link_;
    const Timing& timing_;
    std::array<Board, kSlotCount> boards_{};
    int actionEventsDepth_ = 0;
};

} // namespace usbhost
