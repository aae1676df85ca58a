#include "platform/ui/minimised_modal_watch.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace ui::detail {

namespace {

// Windows the user works in: pop-up menus and tool tips come and go by themselves.
bool isUsersWindow(const QWidget& window)
{
    const Qt::WindowType type = window.windowType();
    return window.isWindow() && type != Qt::Popup && type != Qt::ToolTip && type != Qt::Desktop;
}

bool isShownModal(const QWidget& window)
{
    return isUsersWindow(window) && window.isModal() && window.isVisible();
}

void unminimise(QWidget& window)
{
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
}

} // namespace

void MinimisedModalWatch::install()
{
    static MinimisedModalWatch* watch = nullptr;
    if (watch || !qApp)
        return;
    // Lives as long as the application, as its event filter.
    watch = new MinimisedModalWatch;
    watch->setParent(qApp);
    qApp->installEventFilter(watch);
}

bool MinimisedModalWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::WindowStateChange && event->type() != QEvent::Show)
        return false;
    auto* window = qobject_cast<QWidget*>(watched);
    if (!window || !isUsersWindow(*window) || !window->isVisible() || !QApplication::activeModalWidget())
        return false;
    if (!window->isMinimized()) {
        restoreSoon();
        return false;
    }
    if (window->isModal())
        minimiseWindowsBlockedBy(*window);
    return false;
}

void MinimisedModalWatch::minimiseWindowsBlockedBy(const QWidget& modal)
{
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other == &modal || !isUsersWindow(*other) || !other->isVisible() || other->isMinimized())
            continue;
        minimisedWithModal_.emplace_back(other);
        other->setWindowState(other->windowState() | Qt::WindowMinimized);
    }
}

void MinimisedModalWatch::restoreSoon()
{
    bool anyMinimised = false;
    for (const QPointer<QWidget>& window : minimisedWithModal_)
        anyMinimised = anyMinimised || (window && window->isMinimized());
    for (const QWidget* window : QApplication::topLevelWidgets())
        anyMinimised = anyMinimised || (isShownModal(*window) && window->isMinimized());
    if (!anyMinimised || restorePending_)
        return;
    // Not inside the window system's report of a change: the window manager finishes its own move first.
    restorePending_ = true;
    QMetaObject::invokeMethod(
        this, [this] { restore(); }, Qt::QueuedConnection);
}

void MinimisedModalWatch::restore()
{
    restorePending_ = false;
    const std::vector<QPointer<QWidget>> minimised = std::move(minimisedWithModal_);
    minimisedWithModal_.clear();
    QWidget* front = QApplication::activeModalWidget();
    if (!front)
        return; // the modal window went meanwhile: the program stays as the user left it
    for (const QPointer<QWidget>& window : minimised)
        if (window && window->isVisible() && window->isMinimized())
            unminimise(*window);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (isShownModal(*window) && window->isMinimized()) {
            unminimise(*window);
            window->raise();
        }
    }
    // Of modal windows shown one over the other, the last one shown is the one to answer.
    front->raise();
    front->activateWindow();
}

} // namespace ui::detail
