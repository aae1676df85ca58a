#include "platform/runtime/number_format.h"

#include "platform/runtime/digit_number.h"
#include "platform/runtime/locale_info.h"

#include <cmath>
#include <vector>

namespace rt {

using detail::DigitNumber;

namespace {

enum class TokenKind {
    IntegerZero,
    IntegerHash,
    Point,
    FractionZero,
    FractionHash,
    Literal,
    Percent,
    Exponent
};

struct Token {
    TokenKind kind;
    QString literal;           // Literal
    QChar exponentLetter;      // Exponent: "E" or "e" as written
    bool exponentPlus = false; // Exponent: "E+" shows the sign of positive exponents too
    int exponentZeros = 0;     // Exponent: digits always shown
};

struct Section {
    std::vector<Token> tokens;
    int integerPlaceholders = 0;
    int fractionPlaceholders = 0;
    bool grouping = false;
    int thousandsScale = 0; // each "," right of the last integer placeholder divides by 1000
    int percents = 0;
    bool scientific = false;
    bool empty = true;
};

bool isPlaceholder(QChar c)
{
    return c == QLatin1Char('0') || c == QLatin1Char('#');
}

// Splits a pattern at the ";" that are not quoted or escaped.
std::vector<QString> splitSections(const QString& pattern)
{
    std::vector<QString> sections(1);
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (!quoted && c == QLatin1Char('\\') && i + 1 < pattern.size()) {
            sections.back() += c;
            sections.back() += pattern.at(++i);
            continue;
        } else if (!quoted && c == QLatin1Char(';')) {
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
    }
    return sections;
}

void appendLiteral(Section& s, const QString& text)
{
    if (!s.tokens.empty() && s.tokens.back().kind == TokenKind::Literal)
        s.tokens.back().literal += text;
    else
        s.tokens.push_back(Token{TokenKind::Literal, text, {}, false, 0});
}

Section parseSection(const QString& text)
{
    Section s;
    s.empty = text.isEmpty();
    enum class Region { Integer, Fraction, Exponent } region = Region::Integer;
    // Positions (token indexes) of commas in the integer part, resolved once the part is complete.
    std::vector<size_t> commas;
    std::vector<size_t> commaTokenCounts; // integer placeholders seen before each comma
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"')) {
            const qsizetype close = text.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype stop = close < 0 ? text.size() : close;
            appendLiteral(s, text.mid(i + 1, stop - i - 1));
            i = stop;
        } else if (c == QLatin1Char('\\')) {
            if (i + 1 < text.size())
                appendLiteral(s, QString(text.at(++i)));
        } else if (isPlaceholder(c) && region != Region::Exponent) {
            const bool zero = c == QLatin1Char('0');
            if (region == Region::Integer) {
                s.tokens.push_back(
                    Token{zero ? TokenKind::IntegerZero : TokenKind::IntegerHash, {}, {}, false, 0});
                ++s.integerPlaceholders;
            } else {
                s.tokens.push_back(
                    Token{zero ? TokenKind::FractionZero : TokenKind::FractionHash, {}, {}, false, 0});
                ++s.fractionPlaceholders;
            }
        } else if (c == QLatin1Char('.') && region == Region::Integer) {
            s.tokens.push_back(Token{TokenKind::Point, {}, {}, false, 0});
            region = Region::Fraction;
        } else if (c == QLatin1Char(',') && region == Region::Integer) {
            commas.push_back(s.tokens.size());
            commaTokenCounts.push_back(static_cast<size_t>(s.integerPlaceholders));
        } else if (c == QLatin1Char(',')) {
            // A comma right of the point has no meaning for numbers; it is dropped.
        } else if (c == QLatin1Char('%')) {
            s.tokens.push_back(Token{TokenKind::Percent, {}, {}, false, 0});
            ++s.percents;
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && region != Region::Exponent &&
                   i + 1 < text.size() &&
                   (text.at(i + 1) == QLatin1Char('+') || text.at(i + 1) == QLatin1Char('-')) &&
                   s.integerPlaceholders + s.fractionPlaceholders > 0) {
            Token t{TokenKind::Exponent, {}, c, text.at(i + 1) == QLatin1Char('+'), 0};
            i += 1;
            while (i + 1 < text.size() && isPlaceholder(text.at(i + 1))) {
                if (text.at(++i) == QLatin1Char('0'))
                    ++t.exponentZeros;
            }
            s.tokens.push_back(t);
            s.scientific = true;
            region = Region::Exponent;
        } else {
            appendLiteral(s, QString(c));
        }
    }
    // A comma between integer placeholders turns grouping on; commas after the last one scale.
    for (size_t k = 0; k < commas.size(); ++k) {
        const size_t before = commaTokenCounts[k];
        if (before == 0)
            continue;
        if (before < static_cast<size_t>(s.integerPlaceholders))
            s.grouping = true;
        else
            ++s.thousandsScale;
    }
    return s;
}

