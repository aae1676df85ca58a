#pragma once

// The sweep library's windows on the register-window fixture: both windows registered by name, the
// OSK Control window opened in the run mode that shows all of it.

#include "common/register_window_fixture.h"

#include "profiles/register_windows.h"
#include "sweep/frm_freq_and_sweep.h"
#include "sweep/frm_multi_chip_sync.h"
#include "sweep/register_windows.h"

#include "platform/ui/test_doubles.h"

namespace sweeptest {

constexpr int16_t kCFR1 = 0x00;
constexpr int16_t kCFR2 = 0x01;
constexpr int16_t kFTW = 0x07;
constexpr int16_t kPOW = 0x08;
constexpr int16_t kASF = 0x09;
constexpr int16_t kMCS = 0x0A;
constexpr int16_t kLSPR = 0x0B;
constexpr int16_t kLSDPR = 0x0C;
constexpr int16_t kLSRR = 0x0D;

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
