// The board link supervisor's transitions, one row each, against a fake link that answers as the kernel
// would (which open file holds a board's interface; a reset gives the claim up and takes it back only when
// it succeeds) and a clock of its own: no libusb, no device, no real waiting.

#include "platform/usbhost/board_link_supervisor.h"

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace usbhost {

// gtest names a state by its name.
void PrintTo(BoardLinkSupervisor::State state, std::ostream* out)
{
    constexpr const char* kNames[] = {"InStep", "OutOfStepHeld", "ResetAndLetGo", "HeldByAnother"};
    *out << kNames[static_cast<int>(state)];
}

} // namespace usbhost

namespace {

using usbhost::BoardLinkSupervisor;
using Outcome = BoardLinkSupervisor::Outcome;
using State = BoardLinkSupervisor::State;
using Clock = BoardLinkSupervisor::Clock;
using namespace std::chrono_literals;

constexpr auto kClaimWait = 1000ms;
constexpr auto kProbeInterval = 2000ms;

class FakeTime final : public BoardLinkSupervisor::Time {
public:
    Clock::time_point now() const override { return now_; }
    void sleepFor(Clock::duration pause) override
    {
        now_ += pause;
        slept += pause;
    }
    void pass(Clock::duration time) { now_ += time; }

    Clock::duration slept{};

private:
    Clock::time_point now_ = Clock::time_point{} + 24h; // a steady clock is far from its epoch
};

enum class Holder { Nobody, ThisCopy, AnotherCopy };

// One interface per slot, held by one open file at most, as the kernel keeps it.
class FakeLink final : public BoardLinkSupervisor::Link {
public:
    struct Board {
        Holder holder = Holder::Nobody;
        std::deque<Outcome> resets; // what the next resets come to (done, when none is given)
        std::deque<Outcome> proofs; // what the next proofs come to (done, when none is given)
        bool waitingCopyTakesItAtReset = false;
    };

    Outcome claimInterface(int slot) override
    {
        Board& board = boards[slot];
        if (board.holder == Holder::AnotherCopy) {
            note(slot, "refused");
            return Outcome::Refused;
        }
        note(slot, "claim");
        board.holder = Holder::ThisCopy;
        return Outcome::Done;
    }

    void releaseInterface(int slot) override
    {
        note(slot, "release");
        if (boards[slot].holder != Holder::ThisCopy) {
            faults.push_back("a release without a claim");
        }
        if (boards[slot].holder == Holder::ThisCopy) {
            boards[slot].holder = Holder::Nobody;
        }
    }

    Outcome resetBoard(int slot) override
    {
        Board& board = boards[slot];
        if (board.holder == Holder::AnotherCopy) {
            faults.push_back("a reset under another copy's claim");
        }
        // The reset gives this copy's claim up; a copy waiting for the board may take it meanwhile.
        const bool held = board.holder == Holder::ThisCopy;
        if (held) {
            board.holder = Holder::Nobody;
        }
        if (board.waitingCopyTakesItAtReset) {
            board.waitingCopyTakesItAtReset = false;
            board.holder = Holder::AnotherCopy;
        }
        const Outcome outcome = next(board.resets);
        note(slot, outcome == Outcome::Failed ? "reset failed" : "reset");
        if (outcome != Outcome::Done || !held) {
            return outcome; // a failed reset does not take the claim back
        }
        if (board.holder == Holder::AnotherCopy) {
            return Outcome::Refused;
        }
        board.holder = Holder::ThisCopy;
        return Outcome::Done;
    }

    Outcome proveBoard(int slot) override
    {
        const Outcome outcome = next(boards[slot].proofs);
        note(slot, outcome == Outcome::Done ? "prove" : "prove unanswered");
        return outcome;
    }

