#include "sweep/sweep_clock.h"

#include "profiles/edit_value.h"
#include "shell/frm_control.h"

#include "platform/ui/forms.h"

#include <cmath>

namespace sweep {

std::optional<double> systemClock()
{
    const frmControl* control = ui::loadedForm<frmControl>();
    if (!control)
        return std::nullopt;
    const profiles::TypedDouble typed = profiles::readTypedDouble(control->txtSysClkTxt.Text());
    if (typed.kind != profiles::TypedKind::Number || !std::isfinite(typed.value) || typed.value <= 0)
        return std::nullopt;
    return typed.value;
}

} // namespace sweep
