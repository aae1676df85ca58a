#pragma once

// Reading what a generator or the simulator wrote to its console window.

#include <QString>
#include <cstdint>

namespace mvg {

// Counts "ERROR" and "WARNING" in the console text, in any letter case (each search starts one character
// after the previous find). A count is written only when the word occurs, so the caller's start values
// stand otherwise; a count stops at the largest 16-bit number.
void countConsoleProblems(const QString& consoleText, int16_t& errors, int16_t& warnings);

} // namespace mvg
