#pragma once

#include "platform/ui/control.h"

#include <QPointer>

class QScrollBar;

namespace ui {

// Classic scroll bar, also the spin button of the system (a vertical bar with the limits 1 and -1 that
// rests at 0).
//
// Direction: the value grows upwards on a vertical bar (the up arrow and the Up key add SmallChange, the
// down arrow and the Down key subtract it) and to the right on a horizontal one, whichever of Min and Max
// is the larger. So the up arrow of every spin button gives +1.
//
// Setting Value fires Change when it differs (values are clamped into the limits); a user's arrow press,
// key or page click fires Change once per step. The spin idiom works as written: at rest 0, the user's up
// arrow moves to +1 and fires Change; the handler sets Value back to 0, which fires Change again with 0.
// Dragging the thumb fires Scroll while it moves and Change when it is let go.
class ScrollBar : public Control {
public:
    ScrollBar(Form* owner, QString name, int index = -1, Qt::Orientation orientation = Qt::Vertical);
    QWidget* widget() const override;

    int Min() const { return min_; }
    void setMin(int min);
    int Max() const { return max_; }
    void setMax(int max);
    int Value() const { return value_; }
    void setValue(int value);
    int SmallChange() const { return smallChange_; }
    void setSmallChange(int change);
    int LargeChange() const { return largeChange_; }
    void setLargeChange(int change);

    // A user's press on the up (or right) arrow and on the down (or left) arrow; true when the value moved.
    bool stepUp();
    bool stepDown();

    Event<> Change;
    Event<> Scroll;

private:
    int low() const { return std::min(min_, max_); }
    int high() const { return std::max(min_, max_); }
    void syncQt();
    void moveTo(int value);
    void userMoved(int qtValue);
    QPointer<QScrollBar> bar_;
    int sign_; // Qt value = sign_ * Value
    int min_ = 0;
    int max_ = 32767;
    int value_ = 0;
    int smallChange_ = 1;
    int largeChange_ = 1;
    bool syncing_ = false;
};

} // namespace ui
