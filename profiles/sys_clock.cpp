#include "profiles/sys_clock.h"

#include "board/system_clock.h"

#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"

#include <cmath>

namespace profiles {

QString sysClockText()
{
    return SysClockText();
}

std::optional<double> usableClock(const EditValue& clock)
{
    return usableSystemClock(clock.number());
}

std::optional<double> usableSysClock()
{
    return usableClock(EditValue(sysClockText()));
}

void reportUnusableClock()
{
    ui::MsgBox(QStringLiteral("Invalid system clock value.") + QStringLiteral("\r\n") +
                   QStringLiteral("A ramp rate time cannot be converted while the system clock is not a "
                                  "positive number; the ramp rate word stays as it is."),
               ui::vbOKOnly | ui::vbExclamation, QStringLiteral("Invalid Parameter Passed"));
}

} // namespace profiles
