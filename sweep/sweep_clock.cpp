#include "sweep/sweep_clock.h"

#include "profiles/edit_value.h"
#include "board/system_clock.h"

#include "platform/ui/forms.h"

#include <cmath>

namespace sweep {

std::optional<double> systemClock()
{
    const profiles::TypedDouble typed = profiles::readTypedDouble(SysClockText());
    if (typed.kind != profiles::TypedKind::Number || !std::isfinite(typed.value) || typed.value <= 0)
        return std::nullopt;
    return typed.value;
}

} // namespace sweep
