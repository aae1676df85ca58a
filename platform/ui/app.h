#pragma once

#include <QString>
#include <cstdint>

namespace ui {

// Lets the event loop process what is queued (timers and other windows run; handlers may re-enter).
void DoEvents();
void DoEventsN(int n);

// Classic Timer: seconds since midnight, from the process clock (virtual in tests).
double Timer();
// Milliseconds on the process clock (monotonic within a day in tests).
int64_t clockMilliseconds();

// Screen-wide mouse pointer: one setting, not a stack; 0 clears it.
int ScreenMousePointer();
void setScreenMousePointer(int pointer);

// Ends the process at once, from anywhere (nested loops included). Tests install a hook instead.
[[noreturn]] void EndProcess(int exitCode = 0);

} // namespace ui
