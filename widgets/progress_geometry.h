#pragma once

#include <QRect>
#include <cstdint>

// A rectangle by its edges, right and bottom exclusive, as the bar's arithmetic counts them.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }
    PixelRect shrunk(int by) const { return {left + by, top + by, right - by, bottom - by}; }
    bool operator==(const PixelRect&) const = default;
};

// (value - min) / (max - min), clamped to 0..1; 0 when max equals min (the range is empty). Computed
// without overflow for any 32-bit values.
double progressFraction(int32_t value, int32_t min, int32_t max);

// The inner rectangle inside the border: 1 pixel in when themed, else 2 for the full 3-D look
// (appearance 2) and 1 otherwise; no border (style 0) keeps the outer rectangle.
PixelRect progressInnerRect(const PixelRect& outer, int borderStyle, int appearance, bool themed);

// The bar within the inner rectangle for a fraction of 0..1: a horizontal bar grows from the left, a
// vertical one from the bottom. With a step (chunk + gap, > 0) the bar covers whole steps only, counted
// from its fixed end. Lengths round halves to even.
PixelRect progressBarRect(const PixelRect& inner, double fraction, bool horizontal, int step);
