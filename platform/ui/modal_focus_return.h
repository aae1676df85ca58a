#pragma once

#include <QObject>

class QWidget;

namespace ui::detail {

// Internal to the window layer: when a modal window that has the keyboard closes, the keyboard goes back to
// the window the user returns to: the modal window under it, else the window it belonged to (its owner,
// the window it was shown over, the main window). A window manager does that itself; without one the
// window system gives the keyboard to no window, and the program's keys (Alt+F for the File menu) would
// reach nothing until a click.
class ModalFocusReturn : public QObject {
public:
    // Installed once, with the watch over minimised modal windows.
    static void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ModalFocusReturn() = default;
    // Gives the keyboard to the window the user returns to after `closed`, unless another window of the
    // program took it meanwhile.
    static void returnFrom(const QWidget* closed, QWidget& next);
};

} // namespace ui::detail
