#pragma once

// Reading numeric text: shared by the decimal type, IsNumeric, CDbl and Val. Internal to the runtime library.

#include "platform/runtime/locale_info.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <string>

namespace rt::detail {

// An exactly read number: value = digits x 10^exponent.
struct ParsedNumber {
    bool negative = false;
    std::string digits;   // ASCII digits without leading or trailing zeros; empty for zero
    int64_t exponent = 0; // kept within +-1e9 by the readers

    bool isZero() const { return digits.empty(); }
    // Leading zeros and trailing zeros moved into the exponent; zero loses its sign.
    void normalize();
};

ParsedNumber parsedFromInteger(int64_t value);

// Numeric text in the given locale: blanks around, a sign, digits with the decimal separator (and the
// group separator only in well-formed groups of three), an exponent; or "&H" hexadecimal / "&O" octal.
std::optional<ParsedNumber> parseNumericText(const QString& text, const NumberLocale& locale);

// The classic leading-number scan: "." always, blanks anywhere ignored, "&H"/"&O", 0 when nothing reads.
// Returns nullopt only when a hexadecimal or octal literal does not fit 32 bits.
std::optional<ParsedNumber> scanLeadingNumber(const QString& text);

enum class DoubleStatus { Ok, Overflow };
// The correctly rounded double of a parsed number; values too small for a double become 0.
DoubleStatus toDouble(const ParsedNumber& number, double& out);

} // namespace rt::detail
