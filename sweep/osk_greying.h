#pragma once

// Which groups of the OSK Control window are greyed for the chip's operating mode and output shift keying
// bits. Greying is a hint only: a greyed box still stores what the user sets.

#include <cstdint>

namespace sweep {

// What the greying reads from CFR1: the operating mode (25:24), output shift keying (9), auto OSK (8) and
// the external OSK pin (23).
struct OskBits {
    uint64_t operatingMode = 0;
    bool oskEnabled = false;
    bool autoOsk = false;
    bool externalPin = false;
};

// True for a group drawn grey.
struct OskGreying {
    bool enable = true;    // "Enable Output Shift Keying"
    bool amplitude = true; // the scale factor, its step and spin, the external pin and auto OSK boxes
    bool autoSetup = true; // the auto OSK setup: ramp-rate load, step size and ramp rate
    bool pin = true;       // "OSK Pin"
    constexpr bool operator==(const OskGreying&) const = default;
};

// Outside single tone (mode 1) everything is grey. In single tone the enable box is live; with keying
// enabled the amplitude group is live, the auto group while auto OSK is on, and the OSK pin box while the
// pin keys the output (auto OSK or the external pin).
OskGreying oskGreying(const OskBits& bits);

} // namespace sweep
