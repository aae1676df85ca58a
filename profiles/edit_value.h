#pragma once

// Values as the edit dialogs and conversions receive them, and how the text of a value box reads as a number.

#include "platform/runtime/decimal.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <variant>

namespace profiles {

// A number handed over the way the windows keep it: a double, a wide decimal, or numeric text in the user's
// locale (the Control window's clock box, a box's Tag). The kind matters: arithmetic with a decimal clock
// runs in decimal, with any other clock in double precision.
class EditValue {
public:
    EditValue(double value) : value_(value) {}
    EditValue(int value) : value_(static_cast<double>(value)) {}
    EditValue(long long value) : value_(static_cast<double>(value)) {}
    EditValue(const rt::Decimal& value) : value_(value) {}
    EditValue(const QString& text) : value_(text) {}
    EditValue(const char* text) : value_(QString::fromUtf8(text)) {}

    bool isDecimal() const { return std::holds_alternative<rt::Decimal>(value_); }
    bool isText() const { return std::holds_alternative<QString>(value_); }
    // The value as a double; nullopt for text that is not a number and for values beyond the double range.
    std::optional<double> number() const;
    // The value as a wide decimal (a double keeps 15 significant digits); nullopt when it is not a number
    // or does not fit.
    std::optional<rt::Decimal> decimal() const;

private:
    std::variant<double, rt::Decimal, QString> value_;
};

// How the text of a value box reads. Text that slips past the key filters (pasted, or typed blanks and
// signs) is sorted here before any range check: a number too large for its type counts as above the range,
// one too large in the negative direction as below it.
enum class TypedKind { NotANumber, Number, AboveType, BelowType };

struct TypedDouble {
    TypedKind kind = TypedKind::NotANumber;
    double value = 0.0;
};
TypedDouble readTypedDouble(const QString& text);

// A whole word typed as decimal text: fractions round to the nearest integer, ties to even.
struct TypedWord {
    TypedKind kind = TypedKind::NotANumber;
    rt::Decimal value;
};
TypedWord readTypedWord(const QString& text);

// Rounds to the nearest integer (ties to even) and keeps the result within [low, high]; NaN gives 0.
int64_t roundHalfEvenClamped(double value, int64_t low, int64_t high);
// Truncates toward zero and keeps the result within [low, high]; NaN gives 0.
int64_t truncateClamped(double value, int64_t low, int64_t high);

} // namespace profiles
