#include "platform/ui/timer.h"

#include "platform/ui/form.h"
#include "platform/ui/form_parts.h"
#include "platform/ui/virtual_clock.h"

#include <QTimer>

namespace ui {

TimerControl::TimerControl(Form* owner, QString name, int intervalMs, bool enabled, int index)
    : Control(owner, std::move(name), index), interval_(intervalMs < 0 ? 0 : intervalMs), enabled_(enabled)
{
    reschedule();
}

TimerControl::~TimerControl()
{
    stop();
}

void TimerControl::setInterval(int intervalMs)
{
    interval_ = intervalMs < 0 ? 0 : intervalMs;
    reschedule();
}

void TimerControl::setEnabled(bool enabled)
{
    enabled_ = enabled;
    reschedule();
}

bool TimerControl::isRunning() const
{
    return virtualId_ != 0 || (qtimer_ && qtimer_->isActive());
}

void TimerControl::stop()
{
    if (virtualId_ != 0) {
        if (VirtualClock* clock = installedVirtualClock())
            clock->stopTimer(virtualId_);
        virtualId_ = 0;
    }
    if (qtimer_)
        qtimer_->stop();
}

void TimerControl::reschedule()
{
    stop();
    const Form* owner = parentForm();
    if (!enabled_ || interval_ <= 0 || (owner && !owner->IsLoaded()))
        return;
    if (VirtualClock* clock = installedVirtualClock()) {
        virtualId_ = clock->startTimer(interval_, [this] { tick(); });
        return;
    }
    if (!qtimer_) {
        qtimer_ = std::make_unique<QTimer>();
        QObject::connect(qtimer_.get(), &QTimer::timeout, [this] { tick(); });
    }
    qtimer_->start(interval_);
}

void TimerControl::tick()
{
    const Form* owner = parentForm();
    if (ticking_ || !enabled_ || (owner && !owner->IsLoaded()))
        return;
    ticking_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{ticking_};
    Timer();
}

void detail::updateFormTimers(Form& form)
{
    for (Control* control : form.controls())
        if (auto* timer = dynamic_cast<TimerControl*>(control))
            timer->reschedule();
}

} // namespace ui
