#include "platform/runtime/numeric_parse.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace rt::detail {

namespace {

constexpr int64_t kExponentLimit = 1000000000;

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

// Classic radix literals take the smallest of the 16- and 32-bit integer types that holds them and are
// read as two's complement of that type: "&HFFFF" is -1, "&H10000" is 65536, "&HFFFFFFFF" is -1.
ParsedNumber radixLiteralValue(uint64_t value)
{
    if (value <= 0xFFFFu)
        return parsedFromInteger(static_cast<int16_t>(static_cast<uint16_t>(value)));
    return parsedFromInteger(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

// Reads "&H..." / "&O..." starting at pos (at the "&"). `whole` demands that the digits run to `end`.
// Returns nullopt when the literal is malformed (whole) or does not fit 32 bits.
std::optional<ParsedNumber> readRadixLiteral(const QString& s, qsizetype pos, qsizetype end, bool whole,
                                             bool& recognised)
{
    recognised = false;
    if (pos + 1 >= end || s.at(pos) != QLatin1Char('&'))
        return std::nullopt;
    const QChar kind = s.at(pos + 1).toUpper();
    const int radix = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
    if (radix == 0)
        return std::nullopt;
    recognised = true;
    uint64_t value = 0;
    qsizetype i = pos + 2;
    int count = 0;
    for (; i < end; ++i) {
        const int d = hexValue(s.at(i));
        if (d < 0 || d >= radix)
            break;
        value = value * radix + d;
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
        ++count;
    }
    if (whole && (count == 0 || i != end))
        return std::nullopt;
    return radixLiteralValue(value);
}

// Accumulates an exponent without overflowing; huge exponents are clamped (the value is then far beyond
// any range anyway).
void accumulateExponent(int64_t& exponent, int digit)
{
    if (exponent < kExponentLimit)
        exponent = exponent * 10 + digit;
}

} // namespace

void ParsedNumber::normalize()
{
    const auto firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        digits.clear();
        exponent = 0;
        negative = false;
        return;
    }
    digits.erase(0, firstNonZero);
    const auto lastNonZero = digits.find_last_not_of('0');
    exponent += static_cast<int64_t>(digits.size() - 1 - lastNonZero);
    digits.resize(lastNonZero + 1);
    exponent = std::clamp<int64_t>(exponent, -2 * kExponentLimit, 2 * kExponentLimit);
}

ParsedNumber parsedFromInteger(int64_t value)
{
    ParsedNumber n;
    n.negative = value < 0;
    const uint64_t magnitude = n.negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    n.digits = std::to_string(magnitude);
    n.normalize();
    return n;
}

std::optional<ParsedNumber> parseNumericText(const QString& text, const NumberLocale& locale)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    if (begin == end)
        return std::nullopt;

    if (text.at(begin) == QLatin1Char('&')) {
        bool recognised = false;
        return readRadixLiteral(text, begin, end, true, recognised);
    }

    ParsedNumber n;
    qsizetype i = begin;
    const QString& minus = locale.negativeSign;
    if (!minus.isEmpty() && minus != QLatin1String("-") &&
        QStringView(text).sliced(i, end - i).startsWith(minus)) {
        n.negative = true;
        i += minus.size();
    } else if (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')) {
        n.negative = text.at(i) == QLatin1Char('-');
        ++i;
    }

    // Integer part, with group separators accepted only as well-formed groups of three ("1,234,567").
    const QChar group = locale.groupSeparator;
    const bool groupsAllowed = !group.isNull() && group != locale.decimalSeparator;
    int integerDigits = 0;
    int digitsInGroup = 0;
    bool sawGroup = false;
    for (; i < end; ++i) {
        const QChar c = text.at(i);
        if (isDigit(c)) {
            n.digits.push_back(static_cast<char>(c.unicode()));
            ++integerDigits;
            ++digitsInGroup;
            if (sawGroup && digitsInGroup > 3)
                return std::nullopt;
        } else if (groupsAllowed && c == group) {
            if (digitsInGroup == 0 || digitsInGroup > 3 || (sawGroup && digitsInGroup != 3))
                return std::nullopt;
            sawGroup = true;
            digitsInGroup = 0;
        } else {
            break;
        }
    }
    if (sawGroup && digitsInGroup != 3)
        return std::nullopt;

