#include "boardui/board_event_table.h"

#include "board/board_notices.h"
#include "board/system_clock.h"
#include "boardui/form_names.h"
#include "platform/ui/forms.h"

#include <QString>

#include <span>

namespace {

// One window procedure an event runs, on that window when it is loaded.
struct WindowCall {
    const QString* window;
    const QString* procedure;
};

// A RAM data file changes what the RAM segment window shows.
const WindowCall kAfterRAMFile[] = {{&formnames::frmQDUCRSR, &formnames::RefreshFormVals}};
// The fill test's CFR1 and Profile0, in the order the windows re-read them.
const WindowCall kAfterFillTest[] = {{&formnames::frmControl, &formnames::RefreshFormVals},
                                     {&formnames::frmProfile, &formnames::RefreshFormVals},
                                     {&formnames::frmDebug, &formnames::RefreshFormVals}};

void callLoaded(std::span<const WindowCall> calls)
{
    for (const WindowCall& call : calls)
        ui::Forms::callIfLoaded(*call.window, *call.procedure);
}

} // namespace

void InstallBoardEventTable()
{
    BoardNotices& notices = boardNotices();
    notices.RAMFileLoaded = [] { callLoaded(kAfterRAMFile); };
    notices.FillTestRegistersSet = [] { callLoaded(kAfterFillTest); };
    notices.RunModeChanged = [] { ui::Forms::callOnAll(formnames::SetMode); };
    // A setup file's clock goes into the Control window's box as if typed there, the window loaded first
    // when it is not, so that its clock plan follows at once.
    systemClock().ExternalClockSet = [] {
        if (ui::Forms::load(formnames::frmControl) != nullptr)
            ui::Forms::callIfLoaded(formnames::frmControl, formnames::ShowExternalClock);
    };
}
