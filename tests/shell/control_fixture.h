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

    using RegisterWindowTest::pendingField;
    using RegisterWindowTest::setPendingField;
    uint64_t pendingField(int16_t addr, int hi, int lo) const
    {
        return pendingField(RegisterField{addr, hi, lo});
    }
    void setPendingField(int16_t addr, int hi, int lo, uint64_t value)
    {
        setPendingField(RegisterField{addr, hi, lo}, value);
    }
};

} // namespace controltest
