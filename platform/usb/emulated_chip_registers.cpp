// Register layout of the ZR4470 per silicon revision: widths and reset values. The system's register maps
// hold the same tables, so that the maps and the chip agree after a reset.

#include "platform/usb/emulated_chip.h"

namespace usb {

namespace {

bool oldLayout(ChipRevision revision)
{
    return revision == ChipRevision::Rev1 || revision == ChipRevision::Rev2;
}

} // namespace

uint64_t EmulatedChip::widthMask(int width)
{
    return width >= 64 ? ~uint64_t{0} : ((uint64_t{1} << width) - 1);
}

int EmulatedChip::registerWidth(ChipRevision revision, int address)
{
    switch (address) {
    case 0x05:
    case 0x06:
        return 48;
    case 0x08:
        return 16;
    case 0x0B:
    case 0x0C:
        return 64;
    default:
        break;
    }
    if (address >= 0x0E && address <= 0x15) {
        return 64;
    }
    if (address >= 0x00 && address <= 0x16) {
        return 32;
    }
    if (oldLayout(revision)) {
        return address == 0x17 ? 40 : 8;
    }
    switch (address) {
    case 0x18:
    case 0x19:
    case 0x1B:
        return 16;
    case 0x1F:
        return 40;
    default:
        return 8;
    }
}

uint64_t EmulatedChip::registerDefault(ChipRevision revision, int address)
{
    const bool old = oldLayout(revision);
    switch (address) {
    case 0x01:
        return 0x00400820;
    case 0x02:
        return 0x1F3F4000;
    case 0x03:
        return old ? 0x000000FF : 0x00007F7F;
    case 0x04:
        return 0xFFFFFFFF;
    case 0x0E:
        return 0x08B5000000000000ULL;
    case 0x17:
        return old ? 0x0000000100 : 0xE0;
    case 0x1A:
        return old ? 0 : 0x01;
    case 0x1F:
        return old ? 0 : 0x0000000100;
    default:
        return 0;
    }
}

int EmulatedChip::identificationAddress() const
{
    return oldLayout(options_.revision) ? 0x17 : 0x1F;
}

} // namespace usb
