#include "boardui/window_utility.h"

#include "platform/ui/form.h"

#include <QMdiSubWindow>
#include <QWidget>

namespace {

// The widget that carries the title bar: the window itself, or the frame of a window in the MDI area.
QWidget* frameOf(QWidget* widget)
{
    if (!widget)
        return nullptr;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(widget->parentWidget()))
        return sub;
    return widget;
}

// Changing window flags hides a window; it comes back in the same place and size.
void changeFlags(QWidget* window, Qt::WindowFlags flags)
{
    const bool wasVisible = window->isVisible();
    const QRect geometry = window->geometry();
    window->setWindowFlags(flags);
    if (wasVisible) {
        window->setGeometry(geometry);
        window->show();
    }
}

} // namespace

void SetTopMost(QWidget* window, bool topMost)
{
    window = frameOf(window);
    if (!window)
        return;
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, topMost);
    if (flags != window->windowFlags())
        changeFlags(window, flags);
}

void SetTopMost(ui::Form& form, bool topMost)
{
    form.setTopMost(topMost);
}

ui::Form* SetOwnerWindow(ui::Form& form, ui::Form* owner)
{
    ui::Form* previous = form.ownerForm();
    form.setOwnerForm(owner);
    return previous;
}

void DisableCloseButton(QWidget* window)
{
    window = frameOf(window);
    if (!window)
        return;
    Qt::WindowFlags flags = window->windowFlags();
    if (!flags.testFlag(Qt::CustomizeWindowHint)) {
        // Customising drops the default title-bar buttons: name the ones the window keeps.
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
        if (window->windowType() != Qt::Dialog)
            flags |= Qt::WindowMinMaxButtonsHint;
    }
    flags.setFlag(Qt::WindowCloseButtonHint, false);
    if (flags != window->windowFlags())
        changeFlags(window, flags);
}

void DisableCloseButton(ui::Form& form)
{
    // The form remembers the setting (a later load keeps it, the frame refuses to close); the frame in
    // view is brought back where it was should the flag change have hidden it, and a window in the MDI
    // area loses its sub-window's close button as well.
    QWidget* frame = form.frameWidget();
    const bool wasVisible = frame && frame->isVisible();
    const QRect geometry = frame ? frame->geometry() : QRect();
    form.setCloseButtonEnabled(false);
    if (!frame)
        return;
    DisableCloseButton(frame);
    if (wasVisible && !frame->isVisible()) {
        frame->setGeometry(geometry);
        frame->show();
    }
}

void InitCommonControlsVB()
{
}
