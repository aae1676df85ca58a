#include "platform/ui/controls_scrollbar.h"

#include <QScrollBar>

namespace ui {

ScrollBar::ScrollBar(Form* owner, QString name, int index, Qt::Orientation orientation)
    : Control(owner, std::move(name), index), sign_(orientation == Qt::Vertical ? -1 : 1)
{
    auto* bar = new QScrollBar(orientation);
    // Qt's vertical bar grows downwards; the Qt value is the negated Value there, so that the top holds the
    // larger limit and the up arrow raises the value.
    bar->setTracking(false);
    bar->setFocusPolicy(Qt::StrongFocus);
    bar_ = bar;
    adoptWidget(bar);
    syncQt();
    QObject::connect(bar, &QScrollBar::valueChanged, context(), [this](int qtValue) { userMoved(qtValue); });
    QObject::connect(bar, &QScrollBar::sliderMoved, context(), [this](int) {
        if (!syncing_)
            Scroll();
    });
}

QWidget* ScrollBar::widget() const
{
    return bar_;
}

void ScrollBar::syncQt()
{
    if (!bar_)
        return;
    syncing_ = true;
    if (sign_ < 0)
        bar_->setRange(-high(), -low());
    else
        bar_->setRange(low(), high());
    bar_->setSingleStep(smallChange_);
    bar_->setPageStep(largeChange_);
    bar_->setValue(sign_ * value_);
    syncing_ = false;
}

void ScrollBar::moveTo(int value)
{
    value = std::clamp(value, low(), high());
    if (value == value_) {
        syncQt();
        return;
    }
    value_ = value;
    syncQt();
    Change();
}

void ScrollBar::setMin(int min)
{
    min_ = min;
    moveTo(value_);
}

void ScrollBar::setMax(int max)
{
    max_ = max;
    moveTo(value_);
}

void ScrollBar::setValue(int value)
{
    moveTo(value);
}

void ScrollBar::setSmallChange(int change)
{
    smallChange_ = std::max(1, change);
    syncQt();
}

void ScrollBar::setLargeChange(int change)
{
    largeChange_ = std::max(1, change);
    syncQt();
}

bool ScrollBar::stepUp()
{
    if (!Enabled() || value_ >= high())
        return false;
    moveTo(value_ + smallChange_);
    return true;
}

bool ScrollBar::stepDown()
{
    if (!Enabled() || value_ <= low())
        return false;
    moveTo(value_ - smallChange_);
    return true;
}

void ScrollBar::userMoved(int qtValue)
{
    if (syncing_)
        return;
    const int value = std::clamp(sign_ * qtValue, low(), high());
    if (value == value_)
        return;
    value_ = value;
    Change();
}

} // namespace ui
