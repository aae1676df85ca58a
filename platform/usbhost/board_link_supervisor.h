#pragma once

// When this copy of the program holds the interface of each board it serves, and how a board whose replies
// no longer pair with its requests is brought back. The driver does the device work (LibusbDriver: claims,
// resets, transfers, handles); this class decides when. A board is in one of four states, and is claimed by
// this copy or not:
//
//   InStep         Requests go to the board. Its interface is claimed at the first request that needs it
//                  (bulk transfers; requests on the control pipe do not) and given back when the program
//                  waits for its user. A claim taken inside the events that an action lets run (a DoEvents
//                  of a wait that does not use the board, where the USB watch reads it) goes back when those
//                  events have run; one the action took before stays. Claiming a board lets go of this
//                  copy's other boards, but for one held out of step, which keeps its claim.
//                  -> OutOfStepHeld: a bulk request failed otherwise than by an unplug (a timeout, an I/O
//                     error, a halted pipe), or a reply does not pair with its request; with nothing claimed
//                     when a control request timed out (it does not claim the board).
//                  -> HeldByAnother: a full claim wait was refused.
//   OutOfStepHeld  An answer owed to this copy may still come: the claim is kept, so that it reaches no other
//                  copy. Requests fail at once; one each probe interval (a firmware-version request at once)
//                  probes the board: claims it when it is not claimed, resets it, which empties its
//                  endpoints, then asks its firmware version, and nothing may follow it. A reset gives the
//                  claim up and takes it back only when it succeeds: after a reset that failed the board is
//                  out of step with nothing claimed, and its next probe claims it before it resets it, so
//                  that this copy never resets a board another copy holds.
//                  -> InStep: a probe proved it back.
//                  -> ResetAndLetGo: left alone for two probe intervals when the program waits for its user;
//                     unanswered through a few probes in a row; or its claim went to another copy waiting
//                     for it while the probe's reset had let go of it (that is no unplug).
//                  -> HeldByAnother: with nothing claimed, the probe's full claim wait was refused.
//   ResetAndLetGo  Reset (it owes this copy nothing) and not claimed. Requests fail at once; one each probe
//                  interval claims it again and probes it.
//                  -> OutOfStepHeld while that probe runs, -> InStep when it proves it back; a board
//                     unanswered through a few probes is reset and let go again after each one.
//                  -> HeldByAnother: the probe's full claim wait was refused.
//   HeldByAnother  Another copy holds it: a full claim wait was refused. No request waits for its claim any
//                  more: each tries it once, so that a user action waits at most about one claim wait and the
//                  USB watch's status read none.
//                  -> InStep: a try got the claim.
//                  -> ResetAndLetGo, when it was out of step or let go before: a try got the claim, and the
//                     board is proved (reset, then its firmware version) before it is used again; until
//                     then its requests fail at once, and one each probe interval tries the claim.
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
        Failed,     // a reset: it did not complete, and the claim it gave up is lost
    };

    // The device work, done by the driver on a board's slot.
    class Link {
    public:
        virtual ~Link() = default;
        virtual Outcome claimInterface(int slot) = 0; // one try
        virtual void releaseInterface(int slot) = 0;
        // Empties the endpoints. The claim is given up for the reset and taken back when the reset is done;
        // it may go to another copy meanwhile (Refused), and a reset that failed does not take it back.
        virtual Outcome resetBoard(int slot) = 0;
        // After a reset: the firmware-version request, answered as known, and nothing after it.
        virtual Outcome proveBoard(int slot) = 0;
    };

    enum class State { InStep, OutOfStepHeld, ResetAndLetGo, HeldByAnother };

    using Clock = std::chrono::steady_clock;

    // Where the supervisor's time comes from: the steady clock and real pauses, or a test's own.
    class Time {
    public:
        virtual ~Time() = default;
        virtual Clock::time_point now() const = 0;
        virtual void sleepFor(Clock::duration pause) = 0;
    };
    // The steady clock; pauses hold the calling thread.
    static Time& steadyTime();

    struct Timing {
        std::chrono::milliseconds claimWait{1000};
        std::chrono::milliseconds probeInterval{2000};
    };

    // Probes in a row that went unanswered before a board is let go after each.
    static constexpr int kUnansweredProbesHeld = 3;

    BoardLinkSupervisor(Link& link, const Timing& timing, Time& time = steadyTime())
        : link_(link), timing_(timing), time_(time)
    {
    }

    // Whether a request may go to the board now, claimed when it needs the claim (bulk transfers; requests
    // on the control pipe do not). An out-of-step board is probed when its time has come, or at once for a
    // firmware-version request.
    bool admit(int slot, bool versionCommand, bool needsClaim);
    // A request failed otherwise than by an unplug, or its reply did not pair: what the board sends next may
    // be an older answer.
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
    // Resets a board this copy holds; a claim the reset did not take back is no longer counted.
    Outcome reset(int slot);
    // Resets a board this copy holds and lets go of it; false when it left meanwhile.
    bool resetAndLetGo(int slot);
    void letGo(int slot);

    Link& link_;
    const Timing& timing_;
    Time& time_;
    std::array<Board, kSlotCount> boards_{};
    int actionEventsDepth_ = 0;
};

} // namespace usbhost
