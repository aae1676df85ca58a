#include "profiles/profile_modes.h"

namespace profiles {

ProfileFormMode formModeOf(uint64_t operatingMode, bool ramEnabled)
{
    if (operatingMode == 1)
        return ramEnabled ? kFormRAM : kFormSingleTone;
    return kFormQDUC;
}

std::optional<ProfileFormMode> refreshFormOf(uint64_t operatingMode, bool ramEnabled, int16_t runMode)
{
    switch (operatingMode) {
    case 0:
    case 2:
        return kFormQDUC;
    case 1:
        return ramEnabled && runMode == kRunModeRAMSegments ? kFormRAM : kFormSingleTone;
    default:
        return std::nullopt;
    }
}

ProfileShading shadingOf(uint64_t operatingMode, bool outputShiftKeying, bool profileAmplitude)
{
    ProfileShading shading;
    switch (operatingMode) {
    case 0:
        shading.clearCCIAndQFirstData = true;
        shading.qducFields = true;
        break;
    case 1:
        shading.sineOut = true;
        shading.profileOSK = !outputShiftKeying;
        shading.amplitudeFields = !outputShiftKeying && profileAmplitude;
        break;
    default:
        shading.qducFields = false;
        break;
    }
    return shading;
}

} // namespace profiles
