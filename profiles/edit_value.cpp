#include "profiles/edit_value.h"

#include "platform/runtime/locale_info.h"
#include "platform/runtime/numeric_text.h"
#include "platform/runtime/runtime_error.h"

#include <cmath>

namespace profiles {

namespace {

// Whether numeric text carries a minus sign in front (the locale's sign, or "-").
bool startsNegative(const QString& text)
{
    const QString trimmed = text.trimmed();
    const QString& sign = rt::numberLocale().negativeSign;
    return (!sign.isEmpty() && trimmed.startsWith(sign)) || trimmed.startsWith(QLatin1Char('-'));
}

} // namespace

std::optional<double> EditValue::number() const
{
    if (const double* d = std::get_if<double>(&value_))
        return std::isfinite(*d) ? std::optional<double>(*d) : std::nullopt;
    if (const rt::Decimal* m = std::get_if<rt::Decimal>(&value_))
        return m->toDouble();
    const TypedDouble typed = readTypedDouble(std::get<QString>(value_));
    if (typed.kind != TypedKind::Number)
        return std::nullopt;
    return typed.value;
}

std::optional<rt::Decimal> EditValue::decimal() const
{
    if (const rt::Decimal* m = std::get_if<rt::Decimal>(&value_))
        return *m;
    if (const QString* text = std::get_if<QString>(&value_))
        return rt::Decimal::tryFromText(*text);
    try {
        return rt::Decimal::fromDouble(std::get<double>(value_));
    } catch (const rt::RuntimeError&) {
        return std::nullopt;
    }
}

TypedDouble readTypedDouble(const QString& text)
{
    if (!rt::IsNumeric(text))
        return {};
    const TypedKind beyond = startsNegative(text) ? TypedKind::BelowType : TypedKind::AboveType;
    try {
        const double value = rt::CDbl(text);
        if (!std::isfinite(value))
            return {beyond, 0.0};
        return {TypedKind::Number, value};
    } catch (const rt::RuntimeError&) {
        return {beyond, 0.0};
    }
}

TypedWord readTypedWord(const QString& text)
{
    if (!rt::IsNumeric(text))
        return {};
    if (const auto value = rt::Decimal::tryFromText(text))
        return {TypedKind::Number, value->roundedHalfEven(0)};
    return {startsNegative(text) ? TypedKind::BelowType : TypedKind::AboveType, rt::Decimal()};
}

int64_t roundHalfEvenClamped(double value, int64_t low, int64_t high)
{
    if (std::isnan(value))
        return 0;
    // nearbyint rounds in the default mode, to nearest with ties to even.
    const double rounded = std::nearbyint(value);
    if (rounded <= static_cast<double>(low))
        return low;
    if (rounded >= static_cast<double>(high))
        return high;
    return static_cast<int64_t>(rounded);
}

int64_t truncateClamped(double value, int64_t low, int64_t high)
{
    if (std::isnan(value))
        return 0;
    const double cut = std::trunc(value);
    if (cut <= static_cast<double>(low))
        return low;
    if (cut >= static_cast<double>(high))
        return high;
    return static_cast<int64_t>(cut);
}

} // namespace profiles
