#pragma once

// The Profiles window on the register-window fixture (main window, Control window at 1000 MHz, both maps,
// the traffic on the wire), with the window registered and opened as a user opens it.

#include "common/register_window_fixture.h"
#include "profiles/frm_profile.h"
#include "shell/mdi_main.h"

#include <QApplication>

#include <cstdint>

namespace profiletest {

using regtest::bits;
using regtest::clickInto;
using regtest::doubleClick;
using regtest::pasteAndEnter;
using regtest::RecordingProgress;
using regtest::retype;
using regtest::SerialWrite;
using regtest::type;
using regtest::valueOf;

class ProfileWindowTest : public regtest::RegisterWindowTest {
protected:
    ProfileWindowTest() { registerProfileWindow(); }

    // Loads the window (its Form_Load refreshes it from the pending map).
    frmProfile& open() { return ui::form<frmProfile>(); }
    // Shows the main window and the Profiles window and makes them active, so that focus moves run the
    // classic focus events.
    frmProfile& openShown()
    {
        mdi->Show();
        frmProfile& window = open();
        window.Show();
        QApplication::setActiveWindow(mdi->frameWidget()->window());
        return window;
    }
};

} // namespace profiletest
