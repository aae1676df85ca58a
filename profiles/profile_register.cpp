#include "profiles/profile_register.h"

#include "board/num_base.h"

namespace profiles {

uint64_t fieldValue(const QString& bits, BitField field)
{
    const qsizetype length = bits.size();
    uint64_t value = 0;
    for (int bit = field.hi; bit >= field.lo; --bit) {
        const qsizetype index = length - 1 - bit;
        const bool set = index >= 0 && index < length && bits[index] == QLatin1Char('1');
        value = (value << 1) | (set ? 1U : 0U);
    }
    return value;
}

QString withField(const QString& bits, BitField field, const rt::Decimal& word)
{
    const qsizetype first = bits.size() - 1 - field.hi;
    if (first < 0 || field.lo < 0 || field.hi < field.lo)
        return bits;
    QString out = bits;
    out.replace(first, field.width(), cbaseDec2Bin(word, field.width()));
    return out;
}

rt::Decimal tagWord(const QString& tag)
{
    if (tag.trimmed().isEmpty())
        return rt::Decimal();
    // A Tag is written by this program as a plain decimal; anything else counts as no word.
    if (const auto word = rt::Decimal::tryFromInvariantText(tag.trimmed()))
        return word->roundedHalfEven(0);
    if (const auto word = rt::Decimal::tryFromText(tag))
        return word->roundedHalfEven(0);
    return rt::Decimal();
}

} // namespace profiles
