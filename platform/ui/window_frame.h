#pragma once

#include <Qt>
#include <cstdint>

class QWidget;

// Internal to the window layer: a top-level window's frame and state in the classic terms.
namespace ui::detail {

// The classic window state (normal, minimised, maximised) laid over Qt's states, the others kept.
Qt::WindowStates withState(Qt::WindowStates states, int state);

// Sets one window flag; re-applying flags hides a window, so one that was visible is shown again.
void setFlagKeepingVisibility(QWidget* window, Qt::WindowType flag, bool on);

// The flags of a frame whose buttons are named one by one, without the close box (naming them is the only
// way to leave it out).
Qt::WindowFlags withoutCloseButton(Qt::WindowFlags flags);

// Makes `window` a separate window owned by `owner` (kept above it), or an unowned one (nullptr); one that
// was visible stays visible.
void setOwnerWindow(QWidget& window, QWidget* owner);

// When `window` lives inside `container` (an MDI child, an owned window), makes it a hidden top-level window
// of its own, so that it does not go when the container does.
void takeOutOf(QWidget& window, const QWidget& container);

// A fresh window handle as the classic ones look: non-zero, 32-bit, a multiple of 4, not reused before
// 2^29 windows were made. They start at a random place and have the top bit set, so they never meet a
// handle a window chose itself (the main window's identity of the running copy).
uint32_t nextWindowHandle();

} // namespace ui::detail
