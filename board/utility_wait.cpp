#include "board/utility.h"

#include "platform/ui/app.h"
#include "platform/ui/forms.h"
#include "platform/ui/virtual_clock.h"

namespace {

// A turn of a wait that does not yield. Real time passes by itself; the tests' virtual clock moves only
// when something moves it, so a turn lets it run on by a millisecond without firing any timer (as a
// wait that does not yield would not let them run).
void turnWithoutYield()
{
    if (ui::VirtualClock* clock = ui::installedVirtualClock())
        clock->setTimeOfDay(0, 0, 0, static_cast<int>(clock->timeOfDayMs() + 1));
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
            turnWithoutYield();
        else
            ui::DoEvents();
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
