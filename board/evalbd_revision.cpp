// Silicon-revision detection through the 40-bit identification register (0x1F on revision 3, 0x17 on
// revisions 1 and 2), and the product flag from the same register.

#include "board/evalbd.h"
#include "board/evalbd_wire.h"

namespace {

constexpr int16_t kRev3IdRegister = 0x1F;
constexpr int16_t kRev12IdRegister = 0x17;

// True when a read shows a driven line: both levels occur. An absent chip, or one held in reset, leaves
// the data line at one level throughout.
bool chipDroveLine(const QString& bits)
{
    return bits.contains(QLatin1Char('0')) && bits.contains(QLatin1Char('1'));
}

} // namespace

int16_t cZR4470XEvalBd::DetectSiliconRev()
{
    BusyScope busy(*this);
    if (!busy.acquired())
        return 0;
    siliconRev_ = detectRevision();
    return siliconRev_;
}

int16_t cZR4470XEvalBd::detectRevision()
{
    const QString& pattern = kIdentificationPattern;
    // 1. The identification register in the present layout's width.
    const QString first = readRegister(kRev3IdRegister, false);
    if (first == pattern)
        return 3;
    ioResetPulse();

    // 2. The revision 1/2 layout, where the identification register is 0x17.
    InitRegMap(2);
    const QString second = readRegister(kRev12IdRegister, false);
    if (second == pattern)
        return 2;
    ioResetPulse();
    InitRegMap(3);

    // 3. A revision 3 chip met while the revision 1/2 layout was active was read with 0x1F only 8 bits
    //    wide, so neither read matched although the chip answered. Ask once more, now in the revision 3
    //    layout; a chip that still does not match is reported as none.
    if (chipDroveLine(first) || chipDroveLine(second)) {
        if (readRegister(kRev3IdRegister, false) == pattern)
            return 3;
        ioResetPulse();
    }
    return 0;
}

int16_t cZR4470XEvalBd::DetectProduct(int16_t rev)
{
    BusyScope busy(*this);
    if (!busy.acquired())
        return productId_;
    const QString id = readRegister(rev == 1 || rev == 2 ? kRev12IdRegister : kRev3IdRegister, false);
    productId_ = id.size() >= 9 && id[8] == QLatin1Char('1') ? 1 : 0;
    return productId_;
}
