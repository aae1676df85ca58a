#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <map>

namespace ui {

// A clock that moves only when told to. Installed by the test doubles, it replaces the time of day
// (Timer(), clockMilliseconds()) and drives every timer control, so waits and timer ticks take no real
// time: advancing it fires the timers that fall due, in time order, each seeing the clock at its own due
// time. A timer handler may re-enter DoEvents (which advances the clock a little further); a timer never
// re-enters its own handler.
class VirtualClock {
public:
    using TimerId = int;
    static constexpr int64_t kDayMs = 86'400'000;

    VirtualClock();

    void setTimeOfDay(int hours, int minutes, int seconds, int milliseconds = 0);
    int64_t timeOfDayMs() const { return now_ % kDayMs; }
    // Milliseconds since the clock's day 0 began; never goes backwards.
    int64_t now() const { return now_; }

    // Moves the clock forward by `ms`, firing due timers on the way.
    void advance(int64_t ms);

    // A repeating timer that first falls due `intervalMs` from now. Interval must be positive.
    TimerId startTimer(int intervalMs, std::function<void()> fire);
    void stopTimer(TimerId id);
    int runningTimers() const { return static_cast<int>(timers_.size()); }

    // Back to 10:00:00 with the running timers keeping their remaining times.
    void reset();

private:
    struct Entry {
        int64_t due = 0;
        int64_t interval = 0;
        uint64_t order = 0; // ties fire in the order the timers were started
        bool firing = false;
        std::function<void()> fire;
    };
    void moveTo(int64_t newNow);

    int64_t now_ = 0;
    TimerId nextId_ = 1;
    uint64_t nextOrder_ = 0;
    std::map<TimerId, Entry> timers_;
};

// The installed virtual clock, or nullptr when real time is used.
VirtualClock* installedVirtualClock();
void installVirtualClock(VirtualClock* clock);

} // namespace ui
