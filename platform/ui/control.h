#pragma once

#include "platform/ui/event.h"

#include <QString>
#include <cstdint>

class QWidget;

namespace ui {

class Form;

// Base of every control: name (and index within a control array), Tag, enabled/visible state,
// tool tip, colours and focus. A control belongs to one form; it registers itself there on construction
// so that the form can find it by name (test hooks) and place its widget when the form loads.
//
// Colours are 32-bit: 0x00BBGGRR, or with the top bit set a system colour index (see colors.h).
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

    // The Qt widget that shows the control; nullptr for controls without one (timers).
    virtual QWidget* widget() const = 0;

    Event<> GotFocus;
    Event<> LostFocus;
    // button (1 left, 2 right, 4 middle), shift state, x, y in pixels
    Event<int, int, float, float> MouseDown;
    Event<int, int, float, float> MouseUp;
    Event<int, int, float, float> MouseMove;

protected:
    uint32_t foreColor_ = 0x80000012; // button text
    uint32_t backColor_ = 0x8000000F; // button face

private:
    Form* owner_;
    QString name_;
    int index_;
};

} // namespace ui
