#include "board/register_field.h"

namespace {

bool holds(const QString& bits, const RegisterField& field)
{
    return field.lo >= 0 && field.hi >= field.lo && field.hi - field.lo < 64 && field.hi < bits.size();
}

} // namespace

QString bitString(uint64_t value, int width)
{
    QString text(width, QLatin1Char('0'));
    QChar* out = text.data();
    for (int k = 0; k < width && k < 64; ++k)
        if ((value >> k) & 1U)
            out[width - 1 - k] = QLatin1Char('1');
    return text;
}

uint64_t RegisterField::of(const QString& bits) const
{
    const qsizetype length = bits.size();
    uint64_t value = 0;
    for (int bit = hi; bit >= lo && bit >= 0; --bit) {
        const qsizetype index = length - 1 - bit;
        const bool set = index >= 0 && index < length && bits[index] == QLatin1Char('1');
        value = (value << 1) | (set ? 1U : 0U);
    }
    return value;
}

QString RegisterField::in(const QString& bits, uint64_t value) const
{
    if (!holds(bits, *this) || !fits(value))
        return bits;
    QString out = bits;
    QChar* chars = out.data() + (bits.size() - 1 - hi);
    for (int k = 0; k < width(); ++k)
        chars[k] = ((value >> (width() - 1 - k)) & 1U) ? QLatin1Char('1') : QLatin1Char('0');
    return out;
}

QString RegisterField::text(const QString& bits) const
{
    if (!holds(bits, *this))
        return QString();
    return bits.mid(bits.size() - 1 - hi, width());
}

uint64_t RegisterField::get(RegMap map, const RegisterMaps& maps) const
{
    return of(maps.value(map, addr));
}

bool RegisterField::set(uint64_t value, RegMap map, RegisterMaps& maps) const
{
    if (!fits(value))
        return false;
    const QString& before = maps.value(map, addr);
    if (!holds(before, *this))
        return false;
    maps.setValue(map, addr, in(before, value));
    return true;
}

bool RegisterField::setBoth(uint64_t value, RegisterMaps& maps) const
{
    return set(value, RegMap::Pending, maps) && set(value, RegMap::Written, maps);
}

bool RegisterField::differs(const RegisterMaps& maps) const
{
    return get(RegMap::Pending, maps) != get(RegMap::Written, maps);
}

bool RegisterField::exists(const RegisterMaps& maps) const
{
    return holds(maps.value(RegMap::Pending, addr), *this);
}
