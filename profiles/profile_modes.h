#pragma once

// The forms of the Profiles window and the greying of its controls, as rules of the chip's mode bits:
// which form CFR1 calls for, which form a refresh shows, and which controls the operating mode and the
// amplitude bits make meaningless. Pure functions of the bits, so that the window only applies them.

#include <cstdint>
#include <optional>

namespace profiles {

// Which frame each profile shows.
enum ProfileFormMode : int16_t { kFormQDUC = 0, kFormRAM = 1, kFormSingleTone = 2 };

// The run mode in which single tone with the RAM enabled shows the RAM segments.
constexpr int16_t kRunModeRAMSegments = 4;

// The form CFR1 calls for: RAM segment for single tone with the RAM enabled, single tone without it,
// quadrature modulation for every other operating mode.
ProfileFormMode formModeOf(uint64_t operatingMode, bool ramEnabled);
// The form a refresh shows, stricter than `formModeOf`: the RAM segments only in their run mode. None for
// operating mode 3, which has no form of its own (the shown one stays and no field is loaded).
std::optional<ProfileFormMode> refreshFormOf(uint64_t operatingMode, bool ramEnabled, int16_t runMode);

// The text colour of the controls the modes concern: true normal, false grey. A group without a value is
// left as it is.
struct ProfileShading {
    bool clearCCIAndQFirstData = false;
    bool sineOut = false;
    bool profileOSK = false;
    // The seven frequency, phase and spectral-inversion controls of every quadrature-modulation frame.
    std::optional<bool> qducFields;
    // The amplitude label, step box and value box of every single-tone frame.
    std::optional<bool> amplitudeFields;
};

ProfileShading shadingOf(uint64_t operatingMode, bool outputShiftKeying, bool profileAmplitude);

} // namespace profiles
