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

// A window that the window system gives the keyboard to as it comes on the screen.
bool takesKeyboardWhenShown(const QWidget& window)
{
    const Qt::WindowType type = window.windowType();
    return type != Qt::Popup && type != Qt::ToolTip && !window.testAttribute(Qt::WA_ShowWithoutActivating);
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
    const QEvent::Type type = event->type();
    if ((type != QEvent::Hide && type != QEvent::Show) || event->spontaneous() || !watched->isWidgetType())
        return false;
    auto* window = static_cast<QWidget*>(watched);
    if (!window->isWindow())
        return false;
    if (type == QEvent::Show) {
        if (takesKeyboardWhenShown(*window)) {
            ++windowsShown_;
            lastShown_ = window;
        }
        return false;
    }
    // Only while the program has the keyboard (the window system has not yet told it that the window
    // went): the user may be working in another program.
    if (!window->isModal() || !programActive())
        return false;
    QWidget* next = windowAfter(*window);
    if (!next)
        return false;
    // Once the window is gone: its modal loop ends and the window system hears of it first.
    const QPointer<const QWidget> gone = window;
    const QPointer<QWidget> after = next;
    const uint64_t shownBefore = windowsShown_;
    QMetaObject::invokeMethod(
        this,
        [this, gone, after, shownBefore] {
            if (after)
                returnFrom(gone, *after, shownBefore);
        },
        Qt::QueuedConnection);
    return false;
}

void ModalFocusReturn::setProgramActiveOverride(std::optional<bool> programActive)
{
    programActiveOverride_ = programActive;
}

bool ModalFocusReturn::programActive()
{
    return programActiveOverride_.value_or(QGuiApplication::applicationState() == Qt::ApplicationActive);
}

void ModalFocusReturn::returnFrom(const QWidget* closed, QWidget& next, uint64_t shownBefore)
{
    if (closed && closed->isVisible())
        return; // shown again meanwhile
    if (!canTakeKeyboard(&next))
        return;
    // A window the program showed since (a message box right after the dialog) gets the keyboard from the
    // window system, which may not have said so yet.
    if (windowsShown_ != shownBefore && lastShown_ && lastShown_ != &next && lastShown_->isVisible())
        return;
    QWidget* active = QApplication::activeWindow();
    if (active && active != closed && active != &next && active->isVisible())
        return; // another window of the program has the keyboard
    next.activateWindow();
}

} // namespace ui::detail
