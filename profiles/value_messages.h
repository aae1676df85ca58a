#pragma once

// The messages of the value fields, worded once for every window and dialog that clips a typed value.

#include <QString>

namespace profiles {

// "Output Frequency to High!!!": a frequency at or above the system clock.
void reportFrequencyTooHigh();
// "Maximum Phase Offset Exceeded!!!": a phase outside 0 .. the phase of word 65535.
void reportPhaseClipped();
// The first line of "Maximum Ramp Rate Time Exceeded!!!": the range of the named time from `from` to `to`,
// each followed by `unit`, then the line that says the value will be clipped.
QString rampRateRangeText(const QString& name, const QString& from, const QString& to, const QString& unit);
// The box "Maximum Ramp Rate Time Exceeded!!!" of a value field's ramp rate (information icon).
void reportRampRateClipped(const QString& name, const QString& from, const QString& to);

} // namespace profiles
