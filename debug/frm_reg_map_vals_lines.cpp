#include "debug/frm_reg_map_vals_lines.h"

#include "board/chip_registers.h"
#include "board/evalbd.h"
#include "board/silicon_revision.h"

#include <algorithm>

namespace regmapview {

namespace {

constexpr int kBinaryGroup = 8;
constexpr int kHexGroup = 2;

QChar hexDigit(const QChar* nibble)
{
    int value = 0;
    for (int k = 0; k < 4; ++k) {
        const char16_t c = nibble[k].unicode();
        if (c != u'0' && c != u'1')
            return QLatin1Char('?');
        value = value * 2 + (c == u'1' ? 1 : 0);
    }
    return QLatin1Char("0123456789ABCDEF"[value]);
}

// The digits with a blank after every `group` characters, the last blank dropped.
QString grouped(const QString& digits, int group)
{
    QString out;
    out.reserve(digits.size() + digits.size() / group);
    for (qsizetype k = 0; k < digits.size(); ++k) {
        out.append(digits[k]);
        if ((k + 1) % group == 0)
            out.append(QLatin1Char(' '));
    }
    while (out.endsWith(QLatin1Char(' ')))
        out.chop(1);
    return out;
}

} // namespace

QString pSpace(int n)
{
    return QString(std::max(0, n), QLatin1Char(' '));
}

// The registers after the ADC's that no window edits.
constexpr int16_t kLastUnnamedRegister = 0x1E;

// The map ends at the identification register of the layout.
int lastAddress(int16_t siliconRev)
{
    return siliconRev == 1 || siliconRev == 2 ? siliconrev::kRev12IdRegister : siliconrev::kRev3IdRegister;
}

bool addressShown(int addr, int16_t runMode)
{
    if ((addr >= kCFR1 && addr <= kRAMRegister) || addr == kGPIOConfig || addr == kGPIORead)
        return true;
    if (addr == kWDT || (addr >= kADCControl && addr <= kLastUnnamedRegister))
        return runMode == 5;
    return addr == siliconrev::kRev3IdRegister && runMode == 3;
}

QString groupedValue(const QString& bits, Base base)
{
    if (base == Base::Binary)
        return grouped(bits, kBinaryGroup);
    // Hexadecimal digits of the whole register, the bits taken in fours from the left after padding.
    const qsizetype digits = (bits.size() + 3) / 4;
    const QString padded = bits.rightJustified(digits * 4, QLatin1Char('0'));
    QString hex(digits, QLatin1Char('0'));
    for (qsizetype d = 0; d < digits; ++d)
        hex[d] = hexDigit(padded.constData() + d * 4);
    return grouped(hex, kHexGroup);
}

QString headerLine(Base base)
{
    return pSpace(1) + QStringLiteral("Reg Addr (Hex):") + pSpace(5) +
           (base == Base::Binary ? QStringLiteral("Binary Value:") : QStringLiteral("Hexidecimal Value:"));
}

QString registerLine(int addr, const QString& bits, Base base)
{
    return pSpace(6) + QStringLiteral("%1").arg(addr, 2, 16, QLatin1Char('0')).toUpper() + pSpace(11) +
           groupedValue(bits, base);
}

QStringList registerMapLines(const cZR4470XEvalBd& bd, int16_t selector, Base base, int16_t runMode)
{
    QStringList lines;
    lines.reserve(cZR4470XEvalBd::kRegisterCount + 2);
    lines << QString() << headerLine(base);
    const int last = lastAddress(bd.SiliconRev());
    for (int addr = 0; addr <= last; ++addr)
        if (addressShown(addr, runMode))
            lines << registerLine(addr, bd.GetRegMapValue(selector, static_cast<int16_t>(addr)), base);
    return lines;
}

} // namespace regmapview
