#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

class QWidget;

namespace ui::detail {

// Internal to the window layer: a modal window (a form shown modally, a message box, a common dialog) and
// the windows it blocks are minimised and restored as one. A window manager may draw a minimise button on a
// dialog that asked for none; minimising the dialog alone would leave the user in front of windows that take
// no input, with nothing to answer. So when a modal window is minimised, the program's other windows are
// minimised with it, and when any of them comes back, they all do, the modal window above them and active.
// (Some window managers minimise the dialog's owner with it themselves; the result is the same.)
class MinimisedModalWatch : public QObject {
public:
    // Starts the watch over the application's windows; every way of showing a modal window calls it (the
    // first call installs it, later calls do nothing).
    static void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MinimisedModalWatch() = default;
    // Minimises the windows on the screen that the minimised modal window blocks.
    void minimiseWindowsBlockedBy(const QWidget& modal);
    // Brings back the windows minimised with a modal window and the minimised modal windows, once the
    // window system's events in hand are done.
    void restoreSoon();
    void restore();

    // The windows this watch minimised with a modal window, until they come back.
    std::vector<QPointer<QWidget>> minimisedWithModal_;
    bool restorePending_ = false;
};

} // namespace ui::detail
