#include "platform/runtime/digit_number.h"

#include "platform/runtime/locale_info.h"

#include <charconv>
#include <cmath>

namespace rt::detail {

void DigitNumber::trim()
{
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        digits.clear();
        exponent = 0;
        return;
    }
    digits.erase(0, first);
    const auto last = digits.find_last_not_of('0');
    exponent += static_cast<int>(digits.size() - 1 - last);
    digits.resize(last + 1);
}

DigitNumber DigitNumber::fromDouble(double v)
{
    DigitNumber n;
    n.negative = std::signbit(v) && v != 0.0;
    if (v == 0.0)
        return n;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 14);
    const char* p = buffer;
    if (*p == '-')
        ++p;
    int fraction = 0;
    bool inFraction = false;
    for (; p < result.ptr && *p != 'e'; ++p) {
        if (*p == '.') {
            inFraction = true;
            continue;
        }
        n.digits.push_back(*p);
        fraction += inFraction ? 1 : 0;
    }
    int exponent = 0;
    if (p < result.ptr)
        std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), result.ptr, exponent);
    n.exponent = exponent - fraction;
    n.trim();
    return n;
}

DigitNumber DigitNumber::fromDecimal(const Decimal& d)
{
    DigitNumber n;
    n.negative = d.isNegative();
    unsigned __int128 m = (static_cast<unsigned __int128>(d.hi()) << 64) |
                          (static_cast<unsigned __int128>(d.mid()) << 32) | d.lo();
    while (m != 0) {
        n.digits.insert(n.digits.begin(), static_cast<char>('0' + static_cast<int>(m % 10)));
        m /= 10;
    }
    n.exponent = -d.scale();
    n.trim();
    return n;
}

DigitNumber DigitNumber::fromInteger(long long v)
{
    DigitNumber n =
        fromUnsigned(v < 0 ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v));
    n.negative = v < 0;
    return n;
}

DigitNumber DigitNumber::fromUnsigned(unsigned long long v)
{
    DigitNumber n;
    n.digits = std::to_string(v);
    n.trim();
    return n;
}

void DigitNumber::keepLeading(long long count)
{
    if (count >= static_cast<long long>(digits.size()))
        return;
    if (count < 0) {
        digits.clear();
        exponent = 0;
        return;
    }
    const bool up = digits[static_cast<size_t>(count)] >= '5';
    exponent += static_cast<int>(digits.size() - static_cast<size_t>(count));
    digits.resize(static_cast<size_t>(count));
    if (up) {
        long long i = count - 1;
        for (; i >= 0 && digits[static_cast<size_t>(i)] == '9'; --i)
            digits[static_cast<size_t>(i)] = '0';
        if (i >= 0)
            ++digits[static_cast<size_t>(i)];
        else
            digits.insert(digits.begin(), '1');
    }
    trim();
}

void DigitNumber::roundToDecimals(int decimals)
{
    keepLeading(static_cast<long long>(digits.size()) + exponent + decimals);
}

void DigitNumber::roundToSignificant(int count)
{
    keepLeading(count < 1 ? 1 : count);
}

std::string DigitNumber::integerDigits() const
{
    const long long count = static_cast<long long>(digits.size()) + exponent;
    if (isZero() || count <= 0)
        return {};
    if (exponent >= 0)
        return digits + std::string(static_cast<size_t>(exponent), '0');
    return digits.substr(0, static_cast<size_t>(count));
}

std::string DigitNumber::fractionDigits(int decimals) const
{
    std::string out(static_cast<size_t>(decimals < 0 ? 0 : decimals), '0');
    if (isZero() || exponent >= 0)
        return out;
    // digits[i] stands at 10^(exponent + size - 1 - i); fraction place p (1-based) is 10^-p.
    const long long size = static_cast<long long>(digits.size());
    for (long long i = 0; i < size; ++i) {
        const long long place = -(exponent + size - 1 - i);
        if (place >= 1 && place <= decimals)
            out[static_cast<size_t>(place - 1)] = digits[static_cast<size_t>(i)];
    }
    return out;
}

} // namespace rt::detail

namespace rt::detail {

QString generalText(const DigitNumber& n, bool exponentForm)
{
    if (n.isZero())
        return QStringLiteral("0");
    const NumberLocale& locale = numberLocale();
    QString text;
    if (n.negative)
        text += locale.negativeSign;
    const int lead = n.leadingExponent();
    if (exponentForm && (lead >= 15 || lead < -4)) {
        text += QLatin1Char(n.digits[0]);
        if (n.digits.size() > 1) {
            text += locale.decimalSeparator;
            text += QString::fromLatin1(n.digits.data() + 1, static_cast<qsizetype>(n.digits.size() - 1));
        }
        text += lead < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
        const int magnitude = lead < 0 ? -lead : lead;
        text += QStringLiteral("%1").arg(magnitude, 2, 10, QLatin1Char('0'));
        return text;
    }
    const std::string whole = n.integerDigits();
    text += whole.empty() ? QStringLiteral("0") : QString::fromLatin1(whole);
    if (n.exponent < 0) {
        text += locale.decimalSeparator;
        text += QString::fromLatin1(n.fractionDigits(-n.exponent));
    }
    return text;
}

} // namespace rt::detail
