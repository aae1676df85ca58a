#pragma once

// The Control window's registers and the fields its code reads outside its field table (the greying, the
// clocks, the single-tone bits, the typed and spun values), and the numbers typed into its boxes.

#include "board/chip_registers.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace control {

constexpr RegisterField kIOUpdateClockDivider{kCFR2, 15, 14};
constexpr RegisterField kPllEnable = regBit(kCFR3, 8);
constexpr RegisterField kVCOBandSR12{kCFR3, 29, 24};
constexpr RegisterField kVCOBandSR3{kCFR3, 26, 24};
constexpr RegisterField kMultiplierSR3{kCFR3, 7, 1};
constexpr RegisterField kAuxDACCode{kDACCtrl, 7, 0};
constexpr RegisterField kIOUpdateCount{kIOUDRate, 31, 0};

// The largest count of the I/O update rate register.
constexpr double kMaxIOUDCount = 4294967295.0;

// A box's text as a number in the user's locale, or nothing when it is not one.
std::optional<double> numberOf(const QString& text);

} // namespace control
