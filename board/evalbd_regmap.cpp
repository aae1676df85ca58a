// The two register maps (pending and written), the register layout of each silicon revision and bit access.

#include "board/evalbd.h"
#include "board/register_field.h"

#include "board/message_sink.h"

namespace {

bool validAddress(int16_t addr)
{
    return addr >= 0 && addr < cZR4470XEvalBd::kRegisterCount;
}

const QString kBitMessage =
    QStringLiteral("The BIT being addressed does not exist in the addressed register location!");

} // namespace

int16_t cZR4470XEvalBd::RegLengthOn(int16_t rev, int16_t addr)
{
    if (addr < 0 || addr >= kRegisterCount)
        return 0;
    // Widths of 0x00-0x16 are the same in both layouts.
    static constexpr int16_t kCommonWidths[0x17] = {32, 32, 32, 32, 32, 48, 48, 32, 16, 32, 32, 64,
                                                    64, 32, 64, 64, 64, 64, 64, 64, 64, 64, 32};
    static constexpr int16_t kRev3Widths[9] = {8, 16, 16, 8, 16, 8, 8, 8, 40};
    if (addr < 0x17)
        return kCommonWidths[addr];
    if (rev == 1 || rev == 2)
        return addr == 0x17 ? 40 : 8;
    return kRev3Widths[addr - 0x17];
}

void cZR4470XEvalBd::InitRegMap(int16_t rev)
{
    for (int16_t a = 0; a < kRegisterCount; ++a)
        regLengthTable_[a] = RegLengthOn(rev, a);

    const bool layout12 = rev == 1 || rev == 2;
    for (int a = 0; a < kRegisterCount; ++a)
        regDefaultTable_[a] = bitString(0, regLengthTable_[a]);
    regDefaultTable_[0x01] = bitString(0x00400820, 32);
    regDefaultTable_[0x02] = bitString(0x1F3F4000, 32);
    regDefaultTable_[0x04] = bitString(0xFFFFFFFFU, 32);
    regDefaultTable_[0x0E] = bitString(0x08B5000000000000ULL, 64);
    if (layout12) {
        regDefaultTable_[0x03] = bitString(0xFF, 32);
        regDefaultTable_[0x17] = bitString(0x100, 40);
    } else {
        regDefaultTable_[0x03] = bitString(0x7F7F, 32);
        regDefaultTable_[0x17] = bitString(0xE0, 8);
        regDefaultTable_[0x1A] = bitString(0x01, 8);
        regDefaultTable_[0x1F] = bitString(0x100, 40);
    }
    pendingRegMap_ = regDefaultTable_;
    writtenRegMap_ = regDefaultTable_;
}

void cZR4470XEvalBd::ResetRegMap(int32_t mode)
{
    if (mode == 0 || mode == 2)
        writtenRegMap_ = regDefaultTable_;
    if (mode == 1 || mode == 2)
        pendingRegMap_ = regDefaultTable_;
    raise({EvalBdEventRecord::RegMapReset, mode});
}

QString cZR4470XEvalBd::GetRegMapValue(int16_t sel, int16_t addr) const
{
    if (!validAddress(addr))
        return QString();
    return sel == 0 ? pendingRegMap_[addr] : writtenRegMap_[addr];
}

void cZR4470XEvalBd::SetRegMapValue(int16_t sel, int16_t addr, const QString& value)
{
    if (!validAddress(addr))
        return;
    (sel == 0 ? pendingRegMap_ : writtenRegMap_)[addr] = value;
}

int16_t cZR4470XEvalBd::GetRegLength(int16_t addr) const
{
    return validAddress(addr) ? regLengthTable_[addr] : int16_t{0};
}

int16_t cZR4470XEvalBd::GetRegMapBitValue(int16_t sel, int16_t addr, int16_t bit)
{
    if (!validAddress(addr))
        return 0;
    const int width = regLengthTable_[addr];
    if (bit < 0 || width <= bit) {
        boardmsg::MsgBox(kBitMessage, boardmsg::vbCritical,
                         QStringLiteral("clsZR4470EvBd.GetRegMapBitVal - Ivalid Parameter: BitNum"));
        return 0;
    }
    const QString& stored = sel == 0 ? pendingRegMap_[addr] : writtenRegMap_[addr];
    if (stored.size() == width)
        return static_cast<int16_t>(regBit(addr, bit).of(stored));
    // A stored string of another length: the table's width still decides which character is bit `bit`,
    // and a string too short simply has no "1" there.
    const qsizetype index = width - bit - 1;
    return index < stored.size() && stored[index] == QLatin1Char('1') ? 1 : 0;
}

void cZR4470XEvalBd::SetRegMapBitValue(int16_t sel, int16_t addr, int16_t bit, int32_t value)
{
    if (!validAddress(addr))
        return;
    const int width = regLengthTable_[addr];
    if (bit < 0 || width <= bit) {
        boardmsg::MsgBox(kBitMessage, boardmsg::vbCritical,
                         QStringLiteral("clsZR4470EvBd.SetRegMapBitVal - Ivalid Parameter: BitNum"));
        return;
    }
    QString& stored = (sel == 0 ? pendingRegMap_ : writtenRegMap_)[addr];
    if (stored.size() == width) {
        stored = regBit(addr, bit).in(stored, value != 0 ? 1U : 0U);
        return;
    }
    const QChar digit = value != 0 ? QLatin1Char('1') : QLatin1Char('0');
    const qsizetype index = width - bit - 1;
    // A string of another length: the first (width - bit - 1) characters, the digit, then the last `bit`
    // characters, each part cut to what the string holds.
    const QString left = stored.left(index);
    const QString right = bit > 0 ? stored.right(bit) : QString();
    stored = left + digit + right;
}
