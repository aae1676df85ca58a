#pragma once

// The OSK Control window's two layouts by run mode: the small window of the OSK panel alone, and in run
// mode 4 the large one with the auxiliary sources and the linear sweep setup. Places are computed in twips
// and returned in pixels (15 twips to the pixel).

#include <QPoint>
#include <QSize>
#include <cstdint>
#include <optional>

namespace sweep {

struct OskModeLayout {
    // The auxiliary sources and the linear sweep setup are shown.
    bool sweepShown = false;
    QSize window;
    // The auxiliary sources' frame, parked out of sight beside the OSK panel when not shown.
    QPoint auxiliary;
    // LOAD's holder, in the bottom right corner of the client area.
    QPoint load;
    bool operator==(const OskModeLayout&) const = default;
};

// The window frame's border width and title bar height (twips) place LOAD inside the client area;
// `loadSize` is LOAD's holder in pixels. Nothing for a run mode outside 0..5: the layout stays.
std::optional<OskModeLayout> oskModeLayout(int16_t runMode, float borderTwips, float titleBarTwips,
                                           QSize loadSize);

constexpr float kTwipsPerPixel = 15.0F;

} // namespace sweep
