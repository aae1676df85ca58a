#include "platform/ui/form_window.h"

#include "platform/ui/form.h"
#include "platform/ui/form_registry.h"
#include "platform/ui/handler_errors.h"
#include "platform/ui/mdi_form.h"

#include <QCloseEvent>
#include <QEvent>

namespace ui {

void FormWindowBridge::activate(Form& form)
{
    runHandler([&] { form.Form_Activate(); });
    Forms::notify(form, Forms::Lifecycle::Activated);
}
void FormWindowBridge::deactivate(Form& form)
{
    runHandler([&] { form.Form_Deactivate(); });
}
void FormWindowBridge::paint(Form& form)
{
    runHandler([&] { form.Form_Paint(); });
}
void FormWindowBridge::resize(Form& form)
{
    runHandler([&] { form.Form_Resize(); });
}

bool FormWindowBridge::closeFromFrame(Form& form)
{
    if (!form.IsLoaded())
        return true;
    if (!form.closeButtonEnabled())
        return false; // the frame offers no close: a close request from it (Alt+F4) changes nothing
    return form.Unload(vbFormControlMenu);
}

void FormWindowBridge::windowActivated(Form& form)
{
    if (!form.IsLoaded())
        return;
    // For the frame, the active form is its active child when it has one.
    if (auto* frame = dynamic_cast<MdiForm*>(&form))
        if (Form* child = frame->activeChild())
            return detail::setActiveForm(child);
    detail::setActiveForm(&form);
}

FormWindow::FormWindow(Form& form) : form_(form)
{
}

void FormWindow::closeEvent(QCloseEvent* event)
{
    if (closingByCode_) {
        event->accept();
        return;
    }
    // The form decides: QueryUnload and Unload run, and the window is hidden by the unload itself.
    event->ignore();
    runHandler([&] { FormWindowBridge::closeFromFrame(form_); });
}

bool FormWindow::event(QEvent* event)
{
    if (event->type() != QEvent::WindowActivate)
        return QMainWindow::event(event);
    // The answer to an activation the program asked for, or the user's own: the frame's MDI area
    // activating its child with it belongs to the same cause.
    const bool asked = detail::registry().awaitingActivation.erase(&form_) != 0;
    const detail::ProgramActivation byProgram(asked);
    FormWindowBridge::windowActivated(form_);
    return QMainWindow::event(event);
}

FormCanvas::FormCanvas(Form& form, QWidget* parent) : QWidget(parent), form_(form)
{
}

void FormCanvas::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (form_.IsLoaded())
        FormWindowBridge::paint(form_);
}

void FormCanvas::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (form_.IsLoaded())
        FormWindowBridge::resize(form_);
}

} // namespace ui
