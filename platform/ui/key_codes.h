#pragma once

// The classic key codes a KeyPress handler sees (`KeyAscii`), named once.

namespace ui {

constexpr int vbKeyBack = 8;
constexpr int vbKeyReturn = 13;
constexpr int vbKeyEscape = 27;
constexpr int vbKeySpace = 32;
// Ctrl+R as a typed key: the chip windows re-read their values from the register map.
constexpr int kKeyAsciiCtrlR = 18;

} // namespace ui
