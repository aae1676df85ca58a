#include "platform/ui/virtual_clock.h"

#include <algorithm>

namespace ui {

namespace {
VirtualClock* g_installed = nullptr;
constexpr int64_t kStartOfTests = 10LL * 3'600'000; // 10:00:00
} // namespace

VirtualClock* installedVirtualClock()
{
    return g_installed;
}
void installVirtualClock(VirtualClock* clock)
{
    g_installed = clock;
}

VirtualClock::VirtualClock() : now_(kStartOfTests)
{
}

void VirtualClock::moveTo(int64_t newNow)
{
    // Timers keep the time they still had to run.
    for (auto& [id, entry] : timers_)
        entry.due = newNow + std::max<int64_t>(0, entry.due - now_);
    now_ = newNow;
}

void VirtualClock::setTimeOfDay(int hours, int minutes, int seconds, int milliseconds)
{
    const int64_t ofDay = ((static_cast<int64_t>(hours) * 60 + minutes) * 60 + seconds) * 1000 + milliseconds;
    const int64_t day = now_ / kDayMs;
    int64_t target = day * kDayMs + (ofDay % kDayMs + kDayMs) % kDayMs;
    // The clock never runs backwards: an earlier time of day is that time on the next day.
    if (target < now_)
        target += kDayMs;
    moveTo(target);
}

void VirtualClock::reset()
{
    moveTo(now_ - now_ % kDayMs + kStartOfTests);
}

void VirtualClock::advance(int64_t ms)
{
    const int64_t target = now_ + std::max<int64_t>(0, ms);
    for (;;) {
        // Earliest due timer that is not busy; ties in start order.
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            const Entry& e = it->second;
            if (e.firing || e.due > target)
                continue;
            if (next == timers_.end() || e.due < next->second.due ||
                (e.due == next->second.due && e.order < next->second.order))
                next = it;
        }
        if (next == timers_.end())
            break;
        const TimerId id = next->first;
        now_ = std::max(now_, next->second.due);
        next->second.firing = true;
        next->second.due += next->second.interval;
        auto fire = next->second.fire; // the handler may stop (erase) its own timer
        struct Done {
            VirtualClock& clock;
            TimerId id;
            ~Done()
            {
                auto again = clock.timers_.find(id);
                if (again == clock.timers_.end())
                    return;
                again->second.firing = false;
                // A handler that ran longer than its interval (nested waits) does not owe a burst of ticks.
                if (again->second.due <= clock.now_)
                    again->second.due = clock.now_ + again->second.interval;
            }
        } done{*this, id};
        fire();
    }
    now_ = std::max(now_, target);
}

VirtualClock::TimerId VirtualClock::startTimer(int intervalMs, std::function<void()> fire)
{
    const TimerId id = nextId_++;
    Entry entry;
    entry.interval = std::max(1, intervalMs);
    entry.due = now_ + entry.interval;
    entry.order = nextOrder_++;
    entry.fire = std::move(fire);
    timers_.emplace(id, std::move(entry));
    return id;
}

void VirtualClock::stopTimer(TimerId id)
{
    timers_.erase(id);
}

} // namespace ui
