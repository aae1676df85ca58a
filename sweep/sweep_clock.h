#pragma once

// The system clock the sweep window converts with: the Control window's clock box read as a number in MHz.

#include <optional>

namespace sweep {

// The clock when the box holds a positive number; nullopt otherwise (no Control window, empty, not a
// number, 0 or below), so that no conversion ever divides by it.
std::optional<double> systemClock();

} // namespace sweep
