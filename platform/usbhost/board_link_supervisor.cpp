#include "platform/usbhost/board_link_supervisor.h"

#include <algorithm>
#include <thread>

namespace usbhost {

namespace {

// A claim another copy holds is tried again after a pause that doubles each time, up to the longest one:
// a wait of a second costs a few dozen tries, and the board is taken soon after the other copy lets go.
constexpr std::chrono::milliseconds kFirstClaimRetry{1};
constexpr std::chrono::milliseconds kLongestClaimRetry{32};

class SteadyTime final : public BoardLinkSupervisor::Time {
public:
    BoardLinkSupervisor::Clock::time_point now() const override { return BoardLinkSupervisor::Clock::now(); }
    void sleepFor(BoardLinkSupervisor::Clock::duration pause) override { std::this_thread::sleep_for(pause); }
};

} // namespace

BoardLinkSupervisor::Time& BoardLinkSupervisor::steadyTime()
{
    static SteadyTime time;
    return time;
}

bool BoardLinkSupervisor::admit(int slot, bool versionCommand, bool needsClaim)
{
    if (inStep(slot)) {
        return !needsClaim || claim(slot);
    }
    if (!versionCommand && time_.now() - boards_[slot].lastProbe < timing_.probeInterval) {
        return false;
    }
    return probe(slot);
}

void BoardLinkSupervisor::putOutOfStep(int slot)
{
    Board& board = boards_[slot];
    board.state = State::OutOfStepHeld;
    board.lastProbe = time_.now();
}

bool BoardLinkSupervisor::claim(int slot)
{
    Board& board = boards_[slot];
    if (board.claimed) {
        return true;
    }
    // One board at a time: the one this copy talks to. The others stay free for other running copies, but
    // for a board out of step, which may still send an answer owed to this copy.
    for (int other = 0; other < kSlotCount; ++other) {
        if (other != slot && boards_[other].state != State::OutOfStepHeld) {
            letGo(other);
        }
    }
    // Another copy holds it for one of its actions: wait for the end of that action, once. A board that
    // another copy kept past a whole wait is only tried from then on, until a try gets it.
    const bool fullWait = board.state != State::HeldByAnother;
    const Clock::time_point deadline = time_.now() + (fullWait ? timing_.claimWait : Clock::duration::zero());
    Clock::duration pause = kFirstClaimRetry;
    for (;;) {
        const Outcome outcome = link_.claimInterface(slot);
        if (outcome == Outcome::Done) {
            break;
        }
        if (outcome != Outcome::Refused) {
            return false; // gone (and forgotten), or no claim to be had
        }
        const Clock::time_point now = time_.now();
        if (now >= deadline) {
            if (fullWait) {
                board.proofOwed = board.state != State::InStep;
                board.state = State::HeldByAnother;
            }
            return false;
        }
        time_.sleepFor(std::min(pause, deadline - now));
        pause = std::min<Clock::duration>(pause * 2, kLongestClaimRetry);
    }
    board.claimed = true;
    board.claimDepth = actionEventsDepth_;
    if (board.state == State::HeldByAnother) {
        board.state = board.proofOwed ? State::ResetAndLetGo : State::InStep;
        board.proofOwed = false;
    }
    return true;
}

bool BoardLinkSupervisor::probe(int slot)
{
    Board& board = boards_[slot];
    board.lastProbe = time_.now();
    if (!claim(slot)) {
        return false;
    }
    board.state = State::OutOfStepHeld;
    switch (reset(slot)) {
    case Outcome::Done:
        break;
    case Outcome::Refused:
        // The reset lets go of the claim and takes it again afterwards; a copy waiting for the board took it
        // in between. The board was reset, so it owes this copy nothing, and it is still this copy's board:
        // its next request claims it and proves it.
        board.state = State::ResetAndLetGo;
        return false;
    case Outcome::Gone:
        return false;
    default:
        // A reset that failed let go of the claim and may not have emptied the board: it stays out of step,
        // and its next probe claims it (waiting for a copy that took it meanwhile) before it resets it.
        probeUnanswered(slot);
        return false;
    }
    switch (link_.proveBoard(slot)) {
    case Outcome::Done:
        board.state = State::InStep;
        board.unansweredProbes = 0;
        return true;
    case Outcome::Gone:
        return false;
    default:
        probeUnanswered(slot);
        return false;
    }
}

void BoardLinkSupervisor::probeUnanswered(int slot)
{
    // A board that stays silent is not kept from the other copies for as long as this one runs: after a few
    // probes it is reset (its late version answer goes with it) and let go after each one.
    if (++boards_[slot].unansweredProbes >= kUnansweredProbesHeld && boards_[slot].claimed) {
        resetAndLetGo(slot);
    }
}

BoardLinkSupervisor::Outcome BoardLinkSupervisor::reset(int slot)
{
    const Outcome outcome = link_.resetBoard(slot);
    if (outcome == Outcome::Refused || outcome == Outcome::Failed) {
        boards_[slot].claimed = false; // another copy has it already, or nobody does
    }
    return outcome;
}

bool BoardLinkSupervisor::resetAndLetGo(int slot)
{
    const Outcome outcome = reset(slot);
    if (outcome == Outcome::Gone) {
        return false;
    }
    Board& board = boards_[slot];
    if (outcome == Outcome::Failed) {
        board.state = State::OutOfStepHeld; // let go, but not emptied: proved before it is used again
        return true;
    }
    letGo(slot);
    board.state = State::ResetAndLetGo;
    return true;
}

void BoardLinkSupervisor::letGo(int slot)
{
    Board& board = boards_[slot];
    if (board.claimed) {
        link_.releaseInterface(slot);
        board.claimed = false;
    }
}

void BoardLinkSupervisor::programWaitsForItsUser()
{
    const Clock::time_point now = time_.now();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        Board& board = boards_[slot];
        if (!board.claimed) {
            continue;
        }
        if (board.state != State::OutOfStepHeld) {
            letGo(slot);
            continue;
        }
        // Kept while this copy still tries it (the USB watch tries the selected board every probe
        // interval). One left alone, such as another board whose host identifier went unanswered at
        // start-up, is reset, which empties what it owed this copy, and let go.
        if (now - board.lastProbe >= 2 * timing_.probeInterval && resetAndLetGo(slot)) {
            boards_[slot].lastProbe = now;
        }
    }
}

void BoardLinkSupervisor::actionEventsEnd()
{
    if (actionEventsDepth_ == 0) {
        return;
    }
    --actionEventsDepth_;
    // Taken by what ran in those events (the USB watch's read in the wait of an action that does not use
    // the board): the action around them has not claimed the board, so other copies may have it.
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const Board& board = boards_[slot];
        if (board.claimed && board.state == State::InStep && board.claimDepth > actionEventsDepth_) {
            letGo(slot);
        }
    }
}

void BoardLinkSupervisor::programEnds()
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (boards_[slot].claimed && boards_[slot].state == State::OutOfStepHeld) {
            reset(slot);
        }
    }
}

} // namespace usbhost
