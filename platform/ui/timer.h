#pragma once

#include "platform/ui/control.h"

#include <memory>

class QTimer;

namespace ui {

// The Timer control: fires its Timer event every Interval milliseconds while it is Enabled, Interval > 0
// and its form is loaded (a timer without a form runs on its own). Setting Interval or Enabled restarts the
// count. A tick never re-enters a handler that is still running (for instance in a wait that lets events
// run). Runs on the Qt event loop, or on the virtual clock when the tests installed one.
//
// Named TimerControl because ui::Timer() is the classic seconds-since-midnight function; windows declare
//     ui::TimerControl tmrUSBCheck{this, "tmrUSBCheck", 300};
// and bind tmrUSBCheck.Timer = [this] { tmrUSBCheck_Timer(); };
class TimerControl : public Control {
public:
    TimerControl(Form* owner, QString name, int intervalMs = 0, bool enabled = true, int index = -1);
    ~TimerControl() override;

    int Interval() const { return interval_; }
    void setInterval(int intervalMs);
    bool Enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override;
    bool Visible() const override { return false; }
    void setVisible(bool) override {}
    QWidget* widget() const override { return nullptr; }
    // Whether the timer is counting now (enabled, positive interval, form loaded).
    bool isRunning() const;

    Event<> Timer;

    // Starts or stops the count to match the current state (called when the form loads or unloads).
    void reschedule();

private:
    void stop();
    void tick();

    int interval_ = 0;
    bool enabled_ = true;
    bool ticking_ = false;
    int virtualId_ = 0;
    std::unique_ptr<QTimer> qtimer_;
};

} // namespace ui
