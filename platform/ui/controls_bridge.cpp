#include "platform/ui/controls_bridge.h"

#include "platform/ui/control.h"
#include "platform/ui/key_codes.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace ui {

void ControlEventBridge::watch(QWidget* widget)
{
    if (!widget)
        return;
    widget->installEventFilter(this);
    widget->setMouseTracking(true);
}

bool ControlEventBridge::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    switch (event->type()) {
    case QEvent::ParentChange:
        if (widget == control_.root_)
            control_.applyVisibility();
        return false;
    case QEvent::KeyPress:
        return widget != keyless_ && control_.onKeyPress(widget, static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
        return widget != keyless_ && control_.onKeyRelease(widget, static_cast<QKeyEvent*>(event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return mouseEvent(widget, event);
    default:
        return false;
    }
}

bool ControlEventBridge::mouseEvent(QWidget* widget, QEvent* event)
{
    auto* mouse = static_cast<QMouseEvent*>(event);
    QWidget* root = control_.widget();
    QPointF pos = mouse->position();
    if (root && widget != root)
        pos = widget->mapTo(root, pos.toPoint());
    const int shift = detail::classicShiftState(mouse->modifiers());
    const auto x = static_cast<float>(pos.x());
    const auto y = static_cast<float>(pos.y());
    control_.onMouseEvent(widget, mouse);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (mouse->button() == Qt::LeftButton)
            leftPressed_ = true;
        control_.MouseDown(detail::classicButton(mouse->button()), shift, x, y);
        break;
    case QEvent::MouseButtonRelease: {
        control_.MouseUp(detail::classicButton(mouse->button()), shift, x, y);
        // A click is a press and a release of the left button over the control; the release that ends a
        // double-click is no second click.
        const bool click = mouse->button() == Qt::LeftButton && leftPressed_ &&
                           widget->rect().contains(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton)
            leftPressed_ = false;
        if (click)
            control_.onClickAt(widget, mouse->position().toPoint());
        break;
    }
    case QEvent::MouseButtonDblClick: {
        // The second press of a double-click is reported as DblClick, not as another MouseDown.
        leftPressed_ = false;
        if (mouse->button() != Qt::LeftButton)
            break;
        const QPointer<QLineEdit> box = qobject_cast<QLineEdit*>(widget);
        const QString before = box ? box->text() : QString();
        control_.onDblClick();
        // A handler that rewrote the box (an edit dialog's result) leaves it as it made it: the box's own
        // word selection would cover only part of the new text.
        if (box && box->text() != before)
            return true;
        break;
    }
    default:
        control_.MouseMove(detail::classicButtons(mouse->buttons()), shift, x, y);
        break;
    }
    return consumeMouse_;
}

namespace detail {

int classicShiftState(Qt::KeyboardModifiers modifiers)
{
    int state = 0;
    if (modifiers & Qt::ShiftModifier)
        state |= 1;
    if (modifiers & Qt::ControlModifier)
        state |= 2;
    if (modifiers & Qt::AltModifier)
        state |= 4;
    return state;
}

int classicButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int classicButtons(Qt::MouseButtons buttons)
{
    int result = 0;
    if (buttons & Qt::LeftButton)
        result |= 1;
    if (buttons & Qt::RightButton)
        result |= 2;
    if (buttons & Qt::MiddleButton)
        result |= 4;
    return result;
}

int classicKeyCode(const QKeyEvent* event)
{
    const int key = event->key();
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 65 + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return (keypad ? 96 : 48) + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Clear:
        return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Asterisk:
        return keypad ? 106 : 0;
    case Qt::Key_Plus:
        return keypad ? 107 : 187;
    case Qt::Key_Minus:
        return keypad ? 109 : 189;
    case Qt::Key_Period:
        return keypad ? 110 : 190;
    case Qt::Key_Slash:
        return keypad ? 111 : 191;
    case Qt::Key_Comma:
        return 188;
    case Qt::Key_NumLock:
        return 144;
    case Qt::Key_ScrollLock:
        return 145;
    default:
        return 0;
    }
}

int classicKeyAscii(const QKeyEvent* event)
{
    const int key = event->key();
    switch (key) {
    case Qt::Key_Backspace:
        return vbKeyBack;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vbKeyReturn;
    case Qt::Key_Escape:
        return vbKeyEscape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return -1;
    default:
        break;
    }
    const auto modifiers = event->modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier)) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return 1 + (key - Qt::Key_A);
        return -1;
    }
    const QString text = event->text();
    if (text.isEmpty())
        return -1;
    const int code = text.at(0).unicode();
    if (code < 32 || code == 127)
        return -1;
    return code;
}

FocusTracker& FocusTracker::instance()
{
    // Lives to the end of the process, as the application's event filter.
    static FocusTracker tracker;
    return tracker;
}

void FocusTracker::add(Control* control, QWidget* root)
{
    if (!installed_ && qApp) {
        qApp->installEventFilter(this);
        installed_ = true;
    }
    alive_.insert(control);
    if (!root)
        return;
    roots_[root] = control;
    // A widget its window destroyed must not be taken for a later widget at the same address.
    connect(root, &QObject::destroyed, this, [this, root] { roots_.erase(root); });
}

void FocusTracker::forget(Control* control)
{
    alive_.erase(control);
    validating_.erase(control);
    for (auto it = roots_.begin(); it != roots_.end();)
        it = it->second == control ? roots_.erase(it) : std::next(it);
    std::erase_if(active_, [control](const auto& entry) { return entry.second.control == control; });
}

Control* FocusTracker::controlFor(const QWidget* widget) const
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        auto it = roots_.find(w);
        if (it != roots_.end())
            return it->second;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

