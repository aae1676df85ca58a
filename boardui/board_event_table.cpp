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
    systemClock().ExternalClockSet = [] {
        ui::Forms::callIfLoaded(formnames::frmControl, formnames::ShowExternalClock);
    };
}