QChar groupSeparator(const NumberLocale& locale)
{
    if (!locale.groupSeparator.isNull())
        return locale.groupSeparator;
    return locale.decimalSeparator == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
}

QString exponentText(const Token& t, int exponent)
{
    QString text(t.exponentLetter);
    if (exponent < 0)
        text += QLatin1Char('-');
    else if (t.exponentPlus)
        text += QLatin1Char('+');
    QString digits = QString::number(exponent < 0 ? -static_cast<long long>(exponent) : exponent);
    if (digits.size() < t.exponentZeros)
        digits.prepend(QString(t.exponentZeros - digits.size(), QLatin1Char('0')));
    return text + digits;
}

// Writes a number already scaled and rounded for the section.
QString render(const Section& s, const DigitNumber& n, int exponent, bool showSign)
{
    const NumberLocale& locale = numberLocale();
    const QChar group = groupSeparator(locale);

    std::string shown = n.integerDigits();
    int minimumDigits = 0;
    {
        int index = 0;
        for (const Token& t : s.tokens) {
            if (t.kind == TokenKind::IntegerZero) {
                minimumDigits = s.integerPlaceholders - index;
                break;
            }
            if (t.kind == TokenKind::IntegerHash)
                ++index;
        }
    }
    if (static_cast<int>(shown.size()) < minimumDigits)
        shown.insert(0, static_cast<size_t>(minimumDigits) - shown.size(), '0');
    const int shownCount = static_cast<int>(shown.size());

    const std::string fraction = n.fractionDigits(s.fractionPlaceholders);
    // Trailing "#" places show nothing for zeros.
    int fractionShown = s.fractionPlaceholders;
    {
        std::vector<TokenKind> kinds;
        for (const Token& t : s.tokens)
            if (t.kind == TokenKind::FractionZero || t.kind == TokenKind::FractionHash)
                kinds.push_back(t.kind);
        while (fractionShown > 0 &&
               kinds[static_cast<size_t>(fractionShown - 1)] == TokenKind::FractionHash &&
               fraction[static_cast<size_t>(fractionShown - 1)] == '0')
            --fractionShown;
    }

    QString out;
    if (showSign)
        out += locale.negativeSign;
    auto emitDigit = [&](int index) {
        out += QLatin1Char(shown[static_cast<size_t>(index)]);
        const int remaining = shownCount - 1 - index;
        if (s.grouping && remaining > 0 && remaining % 3 == 0)
            out += group;
    };
    bool integerWritten = false;
    auto writeIntegerWithoutPlaceholders = [&] {
        if (!integerWritten && s.integerPlaceholders == 0) {
            for (int i = 0; i < shownCount; ++i)
                emitDigit(i);
        }
        integerWritten = true;
    };
    int integerIndex = 0;
    int fractionIndex = 0;
    for (const Token& t : s.tokens) {
        switch (t.kind) {
        case TokenKind::IntegerZero:
        case TokenKind::IntegerHash: {
            const int offset = shownCount - s.integerPlaceholders;
            if (integerIndex == 0) {
                for (int i = 0; i < offset; ++i) // digits beyond the placeholders go in front
                    emitDigit(i);
            }
            const int index = integerIndex + offset;
            if (index >= 0)
                emitDigit(index);
            ++integerIndex;
            integerWritten = true;
            break;
        }
        case TokenKind::Point:
            writeIntegerWithoutPlaceholders();
            out += locale.decimalSeparator;
            break;
        case TokenKind::FractionZero:
        case TokenKind::FractionHash:
            writeIntegerWithoutPlaceholders();
            if (fractionIndex < fractionShown)
                out += QLatin1Char(fraction[static_cast<size_t>(fractionIndex)]);
            ++fractionIndex;
            break;
        case TokenKind::Literal:
            out += t.literal;
            break;
        case TokenKind::Percent:
            out += QLatin1Char('%');
            break;
        case TokenKind::Exponent:
            writeIntegerWithoutPlaceholders();
            out += exponentText(t, exponent);
            break;
        }
    }
    return out;
}

