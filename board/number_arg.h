#pragma once

#include "platform/runtime/decimal.h"

#include <QString>
#include <concepts>
#include <cstdint>
#include <variant>

namespace board {

__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

// A number handed to the number-base conversions: an integer, a floating-point value, a wide decimal or
// numeric text in the user's locale (also "&H" hexadecimal text, as the register windows build it).
// Text is converted only when the conversion needs the value, so a bad text fails there with error 13.
class NumberArg {
public:
    NumberArg(const rt::Decimal& value) : value_(value) {}
    template <std::integral T>
    requires(!std::same_as<T, bool> && std::is_signed_v<T>) NumberArg(T value)
        : value_(static_cast<int64_t>(value))
    {
    }
    template <std::integral T>
    requires(!std::same_as<T, bool> && std::is_unsigned_v<T>) NumberArg(T value)
        : value_(static_cast<uint64_t>(value))
    {
    }
    NumberArg(bool) = delete;
    NumberArg(double value) : value_(value) {}
    NumberArg(float value) : value_(static_cast<double>(value)) {}
    NumberArg(const QString& text) : value_(text) {}
    NumberArg(const char* text) : value_(QString::fromUtf8(text)) {}

    // The value as wide decimal. Text that is not a number raises RuntimeError(13) "Type mismatch";
    // a value beyond the decimal's range RuntimeError(6) "Overflow".
    rt::Decimal toDecimal() const;
    // The integer part, truncated toward zero; the same errors as toDecimal().
    Int128 truncatedInteger() const;
    // True for every number and for text that reads as one.
    bool isNumeric() const;

private:
    std::variant<int64_t, uint64_t, double, rt::Decimal, QString> value_;
};

// Exact conversions between wide decimals and 128-bit integers (|value| < 2^96); integerOf truncates
// toward zero.
Int128 integerOf(const rt::Decimal& value);
rt::Decimal decimalOf(Int128 value); // RuntimeError(6) beyond 96 bits

// "&H1F" / "&h1f": the value of classic hexadecimal text (blanks around allowed), read as an unsigned
// number of up to 96 bits. False when the text has no such form; RuntimeError(6) when it is too large.
bool parseHexLiteral(const QString& text, Int128& value);

// 0-15 for "0"-"9", "A"-"F", "a"-"f"; -1 for anything else.
inline int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace board
