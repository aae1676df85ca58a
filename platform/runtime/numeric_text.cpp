#include "platform/runtime/numeric_text.h"

#include "platform/runtime/digit_number.h"
#include "platform/runtime/locale_info.h"
#include "platform/runtime/numeric_parse.h"
#include "platform/runtime/runtime_error.h"

#include <cmath>

namespace rt {

namespace {

[[noreturn]] void throwOverflow()
{
    throw RuntimeError::standard(errOverflow);
}

double parsedToDouble(const detail::ParsedNumber& n)
{
    double value = 0.0;
    if (detail::toDouble(n, value) == detail::DoubleStatus::Overflow)
        throwOverflow();
    return value;
}

// Nearest integer, ties to the even neighbour, whatever the floating-point rounding mode is.
double roundHalfEven(double v)
{
    const double lower = std::floor(v);
    const double diff = v - lower;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(lower, 2.0) != 0.0))
        return lower + 1.0;
    return lower;
}

// Rounds ties to even and checks the range before converting, so no out-of-range cast can happen.
template <typename T> T roundedInRange(double value, double low, double high)
{
    if (!std::isfinite(value))
        throwOverflow();
    const double r = roundHalfEven(value);
    if (r < low || r > high)
        throwOverflow();
    return static_cast<T>(r);
}

} // namespace

bool IsNumeric(const QString& text)
{
    return detail::parseNumericText(text, numberLocale()).has_value();
}

double CDbl(const QString& text)
{
    const auto parsed = detail::parseNumericText(text, numberLocale());
    if (!parsed)
        throw RuntimeError::standard(errTypeMismatch);
    return parsedToDouble(*parsed);
}

int16_t CInt(double value)
{
    return roundedInRange<int16_t>(value, -32768.0, 32767.0);
}

int16_t CInt(const QString& text)
{
    return CInt(CDbl(text));
}

int32_t CLng(double value)
{
    return roundedInRange<int32_t>(value, -2147483648.0, 2147483647.0);
}

int32_t CLng(const QString& text)
{
    return CLng(CDbl(text));
}

uint8_t CByte(double value)
{
    return roundedInRange<uint8_t>(value, 0.0, 255.0);
}

QString CStr(double value)
{
    if (std::isnan(value))
        return QStringLiteral("nan");
    if (std::isinf(value))
        return value < 0 ? numberLocale().negativeSign + QStringLiteral("inf") : QStringLiteral("inf");
    return detail::generalText(detail::DigitNumber::fromDouble(value), true);
}

QString CStr(long long value)
{
    return detail::generalText(detail::DigitNumber::fromInteger(value), false);
}

QString CStr(int value)
{
    return CStr(static_cast<long long>(value));
}

QString CStr(long value)
{
    return CStr(static_cast<long long>(value));
}

QString CStr(unsigned value)
{
    return CStr(static_cast<unsigned long long>(value));
}

QString CStr(unsigned long value)
{
    return CStr(static_cast<unsigned long long>(value));
}

QString CStr(unsigned long long value)
{
    return detail::generalText(detail::DigitNumber::fromUnsigned(value), false);
}

QString CStr(const Decimal& value)
{
    return value.toString();
}

double Val(const QString& text)
{
    const auto parsed = detail::scanLeadingNumber(text);
    if (!parsed)
        throwOverflow();
    return parsedToDouble(*parsed);
}

} // namespace rt
