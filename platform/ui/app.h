#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace ui {

// Lets the event loop process what is queued (timers and other windows run; handlers may re-enter).
void DoEvents();
void DoEventsN(int n);
// DoEvents that, when nothing is queued, sleeps until an event arrives or `maxWaitMs` have passed, instead
// of returning at once: a wait built from it leaves the processor free. Under the tests' virtual clock it
// is DoEvents (the clock moves one step; nothing sleeps).
void DoEventsWaiting(int maxWaitMs);
// Whether the event processing now running waits for the user: the outermost event loop, or a modal window,
// message box or common dialog waiting for input; false inside the DoEvents of an action (its pauses and
// waits), even when that runs within a modal window.
bool waitingForUser();

// Told of the program's waits, for what is held for one user action only (the claims of the board driver,
// which other running copies of the program wait for): `waitsForUser` runs each time the event loop is about
// to wait while waitingForUser() holds; `actionEventsBegin` and `actionEventsEnd` run around the events an
// action lets run (each DoEvents, also those of its pauses). One listener; an empty function is not called.
struct ProgramWaitListener {
    std::function<void()> waitsForUser;
    std::function<void()> actionEventsBegin;
    std::function<void()> actionEventsEnd;
};
void setProgramWaitListener(ProgramWaitListener listener);

// Classic Timer: seconds since midnight, from the process clock (virtual in tests).
double Timer();
// Milliseconds since midnight on the same clock as Timer() (virtual in tests).
int64_t clockMilliseconds();

// Screen-wide mouse pointer: one setting, not a stack; 0 clears it.
int ScreenMousePointer();
void setScreenMousePointer(int pointer);

// Ends the process at once, from anywhere (nested loops included): the handlers given to atEndProcess run
// (newest first), standard streams are flushed, and the process exits without unwinding or running any
// further window event. Tests install a hook instead; a hook must not return (it throws), and if it does
// the process ends all the same.
[[noreturn]] void EndProcess(int exitCode = 0);
using EndProcessHook = std::function<void(int exitCode)>;
void setEndProcessHook(EndProcessHook hook); // empty restores the real end
void atEndProcess(std::function<void()> handler);

// How far one DoEvents moves the virtual clock of the tests.
constexpr int kDoEventsVirtualStepMs = 5;

} // namespace ui
