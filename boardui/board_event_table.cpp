#include "boardui/board_event_table.h"

#include "board/board_notices.h"
#include "board/system_clock.h"
#include "boardui/form_names.h"
#include "platform/ui/forms.h"

#include <QString>

#include <initializer_list>

namespace {

void refreshLoaded(std::initializer_list<QString> forms)
{
    for (const QString& form : forms)
        ui::Forms::callIfLoaded(form, formnames::RefreshFormVals);
}

} // namespace

void InstallBoardEventTable()
{
    BoardNotices& notices = boardNotices();
    notices.RAMFileLoaded = [] { refreshLoaded({formnames::frmQDUCRSR}); };
    notices.FillTestRegistersSet = [] {
        refreshLoaded({formnames::frmControl, formnames::frmProfile, formnames::frmDebug});
    };
    notices.RunModeChanged = [] { ui::Forms::callOnAll(formnames::SetMode); };
    // A setup file's clock goes into the Control window's box as if typed there, the window loaded first
    // when it is not, so that its clock plan follows at once.
    systemClock().ExternalClockSet = [] {
        if (ui::Forms::load(formnames::frmControl) != nullptr)
            ui::Forms::callIfLoaded(formnames::frmControl, formnames::ShowExternalClock);
    };
}
