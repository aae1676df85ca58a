#pragma once

// Every control of the window layer, for the windows' headers.
#include "platform/ui/control.h"
#include "platform/ui/controls_array.h"
#include "platform/ui/controls_button.h"
#include "platform/ui/controls_frame.h"
#include "platform/ui/controls_label.h"
#include "platform/ui/controls_list.h"
#include "platform/ui/controls_listview.h"
#include "platform/ui/controls_picture.h"
#include "platform/ui/controls_scrollbar.h"
#include "platform/ui/controls_shape.h"
#include "platform/ui/controls_tabstrip.h"
#include "platform/ui/controls_textbox.h"
