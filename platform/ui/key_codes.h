#pragma once

// The classic key codes a KeyPress handler sees (`KeyAscii`), named once.

namespace ui {

constexpr int vbKeyBack = 8;
constexpr int vbKeyReturn = 13;
constexpr int vbKeyEscape = 27;
constexpr int vbKeySpace = 32;

} // namespace ui
