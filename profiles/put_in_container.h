#pragma once

// Controls made at run time (new elements of a control array): how list elements are made, and placing an
// element into a frame or picture box.

#include "platform/ui/controls.h"
#include "platform/ui/controls_array.h"

namespace ui {
class Control;
}

// Makes `container` the control's parent, appends it to the container's layout when the container has one,
// and makes the control visible.
void PutInContainer(ui::Control& control, ui::Control& container);

// Makes each element of a list array a drop-down list that takes no typed text.
ui::ControlArray<ui::ComboBox>::Maker DropDownListMaker();
