#include "platform/ui/user_input_watch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace ui {

namespace {

uint64_t& pressCount()
{
    static uint64_t count = 0;
    return count;
}

} // namespace

uint64_t UserInputWatch::presses()
{
    install();
    return pressCount();
}

void UserInputWatch::install()
{
    static bool installed = false;
    QCoreApplication* app = QCoreApplication::instance();
    if (installed || app == nullptr)
        return;
    installed = true;
    app->installEventFilter(new UserInputWatch(app));
}

bool UserInputWatch::eventFilter(QObject* watched, QEvent* event)
{
    // Each press reaches a widget once (and its parents only when it passes it on): count it there.
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
         type == QEvent::KeyPress || type == QEvent::NonClientAreaMouseButtonPress) &&
        watched->isWidgetType())
        ++pressCount();
    return QObject::eventFilter(watched, event);
}

} // namespace ui
