// The rules of the mode bits behind the Profiles window, over every combination of their inputs: the form
// CFR1 calls for, the form a refresh shows and which controls the modes grey.

#include "profiles/profile_modes.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace profiles;

struct FormCase {
    uint64_t operatingMode;
    bool ramEnabled;
    ProfileFormMode called;
    // What a refresh shows in run mode 0 and in run mode 4 (none: the shown form stays).
    std::optional<ProfileFormMode> refreshed;
    std::optional<ProfileFormMode> refreshedInRunMode4;
};

TEST(ProfileModes, FormsFollowTheOperatingModeTheRamAndTheRunMode)
{
    const FormCase cases[] = {
        {0, false, kFormQDUC, kFormQDUC, kFormQDUC},
        {0, true, kFormQDUC, kFormQDUC, kFormQDUC},
        {1, false, kFormSingleTone, kFormSingleTone, kFormSingleTone},
        // The RAM segments are called for by CFR1 alone, but a refresh shows them only in run mode 4.
        {1, true, kFormRAM, kFormSingleTone, kFormRAM},
        {2, false, kFormQDUC, kFormQDUC, kFormQDUC},
        {2, true, kFormQDUC, kFormQDUC, kFormQDUC},
        {3, false, kFormQDUC, std::nullopt, std::nullopt},
        {3, true, kFormQDUC, std::nullopt, std::nullopt},
    };
    for (const FormCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.operatingMode << " RAM " << c.ramEnabled);
        EXPECT_EQ(formModeOf(c.operatingMode, c.ramEnabled), c.called);
        EXPECT_EQ(refreshFormOf(c.operatingMode, c.ramEnabled, 0), c.refreshed);
        EXPECT_EQ(refreshFormOf(c.operatingMode, c.ramEnabled, kRunModeRAMSegments), c.refreshedInRunMode4);
    }
    // Every run mode other than 4 keeps the RAM segments hidden.
    for (int16_t runMode : {int16_t{1}, int16_t{2}, int16_t{3}, int16_t{5}})
        EXPECT_EQ(refreshFormOf(1, true, runMode), kFormSingleTone) << runMode;
}

struct ShadeCase {
    uint64_t operatingMode;
    bool osk;
    bool profileAmplitude;
    bool clearCCIAndQFirstData, sineOut, profileOSK;
    std::optional<bool> qducFields, amplitudeFields;
};

TEST(ProfileModes, GreyingFollowsTheOperatingModeAndTheAmplitudeBits)
{
    const ShadeCase cases[] = {
        {0, false, false, true, false, false, true, std::nullopt},
        {0, true, true, true, false, false, true, std::nullopt},
        {1, false, false, false, true, true, std::nullopt, false},
        {1, false, true, false, true, true, std::nullopt, true},
        // Output shift keying takes the amplitude from the OSK words: the profile's amplitude is greyed.
        {1, true, false, false, true, false, std::nullopt, false},
        {1, true, true, false, true, false, std::nullopt, false},
        {2, false, true, false, false, false, false, std::nullopt},
        {3, true, true, false, false, false, false, std::nullopt},
    };
    for (const ShadeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.operatingMode << " OSK " << c.osk << " amplitude "
                                        << c.profileAmplitude);
        const ProfileShading s = shadingOf(c.operatingMode, c.osk, c.profileAmplitude);
        EXPECT_EQ(s.clearCCIAndQFirstData, c.clearCCIAndQFirstData);
        EXPECT_EQ(s.sineOut, c.sineOut);
        EXPECT_EQ(s.profileOSK, c.profileOSK);
        EXPECT_EQ(s.qducFields, c.qducFields);
        EXPECT_EQ(s.amplitudeFields, c.amplitudeFields);
    }
}

} // namespace
