#pragma once

// The screen-wide hourglass while a board-module procedure works: shown when the scope starts, and the
// pointer that was there before put back when it ends, whichever way it ends.

#include "platform/ui/app.h"
#include "platform/ui/form.h"

class HourglassPointer {
public:
    HourglassPointer() : previous_(ui::ScreenMousePointer()) { ui::setScreenMousePointer(ui::vbHourglass); }
    ~HourglassPointer() { ui::setScreenMousePointer(previous_); }
    HourglassPointer(const HourglassPointer&) = delete;
    HourglassPointer& operator=(const HourglassPointer&) = delete;

private:
    int previous_;
};
