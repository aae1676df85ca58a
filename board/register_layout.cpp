#include "board/register_layout.h"

#include "board/register_field.h"

namespace reglayout {

namespace {

bool layout12(int16_t rev)
{
    return rev == 1 || rev == 2;
}

} // namespace

int16_t widthOn(int16_t rev, int16_t addr)
{
    if (addr < 0 || addr >= kRegisterCount)
        return 0;
    // Widths of 0x00-0x16 are the same in both layouts.
    static constexpr int16_t kCommonWidths[0x17] = {32, 32, 32, 32, 32, 48, 48, 32, 16, 32, 32, 64,
                                                    64, 32, 64, 64, 64, 64, 64, 64, 64, 64, 32};
    static constexpr int16_t kRev3Widths[9] = {8, 16, 16, 8, 16, 8, 8, 8, 40};
    if (addr < 0x17)
        return kCommonWidths[addr];
    if (layout12(rev))
        return addr == 0x17 ? 40 : 8;
    return kRev3Widths[addr - 0x17];
}

QString defaultOn(int16_t rev, int16_t addr)
{
    const int width = widthOn(rev, addr);
    switch (addr) {
    case 0x01:
        return bitString(0x00400820, width);
    case 0x02:
        return bitString(0x1F3F4000, width);
    case 0x03:
        return bitString(layout12(rev) ? 0xFF : 0x7F7F, width);
    case 0x04:
        return bitString(0xFFFFFFFFU, width);
    case 0x0E:
        return bitString(0x08B5000000000000ULL, width);
    case 0x17:
        return bitString(layout12(rev) ? 0x100 : 0xE0, width);
    case 0x1A:
        return bitString(layout12(rev) ? 0 : 0x01, width);
    case 0x1F:
        return bitString(layout12(rev) ? 0 : 0x100, width);
    default:
        return bitString(0, width);
    }
}

} // namespace reglayout