    // The calls since the last look, in order: "claim", "release@1" (for a board other than the first);
    // claims refused in a row are one "refused", or "refused*" for more than one.
    std::string calls() const
    {
        std::string text;
        for (size_t i = 0; i < log_.size(); ++i) {
            if (i > 0 && log_[i] == log_[i - 1] && log_[i].rfind("refused", 0) == 0) {
                if (text.back() != '*') {
                    text += '*';
                }
                continue;
            }
            text += (text.empty() ? "" : " ") + log_[i];
        }
        return text;
    }
    void forgetCalls() { log_.clear(); }

    std::array<Board, usbhost::kSlotCount> boards{};
    std::vector<std::string> faults;

private:
    static Outcome next(std::deque<Outcome>& outcomes)
    {
        if (outcomes.empty()) {
            return Outcome::Done;
        }
        const Outcome outcome = outcomes.front();
        outcomes.pop_front();
        return outcome;
    }
    void note(int slot, const std::string& call)
    {
        log_.push_back(slot == 0 ? call : call + "@" + std::to_string(slot));
    }

    std::vector<std::string> log_;
};

// A supervisor on the fake link, with the program's requests and the ways into each state.
struct Bench {
    FakeTime time;
    FakeLink link;
    BoardLinkSupervisor::Timing timing{kClaimWait, kProbeInterval};
    BoardLinkSupervisor supervisor{link, timing, time};

    bool request(int slot = 0) { return supervisor.admit(slot, false, true); } // a bulk transfer
    bool controlRequest(int slot = 0) { return supervisor.admit(slot, false, false); }
    bool versionRequest(int slot = 0) { return supervisor.admit(slot, true, true); }
    void anotherCopyTakes(int slot = 0) { link.boards[slot].holder = Holder::AnotherCopy; }
    void anotherCopyLetsGo(int slot = 0) { link.boards[slot].holder = Holder::Nobody; }

