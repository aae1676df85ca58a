#include "widgets/progress_geometry.h"

#include <cmath>

double progressFraction(int32_t value, int32_t min, int32_t max)
{
    const double span = static_cast<double>(max) - static_cast<double>(min);
    if (span == 0.0)
        return 0.0;
    double fraction = (static_cast<double>(value) - static_cast<double>(min)) / span;
    if (fraction > 1.0)
        fraction = 1.0;
    if (fraction < 0.0)
        fraction = 0.0;
    return fraction;
}

PixelRect progressInnerRect(const PixelRect& outer, int borderStyle, int appearance, bool themed)
{
    if (borderStyle <= 0)
        return outer;
    if (themed)
        return outer.shrunk(1);
    return outer.shrunk(appearance == 2 ? 2 : 1);
}

namespace {
// Halves go to the even neighbour, as the bar has always rounded.
int roundHalfEven(double value)
{
    const double floorValue = std::floor(value);
    const double rest = value - floorValue;
    double rounded = floorValue;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(floorValue, 2.0) != 0.0))
        rounded += 1.0;
    return static_cast<int>(rounded);
}
} // namespace

PixelRect progressBarRect(const PixelRect& inner, double fraction, bool horizontal, int step)
{
    PixelRect bar = inner;
    if (horizontal) {
        bar.right = inner.left + roundHalfEven(static_cast<double>(inner.right - inner.left) * fraction);
        if (step > 0) {
            bar.right -= (bar.right - bar.left) % step;
            if (bar.right < inner.left)
                bar.right = inner.left;
        }
    } else {
        bar.top = inner.top + roundHalfEven(static_cast<double>(inner.bottom - inner.top) * (1.0 - fraction));
        if (step > 0) {
            bar.top -= (bar.top - bar.bottom) % step;
            if (bar.top > inner.bottom)
                bar.top = inner.bottom;
        }
    }
    return bar;
}
