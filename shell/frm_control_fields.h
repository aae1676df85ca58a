#pragma once

// The Control window's registers and the fields its code reads outside its field table (the greying, the
// clocks, the single-tone bits, the typed and spun values), and the numbers typed into its boxes.

#include "board/register_field.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace control {

// The register addresses the window owns.
constexpr int16_t kCFR1 = 0x00;
constexpr int16_t kCFR2 = 0x01;
constexpr int16_t kCFR3 = 0x02;
constexpr int16_t kDACCtrl = 0x03;
constexpr int16_t kIOUDRate = 0x04;

constexpr RegisterField kOperatingMode{kCFR1, 25, 24};
constexpr RegisterField kRAMEnable = regBit(kCFR1, 31);
constexpr RegisterField kSXIEnable = regBit(kCFR2, 31);
// Cleared with the RAM enable when single tone is loaded.
constexpr RegisterField kDigitalRampEnable = regBit(kCFR2, 19);
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
