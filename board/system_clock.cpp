#include "board/system_clock.h"

#include "board/window_services.h"
#include "boardui/form_names.h"

QString SysClockText()
{
    return boardwin::windowServices()
        .textBoxText(formnames::frmControl, QStringLiteral("txtSysClkTxt"))
        .value_or(QString());
}
