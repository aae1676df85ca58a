#include "profiles/profile_entry.h"

#include "profiles/edit_value.h"

namespace profiles {

FieldEntry readValueEntry(const QString& text, double low, double high, bool highExclusive)
{
    const TypedDouble typed = readTypedDouble(text);
    switch (typed.kind) {
    case TypedKind::NotANumber:
        return {};
    case TypedKind::BelowType:
        return {FieldEntry::Below, 0.0};
    case TypedKind::AboveType:
        return {FieldEntry::Above, 0.0};
    case TypedKind::Number:
        break;
    }
    if (typed.value < low)
        return {FieldEntry::Below, typed.value};
    if (typed.value > high || (highExclusive && typed.value >= high))
        return {FieldEntry::Above, typed.value};
    return {FieldEntry::InRange, typed.value};
}

WordEntry readWordEntry(const QString& text, int64_t low, int64_t high)
{
    const TypedWord typed = readTypedWord(text);
    switch (typed.kind) {
    case TypedKind::NotANumber:
        return {};
    case TypedKind::BelowType:
        return {FieldEntry::Below, 0};
    case TypedKind::AboveType:
        return {FieldEntry::Above, 0};
    case TypedKind::Number:
        break;
    }
    const rt::Decimal& word = typed.value;
    if (word < rt::Decimal(static_cast<long long>(low)))
        return {FieldEntry::Below, 0};
    if (word > rt::Decimal(static_cast<long long>(high)))
        return {FieldEntry::Above, 0};
    return {FieldEntry::InRange, word.toInt64()};
}

} // namespace profiles
