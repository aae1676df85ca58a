#include "board/clock_plan.h"

#include "board/vco_tables.h"

#include <algorithm>
#include <cmath>

namespace clockplan {

int referenceDivider(const ClockInputs& in)
{
    return in.referenceDividerOff ? 1 : 2;
}

double dividedReference(const ClockInputs& in)
{
    return in.reference.value_or(0) / referenceDivider(in);
}

namespace {

int ratioSR12(const ClockInputs& in)
{
    return in.pllOn ? in.ratioIndex + 1 : 1;
}

} // namespace

std::optional<double> systemClockSR12(const ClockInputs& in)
{
    if (!in.reference)
        return std::nullopt;
    return (static_cast<double>(ratioSR12(in)) / referenceDivider(in)) * *in.reference;
}

std::optional<double> vcoFrequencySR12(const ClockInputs& in)
{
    if (!in.reference)
        return std::nullopt;
    const int m = std::max(0, in.mDividerIndex);
    return std::ldexp(1.0, m) * ratioSR12(in) * (*in.reference / referenceDivider(in));
}

std::optional<double> systemClockSR3(const ClockInputs& in)
{
    if (!in.reference)
        return std::nullopt;
    if (!in.pllOn)
        return *in.reference / referenceDivider(in);
    if (!in.multiplier)
        return std::nullopt;
    return *in.reference * *in.multiplier * (in.pfdDoubler ? 2 : 1);
}

bool validReference(std::optional<double> mhz)
{
    return mhz && *mhz > 0 && *mhz <= kMaxReferenceMHz;
}

bool validSystemClock(std::optional<double> mhz)
{
    return mhz && *mhz > 0 && *mhz <= kMaxSystemClockMHz;
}

bool validMultiplierSR3(double multiplier)
{
    return (multiplier >= 12 && multiplier <= 127) || (multiplier >= 8 && multiplier <= 10);
}

int bandHolding(std::span<const Band> bands, double mhz)
{
    for (size_t i = 0; i < bands.size(); ++i) {
        if (bands[i][0] <= mhz && mhz <= bands[i][1])
            return static_cast<int>(i);
    }
    return static_cast<int>(bands.size());
}

int pllBand(std::span<const Band> bands, bool pllOn, std::optional<double> mhz)
{
    const int none = static_cast<int>(bands.size());
    if (!pllOn)
        return none + 1;
    return mhz ? bandHolding(bands, *mhz) : none;
}

bool bandHolds(std::span<const Band> bands, int band, double mhz)
{
    if (band < 0 || static_cast<size_t>(band) >= bands.size())
        return false;
    const Band& limits = bands[static_cast<size_t>(band)];
    return limits[0] <= mhz && mhz <= limits[1];
}

std::optional<double> ioUpdatePeriod(double count, std::optional<double> systemClockMHz)
{
    if (!systemClockMHz || *systemClockMHz <= 0)
        return std::nullopt;
    const double period = ebCheckRateRange(count, *systemClockMHz);
    if (period == -1)
        return std::nullopt;
    return period;
}

std::optional<double> ioUpdateCount(double period, double systemClockMHz)
{
    const double count = ebTimeToSysClkCount(period, systemClockMHz);
    if (count == -1 || ebCheckRateRange(count, systemClockMHz) == -1)
        return std::nullopt;
    return count;
}

} // namespace clockplan
