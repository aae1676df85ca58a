#include "sweep/osk_mode_layout.h"

#include <cmath>

namespace sweep {

namespace {

// Places in twips, (left, top) or (width, height).
struct Twips {
    int x;
    int y;
};
constexpr Twips kSmallWindow{4275, 3990};
constexpr Twips kLargeWindow{8745, 6390};
constexpr Twips kAuxHidden{8640, 120};
constexpr Twips kAuxShown{120, 3120};

int pixels(float twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

} // namespace

std::optional<OskModeLayout> oskModeLayout(int16_t runMode, float borderTwips, float titleBarTwips,
                                           QSize loadSize)
{
    if (runMode < 0 || runMode > 5)
        return std::nullopt;
    const bool sweepMode = runMode == 4;
    const Twips window = sweepMode ? kLargeWindow : kSmallWindow;
    const Twips aux = sweepMode ? kAuxShown : kAuxHidden;
    const float left = static_cast<float>(window.x) - static_cast<float>(loadSize.width()) * kTwipsPerPixel -
                       2 * borderTwips;
    const float top =
        static_cast<float>(window.y) - static_cast<float>(loadSize.height()) * kTwipsPerPixel - titleBarTwips;
    OskModeLayout layout;
    layout.sweepShown = sweepMode;
    layout.window = QSize(pixels(static_cast<float>(window.x)), pixels(static_cast<float>(window.y)));
    layout.auxiliary = QPoint(pixels(static_cast<float>(aux.x)), pixels(static_cast<float>(aux.y)));
    layout.load = QPoint(pixels(left), pixels(top));
    return layout;
}

} // namespace sweep
