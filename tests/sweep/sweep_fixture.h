#pragma once

// The sweep library's windows on the register-window fixture: both windows registered by name, the
// OSK Control window opened in the run mode that shows all of it.

#include "board/chip_registers.h"
#include "common/register_window_fixture.h"

#include "profiles/register_windows.h"
#include "sweep/frm_freq_and_sweep.h"
#include "sweep/frm_multi_chip_sync.h"
#include "sweep/register_windows.h"

#include "platform/ui/test_doubles.h"

namespace sweeptest {

class SweepWindowTest : public regtest::RegisterWindowTest {
protected:
    SweepWindowTest()
    {
        RegisterProfilesWindows();
        RegisterSweepWindows();
    }
    frmFreqAndSweep& openSweep(int16_t runMode = 4)
    {
        giRunMode = runMode;
        EXPECT_TRUE(ui::Forms::showByName(frmFreqAndSweep::FormName));
        return *ui::loadedForm<frmFreqAndSweep>();
    }
    frmMultiChipSync& openSync()
    {
        EXPECT_TRUE(ui::Forms::showByName(frmMultiChipSync::FormName));
        return *ui::loadedForm<frmMultiChipSync>();
    }
    static std::vector<ui::testing::MessageBoxRecord>& boxes() { return ui::testing::messageBoxes().shown; }
};

} // namespace sweeptest
