#pragma once

// The screen-wide hourglass while a board-module procedure works: shown when the scope starts, and the
// pointer that was there before put back when it ends, whichever way it ends. The pointer is the window
// system's (board/window_services.h); without one the guard does nothing.

#include "board/window_services.h"

class HourglassPointer {
public:
    static constexpr int kHourglass = 11;

    HourglassPointer() : previous_(boardwin::windowServices().screenMousePointer())
    {
        boardwin::windowServices().setScreenMousePointer(kHourglass);
    }
    ~HourglassPointer() { boardwin::windowServices().setScreenMousePointer(previous_); }
    HourglassPointer(const HourglassPointer&) = delete;
    HourglassPointer& operator=(const HourglassPointer&) = delete;

private:
    int previous_;
};
