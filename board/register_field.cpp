#include "board/register_field.h"

#include "board/evalbd.h"
#include "board/globals.h"

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

uint64_t RegisterField::get(RegMap map) const
{
    if (!goEvalBd)
        return 0;
    return of(goEvalBd->GetRegMapValue(static_cast<int16_t>(map), addr));
}

bool RegisterField::set(uint64_t value, RegMap map) const
{
    if (!goEvalBd || !fits(value))
        return false;
    const QString before = goEvalBd->GetRegMapValue(static_cast<int16_t>(map), addr);
    if (!holds(before, *this))
        return false;
    goEvalBd->SetRegMapValue(static_cast<int16_t>(map), addr, in(before, value));
    return true;
}

bool RegisterField::setBoth(uint64_t value) const
{
    return set(value, RegMap::Pending) && set(value, RegMap::Written);
}

bool RegisterField::differs() const
{
    return get(RegMap::Pending) != get(RegMap::Written);
}

bool RegisterField::exists() const
{
    return goEvalBd && holds(goEvalBd->GetRegMapValue(0, addr), *this);
}