Control* FocusTracker::activeControl(const Form* form) const
{
    auto it = active_.find(form);
    return it == active_.end() ? nullptr : it->second.control;
}

bool FocusTracker::keepClickSelection(QObject* watched, QEvent* event)
{
    if (!clickedBox_ || watched != clickedBox_.data())
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        clickedPressSeen_ = true;
        clickedAt_ = mouse->position().toPoint();
        break;
    case QEvent::MouseMove:
        if ((mouse->buttons() & Qt::LeftButton) &&
            (mouse->position().toPoint() - clickedAt_).manhattanLength() >= QApplication::startDragDistance())
            clickedBox_ = nullptr; // the user selects by dragging
        break;
    case QEvent::MouseButtonRelease:
        if (clickedPressSeen_ && clickedBox_->hasFocus())
            clickedBox_->setSelection(clickedSelStart_, clickedSelLength_);
        clickedBox_ = nullptr;
        break;
    case QEvent::MouseButtonDblClick:
        clickedBox_ = nullptr;
        break;
    default:
        break;
    }
    return false;
}

bool FocusTracker::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        reactivated_ = nullptr;
        break;
    case QEvent::MouseMove:
        reactivated_ = nullptr;
        [[fallthrough]];
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (!swallowMouseUntilRelease_)
            keepClickSelection(watched, event);
        break;
    case QEvent::MouseButtonPress:
        // The window gets the press before the widget under the mouse does.
        if (watched->isWidgetType())
            takeActivatingClick(static_cast<QWidget*>(watched), static_cast<QMouseEvent*>(event));
        if (!swallowMouseUntilRelease_)
            keepClickSelection(watched, event);
        break;
    default:
        break;
    }
    switch (event->type()) {
    case QEvent::FocusIn: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        Control* control = controlFor(widget);
        if (!control)
            return false;
        return focusIn(widget, control, static_cast<QFocusEvent*>(event)->reason());
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return swallowMouseUntilRelease_ && watched->isWidgetType();
    case QEvent::MouseButtonRelease:
        if (swallowMouseUntilRelease_ && watched->isWidgetType()) {
            swallowMouseUntilRelease_ = false;
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool FocusTracker::focusIn(QWidget* widget, Control* control, Qt::FocusReason reason)
{
    const Form* form = control->parentForm();
    Active& slot = active_[form];
    Control* previous = slot.control;
    if (previous == control) {
        slot.focusWidget = widget;
        if (reason == Qt::MouseFocusReason) {
            focusBackByClick(widget, control);
        } else if (reason == Qt::ActiveWindowFocusReason) {
            reactivated_ = widget;
            reactivatedQuietly_ = true;
        }
        return false;
    }
    if (previous && previous->Validate && control->CausesValidation() && !validating_.count(previous)) {
        bool cancel = false;
        const QPointer<QWidget> target = widget;
        const QPointer<QWidget> back = slot.focusWidget;
        validating_.insert(previous);
        previous->Validate(cancel);
        validating_.erase(previous);
        // The handler may have moved the focus itself (or destroyed controls): then that move stands.
        if (!alive_.count(previous) || !alive_.count(control) || active_[form].control != previous ||
            !target || QApplication::focusWidget() != target)
            return true;
        if (cancel) {
            // The focus stays where it was: the target never gets it, and a mouse press that moved the
            // focus does not reach the target either (a cancelled move must not click a button).
            if (reason == Qt::MouseFocusReason)
                swallowMouseUntilRelease_ = true;
            QWidget* home = back ? back.data() : previous->widget();
            if (home)
                home->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    Active& now = active_[form];
    now.control = control;
    now.focusWidget = widget;
    if (previous && alive_.count(previous))
        previous->LostFocus();
    if (alive_.count(control))
        control->GotFocus();
    clickedBox_ = nullptr;
    if (reason == Qt::MouseFocusReason) {
        keepSelectionOfClickInto(widget);
    } else if (reason == Qt::ActiveWindowFocusReason) {
        reactivated_ = widget;
        reactivatedQuietly_ = false;
    }
    return false;
}

void FocusTracker::keepSelectionOfClickInto(QWidget* widget)
{
    if (auto* box = qobject_cast<QLineEdit*>(widget); box && box->hasFocus() && box->hasSelectedText()) {
        clickedBox_ = box;
        clickedSelStart_ = box->selectionStart();
        clickedSelLength_ = box->selectionLength();
        clickedPressSeen_ = false;
    }
}

void FocusTracker::focusBackByClick(QWidget* widget, Control* control)
{
    clickedBox_ = nullptr;
    const QPointer<QWidget> target = widget;
    // What the box had selected before its window lost the focus is not the click's: the click places the
    // caret, unless the box's own GotFocus selects its text anew.
    if (auto* box = qobject_cast<QLineEdit*>(widget))
        box->deselect();
    control->onFocusBackByClick();
    if (target && alive_.count(control))
        keepSelectionOfClickInto(target);
}

void FocusTracker::takeActivatingClick(QWidget* widget, const QMouseEvent* mouse)
{
    const QPointer<QWidget> reactivated = reactivated_;
    reactivated_ = nullptr;
    if (!reactivated || widget != reactivated || mouse->button() != Qt::LeftButton || !widget->hasFocus())
        return;
    Control* control = controlFor(widget);
    if (!control || !alive_.count(control))
        return;
    if (reactivatedQuietly_) {
        focusBackByClick(widget, control);
    } else {
        clickedBox_ = nullptr;
        keepSelectionOfClickInto(widget);
    }
}

} // namespace detail
} // namespace ui
