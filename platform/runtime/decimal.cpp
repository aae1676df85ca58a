#include "platform/runtime/decimal.h"

#include "platform/runtime/locale_info.h"
#include "platform/runtime/numeric_parse.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/wide_uint.h"

#include <charconv>
#include <cmath>
#include <string>

namespace rt {

using detail::u128;
using detail::WideUInt;

namespace {

constexpr int kMaxScale = 28;
constexpr u128 kMax96 = (u128(1) << 96) - 1;

constexpr u128 pow10u128(int n)
{
    u128 p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

[[noreturn]] void throwOverflow()
{
    throw RuntimeError::standard(errOverflow);
}

u128 magnitudeOf(const Decimal& d)
{
    return (u128(d.hi()) << 64) | (u128(d.mid()) << 32) | d.lo();
}

Decimal makeDecimal(u128 magnitude, bool negative, int scale)
{
    return Decimal::fromParts(static_cast<uint32_t>(magnitude), static_cast<uint32_t>(magnitude >> 32),
                              static_cast<uint32_t>(magnitude >> 64), negative, scale);
}

std::string digitsOf(u128 v)
{
    if (v == 0)
        return "0";
    std::string s;
    while (v != 0) {
        s.push_back(static_cast<char>('0' + static_cast<int>(v % 10)));
        v /= 10;
    }
    return std::string(s.rbegin(), s.rend());
}

// Rounds the exact value (m / 10^scale, plus a non-zero remainder below m's last digit when `sticky`)
// to the nearest value the type holds, ties to even: as few digits as possible are dropped so that the
// scale is at most 28 and the magnitude fits 96 bits. Each attempt starts again from m, so the value is
// rounded only once. `inexact` reports whether anything non-zero was dropped.
Decimal roundToType(const WideUInt& m, int scale, bool sticky, bool negative, bool* inexact = nullptr)
{
    int k = scale > kMaxScale ? scale - kMaxScale : 0;
    const int bits = m.bitLength();
    if (bits > 97)
        k = std::max(k, static_cast<int>((bits - 97) * 0.30102999566398120)); // never too many
    for (;; ++k) {
        if (k > scale)
            throwOverflow();
        WideUInt q = m;
        bool rest = sticky;
        int roundingDigit = 0;
        if (k > 0) {
            int n = k - 1;
            for (; n >= 9; n -= 9)
                rest = q.divSmall(1000000000u) != 0 || rest;
            static constexpr uint32_t kPow[9] = {1,      10,      100,      1000,     10000,
                                                 100000, 1000000, 10000000, 100000000};
            if (n > 0)
                rest = q.divSmall(kPow[n]) != 0 || rest;
            roundingDigit = static_cast<int>(q.divSmall(10));
            if (roundingDigit > 5 || (roundingDigit == 5 && (rest || q.isOdd())))
                q.addSmall(1);
        }
        if (q.exceeds96())
            continue;
        if (inexact)
            *inexact = rest || roundingDigit != 0;
        return makeDecimal(q.low128(), negative, scale - k);
    }
}

// Drops trailing zeros of the fraction.
Decimal stripTrailingZeros(const Decimal& d)
{
    u128 m = magnitudeOf(d);
    int scale = d.scale();
    while (scale > 0 && m % 10 == 0) {
        m /= 10;
        --scale;
    }
    return makeDecimal(m, d.isNegative(), scale);
}

WideUInt alignedMagnitude(const Decimal& d, int scale)
{
    WideUInt w = WideUInt::fromU128(magnitudeOf(d));
    w.mulPow10(scale - d.scale());
    return w;
}

std::optional<Decimal> decimalFromParsed(const detail::ParsedNumber& n)
{
    if (n.isZero())
        return Decimal();
    const int64_t digitCount = static_cast<int64_t>(n.digits.size());
    // Leading digit at 10^lead: beyond 10^28 nothing fits; below 10^-29 everything rounds to zero.
    const int64_t lead = digitCount - 1 + n.exponent;
    if (lead > 28)
        throwOverflow();
    if (lead < -29)
        return Decimal();
    // Forty digits are far more than the type keeps; the rest only matters as a non-zero remainder.
    const int64_t kept = std::min<int64_t>(digitCount, 40);
    bool sticky = false;
    for (int64_t i = kept; i < digitCount; ++i)
        sticky = sticky || n.digits[static_cast<size_t>(i)] != '0';
    WideUInt m;
    for (int64_t i = 0; i < kept; ++i) {
        m.mulSmall(10);
        m.addSmall(static_cast<uint32_t>(n.digits[static_cast<size_t>(i)] - '0'));
    }
    int64_t exponent = n.exponent + (digitCount - kept);
    if (exponent > 0) {
        m.mulPow10(static_cast<int>(exponent)); // lead <= 28 keeps this small
        exponent = 0;
    }
    return roundToType(m, static_cast<int>(-exponent), sticky, n.negative);
}

} // namespace

Decimal::Decimal(int v) : Decimal(static_cast<long long>(v))
{
}
Decimal::Decimal(long v) : Decimal(static_cast<long long>(v))
{
}
Decimal::Decimal(long long v)
{
    const uint64_t m = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    lo_ = static_cast<uint32_t>(m);
    mid_ = static_cast<uint32_t>(m >> 32);
    negative_ = v < 0;
}
Decimal::Decimal(unsigned v) : Decimal(static_cast<unsigned long long>(v))
{
}
Decimal::Decimal(unsigned long v) : Decimal(static_cast<unsigned long long>(v))
{
}
Decimal::Decimal(unsigned long long v)
{
    lo_ = static_cast<uint32_t>(v);
    mid_ = static_cast<uint32_t>(v >> 32);
}

Decimal Decimal::fromParts(uint32_t lo, uint32_t mid, uint32_t hi, bool negative, int scale)
{
    if (scale < 0 || scale > kMaxScale)
        throw RuntimeError::standard(errInvalidCall);
    Decimal d;
    d.lo_ = lo;
    d.mid_ = mid;
    d.hi_ = hi;
    d.scale_ = scale;
    d.negative_ = negative && (lo | mid | hi) != 0;
    return d;
}

Decimal Decimal::powerOfTwo(int n)
{
    if (n < 0)
        throw RuntimeError::standard(errInvalidCall);
    if (n > 95)
        throwOverflow();
    return makeDecimal(u128(1) << n, false, 0);
}

Decimal Decimal::maxValue()
{
    return makeDecimal(kMax96, false, 0);
}

Decimal Decimal::fromDouble(double v)
{
    if (!std::isfinite(v))
        throwOverflow();
    if (v == 0.0)
        return Decimal();
    // Fifteen significant digits, correctly rounded from the double's exact value.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 14);
    detail::ParsedNumber n;
    const char* p = buffer;
    if (*p == '-') {
        n.negative = true;
        ++p;
    }
    int fractionDigits = 0;
    bool inFraction = false;
    for (; p < result.ptr && *p != 'e'; ++p) {
        if (*p == '.') {
            inFraction = true;
            continue;
        }
        n.digits.push_back(*p);
        if (inFraction)
            ++fractionDigits;
    }
    int exponent = 0;
    if (p < result.ptr)
        std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), result.ptr, exponent);
    n.exponent = exponent - fractionDigits;
    n.normalize();
    return *decimalFromParsed(n);
}

