#include "board/register_maps.h"

void RegisterMaps::init(int16_t rev)
{
    for (int16_t a = 0; a < kRegisterCount; ++a) {
        widths_[a] = reglayout::widthOn(rev, a);
        defaults_[a] = reglayout::defaultOn(rev, a);
    }
    pending_ = defaults_;
    written_ = defaults_;
}

void RegisterMaps::reset(int32_t mode)
{
    if (mode == 0 || mode == 2)
        written_ = defaults_;
    if (mode == 1 || mode == 2)
        pending_ = defaults_;
}

const QString& RegisterMaps::value(RegMap map, int16_t addr) const
{
    static const QString none;
    return validAddress(addr) ? of(map)[addr] : none;
}

void RegisterMaps::setValue(RegMap map, int16_t addr, const QString& value)
{
    if (validAddress(addr))
        of(map)[addr] = value;
}

bool RegisterMaps::bit(RegMap map, int16_t addr, int16_t bit) const
{
    const QString& stored = value(map, addr);
    const qsizetype index = width(addr) - bit - 1;
    return index >= 0 && index < stored.size() && stored[index] == QLatin1Char('1');
}

void RegisterMaps::setBit(RegMap map, int16_t addr, int16_t bit, bool on)
{
    if (!hasBit(addr, bit))
        return;
    const QString& stored = value(map, addr);
    const qsizetype index = width(addr) - bit - 1;
    const QString right = bit > 0 ? stored.right(bit) : QString();
    setValue(map, addr, stored.left(index) + (on ? QLatin1Char('1') : QLatin1Char('0')) + right);
}
