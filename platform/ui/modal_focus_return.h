#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <optional>

class QWidget;

namespace ui::detail {

// Internal to the window layer: when a modal window that has the keyboard closes, the keyboard goes back to
// the window the user returns to: the modal window under it, else the window it belonged to (its owner,
// the window it was shown over, the main window). A window manager does that itself; without one the
// window system gives the keyboard to no window, and the program's keys (Alt+F for the File menu) would
// reach nothing until a click. It steps in only while the program has the keyboard and no other window of
// the program has taken it: the user may be working in another program, and a window the program shows as
// the modal window closes (a message box after a dialog) keeps the keyboard the window system gives it.
class ModalFocusReturn : public QObject {
public:
    // Installed once, with the watch over minimised modal windows.
    static void install();

    // Whether the program has the keyboard is the window system's to say; a window system without other
    // programs (the tests' offscreen one) never takes it away, so a test says so here instead. nullopt
    // gives the question back to the window system.
    static void setProgramActiveOverride(std::optional<bool> programActive);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ModalFocusReturn() = default;
    // Gives the keyboard to the window the user returns to after `closed`, unless another window of the
    // program took it meanwhile or was shown since the `shownBefore`th window.
    void returnFrom(const QWidget* closed, QWidget& next, uint64_t shownBefore);
    static bool programActive();

    static inline std::optional<bool> programActiveOverride_;
    // How many windows the program has shown, and the last of them.
    uint64_t windowsShown_ = 0;
    QPointer<QWidget> lastShown_;
};

} // namespace ui::detail