std::optional<Decimal> Decimal::tryFromText(const QString& text)
{
    const auto parsed = detail::parseNumericText(text, numberLocale());
    if (!parsed)
        return std::nullopt;
    try {
        return decimalFromParsed(*parsed);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

Decimal Decimal::fromText(const QString& text)
{
    const auto parsed = detail::parseNumericText(text, numberLocale());
    if (!parsed)
        throw RuntimeError::standard(errTypeMismatch);
    return *decimalFromParsed(*parsed);
}

std::optional<Decimal> Decimal::tryFromInvariantText(const QString& text)
{
    const auto parsed =
        detail::parseNumericText(text, NumberLocale{QLatin1Char('.'), QStringLiteral("-"), QChar()});
    if (!parsed)
        return std::nullopt;
    try {
        return decimalFromParsed(*parsed);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

Decimal Decimal::operator-() const
{
    Decimal d = *this;
    d.negative_ = !negative_ && !isZero();
    return d;
}

Decimal Decimal::operator+(const Decimal& o) const
{
    const int scale = std::max(scale_, o.scale_);
    const WideUInt a = alignedMagnitude(*this, scale);
    const WideUInt b = alignedMagnitude(o, scale);
    if (negative_ == o.negative_)
        return roundToType(WideUInt::add(a, b), scale, false, negative_);
    const int c = WideUInt::compare(a, b);
    if (c == 0)
        return makeDecimal(0, false, scale);
    if (c > 0)
        return roundToType(WideUInt::subtract(a, b), scale, false, negative_);
    return roundToType(WideUInt::subtract(b, a), scale, false, o.negative_);
}

Decimal Decimal::operator-(const Decimal& o) const
{
    return *this + (-o);
}

Decimal Decimal::operator*(const Decimal& o) const
{
    const WideUInt product =
        WideUInt::multiply(WideUInt::fromU128(magnitudeOf(*this)), WideUInt::fromU128(magnitudeOf(o)));
    return roundToType(product, scale_ + o.scale_, false, negative_ != o.negative_);
}

Decimal Decimal::operator/(const Decimal& o) const
{
    if (o.isZero())
        throw RuntimeError::standard(errDivisionByZero);
    if (isZero())
        return Decimal();
    // The quotient is computed at scale 29, one digit beyond what the type keeps, with the remainder
    // as a sticky flag: rounding to the type then sees every digit it needs.
    constexpr int kWorkScale = kMaxScale + 1;
    WideUInt n = WideUInt::fromU128(magnitudeOf(*this));
    n.mulPow10(kWorkScale + o.scale_ - scale_);
    const u128 remainder = n.divBy96(magnitudeOf(o));
    bool inexact = false;
    const Decimal q = roundToType(n, kWorkScale, remainder != 0, negative_ != o.negative_, &inexact);
    return inexact ? q : stripTrailingZeros(q);
}

bool Decimal::operator==(const Decimal& o) const
{
    return (*this <=> o) == std::strong_ordering::equal;
}

std::strong_ordering Decimal::operator<=>(const Decimal& o) const
{
    const bool aZero = isZero();
    const bool bZero = o.isZero();
    if (aZero && bZero)
        return std::strong_ordering::equal;
    const bool aNeg = isNegative();
    const bool bNeg = o.isNegative();
    if (aNeg != bNeg)
        return aNeg ? std::strong_ordering::less : std::strong_ordering::greater;
    const int scale = std::max(scale_, o.scale_);
    int c = WideUInt::compare(alignedMagnitude(*this, scale), alignedMagnitude(o, scale));
    if (aNeg)
        c = -c;
    return c < 0   ? std::strong_ordering::less
           : c > 0 ? std::strong_ordering::greater
                   : std::strong_ordering::equal;
}

bool Decimal::isZero() const
{
    return (lo_ | mid_ | hi_) == 0;
}

bool Decimal::isNegative() const
{
    return negative_ && !isZero();
}

bool Decimal::isInteger() const
{
    return magnitudeOf(*this) % pow10u128(scale_) == 0;
}

Decimal Decimal::truncated() const
{
    return makeDecimal(magnitudeOf(*this) / pow10u128(scale_), isNegative(), 0);
}

Decimal Decimal::floor() const
{
    const u128 divisor = pow10u128(scale_);
    u128 m = magnitudeOf(*this) / divisor;
    if (isNegative() && magnitudeOf(*this) % divisor != 0)
        ++m; // cannot overflow: a scale above 0 leaves the integer part far below 2^96
    return makeDecimal(m, isNegative(), 0);
}

Decimal Decimal::roundedHalfEven(int decimals) const
{
    if (decimals < 0)
        throw RuntimeError::standard(errInvalidCall);
    if (decimals >= scale_)
        return *this;
    const u128 divisor = pow10u128(scale_ - decimals);
    u128 m = magnitudeOf(*this) / divisor;
    const u128 rest = magnitudeOf(*this) % divisor;
    if (rest * 2 > divisor || (rest * 2 == divisor && (m & 1) != 0))
        ++m;
    return makeDecimal(m, isNegative(), decimals);
}

Decimal Decimal::roundedHalfAwayFromZero(int decimals) const
{
    if (decimals < 0)
        throw RuntimeError::standard(errInvalidCall);
    if (decimals >= scale_)
        return *this;
    const u128 divisor = pow10u128(scale_ - decimals);
    u128 m = magnitudeOf(*this) / divisor;
    if (magnitudeOf(*this) % divisor * 2 >= divisor)
        ++m;
    return makeDecimal(m, isNegative(), decimals);
}

Decimal Decimal::abs() const
{
    Decimal d = *this;
    d.negative_ = false;
    return d;
}

double Decimal::toDouble() const
{
    std::string text = isNegative() ? "-" : "";
    text.append(digitsOf(magnitudeOf(*this)));
    text.append("e-");
    text.append(std::to_string(scale_));
    double v = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

int64_t Decimal::toInt64() const
{
    const u128 m = magnitudeOf(roundedHalfEven(0));
    const u128 limit = isNegative() ? u128(1) << 63 : (u128(1) << 63) - 1;
    if (m > limit)
        throwOverflow();
    return isNegative() ? static_cast<int64_t>(0 - static_cast<uint64_t>(m)) : static_cast<int64_t>(m);
}

uint64_t Decimal::toUInt64() const
{
    const Decimal r = roundedHalfEven(0);
    const u128 m = magnitudeOf(r);
    if (r.isNegative() || m > u128(UINT64_MAX))
        throwOverflow();
    return static_cast<uint64_t>(m);
}

QString Decimal::toInvariantString() const
{
    std::string digits = digitsOf(magnitudeOf(*this));
    if (static_cast<int>(digits.size()) <= scale_)
        digits.insert(0, static_cast<size_t>(scale_ + 1) - digits.size(), '0');
    std::string intPart = digits.substr(0, digits.size() - static_cast<size_t>(scale_));
    std::string fraction = digits.substr(digits.size() - static_cast<size_t>(scale_));
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    std::string text = isNegative() ? "-" + intPart : intPart;
    if (!fraction.empty())
        text += "." + fraction;
    return QString::fromLatin1(text);
}

QString Decimal::toString() const
{
    QString text = toInvariantString();
    const NumberLocale& locale = numberLocale();
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point >= 0)
        text[point] = locale.decimalSeparator;
    if (isNegative())
        text.replace(0, 1, locale.negativeSign);
    return text;
}

} // namespace rt
