#pragma once

#include <Qt>
#include <optional>

namespace ui {

// The Qt cursor for a classic mouse-pointer number (0 default, 1 arrow, 2 cross, 3 I-beam, 5/15 size all,
// 6/8 diagonal sizes, 7 north-south, 9 east-west, 10 up arrow, 11 hourglass, 12 no drop, 13 arrow and
// hourglass, 14 arrow and question mark); nullopt for 0 and for numbers without a cursor (the default).
std::optional<Qt::CursorShape> cursorShapeForPointer(int pointer);

} // namespace ui
