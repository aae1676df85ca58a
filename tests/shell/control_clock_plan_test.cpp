// The Control window's clock plan without the window: the system clock and VCO frequency of both PLL
// layouts, the limits that mark a clock or multiplier, the band choice at band edges and overlaps, and the
// I/O update period and count. No widget is made.

#include "board/clock_plan.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

using namespace clockplan;

namespace {

constexpr std::optional<double> kNone = std::nullopt;

ClockInputs inputs(std::optional<double> reference, bool dividerOff, bool pllOn)
{
    ClockInputs in;
    in.reference = reference;
    in.referenceDividerOff = dividerOff;
    in.pllOn = pllOn;
    return in;
}

struct SR12Case {
    const char* what;
    ClockInputs in;
    std::optional<double> systemClock;
    std::optional<double> vco;
};

TEST(ControlClockPlan, Revision12SystemClockAndVco)
{
    auto with = [](ClockInputs in, int ratioIndex, int mIndex) {
        in.ratioIndex = ratioIndex;
        in.mDividerIndex = mIndex;
        return in;
    };
    const std::vector<SR12Case> cases = {
        {"PLL off: reference / R", with(inputs(1000, false, false), 19, 2), 500, 2000},
        {"PLL off, divider off", with(inputs(1000, true, false), 19, 2), 1000, 4000},
        {"20x, divider off, x4", with(inputs(25, true, true), 19, 2), 500, 2000},
        {"64x with the divider", with(inputs(20, false, true), 63, 0), 640, 640},
        {"no M selection counts as x1", with(inputs(20, true, true), 1, -1), 40, 40},
        {"no ratio selection gives 0", with(inputs(20, true, true), -1, 0), 0, 0},
        {"no reference", with(inputs(kNone, true, true), 19, 2), kNone, kNone},
    };
    for (const SR12Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(systemClockSR12(c.in), c.systemClock);
        EXPECT_EQ(vcoFrequencySR12(c.in), c.vco);
    }
}

struct SR3Case {
    const char* what;
    ClockInputs in;
    std::optional<double> systemClock;
    double dividedReference;
};

TEST(ControlClockPlan, Revision3SystemClock)
{
    auto pll = [](std::optional<double> reference, std::optional<double> multiplier, bool doubler) {
        ClockInputs in = inputs(reference, false, true);
        in.multiplier = multiplier;
        in.pfdDoubler = doubler;
        return in;
    };
    const std::vector<SR3Case> cases = {
        {"PLL off: reference / R", inputs(1000, false, false), 500, 500},
        {"PLL off, divider off", inputs(1000, true, false), 1000, 1000},
        // With the PLL on the ÷2 divider is not in the path.
        {"multiplier 20", pll(25, 20, false), 500, 12.5},
        {"multiplier 20 and the doubler", pll(25, 20, true), 1000, 12.5},
        {"no multiplier while the PLL is on", pll(25, kNone, false), kNone, 12.5},
        {"no reference", pll(kNone, 20, false), kNone, 0},
    };
    for (const SR3Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(systemClockSR3(c.in), c.systemClock);
        EXPECT_DOUBLE_EQ(dividedReference(c.in), c.dividedReference);
    }
}

TEST(ControlClockPlan, LimitsOfReferenceSystemClockAndMultiplier)
{
    struct Limit {
        std::optional<double> mhz;
        bool reference;
        bool systemClock;
    };
    for (const Limit& l : {Limit{kNone, false, false}, Limit{0, false, false}, Limit{-5, false, false},
                           Limit{0.001, true, true}, Limit{1000, true, true}, Limit{1000.001, true, false},
                           Limit{2000, true, false}, Limit{2000.001, false, false}}) {
        SCOPED_TRACE(l.mhz.value_or(-1));
        EXPECT_EQ(validReference(l.mhz), l.reference);
        EXPECT_EQ(validSystemClock(l.mhz), l.systemClock);
    }
    const std::array<bool, 16> locksAt = {false, false, false, false, false, false, false, false,
                                          true,  true,  true,  false, true,  true,  true,  true};
    for (int n = 0; n < 16; ++n)
        EXPECT_EQ(validMultiplierSR3(n), locksAt[static_cast<size_t>(n)]) << n;
    EXPECT_TRUE(validMultiplierSR3(127));
    EXPECT_FALSE(validMultiplierSR3(128));
}

TEST(ControlClockPlan, BandsAtTheirEdgesAndOverlaps)
{
    // Three bands, the second overlapping the first, the third below the second.
    const std::array<Band, 3> bands = {{{100, 200}, {190, 300}, {50, 80}}};
    struct BandCase {
        bool pllOn;
        std::optional<double> mhz;
        int band;
    };
    for (const BandCase& c : {BandCase{true, 100, 0}, BandCase{true, 195, 0}, BandCase{true, 200.5, 1},
                              BandCase{true, 300, 1}, BandCase{true, 300.01, 3}, BandCase{true, 60, 2},
                              BandCase{true, 99.99, 3}, BandCase{true, kNone, 3}, BandCase{false, 150, 4}}) {
        SCOPED_TRACE(c.mhz.value_or(-1));
        EXPECT_EQ(pllBand(bands, c.pllOn, c.mhz), c.band);
    }
    EXPECT_TRUE(bandHolds(bands, 1, 195));
    EXPECT_FALSE(bandHolds(bands, 2, 195));
    EXPECT_FALSE(bandHolds(bands, 3, 60)) << "no band 3";
    EXPECT_FALSE(bandHolds(bands, -1, 60));
}

TEST(ControlClockPlan, IOUpdatePeriodAndCount)
{
    // At 400 MHz the counter ticks every 10 ns.
    struct PeriodCase {
        double count;
        std::optional<double> clock;
        std::optional<double> period;
    };
    for (const PeriodCase& c :
         {PeriodCase{100, 400, 1e-6}, PeriodCase{0, 400, 0},
          PeriodCase{kMaxIOUpdateCount, 400, kMaxIOUpdateCount * 1e-8},
          PeriodCase{kMaxIOUpdateCount + 1, 400, kNone}, PeriodCase{-1, 400, kNone},
          PeriodCase{100, 0, kNone}, PeriodCase{100, -400, kNone}, PeriodCase{100, kNone, kNone}}) {
        SCOPED_TRACE(c.count);
        const std::optional<double> period = ioUpdatePeriod(c.count, c.clock);
        ASSERT_EQ(period.has_value(), c.period.has_value());
        if (period) {
            EXPECT_NEAR(*period, *c.period, 1e-15);
        }
    }
    struct CountCase {
        double period;
        std::optional<double> count;
    };
    for (const CountCase& c : {CountCase{1e-6, 100}, CountCase{1.5e-8, 1}, CountCase{0, 0},
                               CountCase{-1e-6, kNone}, CountCase{43, kNone}}) {
        SCOPED_TRACE(c.period);
        EXPECT_EQ(ioUpdateCount(c.period, 400), c.count);
    }
    EXPECT_EQ(ioUpdateCount(1e-6, 0), kNone) << "no clock, no count";
}

} // namespace
