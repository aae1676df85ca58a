#pragma once

// A number as its decimal digits, for formatting: value = digits x 10^exponent.
// Internal to the runtime library.

#include "platform/runtime/decimal.h"

#include <QString>
#include <string>

namespace rt::detail {

struct DigitNumber {
    bool negative = false;
    std::string digits; // no leading or trailing zeros; empty for zero
    int exponent = 0;

    // A finite double with the fifteen significant digits the classic runtime shows.
    static DigitNumber fromDouble(double v);
    static DigitNumber fromDecimal(const Decimal& d);
    static DigitNumber fromInteger(long long v);
    static DigitNumber fromUnsigned(unsigned long long v);

    bool isZero() const { return digits.empty(); }
    // 10^leadingExponent() <= |value| < 10^(leadingExponent() + 1); 0 for zero.
    int leadingExponent() const { return isZero() ? 0 : static_cast<int>(digits.size()) - 1 + exponent; }

    // Halves away from zero, keeping `decimals` places after the point (the sign stays, even at zero).
    void roundToDecimals(int decimals);
    // Halves away from zero, keeping `count` (>= 1) significant digits.
    void roundToSignificant(int count);

    // The digits of the integer part ("" for a value below 1) and exactly `decimals` fraction digits.
    std::string integerDigits() const;
    std::string fractionDigits(int decimals) const;

private:
    void keepLeading(long long count);
    void trim();
};

// The plain "general number" text in the user's locale: every digit, no trailing zeros. With
// `exponentForm` (doubles) magnitudes from 1E+15 up and below 1E-04 are written "1.5E+20", "1E-05".
QString generalText(const DigitNumber& n, bool exponentForm);

} // namespace rt::detail
