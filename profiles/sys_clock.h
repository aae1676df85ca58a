#pragma once

// The system clock as the RAM windows and the ramp-rate dialog read it: the system clock the Control window
// feeds (MHz, board/system_clock.h), asked afresh at every conversion. It may be 0 (revision 3 with the
// multiplier enabled at 0) or text that is not a number; no ramp-rate time can be converted then.

#include "profiles/edit_value.h"

#include <QString>
#include <optional>

namespace profiles {

// The clock box's text (`SysClockText`).
QString sysClockText();
// The clock when conversions can use it (usableSystemClock).
std::optional<double> usableClock(const EditValue& clock);
std::optional<double> usableSysClock();
// Tells the user why a ramp-rate time cannot be converted now (one message box).
void reportUnusableClock();

} // namespace profiles
