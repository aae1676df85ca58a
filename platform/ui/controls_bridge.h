#pragma once

#include <QLineEdit>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <map>
#include <set>

class QKeyEvent;
class QMouseEvent;

// Internal to the window layer: what connects a control to the events of its Qt widgets.
namespace ui {

class Control;
class Form;

// One per control: watches the control's widgets (mouse, keys, reparenting) and is the context object of
// every signal connection the control makes, so that nothing reaches a control that is being destroyed.
class ControlEventBridge : public QObject {
public:
    explicit ControlEventBridge(Control& control) : control_(control) {}
    void watch(QWidget* widget);
    // Key events of `widget` are left alone (they reach the control through a child that is watched).
    void ignoreKeysOf(QWidget* widget) { keyless_ = widget; }
    // Mouse events of the watched widgets end here instead of passing on to the container.
    void consumeMouse() { consumeMouse_ = true; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool mouseEvent(QWidget* widget, QEvent* event);
    Control& control_;
    bool leftPressed_ = false;
    bool consumeMouse_ = false;
    QPointer<QWidget> keyless_;
};

namespace detail {

// The classic key code of a key (38 up, 13 Enter, 65 'A', ...); 0 for keys it has no code for.
int classicKeyCode(const QKeyEvent* event);
// The character the key types as the classic KeyAscii (8 backspace, 13 Enter, 27 Escape, 1-26 Ctrl+letter,
// printable characters); -1 when the key types nothing.
int classicKeyAscii(const QKeyEvent* event);
// 1 Shift, 2 Ctrl, 4 Alt.
int classicShiftState(Qt::KeyboardModifiers modifiers);
// 1 left, 2 right, 4 middle.
int classicButton(Qt::MouseButton button);
int classicButtons(Qt::MouseButtons buttons);

// Follows the focus across the application and turns Qt's focus changes into the classic sequence
// (Validate with Cancel, LostFocus, GotFocus) per form. Also the registry from widgets to controls.
class FocusTracker : public QObject {
public:
    static FocusTracker& instance();

    void add(Control* control, QWidget* root);
    void forget(Control* control);
    // The control a widget belongs to (the widget itself or one of its ancestors); nullptr when none.
    Control* controlFor(const QWidget* widget) const;
    // The form's active control in the classic sense; nullptr when none had the focus yet.
    Control* activeControl(const Form* form) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FocusTracker() = default;
    bool focusIn(QWidget* widget, Control* control, Qt::FocusReason reason);

    struct Active {
        Control* control = nullptr;
        QPointer<QWidget> focusWidget;
    };
    std::map<const QWidget*, Control*> roots_;
    std::set<const Control*> alive_;
    std::map<const Form*, Active> active_;
    std::set<const Control*> validating_;
    bool swallowMouseUntilRelease_ = false;
    bool installed_ = false;
    // A box that selected its text when a click gave it the focus keeps that selection through the
    // click's press and release (the press would put the caret under the mouse), unless the user drags.
    QPointer<QLineEdit> clickedBox_;
    int clickedSelStart_ = 0;
    int clickedSelLength_ = 0;
    QPoint clickedAt_;
    bool clickedPressSeen_ = false;
    bool keepClickSelection(QObject* watched, QEvent* event);
    void keepSelectionOfClickInto(QWidget* widget);

    // The widget that the activation of its window gave the focus back to, until the user's next input: a
    // window activated by a click gets the focus first and the click after it, so a press landing there
    // next is that click. `reactivatedQuietly_`: the focus came back to its form's active control, and no
    // focus event fired.
    QPointer<QWidget> reactivated_;
    bool reactivatedQuietly_ = false;
    void takeActivatingClick(QWidget* widget, const QMouseEvent* mouse);
    void focusBackByClick(QWidget* widget, Control* control);
};

} // namespace detail
} // namespace ui
