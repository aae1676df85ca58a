#pragma once

// The Control window on the register-window fixture: its own tests drive it without the main window's
// "Auto" I/O update, and open it (again) as its Form_Load would, from the pending map.

#include "common/register_window_fixture.h"

#include <cstdint>

namespace controltest {

using regtest::bits;
using regtest::SerialWrite;
using regtest::valueOf;

class ControlWindowTest : public regtest::RegisterWindowTest {
protected:
    ControlWindowTest() { setAutoIOUpdate(false); }

    // The window, re-read from the pending map.
    frmControl& open()
    {
        control = &ui::form<frmControl>();
        control->RefreshFormVals();
        return *control;
    }
};

} // namespace controltest