    // A bulk request timed out: out of step, held.
    void outOfStepHeld(int slot = 0)
    {
        request(slot);
        supervisor.putOutOfStep(slot);
    }
    // A control request timed out: out of step, nothing claimed.
    void outOfStepUnclaimed(int slot = 0)
    {
        controlRequest(slot);
        supervisor.putOutOfStep(slot);
    }
    // The probe's reset failed.
    void claimLostInAFailedReset(int slot = 0)
    {
        outOfStepHeld(slot);
        link.boards[slot].resets.push_back(Outcome::Failed);
        versionRequest(slot);
    }
    // Left alone while out of step: reset and let go.
    void resetAndLetGo(int slot = 0)
    {
        outOfStepHeld(slot);
        time.pass(2 * kProbeInterval);
        supervisor.programWaitsForItsUser();
    }
    // Unanswered through the probes that keep it held, and then let go.
    void letGoUnanswered(int slot = 0)
    {
        outOfStepHeld(slot);
        for (int probe = 0; probe < BoardLinkSupervisor::kUnansweredProbesHeld; ++probe) {
            link.boards[slot].proofs.push_back(Outcome::Unanswered);
            versionRequest(slot);
        }
    }
    // Another copy kept it through a whole claim wait.
    void heldByAnother(int slot = 0)
    {
        anotherCopyTakes(slot);
        request(slot);
    }
    // ... when it was out of step.
    void heldByAnotherOwingProof(int slot = 0)
    {
        outOfStepUnclaimed(slot);
        anotherCopyTakes(slot);
        versionRequest(slot);
    }
};

struct Expected {
    State state;
    bool claimed;
};

struct Row {
    const char* name;       // the test's name
    const char* transition; // as the supervisor's header states it
    std::function<void(Bench&)> arrange;
    std::function<bool(Bench&)> act; // what a request's admission said, or true
    bool admitted;
    Expected board0;
    std::string calls;                   // the link calls the act made
    Clock::duration waited;              // claim waits, on the supervisor's clock
    std::optional<Expected> board1 = {}; // the second board, where the row has one
};

// gtest names a failing row by its transition.
void PrintTo(const Row& row, std::ostream* out)
{
    *out << row.transition;
}

bool does(const std::function<void()>& step)
{
    step();
    return true;
}

const Row kRows[] = {
    // In step.
    {"FirstBulkRequestClaims",
     "in step: a request that needs the claim claims it",
     [](Bench&) {},
     [](Bench& b) { return b.request(); },
     true,
     {State::InStep, true},
     "claim",
     0ms},
    {"ControlRequestGoesUnclaimed",
     "in step: a request on the control pipe goes without the claim",
     [](Bench&) {},
     [](Bench& b) { return b.controlRequest(); },
     true,
     {State::InStep, false},
     "",
     0ms},
    {"ClaimGoesBackWhenTheProgramWaits",
     "in step: the claim goes back when the program waits for its user",
     [](Bench& b) { b.request(); },
     [](Bench& b) { return does([&] { b.supervisor.programWaitsForItsUser(); }); },
     true,
     {State::InStep, false},
     "release",
     0ms},
    {"ClaimTakenInAnActionsEventsGoesBack",
     "in step: a claim taken inside the events an action lets run goes back when they have run",
     [](Bench& b) {
         b.supervisor.actionEventsBegin();
         b.request();
     },
     [](Bench& b) { return does([&] { b.supervisor.actionEventsEnd(); }); },
     true,
     {State::InStep, false},
     "release",
     0ms},
    {"ClaimTheActionTookBeforeItsEventsStays",
     "in step: a claim the action took before its events stays",
     [](Bench& b) {
         b.request();
         b.supervisor.actionEventsBegin();
         b.request();
     },
     [](Bench& b) { return does([&] { b.supervisor.actionEventsEnd(); }); },
     true,
     {State::InStep, true},
     "",
     0ms},
    {"ClaimingLetsGoOfTheOtherBoards",
     "in step: claiming a board lets go of this copy's other boards",
     [](Bench& b) { b.request(1); },
     [](Bench& b) { return b.request(0); },
     true,
     {State::InStep, true},
     "release@1 claim",
     0ms,
     Expected{State::InStep, false}},
    {"ClaimingKeepsAnOtherBoardHeldOutOfStep",
     "in step: claiming a board keeps the claim of another board held out of step",
     [](Bench& b) { b.outOfStepHeld(1); },
     [](Bench& b) { return b.request(0); },
     true,
     {State::InStep, true},
     "claim",
     0ms,
     Expected{State::OutOfStepHeld, true}},
    {"FailedBulkRequestPutsItOutOfStepHeld",
     "in step -> out of step, held: a bulk request failed, or its reply did not pair",
     [](Bench& b) { b.request(); },
     [](Bench& b) { return does([&] { b.supervisor.putOutOfStep(0); }); },
     true,
     {State::OutOfStepHeld, true},
     "",
     0ms},
    {"TimedOutControlRequestPutsItOutOfStepUnclaimed",
     "in step -> out of step with nothing claimed: a control request timed out",
     [](Bench& b) { b.controlRequest(); },
     [](Bench& b) { return does([&] { b.supervisor.putOutOfStep(0); }); },
     true,
     {State::OutOfStepHeld, false},
     "",
     0ms},
    {"RefusedClaimWaitMeansHeldByAnother",
     "in step -> held by another: a full claim wait was refused",
     [](Bench& b) { b.anotherCopyTakes(); },
     [](Bench& b) { return b.request(); },
     false,
     {State::HeldByAnother, false},
     "refused*",
     kClaimWait},

    // Out of step, held.
    {"OutOfStepRequestsFailAtOnce",
     "out of step: requests fail at once within the probe interval",
     [](Bench& b) {
         b.outOfStepHeld();
         b.time.pass(kProbeInterval - 1ms);
     },
     [](Bench& b) { return b.request(); },
     false,
     {State::OutOfStepHeld, true},
     "",
     0ms},
    {"OutOfStepVersionRequestProbesAtOnce",
     "out of step -> in step: a firmware-version request probes at once: reset, then the version",
     [](Bench& b) { b.outOfStepHeld(); },
     [](Bench& b) { return b.versionRequest(); },
     true,
     {State::InStep, true},
     "reset prove",
     0ms},
    {"OutOfStepProbedAfterTheInterval",
     "out of step -> in step: a request after the probe interval probes it",
     [](Bench& b) {
         b.outOfStepHeld();
         b.time.pass(kProbeInterval);
     },
     [](Bench& b) { return b.request(); },
     true,
     {State::InStep, true},
     "reset prove",
     0ms},
    {"OutOfStepUnansweredProbeKeepsIt",
     "out of step: an unanswered probe keeps it held",
     [](Bench& b) {
         b.outOfStepHeld();
         b.link.boards[0].proofs.push_back(Outcome::Unanswered);
     },
     [](Bench& b) { return b.versionRequest(); },
     false,
     {State::OutOfStepHeld, true},
     "reset prove unanswered",
     0ms},
    {"OutOfStepKeptThroughTheProgramsWait",
     "out of step: kept when the program waits while this copy tries it",
     [](Bench& b) {
         b.outOfStepHeld();
         b.time.pass(2 * kProbeInterval - 1ms);
     },
     [](Bench& b) { return does([&] { b.supervisor.programWaitsForItsUser(); }); },
     true,
     {State::OutOfStepHeld, true},
     "",
     0ms},
    {"OutOfStepLeftAloneIsResetAndLetGo",
     "out of step -> reset and let go: left alone for two probe intervals when the program waits",
     [](Bench& b) {
         b.outOfStepHeld();
         b.time.pass(2 * kProbeInterval);
     },
     [](Bench& b) { return does([&] { b.supervisor.programWaitsForItsUser(); }); },
     true,
     {State::ResetAndLetGo, false},
     "reset release",
     0ms},
    {"OutOfStepUnansweredProbesLetItGo",
     "out of step -> reset and let go: unanswered through a few probes in a row",
     [](Bench& b) {
         b.outOfStepHeld();
         for (int probe = 1; probe < BoardLinkSupervisor::kUnansweredProbesHeld; ++probe) {
             b.link.boards[0].proofs.push_back(Outcome::Unanswered);
             b.versionRequest();
         }
         b.link.boards[0].proofs.push_back(Outcome::Unanswered);
     },
     [](Bench& b) { return b.versionRequest(); },
     false,
     {State::ResetAndLetGo, false},
     "reset prove unanswered reset release",
     0ms},
    {"OutOfStepClaimTakenDuringTheReset",
     "out of step -> reset and let go: its claim went to a copy waiting for it during the probe's reset",
     [](Bench& b) {
         b.outOfStepHeld();
         b.link.boards[0].waitingCopyTakesItAtReset = true;
     },
     [](Bench& b) { return b.versionRequest(); },
     false,
     {State::ResetAndLetGo, false},
     "reset",
     0ms},
    {"FailedResetLosesTheClaim",
     "out of step, held -> with nothing claimed: the probe's reset failed",
     [](Bench& b) {
         b.outOfStepHeld();
         b.link.boards[0].resets.push_back(Outcome::Failed);
     },
     [](Bench& b) { return b.versionRequest(); },
     false,
     {State::OutOfStepHeld, false},
     "reset failed",
     0ms},
    {"AfterAFailedResetTheProbeClaimsFirst",
     "out of step with the claim lost -> in step: the next probe claims it, then resets and proves it",
     [](Bench& b) { b.claimLostInAFailedReset(); },
     [](Bench& b) { return b.versionRequest(); },
     true,
     {State::InStep, true},
     "claim reset prove",
     0ms},
    {"AfterAFailedResetACopyThatTookItIsNotReset",
     "out of step with the claim lost -> held by another: a copy took it at the failed reset, and keeps it",
     [](Bench& b) {
         b.outOfStepHeld();
         b.link.boards[0].resets.push_back(Outcome::Failed);
         b.link.boards[0].waitingCopyTakesItAtReset = true;
         b.versionRequest();
     },
     [](Bench& b) { return b.versionRequest(); },
     false,
     {State::HeldByAnother, false},
     "refused*",
     kClaimWait},
    {"FailedResetOfABoardLeftAlone",
     "out of step -> with nothing claimed: the reset of a board left alone failed",
     [](Bench& b) {
         b.outOfStepHeld();
         b.time.pass(2 * kProbeInterval);
         b.link.boards[0].resets.push_back(Outcome::Failed);
     },
     [](Bench& b) { return does([&] { b.supervisor.programWaitsForItsUser(); }); },
     true,
     {State::OutOfStepHeld, false},
     "reset failed",
     0ms},
    {"UnclaimedOutOfStepProbeClaimsResetsProves",
     "out of step with nothing claimed -> in step: a probe claims it, resets it and proves it",
     [](Bench& b) { b.outOfStepUnclaimed(); },
     [](Bench& b) { return b.versionRequest(); },
     true,
     {State::InStep, true},
     "claim reset prove",
     0ms},
    {"UnclaimedOutOfStepHeldByAnother",
     "out of step with nothing claimed -> held by another: the probe's full claim wait was refused",
     [](Bench& b) {
         b.outOfStepUnclaimed();
         b.anotherCopyTakes();
     },
     [](Bench& b) { return b.versionRequest(); },
     false,
     {State::HeldByAnother, false},
     "refused*",
     kClaimWait},

    // Reset and let go.
    {"LetGoRequestsFailAtOnce",
     "reset and let go: requests fail at once within the probe interval",
     [](Bench& b) { b.resetAndLetGo(); },
     [](Bench& b) { return b.request(); },
     false,
     {State::ResetAndLetGo, false},
     "",
     0ms},
    {"LetGoProbeClaimsResetsProves",
     "reset and let go -> (out of step while the probe runs) -> in step: a probe claims it and proves it",
     [](Bench& b) {
         b.resetAndLetGo();
         b.time.pass(kProbeInterval);
     },
     [](Bench& b) { return b.request(); },
     true,
     {State::InStep, true},
     "claim reset prove",
     0ms},
    {"LetGoUnansweredProbeIsLetGoAgain",
     "reset and let go: a probe still unanswered after a few is reset and let go again",
     [](Bench& b) {
         b.letGoUnanswered();
         b.link.boards[0].proofs.push_back(Outcome::Unanswered);
     },
     [](Bench& b) { return b.versionRequest(); },
     false,
     {State::ResetAndLetGo, false},
     "claim reset prove unanswered reset release",
     0ms},
    {"LetGoHeldByAnother",
     "reset and let go -> held by another: the probe's full claim wait was refused",
     [](Bench& b) {
         b.resetAndLetGo();
         b.anotherCopyTakes();
     },
     [](Bench& b) { return b.versionRequest(); },
     false,
     {State::HeldByAnother, false},
     "refused*",
     kClaimWait},

    // Held by another copy.
    {"HeldByAnotherRequestTriesOnce",
     "held by another: a request tries the claim once, without waiting",
     [](Bench& b) { b.heldByAnother(); },
     [](Bench& b) { return b.request(); },
     false,
     {State::HeldByAnother, false},
     "refused",
     0ms},
    {"HeldByAnotherTryGetsIt",
     "held by another -> in step: a try got the claim",
     [](Bench& b) {
         b.heldByAnother();
         b.anotherCopyLetsGo();
     },
     [](Bench& b) { return b.request(); },
     true,
     {State::InStep, true},
     "claim",
     0ms},
    {"HeldByAnotherOwingProofFailsAtOnce",
     "held by another, out of step before: requests fail at once within the probe interval",
     [](Bench& b) { b.heldByAnotherOwingProof(); },
     [](Bench& b) { return b.request(); },
     false,
     {State::HeldByAnother, false},
     "",
     0ms},
    {"HeldByAnotherOwingProofProbeTriesOnce",
     "held by another, out of step before: a probe tries the claim once, without waiting",
     [](Bench& b) {
         b.heldByAnotherOwingProof();
         b.time.pass(kProbeInterval);
     },
     [](Bench& b) { return b.request(); },
     false,
     {State::HeldByAnother, false},
     "refused",
     0ms},
    {"HeldByAnotherOwingProofIsProvedFirst",
     "held by another, out of step before -> in step: a try got the claim, and the board is proved first",
     [](Bench& b) {
         b.heldByAnotherOwingProof();
         b.anotherCopyLetsGo();
         b.time.pass(kProbeInterval);
     },
     [](Bench& b) { return b.request(); },
     true,
     {State::InStep, true},
     "claim reset prove",
     0ms},

    // The board leaves; the program ends.
    {"ABoardThatLeavesIsForgotten",
     "a board that leaves is forgotten: its next one starts in step",
     [](Bench& b) { b.outOfStepHeld(); },
     [](Bench& b) {
         return does([&] {
             b.link.boards[0].holder = Holder::Nobody; // the driver lets go of its handle
             b.supervisor.forget(0);
         });
     },
     true,
     {State::InStep, false},
     "",
     0ms},
    {"AtTheEndABoardHeldOutOfStepIsReset",
     "the end: a board held out of step is reset",
     [](Bench& b) { b.outOfStepHeld(); },
     [](Bench& b) { return does([&] { b.supervisor.programEnds(); }); },
     true,
     {State::OutOfStepHeld, true},
     "reset",
     0ms},
    {"AtTheEndAFailedResetLosesTheClaim",
     "the end: a board whose reset fails is no longer held",
     [](Bench& b) {
         b.outOfStepHeld();
         b.link.boards[0].resets.push_back(Outcome::Failed);
     },
     [](Bench& b) { return does([&] { b.supervisor.programEnds(); }); },
     true,
     {State::OutOfStepHeld, false},
     "reset failed",
     0ms},
    {"AtTheEndABoardLetGoIsLeftAlone",
     "the end: a board let go (another copy's by now) is left alone",
     [](Bench& b) {
         b.resetAndLetGo();
         b.anotherCopyTakes();
     },
     [](Bench& b) { return does([&] { b.supervisor.programEnds(); }); },
     true,
     {State::ResetAndLetGo, false},
     "",
     0ms},
    {"AtTheEndAnUnclaimedBoardOutOfStepIsLeftAlone",
     "the end: a board out of step with nothing claimed (another copy's, may be) is left alone",
     [](Bench& b) {
         b.outOfStepUnclaimed();
         b.anotherCopyTakes();
     },
     [](Bench& b) { return does([&] { b.supervisor.programEnds(); }); },
     true,
     {State::OutOfStepHeld, false},
     "",
     0ms},
};

class LinkSupervisorTable : public ::testing::TestWithParam<Row> {};

TEST_P(LinkSupervisorTable, Transition)
{
    const Row& row = GetParam();
    SCOPED_TRACE(row.transition);
    Bench bench;
    row.arrange(bench);
    bench.link.forgetCalls();
    bench.time.slept = {};

    EXPECT_EQ(row.act(bench), row.admitted);
    EXPECT_EQ(bench.link.calls(), row.calls);
    EXPECT_EQ(bench.time.slept, row.waited) << "time spent waiting for claims";
    EXPECT_EQ(bench.supervisor.state(0), row.board0.state);
    EXPECT_EQ(bench.supervisor.claimed(0), row.board0.claimed);
    if (row.board1) {
        EXPECT_EQ(bench.supervisor.state(1), row.board1->state);
        EXPECT_EQ(bench.supervisor.claimed(1), row.board1->claimed);
    }
    // What the supervisor counts as claimed is what the kernel holds for this copy, and it never reset or
    // let go of a board another copy held.
    for (int slot = 0; slot < usbhost::kSlotCount; ++slot) {
        EXPECT_EQ(bench.supervisor.claimed(slot), bench.link.boards[slot].holder == Holder::ThisCopy)
            << "board " << slot;
    }
    EXPECT_EQ(bench.link.faults, std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Rows, LinkSupervisorTable, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
