#include "board/system_clock.h"

#include "board/form_names.h"
#include "board/window_services.h"

QString SysClockText()
{
    return boardwin::windowServices()
        .textBoxText(formnames::frmControl, formnames::txtSysClkTxt)
        .value_or(QString());
}
