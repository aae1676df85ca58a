#pragma once

// modEditDialogSubs: ramp-rate times and words, phase, amplitude and output-scale conversions, a second
// decimal-separator probe and the clock of the ramp-rate conversions. Times are in microseconds for a clock
// in MHz; phases in degrees.

#include "profiles/edit_value.h"

#include <QString>
#include <QVariant>
#include <cstdint>
#include <optional>

// The clock the ramp-rate conversions use when called without one. Empty at start; the phase-offset dialog
// stores its clock here as a decimal, the RAM address ramp-rate dialog its clock argument as given. Never
// cleared.
extern std::optional<profiles::EditValue> gvEditSysClock;

// The ramp-rate time of a word: 4 x word / clock. Without a clock, gvEditSysClock is used. A clock that is
// not a positive number (or no clock at all) shows the critical box "Invalid Parameter Passed" naming the
// procedure and gives 0. A decimal clock computes in decimal, any other in double precision.
double CalculateRRTime(int32_t word, const std::optional<profiles::EditValue>& clock = std::nullopt);
double CalculateRAMRRTime(int32_t word, const std::optional<profiles::EditValue>& clock = std::nullopt);

// The ramp-rate word of a time (text in the user's locale, or a number): time x clock / 4 rounded to the
// nearest integer, ties to even, kept within the 32-bit range. The same clock handling as above; a time
// that is not a number gives 0.
int32_t CalculateRRWord(const profiles::EditValue& time,
                        const std::optional<profiles::EditValue>& clock = std::nullopt);
int32_t CalculateRAMRRWord(const profiles::EditValue& time,
                           const std::optional<profiles::EditValue>& clock = std::nullopt);

// A ramp-rate time formatted "0.0000".
QString edtFormatRRTime(double time);
QString edtFormatRAMRRTime(double time);

// Phase offset word and degrees: word x 360 / 2^16, and round(2^16 x degrees / 360) with ties to even, not
// wrapped to 16 bits (360 degrees gives 65536; callers clip), kept within the 32-bit range.
double edtPOWToDegrees(double word);
int32_t edtDegreesToPOW(double degrees);

// Amplitude scale factor and fraction of full scale: round(fraction x 2^14) with ties to even (within the
// 32-bit range), and word x 2^-14.
int32_t edtAmplToASF(double fraction);
double edtASFToAmpl(int32_t word);

// Output scale factor and gain: word x 1.9921875 / 255 (= word / 128), and gain x 128 truncated toward zero
// (not rounded), kept within the 16-bit range.
double edtOSFToGain(int16_t word);
int16_t edtGainToOSF(double gain);

// The locale's decimal separator, as edtDecimalSep: its code (int) with `asCode`, else the character.
QVariant edtDecimalSep2(bool asCode);
