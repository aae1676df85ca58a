#pragma once

// The Control window's clock arithmetic, apart from its controls: the reference after the ÷2 divider, the
// system clock and VCO frequency of the PLL of silicon revisions 1/2 (ratio N, M divider) and of
// revision 3 (multiplier, PFD doubler), the VCO band that holds a frequency, the limits that mark a clock
// or multiplier as unusable, and the I/O update period at a system clock. The window reads its controls
// into `ClockInputs` and shows what comes back; nothing here reads a control or a global.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace clockplan {

constexpr double kMaxReferenceMHz = 2000;
constexpr double kMaxSystemClockMHz = 1000;
// The number of VCO bands of revisions 1/2 and of revision 3.
constexpr int kBandsSR12 = 63;
constexpr int kBandsSR3 = 6;
// The largest count of the I/O update rate register.
constexpr double kMaxIOUpdateCount = 4294967295.0;

// What the clock group of the Control window says, as read from its controls.
struct ClockInputs {
    // The external clock (MHz); nothing when its box does not hold a number.
    std::optional<double> reference;
    // "÷2 Divider Disable": the reference divider R is 1 instead of 2.
    bool referenceDividerOff = false;
    // The PLL enable of the chip's layout ("Enable Multiplier" of either group).
    bool pllOn = false;
    // Revisions 1/2: the list index of the ratio N (N = index + 1; -1: no selection) and of the M divider
    // (2^m, m = index).
    int ratioIndex = -1;
    int mDividerIndex = -1;
    // Revision 3: the multiplier as typed (nothing when it is not a number) and the PFD input doubler.
    std::optional<double> multiplier;
    bool pfdDoubler = false;
};

// R: 1 with the ÷2 divider disabled, else 2.
int referenceDivider(const ClockInputs& in);
// The reference after the divider (a reference that is not a number counts as 0).
double dividedReference(const ClockInputs& in);

// Revisions 1/2: (N / R) x reference, N = 1 with the PLL off; nothing without a reference.
std::optional<double> systemClockSR12(const ClockInputs& in);
// Revisions 1/2: 2^m x N x reference / R; nothing without a reference.
std::optional<double> vcoFrequencySR12(const ClockInputs& in);
// Revision 3: reference x multiplier x doubler with the PLL on, reference / R with it off; nothing without
// a reference, or without a multiplier while the PLL is on.
std::optional<double> systemClockSR3(const ClockInputs& in);

// A reference above 0 and at most 2 GHz.
bool validReference(std::optional<double> mhz);
// A system clock above 0 and at most 1 GHz: one the other windows can convert with.
bool validSystemClock(std::optional<double> mhz);
// A multiplier the revision 3 PLL locks at: 8-10 or 12-127.
bool validMultiplierSR3(double multiplier);

// (low, high) limits in MHz of one VCO band.
using Band = std::array<int16_t, 2>;
// The first band that holds `mhz` (bands overlap; the first wins), or bands.size() when none does.
int bandHolding(std::span<const Band> bands, double mhz);
// The band of a VCO frequency (revisions 1/2) or of the system clock (revision 3): the band holding it,
// bands.size() when none does or the frequency is not known, bands.size() + 1 with the PLL off.
int pllBand(std::span<const Band> bands, bool pllOn, std::optional<double> mhz);
// True when band `band` exists and holds `mhz`.
bool bandHolds(std::span<const Band> bands, int band, double mhz);

// The I/O update period (s) of `count` quarter periods of the system clock; nothing without a usable
// clock or for a count outside the register.
std::optional<double> ioUpdatePeriod(double count, std::optional<double> systemClockMHz);
// The count of a typed period at the system clock: the whole count when it is one the register holds and
// gives a period; otherwise nothing.
std::optional<double> ioUpdateCount(double period, double systemClockMHz);

} // namespace clockplan
