#pragma once

// The Profiles window over the emulated driver: the main window (for its board object and its "Auto" I/O
// update box, its USB watch stopped so that the traffic is the window's own), the Control window (for the
// system clock, 1000 MHz unless a test says otherwise), a recorder of the status-bar progress calls, and
// helpers to read and set the register maps and to drive the window as a user does.

#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "board/progress.h"
#include "common/bit_strings.h"
#include "platform/runtime/locale_info.h"
#include "platform/usb/emulated_driver.h"
#include "profiles/frm_profile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

class frmControl;
class mdiMain;

namespace profiletest {

using testbits::bits;
using testbits::valueOf;

// The progress calls in order: "init 0 10 Loading...", "value 3", "reset".
class RecordingProgress : public ProgressSink {
public:
    void init(int32_t min, int32_t max, const QString& text) override;
    void setValue(int32_t value) override;
    void reset() override;
    QStringList calls;
    // Runs at each value, after it was recorded (to look at the window in the middle of a load).
    std::function<void()> during;
};

class ProfileWindowTest : public ::testing::Test {
protected:
    rt::ScopedNumberLocale locale{QChar(u'.')};
    usb::ScopedEmulatedDriver scoped;
    usb::EmulatedDriver& drv = scoped.get();
    ScopedEZUSB ezusb;
    RecordingProgress progress;
    mdiMain* mdi = nullptr;
    frmControl* control = nullptr;

    ProfileWindowTest();
    ~ProfileWindowTest() override;

    cZR4470XEvalBd& bd() const { return *goEvalBd; }
    // Plugs a board into slot 0, selects it with this copy's identifier, takes its port levels and forgets
    // the traffic so far.
    usb::EmulatedBoard& plugBoard(const usb::BoardOptions& options = {});
    usb::EmulatedChip& chip() { return *drv.board(0)->chip(); }
    void setClock(const QString& megahertz);
    // Loads the window (its Form_Load refreshes it from the pending map).
    frmProfile& open();
    // Shows the main window and the Profiles window and makes them active, so that focus moves run the
    // classic focus events.
    frmProfile& openShown();

    uint64_t pending(int16_t addr) const { return valueOf(bd().GetRegMapValue(0, addr)); }
    uint64_t written(int16_t addr) const { return valueOf(bd().GetRegMapValue(1, addr)); }
    uint64_t pendingField(int16_t addr, int hi, int lo) const;
    void setPending(int16_t addr, uint64_t value);
    void setPendingField(int16_t addr, int hi, int lo, uint64_t value);
    // CFR1 operating mode (bits 25:24) and RAM enable (bit 31) in the pending map.
    void setOperatingMode(int mode, bool ramEnabled = false);

    void clearTraffic();
    // Register writes as they crossed pipe 3 since the last clear: the instruction's address and the value's
    // bits, read most significant first until a CFR1 write sets the LSB-first bit (as the chip reads them).
    struct SerialWrite {
        int addr = -1;
        QString value;
        bool operator==(const SerialWrite&) const = default;
    };
    QList<SerialWrite> serialWrites() const;
    // Bulk writes on a pipe of slot 0 since the last clear, in order.
    QList<QByteArray> pipeWrites(int pipe) const { return drv.transfers(0, pipe); }
};

// ---- driving the window ----

// Types `keys` into the box through its key filters ("\r" Enter).
void type(ui::TextBox& box, const QString& keys);
// Gives the box the focus as a click does. Leaving a value box validates it, and the validation sends the
// focus to LOAD, so a second click may be needed, as for the user.
void clickInto(ui::TextBox& box);
// Clicks into the box, selects the whole text and types `keys`.
void retype(ui::TextBox& box, const QString& keys);
// Replaces the text as a paste does (past the key filters), then presses Enter.
void pasteAndEnter(ui::TextBox& box, const QString& text);
// A double-click with the left button.
void doubleClick(ui::Control& control);

} // namespace profiletest
