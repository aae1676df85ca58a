#include "widgets/progress_drawing.h"

#include "platform/ui/colors.h"

#include <QImage>
#include <QPainter>

namespace progress_drawing {

namespace {

constexpr uint32_t kShadow = 0x80000010;     // button shadow
constexpr uint32_t kHighlight = 0x80000014;  // button highlight
constexpr uint32_t kDarkShadow = 0x80000015; // 3-D dark shadow
constexpr uint32_t kLight = 0x80000016;      // 3-D light

QColor systemColour(uint32_t colour)
{
    return ui::toQColor(colour);
}

// One-pixel runs; both ends included.
void row(QPainter& painter, int y, int x1, int x2, const QColor& colour)
{
    if (x2 < x1)
        std::swap(x1, x2);
    painter.fillRect(QRect(x1, y, x2 - x1 + 1, 1), colour);
}

void column(QPainter& painter, int x, int y1, int y2, const QColor& colour)
{
    if (y2 < y1)
        std::swap(y1, y2);
    painter.fillRect(QRect(x, y1, 1, y2 - y1 + 1), colour);
}

// One ring of a 3-D edge: top and left in one colour, bottom and right (drawn last, so they own the two
// shared corners) in the other.
void ring(QPainter& painter, const PixelRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    const int R = r.right - 1;
    const int B = r.bottom - 1;
    if (R < r.left || B < r.top)
        return;
    row(painter, r.top, r.left, R, topLeft);
    column(painter, r.left, r.top, B, topLeft);
    row(painter, B, r.left, R, bottomRight);
    column(painter, R, r.top, B, bottomRight);
}

} // namespace

QColor fillColour(uint32_t colour, uint32_t fallbackSystemColour)
{
    if (ui::isSystemColour(colour)) {
        if (auto named = ui::tryToQColor(0x80000000u | (colour & 31u)))
            return *named;
        return systemColour(fallbackSystemColour);
    }
    return ui::toQColor(colour & 0x00FFFFFFu);
}

QColor captionColour(uint32_t colour)
{
    return ui::toQColor(colour);
}

void DrawBorder(QPainter& painter, int style, const PixelRect& rect, bool raised)
{
    const int left = rect.left;
    const int top = rect.top;
    const int R = rect.right - 1;
    const int B = rect.bottom - 1;
    if (R < left || B < top)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    switch (style) {
    case 0: {
        const QColor black(Qt::black);
        row(painter, top, left, R, black);
        column(painter, R, top, B, black);
        row(painter, B, left, R, black);
        column(painter, left, top, B, black);
        break;
    }
    case 1: {
        const QColor shadow = systemColour(kShadow);
        const QColor highlight = systemColour(kHighlight);
        if (raised) {
            column(painter, left, B - 1, top + 1, highlight);
            row(painter, top, left, R - 1, highlight);
            column(painter, R, top, B - 1, shadow);
            row(painter, B, R, left, shadow);
        } else {
            column(painter, left, B, top + 1, shadow);
            row(painter, top, left, R, shadow);
            column(painter, R, top + 1, B - 1, highlight);
            row(painter, B, R, left + 1, highlight);
        }
        break;
    }
    case 2:
        if (raised) {
            ring(painter, rect, systemColour(kLight), systemColour(kDarkShadow));
            ring(painter, rect.shrunk(1), systemColour(kHighlight), systemColour(kShadow));
        } else {
            ring(painter, rect, systemColour(kShadow), systemColour(kHighlight));
            ring(painter, rect.shrunk(1), systemColour(kDarkShadow), systemColour(kLight));
        }
        break;
    default:
        break;
    }
    painter.restore();
}

void TileBitmap(QPainter& painter, int x, int y, int w, int h, const QImage& source, int sw, int sh, int ox,
                int oy)
{
    if (sw <= 0 || sh <= 0 || w <= 0 || h <= 0 || source.isNull())
        return;
    const auto wrap = [](int value, int size) { return ((value % size) + size) % size; };
    const int firstColumn = wrap(x + ox, sw);
    int sourceRow = wrap(y + oy, sh);
    int tileHeight = sh - sourceRow;
    const QPainter::CompositionMode previous = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (int ty = y; ty < y + h;) {
        const int copyHeight = std::min(tileHeight, y + h - ty);
        int sourceColumn = firstColumn;
        int tileWidth = sw - sourceColumn;
        for (int tx = x; tx < x + w;) {
            const int copyWidth = std::min(tileWidth, x + w - tx);
            painter.drawImage(QRect(tx, ty, copyWidth, copyHeight), source,
                              QRect(sourceColumn, sourceRow, copyWidth, copyHeight));
            tx += copyWidth;
            sourceColumn = 0;
            tileWidth = sw;
        }
        ty += copyHeight;
        sourceRow = 0;
        tileHeight = sh;
    }
    painter.setCompositionMode(previous);
}

} // namespace progress_drawing
