#include "platform/ui/modal_dialog_window.h"

#include "platform/ui/msgbox.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace ui::detail {

namespace {

Qt::WindowFlags modalDialogFlags(Qt::WindowFlags flags, bool closeButton)
{
    flags &= ~Qt::WindowType_Mask;
    flags |= Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    flags &= ~(Qt::WindowMinMaxButtonsHint | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    flags.setFlag(Qt::WindowCloseButtonHint, closeButton);
    return flags;
}

// A modal dialog that did not place itself opens centred over the window it belongs to (or the screen), never
// over the main window's menu in the corner a desktop without a window manager would give it.
void placeModalDialog(QWidget& window)
{
    if (window.testAttribute(Qt::WA_Moved))
        return;
    QWidget* over = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    if (!over) {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top != &window && top->isVisible() && qobject_cast<QMainWindow*>(top) &&
                top->width() > window.width()) {
                over = top;
                break;
            }
    }
    QRect area = over ? over->frameGeometry() : QRect();
    if (const QScreen* screen = window.screen(); screen && (area.isEmpty() || !over->isVisible()))
        area = screen->availableGeometry();
    if (area.isEmpty())
        return;
    QRect placed(QPoint(0, 0), window.frameGeometry().size());
    placed.moveCenter(area.center());
    if (const QScreen* screen = window.screen()) {
        const QRect visible = screen->availableGeometry();
        placed.moveLeft(std::max(visible.left(), std::min(placed.left(), visible.right() - placed.width())));
        placed.moveTop(std::max(visible.top(), std::min(placed.top(), visible.bottom() - placed.height())));
    }
    window.move(placed.topLeft());
}

// The window a dialog without an owner is shown over: the active one, else the main window.
QWidget* windowShownOver(const QWidget& window)
{
    if (QWidget* active = QApplication::activeWindow(); active && active != &window && active->isVisible())
        return active;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top != &window && top->isVisible() && qobject_cast<QMainWindow*>(top))
            return top;
    return nullptr;
}

// The window manager keeps a dialog with the window it belongs to: above it, minimised and restored with
// it. Without an owner the window system would tie it to the program's hidden group window instead, which
// the window manager does not keep it with.
void belongToWindowBelow(QWidget& window)
{
    if (window.parentWidget())
        return;
    QWidget* below = windowShownOver(window);
    if (!below || !below->windowHandle())
        return;
    window.winId(); // the window's handle, made now to carry the tie from its first showing
    window.windowHandle()->setTransientParent(below->windowHandle());
}

} // namespace

void becomeModalDialog(QWidget& window, bool closeButton)
{
    if (window.isVisible())
        window.hide();
    window.setWindowModality(Qt::ApplicationModal);
    window.setWindowFlags(modalDialogFlags(window.windowFlags(), closeButton));
}

void settleModalDialog(QWidget& window, const QString& caption, bool firstShow)
{
    // A fixed border the user cannot drag, and a window manager offers no maximise button for it.
    if (firstShow && !window.testAttribute(Qt::WA_Resized))
        window.adjustSize();
    window.setFixedSize(std::max(window.width(), widthForCaption(caption)), window.height());
    if (firstShow)
        placeModalDialog(window);
    belongToWindowBelow(window);
}

void leaveModalDialog(QWidget& window)
{
    if (window.isVisible())
        return;
    window.setWindowModality(Qt::NonModal);
    if (window.windowHandle() && !window.parentWidget())
        window.windowHandle()->setTransientParent(nullptr);
    window.setMinimumSize(0, 0);
    window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

} // namespace ui::detail
