#pragma once

// Placing a control made at run time (a new element of a control array) into a frame or picture box.

namespace ui {
class Control;
}

// Makes `container` the control's parent, appends it to the container's layout when the container has one,
// and makes the control visible.
void PutInContainer(ui::Control& control, ui::Control& container);
