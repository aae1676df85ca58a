#pragma once

// The board firmware's command codes: the first byte of every write on the command pipe. The board object
// sends them and the emulated board answers them, so each code is named once, here.

#include <cstdint>

namespace usb::firmware {

enum Command : uint8_t {
    GetFirmwareVersion = 0, // reply: major, minor
    SetPortA = 1,           // value
    GetPortA = 2,           // reply: port A
    // 3 is not used by the firmware.
    SetReadBackMode = 4,  // 1 on, 0 off
    SetCtlLines = 5,      // value; reply: the value set
    GetCtlLines = 6,      // reply: control lines
    SetReadBackCount = 7, // word count, high byte first
    ResetFirmware = 8,    // ports and modes to their power-on levels
    GetPortB = 9,         // reply: port B lines
    SetPortB = 10,        // value
    GetPortD = 11,        // reply: status inputs
    SetPortD = 12,        // value
    SetHostId = 13,       // four bytes, high first (firmware 0.3 on)
    GetHostId = 14,       // reply: four bytes, high first (firmware 0.3 on)
    LedBlink = 15,        // 0 off, 1 on, 2 query; reply: acknowledgement or state
    SetAutoCsbMode = 16,  // 0 or 1; reply: acknowledgement
    SetAutoCsbMask = 17,  // mask; reply: acknowledgement
    SetPortC = 18,        // value
    GetPortC = 19,        // reply: port C
    SetPortE = 20,        // value
    GetPortE = 21,        // reply: port E
    IsHighSpeed = 22,     // reply: 1 at high speed
    GetReadyLines = 23,   // reply: FIFO ready lines
};

// One past the highest code.
inline constexpr int kCommandCount = 24;

} // namespace usb::firmware
