#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <vector>

class QWidget;
class QWindow;

namespace ui::detail {

// Internal to the window layer: a modal window (a form shown modally, a message box, a common dialog) and
// the windows it blocks are minimised and restored as one. A window manager may draw a minimise button on a
// dialog that asked for none; minimising the dialog alone would leave the user in front of windows that take
// no input, with nothing to answer. So when a modal window is minimised, the program's other windows are
// minimised with it, and when any of them comes back, they all do, the modal window above them and active,
// each window in the state it had (a maximised main window stays maximised).
// (Some window managers minimise the dialog's owner with it themselves; the result is the same.)
//
// Only the window system's reports of what the user did count. A window manager applies a state the
// program asked for later, and reports on the way states from before the request: while a window has a
// state asked for it that the window system has not reported yet, the reports of that window are the
// program's own and change nothing. The report comes within a moment or not at all (the window was already
// in that state, or the window manager refused it): after kAskedStateReportMs the program's request is
// forgotten, and the user's own minimising or restoring of that window counts again.
class MinimisedModalWatch : public QObject {
public:
    // Starts the watch over the application's windows; every way of showing a modal window calls it (the
    // first call installs it, later calls do nothing).
    static void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // How long the window system may take to report a state the program asked for, a loaded machine
    // included (a window manager reports within tens of milliseconds).
    static constexpr int64_t kAskedStateReportMs = 2000;

    MinimisedModalWatch() = default;
    // A report of the window system on `window`: what the user did, or the late report of a state the
    // program asked for.
    void reported(QWidget& window);
    // True when `window` waits for the report of a state the program asked for; a report of that state ends
    // the wait, and so does the end of the moment the report comes in.
    bool awaitsAskedState(const QWidget& window);
    // Forgets the states asked for whose report did not come within kAskedStateReportMs.
    void forgetUnreportedAskedStates();
    // The program changed the state of `window` from `before`: a change of its minimised state waits for
    // the window system's report.
    void programSetState(QWidget& window, Qt::WindowStates before);
    // Minimises the windows on the screen that the minimised modal window blocks.
    void minimiseWindowsBlockedBy(const QWidget& modal);
    // Brings back the windows minimised with a modal window and the minimised modal windows, once the
    // window system's events in hand are done.
    void restoreSoon();
    void restore();
    // Ends the watch's memory of the windows it minimised (no modal window is shown any more).
    void forget();

    struct MinimisedWindow {
        QPointer<QWidget> window;
        Qt::WindowStates before; // the state it had, to come back in
    };
    struct AskedState {
        QPointer<QWidget> window;
        bool minimised;
        int64_t askedAtMs; // on steadyMs()
    };
    // The windows this watch minimised with a modal window, until they come back.
    std::vector<MinimisedWindow> minimisedWithModal_;
    // The states the program asked for that the window system has not reported yet.
    std::vector<AskedState> asked_;
    bool restorePending_ = false;
};

} // namespace ui::detail
