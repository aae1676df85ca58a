#include "platform/ui/modal_focus_return.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace ui::detail {

namespace {

bool canTakeKeyboard(const QWidget* window)
{
    return window && window->isVisible() && !window->isMinimized() && window->isEnabled();
}

QWidget* widgetOf(const QWindow* handle)
{
    if (!handle)
        return nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->windowHandle() == handle)
            return window;
    return nullptr;
}

// The window the user returns to when the modal window `closed` goes.
QWidget* windowAfter(const QWidget& closed)
{
    if (QWidget* modal = QApplication::activeModalWidget(); canTakeKeyboard(modal) && modal != &closed)
        return modal;
    if (QWidget* owner = closed.parentWidget() ? closed.parentWidget()->window() : nullptr;
        canTakeKeyboard(owner))
        return owner;
    if (QWidget* under = widgetOf(closed.windowHandle() ? closed.windowHandle()->transientParent() : nullptr);
        canTakeKeyboard(under))
        return under;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(window) && window != &closed && canTakeKeyboard(window))
            return window;
    return nullptr;
}

} // namespace

void ModalFocusReturn::install()
{
    static ModalFocusReturn* watch = nullptr;
    if (watch || !qApp)
        return;
    // Lives as long as the application, as its event filter.
    watch = new ModalFocusReturn;
    watch->setParent(qApp);
    qApp->installEventFilter(watch);
}

bool ModalFocusReturn::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Hide || event->spontaneous() || !watched->isWidgetType())
        return false;
    auto* closed = static_cast<QWidget*>(watched);
    // Only while the program has the keyboard (the window system has not yet told it that the window
    // went): the user may be working in another program.
    if (!closed->isWindow() || !closed->isModal() ||
        QGuiApplication::applicationState() != Qt::ApplicationActive)
        return false;
    if (QWidget* active = QApplication::activeWindow(); active && active != closed)
        return false;
    QWidget* next = windowAfter(*closed);
    if (!next)
        return false;
    // Once the window is gone: its modal loop ends and the window system hears of it first.
    const QPointer<const QWidget> gone = closed;
    const QPointer<QWidget> after = next;
    QMetaObject::invokeMethod(
        this,
        [gone, after] {
            if (after)
                returnFrom(gone, *after);
        },
        Qt::QueuedConnection);
    return false;
}

void ModalFocusReturn::returnFrom(const QWidget* closed, QWidget& next)
{
    if (closed && closed->isVisible())
        return; // shown again meanwhile
    if (!canTakeKeyboard(&next))
        return;
    QWidget* active = QApplication::activeWindow();
    if (active && active != closed && active != &next && active->isVisible())
        return; // another window of the program has the keyboard
    next.activateWindow();
}

} // namespace ui::detail
