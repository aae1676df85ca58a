#pragma once

#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

namespace rt {

// Wide decimal: a 96-bit unsigned magnitude, a sign and a power-of-ten scale of 0 to 28.
// Arithmetic results are rounded to what the type can hold (28-29 significant digits, ties to even),
// so registers of up to 64 bits convert without loss. Overflow raises RuntimeError(6),
// division by zero RuntimeError(11).
class Decimal {
public:
    Decimal() = default;
    Decimal(int v);
    Decimal(long v);
    Decimal(long long v);
    Decimal(unsigned v);
    Decimal(unsigned long v);
    Decimal(unsigned long long v);

    // Double conversion keeps 15 significant digits, as the classic conversion does.
    static Decimal fromDouble(double v);
    // Numeric text in the user's locale (decimal separator, negative sign, exponent "E", blanks around).
    // Throws RuntimeError(13) when the text is not a number, RuntimeError(6) when it does not fit.
    static Decimal fromText(const QString& text);
    static std::optional<Decimal> tryFromText(const QString& text);
    // The same with "." as separator and "-" as sign whatever the locale (texts the program wrote itself).
    static std::optional<Decimal> tryFromInvariantText(const QString& text);
    // Exact construction: magnitude parts (lo, mid, hi 32-bit words), sign, scale 0..28.
    static Decimal fromParts(uint32_t lo, uint32_t mid, uint32_t hi, bool negative, int scale);
    // 2^n for n in 0..95.
    static Decimal powerOfTwo(int n);
    // The largest value, 2^96 - 1 (79228162514264337593543950335).
    static Decimal maxValue();

    Decimal operator-() const;
    Decimal operator+(const Decimal& o) const;
    Decimal operator-(const Decimal& o) const;
    Decimal operator*(const Decimal& o) const;
    Decimal operator/(const Decimal& o) const;
    Decimal& operator+=(const Decimal& o) { return *this = *this + o; }
    Decimal& operator-=(const Decimal& o) { return *this = *this - o; }
    Decimal& operator*=(const Decimal& o) { return *this = *this * o; }
    Decimal& operator/=(const Decimal& o) { return *this = *this / o; }

    bool operator==(const Decimal& o) const;
    std::strong_ordering operator<=>(const Decimal& o) const;

    bool isZero() const;
    bool isNegative() const; // never true for zero
    int scale() const { return scale_; }
    // The magnitude's 32-bit words, least significant first.
    uint32_t lo() const { return lo_; }
    uint32_t mid() const { return mid_; }
    uint32_t hi() const { return hi_; }
    bool isInteger() const;

    Decimal truncated() const; // integer part, toward zero
    Decimal floor() const;     // toward minus infinity
    Decimal roundedHalfEven(int decimals = 0) const;
    Decimal roundedHalfAwayFromZero(int decimals = 0) const;
    Decimal abs() const;

    double toDouble() const;
    // Integer conversions round ties to even (classic CLng) and raise RuntimeError(6) when out of range.
    int64_t toInt64() const;
    uint64_t toUInt64() const;

    // Shortest text: no trailing zeros, the locale's decimal separator and negative sign ("-12,5").
    QString toString() const;
    // The same with "." and "-" whatever the locale.
    QString toInvariantString() const;

private:
    uint32_t lo_ = 0, mid_ = 0, hi_ = 0;
    bool negative_ = false;
    int scale_ = 0;
};

} // namespace rt
