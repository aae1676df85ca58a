#include "platform/ui/app.h"

#include "platform/ui/event_nesting.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/virtual_clock.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QPointer>
#include <QTime>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace ui {

namespace detail {

namespace {
// The kinds of the nested event processing now running, innermost last.
std::vector<NestingScope::Kind>& nestedKinds()
{
    static std::vector<NestingScope::Kind> kinds;
    return kinds;
}

ProgramWaitListener& waitListener()
{
    static ProgramWaitListener listener;
    return listener;
}

void tell(const std::function<void()>& notification)
{
    if (notification)
        notification();
}
} // namespace

int nestingDepth()
{
    return static_cast<int>(nestedKinds().size());
}

NestingScope::NestingScope(Kind kind)
{
    nestedKinds().push_back(kind);
    if (kind == Kind::InsideAction)
        tell(waitListener().actionEventsBegin);
}

NestingScope::~NestingScope()
{
    const Kind kind = nestedKinds().back();
    nestedKinds().pop_back();
    if (kind == Kind::InsideAction)
        tell(waitListener().actionEventsEnd);
    if (nestedKinds().empty())
        scheduleGraveyardFlush();
}

} // namespace detail

void setProgramWaitListener(ProgramWaitListener listener)
{
    detail::waitListener() = std::move(listener);
    // The loop's waits are watched once, on the thread of the application object, for as long as it lives.
    static QPointer<QAbstractEventDispatcher> watched;
    const QCoreApplication* application = QCoreApplication::instance();
    QAbstractEventDispatcher* dispatcher =
        application != nullptr ? QAbstractEventDispatcher::instance(application->thread()) : nullptr;
    if (dispatcher == nullptr || dispatcher == watched)
        return;
    watched = dispatcher;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, QCoreApplication::instance(), [] {
        if (waitingForUser())
            detail::tell(detail::waitListener().waitsForUser);
    });
}

bool waitingForUser()
{
    const auto& kinds = detail::nestedKinds();
    return kinds.empty() || kinds.back() == detail::NestingScope::Kind::WaitForUser;
}

void DoEvents()
{
    detail::NestingScope nesting(detail::NestingScope::Kind::InsideAction);
    if (VirtualClock* clock = installedVirtualClock())
        clock->advance(kDoEventsVirtualStepMs);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void DoEventsWaiting(int maxWaitMs)
{
    if (installedVirtualClock()) {
        DoEvents();
        return;
    }
    detail::NestingScope nesting(detail::NestingScope::Kind::InsideAction);
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (dispatcher == nullptr || dispatcher->processEvents(QEventLoop::AllEvents))
        return; // something ran: the caller looks at the time again before any sleep
    // The wake-up is an event itself, so the sleep ends at the latest when it falls due.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(std::max(0, maxWaitMs));
    dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void DoEventsN(int n)
{
    for (int i = 0; i < n; ++i)
        DoEvents();
}

int64_t clockMilliseconds()
{
    if (const VirtualClock* clock = installedVirtualClock())
        return clock->timeOfDayMs();
    return QTime::currentTime().msecsSinceStartOfDay();
}

double Timer()
{
    return static_cast<double>(clockMilliseconds()) / 1000.0;
}

// ---- mouse pointer -------------------------------------------------------------------------------------

std::optional<Qt::CursorShape> cursorShapeForPointer(int pointer)
{
    switch (pointer) {
    case 1:
        return Qt::ArrowCursor;
    case 2:
        return Qt::CrossCursor;
    case 3:
        return Qt::IBeamCursor;
    case 5:
    case 15:
        return Qt::SizeAllCursor;
    case 6:
        return Qt::SizeBDiagCursor;
    case 7:
        return Qt::SizeVerCursor;
    case 8:
        return Qt::SizeFDiagCursor;
    case 9:
        return Qt::SizeHorCursor;
    case 10:
        return Qt::UpArrowCursor;
    case 11:
        return Qt::WaitCursor;
    case 12:
        return Qt::ForbiddenCursor;
    case 13:
        return Qt::BusyCursor;
    case 14:
        return Qt::WhatsThisCursor;
    default:
        return std::nullopt;
    }
}

namespace {
int g_screenPointer = 0;
}

int ScreenMousePointer()
{
    return g_screenPointer;
}

void setScreenMousePointer(int pointer)
{
    // One setting, not a stack: whatever was set before is replaced, and 0 removes every override.
    const auto shape = cursorShapeForPointer(pointer);
    g_screenPointer = shape ? pointer : 0;
    if (!shape) {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        return;
    }
    if (QGuiApplication::overrideCursor())
        QGuiApplication::changeOverrideCursor(QCursor(*shape));
    else
        QGuiApplication::setOverrideCursor(QCursor(*shape));
}

// ---- end of the process --------------------------------------------------------------------------------

namespace {
EndProcessHook& endHook()
{
    static EndProcessHook hook;
    return hook;
}
std::vector<std::function<void()>>& endHandlers()
{
    static std::vector<std::function<void()>> handlers;
    return handlers;
}
} // namespace

void setEndProcessHook(EndProcessHook hook)
{
    endHook() = std::move(hook);
}

void atEndProcess(std::function<void()> handler)
{
    endHandlers().push_back(std::move(handler));
}

void EndProcess(int exitCode)
{
    if (endHook())
        endHook()(exitCode);
    // No window event may run any more: the handlers run once, newest first, and the process ends
    // without unwinding the nested loops it may be in.
    auto handlers = std::move(endHandlers());
    endHandlers().clear();
    for (auto it = handlers.rbegin(); it != handlers.rend(); ++it)
        (*it)();
    std::fflush(nullptr);
    std::quick_exit(exitCode);
}

} // namespace ui
