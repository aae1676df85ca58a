// The OSK Control window's rules without the window: which groups grey for the operating mode and the
// keying bits, and where its two layouts put the window, the auxiliary sources and LOAD.

#include "sweep/osk_greying.h"
#include "sweep/osk_mode_layout.h"

#include <gtest/gtest.h>

namespace {

using sweep::OskBits;
using sweep::OskGreying;
using sweep::OskModeLayout;

struct GreyCase {
    OskBits bits;
    OskGreying grey;
};

// {operating mode, keying, auto OSK, external pin} -> {enable, amplitude, auto setup, pin} greyed.
const GreyCase kGreyCases[] = {
    {{0, true, true, true}, {true, true, true, true}},
    {{2, true, true, true}, {true, true, true, true}},
    {{3, true, true, true}, {true, true, true, true}},
    {{0, false, false, false}, {true, true, true, true}},
    // Single tone: the enable box is live; without keying the rest stays grey whatever else is set.
    {{1, false, false, false}, {false, true, true, true}},
    {{1, false, true, true}, {false, true, true, true}},
    // Keying on by hand: the amplitude group is live, the pin box grey until a pin keys the output.
    {{1, true, false, false}, {false, false, true, true}},
    {{1, true, false, true}, {false, false, true, false}},
    {{1, true, true, false}, {false, false, false, false}},
    {{1, true, true, true}, {false, false, false, false}},
};

TEST(OskGreying, FollowsTheOperatingModeAndTheKeyingBits)
{
    for (const GreyCase& c : kGreyCases) {
        const OskGreying grey = sweep::oskGreying(c.bits);
        const std::string name =
            "mode " + std::to_string(c.bits.operatingMode) + " keying " + std::to_string(c.bits.oskEnabled) +
            " auto " + std::to_string(c.bits.autoOsk) + " pin " + std::to_string(c.bits.externalPin);
        EXPECT_EQ(grey.enable, c.grey.enable) << name;
        EXPECT_EQ(grey.amplitude, c.grey.amplitude) << name;
        EXPECT_EQ(grey.autoSetup, c.grey.autoSetup) << name;
        EXPECT_EQ(grey.pin, c.grey.pin) << name;
    }
}

struct LayoutCase {
    int16_t runMode;
    float border;
    float title;
    QSize load;
    OskModeLayout layout;
};

// LOAD's holder 121 x 33 pixels (1815 x 495 twips), borders of 60 twips, a title bar of 300.
const QSize kLoad(121, 33);
const LayoutCase kLayoutCases[] = {
    {4, 60, 300, kLoad, {true, QSize(583, 426), QPoint(8, 208), QPoint(454, 373)}},
    {0, 60, 300, kLoad, {false, QSize(285, 266), QPoint(576, 8), QPoint(156, 213)}},
    {1, 60, 300, kLoad, {false, QSize(285, 266), QPoint(576, 8), QPoint(156, 213)}},
    {5, 60, 300, kLoad, {false, QSize(285, 266), QPoint(576, 8), QPoint(156, 213)}},
    // Without a frame (metrics 0) LOAD sits in the window's own corner.
    {4, 0, 0, kLoad, {true, QSize(583, 426), QPoint(8, 208), QPoint(462, 393)}},
    {2, 0, 0, QSize(0, 0), {false, QSize(285, 266), QPoint(576, 8), QPoint(285, 266)}},
};

TEST(OskModeLayout, RunModeFourIsTheLargeWindowAndLoadKeepsItsCorner)
{
    for (const LayoutCase& c : kLayoutCases) {
        const std::optional<OskModeLayout> layout =
            sweep::oskModeLayout(c.runMode, c.border, c.title, c.load);
        ASSERT_TRUE(layout.has_value()) << c.runMode;
        EXPECT_EQ(layout->sweepShown, c.layout.sweepShown) << c.runMode;
        EXPECT_EQ(layout->window, c.layout.window) << c.runMode;
        EXPECT_EQ(layout->auxiliary, c.layout.auxiliary) << c.runMode;
        EXPECT_EQ(layout->load, c.layout.load) << c.runMode << " border " << c.border;
    }
}

TEST(OskModeLayout, AnUnknownRunModeKeepsTheLayout)
{
    for (const int16_t mode : {int16_t{-1}, int16_t{6}, int16_t{100}})
        EXPECT_FALSE(sweep::oskModeLayout(mode, 60, 300, kLoad).has_value()) << mode;
}

} // namespace
