#pragma once

// The board firmware's command codes (the first byte of every write on the command pipe) and its bulk
// pipes. The board object sends them and the emulated board answers them, so each is named once, here.

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

// The bulk pipes of the board: commands go out on the command pipe and their replies come back on the reply
// pipe; the serial-bit words (chip registers, RAM, FIFO) go out on the data pipe and the chip's read-back
// words come in on the read-back pipe. Pipes 2 and 4 are not used.
inline constexpr int kCommandPipe = 0;
inline constexpr int kReplyPipe = 1;
inline constexpr int kDataPipe = 3;
inline constexpr int kReadBackPipe = 5;

// One past the highest code.
inline constexpr int kCommandCount = 24;

// The length of the reply a command leaves on the reply pipe: 0 for a command without a reply or a code the
// firmware does not know.
constexpr int replyLength(uint8_t code)
{
    switch (code) {
    case GetFirmwareVersion:
        return 2;
    case GetHostId:
        return 4;
    case GetPortA:
    case SetCtlLines:
    case GetCtlLines:
    case GetPortB:
    case GetPortD:
    case LedBlink:
    case SetAutoCsbMode:
    case SetAutoCsbMask:
    case GetPortC:
    case GetPortE:
    case IsHighSpeed:
    case GetReadyLines:
        return 1;
    default:
        return 0;
    }
}

} // namespace usb::firmware
