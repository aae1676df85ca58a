#pragma once

// modEditOutFreq: output frequency and frequency tuning word, the frequency display patterns and a
// decimal-separator probe. Frequencies and the system clock are in MHz.

#include "platform/runtime/decimal.h"
#include "profiles/edit_value.h"

#include <QString>
#include <QVariant>
#include <cstdint>
#include <optional>

// The tuning word of `fout` at the clock `fsys` for a `bits`-wide word: round(2^bits x fout / fsys), ties to
// even, computed in decimal (both frequencies enter with 15 significant digits). Not clipped to the word:
// a frequency at or above the clock gives 2^bits or more, a negative one a negative word (callers clip).
// A clock that is zero, negative or not finite, and a width outside 0-95, give 0; a word beyond the
// decimal's range saturates at its largest magnitude.
rt::Decimal edtFreqToFTW(double fout, double fsys, int16_t bits);

// The frequency of a tuning word: fsys x word / 2^bits, unrounded. A double word (and numeric text, read as
// a double) enters through the double quotient word / 2^bits with 15 significant digits; a decimal word is
// divided exactly. Text that is not a number, a width outside 0-95 and non-finite values give 0.
rt::Decimal edtFTWToFreq(double word, double fsys, int16_t bits);
rt::Decimal edtFTWToFreq(const rt::Decimal& word, double fsys, int16_t bits);
rt::Decimal edtFTWToFreq(const QString& word, double fsys, int16_t bits);

// The display pattern of a frequency: "0." and one decimal place more than the first significant decimal
// of the resolution edtFTWToFreq(1, fsys, bits). Without a clock the resolution is that of a 1 MHz clock;
// a clock that is not a positive number counts as 0, whose pattern has 40 decimals.
QString edtFormatString(int16_t bits, const std::optional<profiles::EditValue>& fsys = std::nullopt);

// The frequency formatted with edtFormatString(bits, fsys); halves round away from zero, the separator is
// the locale's. A decimal value is taken as a double first, as the classic argument was.
QString edtFormatFreq(double value, int16_t bits,
                      const std::optional<profiles::EditValue>& fsys = std::nullopt);
QString edtFormatFreq(const rt::Decimal& value, int16_t bits,
                      const std::optional<profiles::EditValue>& fsys = std::nullopt);

// The locale's decimal separator: the second character of 0 formatted "Fixed". With `asCode` the result
// holds its character code (int), otherwise the one-character text.
QVariant edtDecimalSep(bool asCode);
