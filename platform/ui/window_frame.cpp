#include "platform/ui/window_frame.h"

#include "platform/ui/form.h"

#include <QRandomGenerator>
#include <QWidget>

namespace ui::detail {

Qt::WindowStates withState(Qt::WindowStates states, int state)
{
    states &= ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    if (state == vbMinimized)
        states |= Qt::WindowMinimized;
    else if (state == vbMaximized)
        states |= Qt::WindowMaximized;
    return states;
}

void setFlagKeepingVisibility(QWidget* window, Qt::WindowType flag, bool on)
{
    const bool wasVisible = window->isVisible();
    window->setWindowFlag(flag, on);
    if (wasVisible)
        window->show();
}

Qt::WindowFlags withoutCloseButton(Qt::WindowFlags flags)
{
    if (!flags.testFlag(Qt::CustomizeWindowHint))
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint;
    flags.setFlag(Qt::WindowCloseButtonHint, false);
    return flags;
}

void setOwnerWindow(QWidget& window, QWidget* owner)
{
    if (window.parentWidget() == owner)
        return;
    const bool wasVisible = window.isVisible();
    window.setParent(owner, window.windowFlags() | Qt::Window);
    if (wasVisible)
        window.show();
}

void takeOutOf(QWidget& window, const QWidget& container)
{
    for (const QWidget* up = window.parentWidget(); up; up = up->parentWidget()) {
        if (up == &container) {
            window.hide();
            window.setParent(nullptr, Qt::Window);
            return;
        }
    }
}

uint32_t nextWindowHandle()
{
    static uint32_t next = QRandomGenerator::system()->generate() & 0x7FFFFFFCu;
    next = (next + 4) & 0x7FFFFFFCu;
    return 0x80000000u | next;
}

} // namespace ui::detail
