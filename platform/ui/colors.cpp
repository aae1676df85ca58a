#include "platform/ui/colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace ui {

namespace {

struct PaletteEntry {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The classic system-colour indexes, mapped to the desktop palette roles that play the same part.
std::optional<PaletteEntry> paletteEntryFor(uint32_t index)
{
    using G = QPalette::ColorGroup;
    using R = QPalette::ColorRole;
    switch (index) {
    case 0:
        return PaletteEntry{G::Active, R::Button}; // scroll bars
    case 1:
        return PaletteEntry{G::Active, R::Dark}; // desktop
    case 2:
        return PaletteEntry{G::Active, R::Highlight}; // active title bar
    case 3:
        return PaletteEntry{G::Inactive, R::Mid}; // inactive title bar
    case 4:
        return PaletteEntry{G::Active, R::Window}; // menu bar
    case 5:
        return PaletteEntry{G::Active, R::Base}; // window background
    case 6:
        return PaletteEntry{G::Active, R::Shadow}; // window frame
    case 7:
        return PaletteEntry{G::Active, R::WindowText}; // menu text
    case 8:
        return PaletteEntry{G::Active, R::Text}; // window text
    case 9:
        return PaletteEntry{G::Active, R::HighlightedText}; // title bar text
    case 10:
        return PaletteEntry{G::Active, R::Window}; // active border
    case 11:
        return PaletteEntry{G::Inactive, R::Window}; // inactive border
    case 12:
        return PaletteEntry{G::Active, R::Dark}; // application workspace
    case 13:
        return PaletteEntry{G::Active, R::Highlight}; // highlight
    case 14:
        return PaletteEntry{G::Active, R::HighlightedText}; // highlight text
    case 15:
        return PaletteEntry{G::Active, R::Button}; // button face
    case 16:
        return PaletteEntry{G::Active, R::Dark}; // button shadow
    case 17:
        return PaletteEntry{G::Disabled, R::Text}; // grey text
    case 18:
        return PaletteEntry{G::Active, R::ButtonText}; // button text
    case 19:
        return PaletteEntry{G::Inactive, R::HighlightedText};
    case 20:
        return PaletteEntry{G::Active, R::Light}; // button highlight
    case 21:
        return PaletteEntry{G::Active, R::Shadow}; // 3-D dark shadow
    case 22:
        return PaletteEntry{G::Active, R::Midlight}; // 3-D light
    case 23:
        return PaletteEntry{G::Active, R::ToolTipText}; // tooltip text
    case 24:
        return PaletteEntry{G::Active, R::ToolTipBase}; // tooltip background
    case 26:
        return PaletteEntry{G::Active, R::Link}; // hot-tracked item
    case 27:
        return PaletteEntry{G::Active, R::Highlight}; // gradient of the active title
    case 28:
        return PaletteEntry{G::Inactive, R::Mid}; // gradient of the inactive title
    case 29:
        return PaletteEntry{G::Active, R::Highlight}; // menu highlight
    case 30:
        return PaletteEntry{G::Active, R::Window}; // menu bar (flat menus)
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<QColor> tryToQColor(uint32_t colour)
{
    if (isSystemColour(colour)) {
        if ((colour & 0x7FFFFF00u) != 0)
            return std::nullopt;
        const auto entry = paletteEntryFor(colour & 0xFFu);
        if (!entry)
            return std::nullopt;
        return QGuiApplication::palette().color(entry->group, entry->role);
    }
    if ((colour & 0xFF000000u) != 0)
        return std::nullopt;
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

QColor toQColor(uint32_t colour)
{
    return tryToQColor(colour).value_or(QColor(Qt::black));
}

uint32_t fromQColor(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return RGB(rgb.red(), rgb.green(), rgb.blue());
}

uint32_t resolveColour(uint32_t colour)
{
    return fromQColor(toQColor(colour));
}

} // namespace ui
