#pragma once

// Window services for the board library alone: a clock that moves only in the board's waits, so that its
// waits (0.55 s profile read-backs, 1 s retries) take no real time; every other call as with none installed.

#include "board/window_services.h"

#include <algorithm>
#include <cmath>

namespace boardcore {

constexpr double kDaySeconds = 86400.0;

class VirtualTimeWindows : public boardwin::WindowServices {
public:
    double now = 36000.0; // 10:00:00
    int turns = 0;
    int yieldingTurns = 0;

    double timer() override { return now; }
    void waitTurn(double secondsLeft, bool yield) override
    {
        ++turns;
        if (yield)
            ++yieldingTurns;
        // A turn moves the clock by what is left, a tenth of a second at most, and a millisecond at least.
        now = std::fmod(now + std::clamp(secondsLeft, 0.001, 0.1), kDaySeconds);
    }
};

// Installs the services for a scope.
class ScopedWindowServices {
public:
    explicit ScopedWindowServices(boardwin::WindowServices& services)
    {
        boardwin::setWindowServices(&services);
    }
    ~ScopedWindowServices() { boardwin::setWindowServices(nullptr); }
    ScopedWindowServices(const ScopedWindowServices&) = delete;
    ScopedWindowServices& operator=(const ScopedWindowServices&) = delete;
};

} // namespace boardcore