QString formatWithSection(const Section& s, DigitNumber n, bool showSign)
{
    n.exponent += 2 * s.percents - 3 * s.thousandsScale;
    int exponent = 0;
    if (s.scientific) {
        if (!n.isZero()) {
            if (s.integerPlaceholders >= 1) {
                n.roundToSignificant(s.integerPlaceholders + s.fractionPlaceholders);
                exponent = n.leadingExponent() - (s.integerPlaceholders - 1);
            } else {
                n.roundToSignificant(s.fractionPlaceholders);
                exponent = n.leadingExponent() + 1;
            }
            n.exponent -= exponent;
        }
    } else {
        n.roundToDecimals(s.fractionPlaceholders);
    }
    return render(s, n, exponent, showSign);
}

// Named formats, matched without regard to case as the classic runtime does.
std::optional<QString> namedPattern(const QString& pattern)
{
    static const std::pair<const char*, const char*> kNamed[] = {
        {"Fixed", "0.00"},
        {"Standard", "#,##0.00"},
        {"Percent", "0.00%"},
        {"Scientific", "0.00E+00"},
    };
    for (const auto& [name, replacement] : kNamed) {
        if (pattern.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(replacement);
    }
    return std::nullopt;
}

std::optional<QString> namedTruthText(const QString& pattern, bool nonZero)
{
    static const std::pair<const char*, const char*> kTruth[] = {
        {"Yes/No", "Yes\0No"}, {"True/False", "True\0False"}, {"On/Off", "On\0Off"}};
    for (const auto& [name, texts] : kTruth) {
        if (pattern.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
            const char* yes = texts;
            const char* no = texts + std::char_traits<char>::length(texts) + 1;
            return QString::fromLatin1(nonZero ? yes : no);
        }
    }
    return std::nullopt;
}

// Negative values that round to zero keep their sign ("-0.000" for -0.0001 with "0.000"), as the classic
// runtime shows them: the sign is chosen from the value, before rounding. An exact zero has no sign.
QString formatDigits(const DigitNumber& n, const QString& pattern, bool exponentForm)
{
    if (pattern.isEmpty() || pattern.compare(QLatin1String("General Number"), Qt::CaseInsensitive) == 0)
        return detail::generalText(n, exponentForm);
    if (auto truth = namedTruthText(pattern, !n.isZero()))
        return *truth;
    const QString effective = namedPattern(pattern).value_or(pattern);
    const std::vector<QString> sections = splitSections(effective);

    if (n.isZero() && sections.size() >= 3 && !sections[2].isEmpty())
        return formatWithSection(parseSection(sections[2]), n, false);
    if (n.negative && sections.size() >= 2 && !sections[1].isEmpty()) {
        DigitNumber magnitude = n;
        magnitude.negative = false;
        return formatWithSection(parseSection(sections[1]), magnitude, false);
    }
    if (sections[0].isEmpty()) {
        return detail::generalText(n, exponentForm);
    }
    return formatWithSection(parseSection(sections[0]), n, n.negative);
}

} // namespace

QString Format(double value, const QString& pattern)
{
    if (std::isnan(value))
        return QStringLiteral("nan");
    if (std::isinf(value))
        return value < 0 ? numberLocale().negativeSign + QStringLiteral("inf") : QStringLiteral("inf");
    return formatDigits(DigitNumber::fromDouble(value), pattern, true);
}

QString Format(const Decimal& value, const QString& pattern)
{
    return formatDigits(DigitNumber::fromDecimal(value), pattern, false);
}

QString Format(long long value, const QString& pattern)
{
    return formatDigits(DigitNumber::fromInteger(value), pattern, false);
}

QString Format(int value, const QString& pattern)
{
    return Format(static_cast<long long>(value), pattern);
}

QString Format(long value, const QString& pattern)
{
    return Format(static_cast<long long>(value), pattern);
}

QString Format(unsigned value, const QString& pattern)
{
    return Format(static_cast<unsigned long long>(value), pattern);
}

QString Format(unsigned long value, const QString& pattern)
{
    return Format(static_cast<unsigned long long>(value), pattern);
}

QString Format(unsigned long long value, const QString& pattern)
{
    return formatDigits(DigitNumber::fromUnsigned(value), pattern, false);
}

} // namespace rt
