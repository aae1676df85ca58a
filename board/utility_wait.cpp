#include "board/utility.h"

#include "platform/ui/app.h"
#include "platform/ui/forms.h"
#include "platform/ui/virtual_clock.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

// The longest sleep of one turn of a wait that does not yield: the clock is read again after it, so a
// wait across midnight or a clock set back is noticed.
constexpr double kLongestTurnSeconds = 0.05;

// A turn of a wait that does not yield: the thread sleeps until the next turn is due, no event runs. The
// tests' virtual clock moves only when something moves it, so there a turn lets it run on by a millisecond
// without firing any timer.
void turnWithoutYield(double secondsLeft)
{
    if (ui::VirtualClock* clock = ui::installedVirtualClock()) {
        clock->setTimeOfDay(0, 0, 0, static_cast<int>(clock->timeOfDayMs() + 1));
        return;
    }
    const double sleep = std::clamp(secondsLeft, 0.0, kLongestTurnSeconds);
    std::this_thread::sleep_for(std::chrono::microseconds(static_cast<int64_t>(sleep * 1e6) + 1));
}

// A turn of a wait that yields: the events that come in run; without any the thread sleeps on the event
// loop until the time is up.
void turnWithYield(double secondsLeft)
{
    ui::DoEventsWaiting(static_cast<int>(std::ceil(std::max(secondsLeft, 0.0) * 1000.0)));
}

} // namespace

void Pause(double seconds, bool noYield)
{
    double start = ui::Timer();
    double end = start + seconds;
    int turns = 0;
    double now = start;
    do {
        now = ui::Timer();
        if (now < start) {
            // The clock passed midnight: measure the rest from the new day's clock.
            end -= start;
            start = now;
            turns = 0;
        } else if (turns >= 1000) {
            // Keep the midnight test's reference recent.
            start = now;
            turns = 0;
        }
        ++turns;
        if (noYield)
            turnWithoutYield(end - now);
        else
            turnWithYield(end - now);
    } while (now < end);
}

void DoEventsN(int n)
{
    for (int i = 0; i < n; ++i)
        ui::DoEvents();
}

bool IsFormLoaded(const QString& formName)
{
    return ui::Forms::isLoaded(formName);
}
