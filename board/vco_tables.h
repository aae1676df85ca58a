#pragma once

// The PLL's VCO band tables and the I/O update clock conversions, kept once for the Control window (and
// the ADC result scale for the ADC window).

#include <array>
#include <cstdint>

// (low, high) limits in MHz of the 63 VCO ranges of silicon revisions 1 and 2, row = range number. The rows
// stand in the chip's order even where a row's limits lie below the previous row's.
using VcoBandTable63 = std::array<std::array<int16_t, 2>, 63>;
// (low, high) in MHz of the six VCO bands of silicon revision 3.
using VcoBandTable6 = std::array<std::array<int16_t, 2>, 6>;

// Filled once by the Control window when it loads (all zero before); nothing else writes them.
extern VcoBandTable63 giVCOCalTable;
extern VcoBandTable6 giVCORanges;

void ebInitVCOCalTable();
void ebInitVCORanges();

// The band that holds a frequency: the first row i with low(i) <= MHz <= high(i) (bands overlap; the
// first wins). Revisions 1/2: 0-62, or 63 when none holds it. Revision 3: 0-5, or 6 when none holds it.
int ebFindVCOCalRange(double vcoMHz);
int ebFindVCORangeSR3(double sysClockMHz);

// The I/O update counter runs at a quarter of the system clock.
// The period in seconds of `count` counter ticks; -1 when count is outside 0-4294967295 (or not a number)
// or the clock is 0.
double ebCheckRateRange(double count, double sysClockMHz);
// The whole number of ticks in `period` seconds (the quotient rounded to 15 significant digits first, then
// truncated toward zero); -1 when it lies outside 0-4294967295 or cannot be computed (a clock of 0).
double ebTimeToSysClkCount(double period, double sysClockMHz);
// An 8-bit ADC code as a fraction of full scale (code / 255).
double ebADCHelper(int16_t code);