    int fractionDigits = 0;
    if (i < end && text.at(i) == locale.decimalSeparator) {
        ++i;
        for (; i < end && isDigit(text.at(i)); ++i) {
            n.digits.push_back(static_cast<char>(text.at(i).unicode()));
            ++fractionDigits;
        }
    }
    if (integerDigits + fractionDigits == 0)
        return std::nullopt;
    n.exponent = -fractionDigits;

    if (i < end && (text.at(i) == QLatin1Char('E') || text.at(i) == QLatin1Char('e'))) {
        ++i;
        bool negativeExponent = false;
        if (i < end && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
            negativeExponent = text.at(i) == QLatin1Char('-');
            ++i;
        } else if (i < end && !minus.isEmpty() && QStringView(text).sliced(i, end - i).startsWith(minus)) {
            negativeExponent = true;
            i += minus.size();
        }
        int64_t exponent = 0;
        int exponentDigits = 0;
        for (; i < end && isDigit(text.at(i)); ++i) {
            accumulateExponent(exponent, text.at(i).unicode() - '0');
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
        n.exponent += negativeExponent ? -exponent : exponent;
    }
    if (i != end)
        return std::nullopt;
    n.normalize();
    return n;
}

std::optional<ParsedNumber> scanLeadingNumber(const QString& text)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') &&
            c != QLatin1Char('\r'))
            s.append(c);
    }
    ParsedNumber n;
    if (s.isEmpty())
        return n;
    if (s.at(0) == QLatin1Char('&')) {
        bool recognised = false;
        auto literal = readRadixLiteral(s, 0, s.size(), false, recognised);
        if (!recognised)
            return n;
        return literal;
    }
    qsizetype i = 0;
    if (s.at(0) == QLatin1Char('-') || s.at(0) == QLatin1Char('+')) {
        n.negative = s.at(0) == QLatin1Char('-');
        ++i;
    }
    for (; i < s.size() && isDigit(s.at(i)); ++i)
        n.digits.push_back(static_cast<char>(s.at(i).unicode()));
    int fractionDigits = 0;
    if (i < s.size() && s.at(i) == QLatin1Char('.')) {
        for (++i; i < s.size() && isDigit(s.at(i)); ++i) {
            n.digits.push_back(static_cast<char>(s.at(i).unicode()));
            ++fractionDigits;
        }
    }
    n.exponent = -fractionDigits;
    if (!n.digits.empty() && i < s.size()) {
        const QChar e = s.at(i).toUpper();
        if (e == QLatin1Char('E') || e == QLatin1Char('D')) {
            qsizetype j = i + 1;
            bool negativeExponent = false;
            if (j < s.size() && (s.at(j) == QLatin1Char('+') || s.at(j) == QLatin1Char('-'))) {
                negativeExponent = s.at(j) == QLatin1Char('-');
                ++j;
            }
            int64_t exponent = 0;
            for (; j < s.size() && isDigit(s.at(j)); ++j)
                accumulateExponent(exponent, s.at(j).unicode() - '0');
            n.exponent += negativeExponent ? -exponent : exponent;
        }
    }
    n.normalize();
    return n;
}

DoubleStatus toDouble(const ParsedNumber& number, double& out)
{
    out = 0.0;
    if (number.isZero())
        return DoubleStatus::Ok;
    // Position of the leading digit: 10^lead <= |value| < 10^(lead+1).
    const int64_t lead = static_cast<int64_t>(number.digits.size()) - 1 + number.exponent;
    if (lead > 309)
        return DoubleStatus::Overflow;
    if (lead < -330) {
        out = number.negative ? -0.0 : 0.0;
        return DoubleStatus::Ok;
    }
    std::string text;
    text.reserve(number.digits.size() + 24);
    if (number.negative)
        text.push_back('-');
    text += number.digits;
    text.push_back('e');
    text += std::to_string(number.exponent);
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (lead > 0)
            return DoubleStatus::Overflow;
        value = number.negative ? -0.0 : 0.0;
    } else if (result.ec != std::errc() || !std::isfinite(value)) {
        return DoubleStatus::Overflow;
    }
    out = value;
    return DoubleStatus::Ok;
}

} // namespace rt::detail
