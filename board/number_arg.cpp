#include "board/number_arg.h"

#include "platform/runtime/numeric_text.h"
#include "platform/runtime/runtime_error.h"

#include <cmath>
#include <limits>

namespace board {

namespace {

constexpr UInt128 kLimit96 = UInt128(1) << 96;

[[noreturn]] void raiseOverflow()
{
    throw rt::RuntimeError(rt::errOverflow, QStringLiteral("Overflow"));
}

// Doubles that are whole and below 10^15 convert to the decimal without rounding, so they skip it.
bool isSmallWholeDouble(double v)
{
    return std::fabs(v) < 1e15 && v == std::trunc(v);
}

} // namespace

Int128 integerOf(const rt::Decimal& value)
{
    // Straight from the 96-bit magnitude: dropping the scaled digits truncates toward zero.
    UInt128 magnitude = (UInt128(value.hi()) << 64) | (UInt128(value.mid()) << 32) | value.lo();
    if (value.scale() > 0) {
        UInt128 divisor = 1; // at most 10^28, well inside 128 bits
        for (int i = 0; i < value.scale(); ++i)
            divisor *= 10;
        magnitude /= divisor;
    }
    const Int128 m = static_cast<Int128>(magnitude);
    return value.isNegative() ? -m : m;
}

rt::Decimal decimalOf(Int128 value)
{
    const bool negative = value < 0;
    const UInt128 magnitude = negative ? UInt128(-value) : UInt128(value);
    if (magnitude >= kLimit96)
        raiseOverflow();
    if (magnitude <= std::numeric_limits<uint64_t>::max()) {
        const rt::Decimal d(static_cast<unsigned long long>(magnitude));
        return negative ? -d : d;
    }
    return rt::Decimal::fromParts(static_cast<uint32_t>(magnitude), static_cast<uint32_t>(magnitude >> 32),
                                  static_cast<uint32_t>(magnitude >> 64), negative, 0);
}

bool parseHexLiteral(const QString& text, Int128& value)
{
    const QString t = text.trimmed();
    if (t.size() < 3 || t[0] != QLatin1Char('&') || (t[1] != QLatin1Char('H') && t[1] != QLatin1Char('h')))
        return false;
    UInt128 v = 0;
    for (qsizetype i = 2; i < t.size(); ++i) {
        const int d = hexDigitValue(t[i]);
        if (d < 0)
            return false;
        v = (v << 4) | UInt128(d);
        if (v >= kLimit96)
            raiseOverflow();
    }
    value = Int128(v);
    return true;
}

rt::Decimal NumberArg::toDecimal() const
{
    if (const auto* i = std::get_if<int64_t>(&value_))
        return rt::Decimal(static_cast<long long>(*i));
    if (const auto* u = std::get_if<uint64_t>(&value_))
        return rt::Decimal(static_cast<unsigned long long>(*u));
    if (const auto* d = std::get_if<double>(&value_))
        return rt::Decimal::fromDouble(*d);
    if (const auto* dec = std::get_if<rt::Decimal>(&value_))
        return *dec;
    const QString& text = std::get<QString>(value_);
    Int128 hex = 0;
    if (parseHexLiteral(text, hex))
        return decimalOf(hex);
    return rt::Decimal::fromText(text);
}

Int128 NumberArg::truncatedInteger() const
{
    if (const auto* i = std::get_if<int64_t>(&value_))
        return *i;
    if (const auto* u = std::get_if<uint64_t>(&value_))
        return Int128(*u);
    if (const auto* d = std::get_if<double>(&value_); d && isSmallWholeDouble(*d))
        return static_cast<Int128>(static_cast<int64_t>(*d));
    if (const auto* dec = std::get_if<rt::Decimal>(&value_))
        return integerOf(*dec);
    if (const auto* text = std::get_if<QString>(&value_)) {
        Int128 hex = 0;
        if (parseHexLiteral(*text, hex))
            return hex;
    }
    return integerOf(toDecimal());
}

bool NumberArg::isNumeric() const
{
    const auto* text = std::get_if<QString>(&value_);
    if (!text)
        return true;
    Int128 hex = 0;
    try {
        if (parseHexLiteral(*text, hex))
            return true;
    } catch (const rt::RuntimeError&) {
        return true; // numeric, only too large
    }
    return rt::IsNumeric(*text);
}

} // namespace board
