#pragma once

#include "widgets/progress_geometry.h"

#include <QColor>
#include <cstdint>

class QImage;
class QPainter;

// The drawing pieces of the progress bar's classic look.
namespace progress_drawing {

// The colour a fill paints with: a system colour by its index (value AND 31), else the RGB value. A system
// index that names no colour (the default -1 names index 31) paints with `fallbackSystemColour`.
QColor fillColour(uint32_t colour, uint32_t fallbackSystemColour);
// The colour a caption is written in: a system colour or an RGB value; black for a value that names none.
QColor captionColour(uint32_t colour);

// A border on `rect`: style 0 a black one-pixel frame; style 1 a thin 3-D edge (shadow above and left,
// highlight below and right when sunken; the other way round when raised); style 2 a two-pixel 3-D edge.
// Other styles draw nothing.
void DrawBorder(QPainter& painter, int style, const PixelRect& rect, bool raised);

// Covers (x, y, w, h) with copies of the top-left sw x sh of `source`, starting in the source at
// ((x + ox) mod sw, (y + oy) mod sh), so tiles line up with the origin whatever rectangle is drawn.
void TileBitmap(QPainter& painter, int x, int y, int w, int h, const QImage& source, int sw, int sh, int ox,
                int oy);

} // namespace progress_drawing
