#pragma once

#include <QSize>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

// Internal to the window layer: the frame of an MDI child, a sub-window of the main window's area around
// the form's window.
namespace ui::detail {

// Puts `window` into a new, hidden sub-window of `area`. The form decides when its window goes, not the
// close box. A child that grows by code (a layout or a run mode asking for more room) is sent back inside
// the area; a resize the user makes with the mouse is left alone: nothing moves under the user's hand.
QMdiSubWindow* addMdiChildFrame(QMdiArea& area, QWidget& window);

// The area places a new child after the ones before it, and a window may place or size itself (and grow
// when the run mode changes); one that would reach beyond the visible area moves back in (to its left or
// top edge when it is larger than the area), so it lies wholly in view. A hidden, maximised or minimised
// child stays where it is.
void keepInsideMdiArea(QMdiSubWindow& subWindow);

// The size of the sub-window around a content of `content`: its borders and its title bar added.
QSize mdiChildFrameSize(const QMdiSubWindow& subWindow, QSize content);

} // namespace ui::detail
