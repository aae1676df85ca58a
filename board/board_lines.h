#pragma once

// The evaluation board's ports and lines: where each line the board object names sits (port and bit) and
// how it is reached. One table, walked by the board object's line properties, the port windows and the
// tests, so that a line's place is written once.

#include <array>
#include <cstddef>
#include <cstdint>

// Index of each port in the board object's port buffer.
enum EvalBdPort : int16_t {
    kPortD = 0,   // status inputs
    kPortA = 1,   // chip control lines
    kPortCtl = 2, // serial clock and FIFO write clock
    kPortB = 3,   // serial data pins (read only)
    kPortC = 4,   // FIFO and board logic
    kPortE = 5,   // profile pins, OSK, I/O update, ramp lines
};

inline constexpr int kPortBufferCount = 6;
// The FIFO ready lines: a firmware query of their own, never held in the port buffer.
inline constexpr int16_t kReadyLines = kPortBufferCount;

enum class BoardLine : uint8_t {
    USBStatus,
    CSB,
    IO_RESET,
    Reset,
    ExtPD,
    ISFC,
    SCAN_EN,
    SCLK,
    WCLK,
    FIFO_LDB,
    FIFO_WENB,
    TXEnable,
    RTEnable,
    FIFO_RESET,
    CPLD_RESET,
    P0,
    P1,
    P2,
    OSK,
    REGUD,
    LSHOLD,
    LSCTL,
    REGUD_EN,
    LS_OVR,
    RS_OVR,
    SYNC_SMPL_ERR,
    PLL_Lock,
    CIC_OVERFL,
    SDIO,
    SDO,
    FIFO_PAF,
    FIFO_PAE,
};

enum class LineKind : uint8_t {
    Output,    // buffered; a set changes the bit, the caller sends the port
    Input,     // buffered as last fetched; a set does nothing
    FreshRead, // read from the board at every get (port B, the ready lines); a set does nothing
};

struct BoardLineEntry {
    BoardLine line;
    const char* name;
    int16_t port; // a port buffer index, or kReadyLines
    int8_t bit;
    LineKind kind;
};

inline constexpr std::array<BoardLineEntry, 32> kBoardLines = {{
    {BoardLine::USBStatus, "USBStatus", kPortA, 0, LineKind::Output},
    {BoardLine::CSB, "CSB", kPortA, 1, LineKind::Output},
    {BoardLine::IO_RESET, "IO_RESET", kPortA, 2, LineKind::Output},
    {BoardLine::Reset, "Reset", kPortA, 3, LineKind::Output},
    {BoardLine::ExtPD, "ExtPD", kPortA, 4, LineKind::Output},
    {BoardLine::ISFC, "ISFC", kPortA, 5, LineKind::Output},
    {BoardLine::SCAN_EN, "SCAN_EN", kPortA, 6, LineKind::Output},
    {BoardLine::SCLK, "SCLK", kPortCtl, 0, LineKind::Output},
    {BoardLine::WCLK, "WCLK", kPortCtl, 1, LineKind::Output},
    {BoardLine::FIFO_LDB, "FIFO_LDB", kPortC, 0, LineKind::Output},
    {BoardLine::FIFO_WENB, "FIFO_WENB", kPortC, 1, LineKind::Output},
    {BoardLine::TXEnable, "TXEnable", kPortC, 2, LineKind::Output},
    {BoardLine::RTEnable, "RTEnable", kPortC, 3, LineKind::Output},
    {BoardLine::FIFO_RESET, "FIFO_RESET", kPortC, 4, LineKind::Output},
    {BoardLine::CPLD_RESET, "CPLD_RESET", kPortC, 5, LineKind::Output},
    {BoardLine::P0, "P0", kPortE, 0, LineKind::Output},
    {BoardLine::P1, "P1", kPortE, 1, LineKind::Output},
    {BoardLine::P2, "P2", kPortE, 2, LineKind::Output},
    {BoardLine::OSK, "OSK", kPortE, 3, LineKind::Output},
    {BoardLine::REGUD, "REGUD", kPortE, 4, LineKind::Output},
    {BoardLine::LSHOLD, "LSHOLD", kPortE, 5, LineKind::Output},
    {BoardLine::LSCTL, "LSCTL", kPortE, 6, LineKind::Output},
    {BoardLine::REGUD_EN, "REGUD_EN", kPortE, 7, LineKind::Output},
    {BoardLine::LS_OVR, "LS_OVR", kPortD, 3, LineKind::Input},
    {BoardLine::RS_OVR, "RS_OVR", kPortD, 4, LineKind::Input},
    {BoardLine::SYNC_SMPL_ERR, "SYNC_SMPL_ERR", kPortD, 5, LineKind::Input},
    {BoardLine::PLL_Lock, "PLL_Lock", kPortD, 6, LineKind::Input},
    {BoardLine::CIC_OVERFL, "CIC_OVERFL", kPortD, 7, LineKind::Input},
    {BoardLine::SDIO, "SDIO", kPortB, 0, LineKind::FreshRead},
    {BoardLine::SDO, "SDO", kPortB, 1, LineKind::FreshRead},
    {BoardLine::FIFO_PAF, "FIFO_PAF", kReadyLines, 0, LineKind::FreshRead},
    {BoardLine::FIFO_PAE, "FIFO_PAE", kReadyLines, 1, LineKind::FreshRead},
}};

namespace board_lines_detail {
constexpr bool inLineOrder()
{
    for (size_t k = 0; k < kBoardLines.size(); ++k) {
        if (static_cast<size_t>(kBoardLines[k].line) != k)
            return false;
    }
    return kBoardLines.size() == static_cast<size_t>(BoardLine::FIFO_PAE) + 1;
}
} // namespace board_lines_detail
static_assert(board_lines_detail::inLineOrder(), "kBoardLines lists every line in the order of BoardLine");

// The table is in the order of BoardLine, so a line is its own index.
constexpr const BoardLineEntry& boardLine(BoardLine line)
{
    return kBoardLines[static_cast<size_t>(line)];
}

// The line's level in a port byte (0 or 1).
constexpr int16_t lineLevel(int16_t portByte, BoardLine line)
{
    return static_cast<int16_t>((portByte >> boardLine(line).bit) & 1);
}

// The port byte with the line's bit set (any non-zero value) or cleared.
constexpr int16_t withLineLevel(int16_t portByte, BoardLine line, int32_t value)
{
    const auto mask = static_cast<int16_t>(1 << boardLine(line).bit);
    return static_cast<int16_t>(value != 0 ? portByte | mask : portByte & ~mask);
}
