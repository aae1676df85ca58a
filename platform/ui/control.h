#pragma once

#include "platform/ui/event.h"

#include <QFont>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <memory>

class QKeyEvent;
class QMouseEvent;
class QPoint;
class QWidget;

namespace ui {

class Form;
class ControlEventBridge;
namespace detail {
class FocusTracker;
}

// Base of every control: name (and index within a control array), Tag, enabled/visible state,
// tool tip, colours and focus. A control belongs to one form; it registers itself there on construction
// so that the form can find it by name (test hooks) and place its widget when the form loads.
//
// Colours are 32-bit: 0x00BBGGRR, or with the top bit set a system colour index (see colors.h).
//
// The control keeps its classic properties itself and mirrors them into its widget. The widget is owned by
// the control, but the form's window may destroy it first (it is a Qt child there); from then on the
// properties still read and write, and nothing is shown.
//
// Focus events follow the classic rules within one form: when the focus moves from control A to control B,
// A's Validate runs first (only when B causes validation); a Cancel keeps the focus in A and B sees
// nothing. Otherwise A's LostFocus and then B's GotFocus fire. Moving to another window fires nothing; the
// form remembers its active control. A click that brings the focus back into that control from elsewhere is
// offered to it (onFocusBackByClick).
class Control {
public:
    Control(Form* owner, QString name, int index = -1);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const QString& Name() const { return name_; }
    int Index() const { return index_; } // -1 when not part of a control array
    Form* parentForm() const { return owner_; }

    QString Tag;

    virtual bool Enabled() const;
    virtual void setEnabled(bool enabled);
    // The control's own Visible property: true on a hidden form as long as the control is not hidden.
    virtual bool Visible() const;
    virtual void setVisible(bool visible);
    virtual QString ToolTipText() const;
    virtual void setToolTipText(const QString& text);
    virtual uint32_t ForeColor() const;
    virtual void setForeColor(uint32_t colour);
    virtual uint32_t BackColor() const;
    virtual void setBackColor(uint32_t colour);
    virtual void SetFocus();
    virtual bool hasFocus() const;

    // Whether moving the focus onto this control runs the Validate of the control that had it (classic
    // CausesValidation; true by default, false for example on a Cancel button).
    bool CausesValidation() const { return causesValidation_; }
    void setCausesValidation(bool causes) { causesValidation_ = causes; }

    // Whether Tab stops at the control (a click still gives it the focus).
    bool TabStop() const { return tabStop_; }
    void setTabStop(bool tabStop);

    QFont Font() const;
    void setFont(const QFont& font);

    // Placement in pixels within the container. With layouts the layout decides; Width and Height of a
    // control that is not laid out yet are its preferred size.
    virtual int Left() const;
    virtual int Top() const;
    virtual int Width() const;
    virtual int Height() const;
    virtual void Move(int left, int top, int width = -1, int height = -1);
    // 0 brings the control to the front of its siblings, 1 sends it to the back.
    void ZOrder(int position = 0);
    // Repaints the control now.
    void Refresh();

    // The Qt widget that shows the control; nullptr for controls without one (timers) and after the form's
    // window destroyed it.
    virtual QWidget* widget() const = 0;

    Event<> GotFocus;
    Event<> LostFocus;
    // Cancel = true keeps the focus in this control.
    Event<bool&> Validate;
    // button (1 left, 2 right, 4 middle), shift state, x, y in pixels
    Event<int, int, float, float> MouseDown;
    Event<int, int, float, float> MouseUp;
    Event<int, int, float, float> MouseMove;
    // Classic key codes (38 up, 40 down, 13 Enter, 65-90 letters, ...) and shift state (1 Shift, 2 Ctrl,
    // 4 Alt). Setting the code to 0 in KeyDown swallows the key.
    Event<int&, int> KeyDown;
    Event<int&, int> KeyUp;

protected:
    // Called by the subclass once its widget exists: `root` is owned by this control; the event widgets
    // (root when none given) deliver mouse and key events.
    void adoptWidget(QWidget* root);
    void watchEvents(QWidget* eventWidget);
    // For compound widgets: the root's own key events are not the control's (its edit field's are).
    void ignoreKeysOf(QWidget* widget);
    // Controls that do nothing with the mouse themselves (labels, images, frames, picture boxes) keep their
    // clicks from reaching the container they sit in.
    void consumeMouseEvents();
    // Applies the colours after a change; the default sets the palette's text and background roles.
    virtual void applyColours();
    // Colours the widget shows; unset ones keep the desktop's look.
    bool foreColorSet() const { return foreColorSet_; }
    bool backColorSet() const { return backColorSet_; }

    // A key pressed in one of the event widgets. Returns true when the key is consumed. The default fires
    // KeyDown, then handles Enter and Escape for the form's Default and Cancel buttons.
    virtual bool onKeyPress(QWidget* target, QKeyEvent* event);
    virtual bool onKeyRelease(QWidget* target, QKeyEvent* event);
    // Every mouse event of the event widgets, before the classic events are worked out from it.
    virtual void onMouseEvent(QWidget* source, QMouseEvent* event) { (void)source, (void)event; }
    // A left click (press and release over the control) and a double-click of the event widgets, after
    // MouseDown/MouseUp fired. The defaults fire nothing; onClickAt calls onClick.
    virtual void onClickAt(QWidget* source, const QPoint& position)
    {
        (void)source, (void)position, onClick();
    }
    virtual void onClick() {}
    virtual void onDblClick() {}
    // A click landed in the control while the focus was elsewhere (another window, or a window that was not
    // active), and the focus came back to it as its form's active control, so no focus event fired. The
    // default does nothing.
    virtual void onFocusBackByClick() {}
    // The context object of the control's signal connections (gone before the widget is destroyed).
    QObject* context() const;
    // Fires KeyDown for the event; true when the handler swallowed the key (code set to 0).
    bool fireKeyDown(QKeyEvent* event);
    // Presses the form's Default button (Enter) or Cancel button (Escape); true when one was pressed.
    bool pressDefaultButton();
    bool pressCancelButton();

    uint32_t foreColor_ = 0x80000012; // button text
    uint32_t backColor_ = 0x8000000F; // button face

private:
    friend class ControlEventBridge;
    friend class detail::FocusTracker;
    void applyVisibility();

    Form* owner_;
    QString name_;
    int index_;
    bool enabled_ = true;
    bool visible_ = true;
    bool causesValidation_ = true;
    bool tabStop_ = true;
    bool foreColorSet_ = false;
    bool backColorSet_ = false;
    QPointer<QWidget> root_;
    std::unique_ptr<ControlEventBridge> bridge_;
};

} // namespace ui
