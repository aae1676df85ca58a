#include "profiles/profile_register.h"

#include "board/num_base.h"

namespace profiles {

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

uint64_t fieldWord(const RegisterField& field, const rt::Decimal& word)
{
    const int width = field.width();
    return RegisterField{0, static_cast<int>(width - 1), 0}.of(cbaseDec2Bin(word, width));
}

} // namespace profiles
