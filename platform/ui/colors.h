#pragma once

#include <QColor>
#include <cstdint>
#include <optional>

namespace ui {

// Colours are 32-bit values in the order 0x00BBGGRR (so 0x0000FF is red). A value with the top bit set is
// a system colour: its low byte is an index into the desktop palette (5 window, 8 window text, 13 highlight,
// 15 button face, 16 button shadow, 17 grey text, 18 button text, 20 button highlight, 23/24 tooltip text
// and background, ...). Indexes follow the classic system-colour numbering.
namespace colors {
constexpr uint32_t vbBlack = 0x000000;
constexpr uint32_t vbRed = 0x0000FF;
constexpr uint32_t vbGreen = 0x00FF00;
constexpr uint32_t vbYellow = 0x00FFFF;
constexpr uint32_t vbBlue = 0xFF0000;
constexpr uint32_t vbMagenta = 0xFF00FF;
constexpr uint32_t vbCyan = 0xFFFF00;
constexpr uint32_t vbWhite = 0xFFFFFF;

constexpr uint32_t vbScrollBars = 0x80000000;
constexpr uint32_t vbDesktop = 0x80000001;
constexpr uint32_t vbActiveTitleBar = 0x80000002;
constexpr uint32_t vbInactiveTitleBar = 0x80000003;
constexpr uint32_t vbMenuBar = 0x80000004;
constexpr uint32_t vbWindowBackground = 0x80000005;
constexpr uint32_t vbWindowFrame = 0x80000006;
constexpr uint32_t vbMenuText = 0x80000007;
constexpr uint32_t vbWindowText = 0x80000008;
constexpr uint32_t vbTitleBarText = 0x80000009;
constexpr uint32_t vbActiveBorder = 0x8000000A;
constexpr uint32_t vbInactiveBorder = 0x8000000B;
constexpr uint32_t vbApplicationWorkspace = 0x8000000C;
constexpr uint32_t vbHighlight = 0x8000000D;
constexpr uint32_t vbHighlightText = 0x8000000E;
constexpr uint32_t vbButtonFace = 0x8000000F;
constexpr uint32_t vbButtonShadow = 0x80000010;
constexpr uint32_t vbGrayText = 0x80000011;
constexpr uint32_t vbButtonText = 0x80000012;
constexpr uint32_t vbInactiveCaptionText = 0x80000013;
constexpr uint32_t vb3DHighlight = 0x80000014;
constexpr uint32_t vb3DDKShadow = 0x80000015;
constexpr uint32_t vb3DLight = 0x80000016;
constexpr uint32_t vbInfoText = 0x80000017;
constexpr uint32_t vbInfoBackground = 0x80000018;
} // namespace colors

constexpr bool isSystemColour(uint32_t colour)
{
    return (colour & 0x80000000u) != 0;
}

// Builds 0x00BBGGRR from its parts.
constexpr uint32_t RGB(int red, int green, int blue)
{
    return (static_cast<uint32_t>(red) & 0xFF) | ((static_cast<uint32_t>(green) & 0xFF) << 8) |
           ((static_cast<uint32_t>(blue) & 0xFF) << 16);
}

// The colour as Qt shows it; nullopt for a value that names no colour (a system index the palette does
// not have, or an RGB value with bits above the blue byte).
std::optional<QColor> tryToQColor(uint32_t colour);
// As tryToQColor, with black for a value that names no colour.
QColor toQColor(uint32_t colour);
// 0x00BBGGRR of a Qt colour (alpha dropped).
uint32_t fromQColor(const QColor& colour);
// A system colour resolved to its RGB value now (plain RGB values are returned unchanged); black when
// the value names no colour.
uint32_t resolveColour(uint32_t colour);

} // namespace ui
