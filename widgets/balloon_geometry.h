#pragma once

#include <QColor>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>

class QImage;

// The shape and placement of the balloon tooltip, apart from any window so that they can be checked.
namespace balloon {

// Height of the tail below the body, in pixels.
constexpr int kTailHeight = 20;
// How far left of the pointed-at spot the window starts (the tail sits near the window's left edge).
constexpr int kTailOffsetX = 18;

// The window's shape for a client rectangle (right and bottom exclusive): a body with rounded corners down
// to bottom - 19, and a tail from (left + 16..36, bottom - 20) down to a tip at (left + 16, bottom).
QRegion bubbleRegion(const QRect& client);
// The drawn outline: the body's rounded rectangle and the tail's triangle.
QRect bodyOutline(const QRect& client);
QPolygon tailOutline(const QRect& client);

// The window's size from the placed icon, title and text (pixels): wide enough for the wider of title
// (measured from the icon) and text with the text's margin on both sides; high enough for the text and
// twice the icon's top margin (the tail lives in that).
QSize bubbleSize(int iconLeft, int iconTop, int titleLeft, int titleWidth, int textLeft, int textTop,
                 int textWidth, int textHeight);

// The window's top-left so that its tail points at `target` (the control's top centre on screen).
QPoint bubblePosition(const QPoint& target, int bubbleHeight);

// The region of the pixels of `picture` within `bounds` (inclusive) whose colour is not `transparent`,
// built column by column from vertical runs.
QRegion regionFromPicture(const QImage& picture, const QRect& bounds, const QColor& transparent);

// The name of a desktop system from its version information (platform 1: the 95 family, 2: the NT
// family, 3: CE); "Unable To get Windows Version" for any other platform.
QString windowsVersionName(int platformId, int major, int minor, int build);

} // namespace balloon
