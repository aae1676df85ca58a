#pragma once

// The board firmware's command codes (the first byte of every write on the command pipe), its command table
// (each command's length, its reply's length and the firmware that knows it) and its bulk pipes. The board
// object sends the commands, the emulated board answers them and the real-board driver pairs their replies
// with them, all from this one table.

#include <cstdint>
#include <optional>

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

// A firmware version as the board answers command 0: major, then minor, each compared as a number (0.10
// comes after 0.3), as the firmware's own numbering goes. The windows read the USB object's version text as
// a decimal number instead ("0.10" as 0.1, before 0.3), as the program always has (README.md says why).
struct FirmwareVersion {
    uint8_t major = 0;
    uint8_t minor = 0;
    friend constexpr bool operator<(FirmwareVersion a, FirmwareVersion b)
    {
        return a.major != b.major ? a.major < b.major : a.minor < b.minor;
    }
};

// One command of the firmware: the bytes of its write (code included), the bytes of the reply it leaves on
// the reply pipe (0: none), and the first firmware that knows it.
struct CommandShape {
    uint8_t code = 0;
    uint8_t commandLength = 0;
    uint8_t replyLength = 0;
    FirmwareVersion since;
};

// The firmware's command table, one entry per code that it knows, in the order of the codes.
inline constexpr CommandShape kCommands[] = {
    {GetFirmwareVersion, 1, 2, {}}, {SetPortA, 2, 0, {}},       {GetPortA, 1, 1, {}},
    {SetReadBackMode, 2, 0, {}},    {SetCtlLines, 2, 1, {}},    {GetCtlLines, 1, 1, {}},
    {SetReadBackCount, 3, 0, {}},   {ResetFirmware, 1, 0, {}},  {GetPortB, 1, 1, {}},
    {SetPortB, 2, 0, {}},           {GetPortD, 1, 1, {}},       {SetPortD, 2, 0, {}},
    {SetHostId, 5, 0, {0, 3}},      {GetHostId, 1, 4, {0, 3}},  {LedBlink, 2, 1, {}},
    {SetAutoCsbMode, 2, 1, {}},     {SetAutoCsbMask, 2, 1, {}}, {SetPortC, 2, 0, {}},
    {GetPortC, 1, 1, {}},           {SetPortE, 2, 0, {}},       {GetPortE, 1, 1, {}},
    {IsHighSpeed, 1, 1, {}},        {GetReadyLines, 1, 1, {}},
};

// The table's entry for a code; nothing for a code that no firmware knows.
constexpr std::optional<CommandShape> commandShape(uint8_t code)
{
    for (const CommandShape& shape : kCommands) {
        if (shape.code == code) {
            return shape;
        }
    }
    return std::nullopt;
}

// Whether a board of firmware `version` knows the command.
constexpr bool firmwareKnows(const CommandShape& shape, FirmwareVersion version)
{
    return !(version < shape.since);
}

// The table's lengths of a command: 0 for a code that no firmware knows.
constexpr int commandLength(uint8_t code)
{
    return commandShape(code).value_or(CommandShape{}).commandLength;
}

constexpr int replyLength(uint8_t code)
{
    return commandShape(code).value_or(CommandShape{}).replyLength;
}

// The bytes of the longest command.
inline constexpr int kLongestCommand = [] {
    int longest = 0;
    for (const CommandShape& shape : kCommands) {
        longest = shape.commandLength > longest ? shape.commandLength : longest;
    }
    return longest;
}();

} // namespace usb::firmware
