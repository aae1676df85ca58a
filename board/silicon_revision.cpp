#include "board/silicon_revision.h"

namespace siliconrev {

namespace {

// True when a read shows a driven line: both levels occur. An absent chip, or one held in reset, leaves
// the data line at one level throughout.
bool chipDroveLine(const QString& bits)
{
    return bits.contains(QLatin1Char('0')) && bits.contains(QLatin1Char('1'));
}

} // namespace

int16_t detect(const Probe& probe)
{
    // 1. The identification register in the present layout's width.
    const QString first = probe.readRegister(kRev3IdRegister);
    if (first == kIdentificationPattern)
        return 3;
    probe.ioResetPulse();

    // 2. The revision 1/2 layout, where the identification register is 0x17.
    probe.useLayout(2);
    const QString second = probe.readRegister(kRev12IdRegister);
    if (second == kIdentificationPattern)
        return 2;
    probe.ioResetPulse();
    probe.useLayout(3);

    // 3. A revision 3 chip met while the revision 1/2 layout was active was read with 0x1F only 8 bits
    //    wide, so neither read matched although the chip answered. Ask once more, now in the revision 3
    //    layout; a chip that still does not match is reported as none.
    if (chipDroveLine(first) || chipDroveLine(second)) {
        if (probe.readRegister(kRev3IdRegister) == kIdentificationPattern)
            return 3;
        probe.ioResetPulse();
    }
    return 0;
}

int16_t productOf(const QString& identification)
{
    return identification.size() >= 9 && identification[8] == QLatin1Char('1') ? 1 : 0;
}

} // namespace siliconrev
