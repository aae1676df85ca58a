#pragma once

// The Control window over a board object of its own: offline (no board selected) or wired to one
// emulated board at Ezssp-0, with helpers to set and read the register maps and the serial traffic.

#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "common/bit_strings.h"
#include "shell/frm_control.h"

#include "platform/usb/emulated_board.h"
#include "platform/usb/emulated_driver.h"
#include "platform/usb/usb_driver.h"

#include <QList>
#include <QString>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>

// Readable QString values in failure messages.
static inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace controltest {

using testbits::bits;
using testbits::valueOf;

// One register write as it crossed pipe 3: the instruction's address and the value's bits.
struct SerialWrite {
    int addr = -1;
    QString value;
};
bool operator==(const SerialWrite& a, const SerialWrite& b);
std::ostream& operator<<(std::ostream& out, const SerialWrite& write);

class ControlWindowTest : public ::testing::Test {
protected:
    usb::ScopedEmulatedDriver scoped;
    usb::EmulatedDriver& drv = scoped.get();
    ScopedEZUSB ezusb;
    std::unique_ptr<cZR4470XEvalBd> ownBoard = std::make_unique<cZR4470XEvalBd>();
    cZR4470XEvalBd* bd = ownBoard.get();

    ControlWindowTest();
    ~ControlWindowTest() override;

    // Lays both maps out for a silicon revision (2 stands for revisions 1 and 2).
    void useRevision(int16_t rev);
    // Plugs a board into slot 0, selects it, takes its port levels and forgets the traffic so far.
    usb::EmulatedBoard& plugBoard(const usb::BoardOptions& options = {});
    usb::EmulatedChip& chip() { return *drv.board(0)->chip(); }
    // Loads the window (its Form_Load refreshes it from the pending map).
    frmControl& open();

    uint64_t pending(int16_t addr) const { return valueOf(bd->GetRegMapValue(0, addr)); }
    uint64_t written(int16_t addr) const { return valueOf(bd->GetRegMapValue(1, addr)); }
    uint64_t pendingField(int16_t addr, int hi, int lo) const;
    void setPending(int16_t addr, uint64_t value);
    void setPendingField(int16_t addr, int hi, int lo, uint64_t value);
    void setWritten(int16_t addr, uint64_t value);

    // The register writes on pipe 3 since the last clear, in order.
    QList<SerialWrite> serialWrites() const;
    void clearTraffic();
};

} // namespace controltest
