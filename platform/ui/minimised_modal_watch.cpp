#include "platform/ui/minimised_modal_watch.h"

#include "platform/ui/modal_focus_return.h"
#include "platform/ui/virtual_clock.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <chrono>

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

QWidget* widgetOf(const QWindow& handle)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->windowHandle() == &handle)
            return window;
    return nullptr;
}

// Milliseconds on a clock that never goes back while the program runs: the tests' virtual clock, or the
// system's steady clock.
int64_t steadyMs()
{
    if (const VirtualClock* clock = installedVirtualClock())
        return clock->now();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Qt::WindowStates withoutMinimised(Qt::WindowStates state)
{
    return state & ~(Qt::WindowMinimized | Qt::WindowActive);
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
    ModalFocusReturn::install();
}

bool MinimisedModalWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::WindowStateChange)
        return false;
    // The program's own change of a window's state reaches the window at once, not as the window system's.
    if (watched->isWidgetType()) {
        if (!event->spontaneous())
            programSetState(*static_cast<QWidget*>(watched),
                            static_cast<const QWindowStateChangeEvent*>(event)->oldState());
        return false;
    }
    // The window system's reports reach the window's handle, each of them (the widget hears only of those
    // that differ from the state it holds).
    if (!event->spontaneous() || !watched->isWindowType())
        return false;
    if (QWidget* window = widgetOf(*static_cast<QWindow*>(watched)))
        reported(*window);
    return false;
}

void MinimisedModalWatch::programSetState(QWidget& window, Qt::WindowStates before)
{
    const bool minimised = window.isMinimized();
    if (!isUsersWindow(window) || minimised == ((before & Qt::WindowMinimized) != 0))
        return;
    forgetUnreportedAskedStates();
    std::erase_if(asked_, [&window](const AskedState& asked) { return asked.window == &window; });
    asked_.push_back({&window, minimised, steadyMs()});
}

void MinimisedModalWatch::reported(QWidget& window)
{
    if (!isUsersWindow(window) || !window.isVisible())
        return;
    if (!QApplication::activeModalWidget()) {
        forget();
        return;
    }
    if (awaitsAskedState(window))
        return;
    if (!(window.windowHandle()->windowStates() & Qt::WindowMinimized))
        restoreSoon();
    else if (window.isModal())
        minimiseWindowsBlockedBy(window);
}

void MinimisedModalWatch::forgetUnreportedAskedStates()
{
    const int64_t now = steadyMs();
    // A clock set back (the tests' clock, from one test to the next) ends the wait too.
    std::erase_if(asked_, [now](const AskedState& asked) {
        return !asked.window || now < asked.askedAtMs || now - asked.askedAtMs > kAskedStateReportMs;
    });
}

bool MinimisedModalWatch::awaitsAskedState(const QWidget& window)
{
    forgetUnreportedAskedStates();
    const auto asked = std::find_if(asked_.begin(), asked_.end(),
                                    [&window](const AskedState& state) { return state.window == &window; });
    if (asked == asked_.end())
        return false;
    const bool minimised = (window.windowHandle()->windowStates() & Qt::WindowMinimized) != 0;
    if (asked->minimised == minimised)
        asked_.erase(asked);
    return true;
}

void MinimisedModalWatch::minimiseWindowsBlockedBy(const QWidget& modal)
{
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other == &modal || !isUsersWindow(*other) || !other->isVisible() || other->isMinimized())
            continue;
        const Qt::WindowStates before = withoutMinimised(other->windowState());
        minimisedWithModal_.push_back({other, before});
        other->setWindowState(before | Qt::WindowMinimized);
    }
}

void MinimisedModalWatch::restoreSoon()
{
    bool anyMinimised = false;
    for (const MinimisedWindow& minimised : minimisedWithModal_)
        anyMinimised = anyMinimised || (minimised.window && minimised.window->isMinimized());
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
    QWidget* front = QApplication::activeModalWidget();
    if (!front) {
        forget(); // the modal window went meanwhile: the program stays as the user left it
        return;
    }
    const std::vector<MinimisedWindow> minimised = std::move(minimisedWithModal_);
    minimisedWithModal_.clear();
    for (const MinimisedWindow& window : minimised)
        if (window.window && window.window->isVisible() && window.window->isMinimized())
            window.window->setWindowState(window.before);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (isShownModal(*window) && window->isMinimized()) {
            window->setWindowState(withoutMinimised(window->windowState()));
            window->raise();
        }
    }
    // Of modal windows shown one over the other, the last one shown is the one to answer.
    front->raise();
    front->activateWindow();
}

void MinimisedModalWatch::forget()
{
    minimisedWithModal_.clear();
    asked_.clear();
}

} // namespace ui::detail
