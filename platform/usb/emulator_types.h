#pragma once

// Options, trace records and protocol-violation records of the emulated board, chip and driver.

#include "platform/usb/usb_driver.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>

namespace usb {

enum class ChipRevision { None, Rev1, Rev2, Rev3 };

// What a serial data line reads when the chip does not drive it.
//  - InverseOfData: during a register read the line the chip does not use reads the inverse of the bit the
//    chip drives on the other line (so a wrong read-back mask shows at once); otherwise the pull-up (1).
//  - PullUp / PullDown: a constant 1 or 0 whenever the chip does not drive the line.
enum class UndrivenLine { InverseOfData, PullUp, PullDown };

struct ChipOptions {
    ChipRevision revision = ChipRevision::Rev3;
    // Value of the 40-bit identification register (0x1F on revision 3, 0x17 on revisions 1 and 2).
    // Bit 31 is the product bit.
    uint64_t identification = 0x00C0000100ULL;
    UndrivenLine undriven = UndrivenLine::InverseOfData;
    // The emulator's assumption for chip select going high in the middle of a register cycle: by default the
    // cycle is suspended (the serial state is kept until IO_RESET); true aborts it instead.
    bool csbHighAbortsCycle = false;
};

struct BoardOptions {
    ChipOptions chip;          // chip.revision == ChipRevision::None: no chip answers
    bool highSpeed = true;     // USB 2.0 high speed (IsHighSpeed reply 1); false: full speed (0)
    bool fifoPresent = true;   // board carries the FIFO
    uint8_t firmwareMajor = 0; // firmware version reply of command 0
    uint8_t firmwareMinor = 3; // host identifier commands 13/14 exist from 0.3 on
    uint32_t hostId = 0;       // stored host identifier (0 = no running copy claims the board)
    uint16_t vendorId = kBoardVendorId;
    uint16_t productId = kBoardProductId;
    QString baseName = kDefaultBaseName; // device name = baseName-slot
    bool resetLineHighAtPowerOn = false; // port A powers on with the master reset bit set
    uint8_t statusInputs = 0x40;         // port D inputs (bits 3-7); PLL_Lock set
    int fifoDepth = 65536;               // FIFO values the board's FIFO holds
    QString manufacturer = QStringLiteral("Tessaron emulation");
    QString product = QStringLiteral("ZR4470 Evaluation Board");
};

// One driver call as seen by the emulated driver.
enum class RequestKind {
    Open,
    Close,
    PipeInfo,
    DeviceDescriptor,
    StringDescriptor,
    BulkRead,
    BulkWrite,
    Vendor,
    Unknown
};

struct TraceEntry {
    int64_t time = 0; // from the driver's clock
    int slot = -1;    // board slot 0-8, -1 when the name or handle matched no board
    QString device;   // device name, e.g. "Ezssp-0" (opens: the name asked for)
    RequestKind kind = RequestKind::Unknown;
    uint32_t code = 0;      // request code (0 for open/close)
    int pipe = -1;          // bulk requests only
    uint32_t requested = 0; // bytes asked for (bulk: the caller's length)
    bool ok = false;
    QByteArray data; // bulk: the bytes moved (written, or returned by a read); descriptors: the reply
};

enum class ViolationKind {
    CommandLength,       // a command with the wrong number of bytes (or an empty write on pipe 0)
    UnknownCommand,      // a command code the firmware does not know (13/14 before firmware 0.3 included)
    BadArgument,         // a command argument outside its range (read-back count 0 or above 256, ...)
    ReadPastReply,       // a pipe-1 read with no reply pending or asking for more than is pending
    ReadBackMismatch,    // a pipe-5 read with no read-back data queued or of another length
    ReadBackUncollected, // read-back data replaced before the host read it
    ReadBackDeselected,  // read-back clocks while the chip is not selected (or held in reset, or absent)
    ExtraClocks,         // read-back clocks beyond the register's width
    NoTarget,            // pipe-3 data with neither chip select low nor FIFO write enabled
    BothTargets,         // pipe-3 data with chip select low and FIFO write enabled at once
    SerialWordValue,     // a serial-bit word other than 0 or 1, or an odd byte count on pipe 3
    WriteDuringRead,     // serial bits written while the chip drives read data
    RamPastSegment,      // RAM words past the end of the governing RAM segment
    FifoOverflow,        // FIFO values beyond the FIFO's depth
    FifoAbsent,          // FIFO data on a board without FIFO
    FifoOffsetExtra,     // more than two values while loading the FIFO offsets
    UnusedPipe,          // traffic on pipes 2 and 4
};

struct Violation {
    int64_t time = 0;
    int slot = -1;
    ViolationKind kind = ViolationKind::NoTarget;
    QString text;
};

// A time source in any monotonic unit (the system's virtual clock uses milliseconds).
using Clock = std::function<int64_t()>;

} // namespace usb
