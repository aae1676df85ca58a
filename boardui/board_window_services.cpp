#include "boardui/board_window_services.h"

#include "board/hourglass.h"
#include "board/window_services.h"
#include "boardui/board_event_table.h"
#include "platform/ui/app.h"
#include "platform/ui/form.h"
#include "platform/ui/virtual_clock.h"

#include <algorithm>
#include <cmath>

namespace {

class ProgramWindows : public boardwin::WindowServices {
public:
    void doEvents() override { ui::DoEvents(); }
    double timer() override { return ui::Timer(); }

    void waitTurn(double secondsLeft, bool yield) override
    {
        if (yield) {
            // The events that come in run; without any the thread rests on the event loop until the time
            // is up.
            ui::DoEventsWaiting(static_cast<int>(std::ceil(std::max(secondsLeft, 0.0) * 1000.0)));
            return;
        }
        // The tests' virtual clock moves only when something moves it: a turn that does not yield lets
        // it run on by a millisecond without firing any timer.
        if (ui::VirtualClock* clock = ui::installedVirtualClock()) {
            clock->setTimeOfDay(0, 0, 0, static_cast<int>(clock->timeOfDayMs() + 1));
            return;
        }
        WindowServices::waitTurn(secondsLeft, false);
    }

    int screenMousePointer() override { return ui::ScreenMousePointer(); }
    void setScreenMousePointer(int pointer) override { ui::setScreenMousePointer(pointer); }
};

// The board module asks for the hourglass by its number.
static_assert(HourglassPointer::kHourglass == ui::vbHourglass);

} // namespace

boardwin::WindowServices& boardWindowServices()
{
    static ProgramWindows services;
    return services;
}

void InstallBoardWindowServices()
{
    boardwin::setWindowServices(&boardWindowServices());
    InstallBoardEventTable();
}
