#include "board/utility.h"

#include "platform/runtime/number_format.h"

#include <cmath>

namespace {

// A magnitude scaled into [1, 1000) by powers of 1000, and the power of ten taken out of it.
struct EngScaled {
    double magnitude;
    int exponent;
    int step; // -1 below 1, 0 exactly 1, +1 above 1
};

EngScaled engScale(double magnitude)
{
    EngScaled s{magnitude, 0, magnitude < 1 ? -1 : (magnitude == 1 ? 0 : 1)};
    if (s.step == 0)
        return s;
    const double factor = s.step > 0 ? 0.001 : 1000.0;
    // A finite double needs at most about 110 steps; the bound keeps any surprise from looping.
    for (int guard = 0; guard < 400 && (s.magnitude >= 1000 || s.magnitude < 1); ++guard) {
        s.exponent += 3 * s.step;
        s.magnitude *= factor;
    }
    return s;
}

QString nonFiniteText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
}

// "e", the exponent's sign ("+" when scaled down from above 1, "-" of its own when negative, none for
// exactly 1) and at least two digits.
QString exponentText(const EngScaled& s)
{
    QString digits = QString::number(std::abs(s.exponent)).rightJustified(2, QLatin1Char('0'));
    if (s.exponent < 0)
        digits.prepend(QLatin1Char('-'));
    return QLatin1Char('e') + (s.step > 0 ? QStringLiteral("+") : QString()) + digits;
}

} // namespace

bool IsValidHexString(const QString& text)
{
    bool valid = true;
    bool seenToken = false;
    bool blankAfterToken = false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const bool tokenChar = u == u'+' || u == u'-' || (u >= u'0' && u <= u'9') ||
                               (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
        if (tokenChar) {
            seenToken = true;
            if (blankAfterToken)
                valid = false;
        } else if (u == u' ' || u == u'\t') {
            if (seenToken)
                blankAfterToken = true;
        } else {
            valid = false;
        }
    }
    return valid;
}

QString FormatEng(double value, const QString& format)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    if (value == 0)
        return rt::Format(0.0, format) + QStringLiteral("e+00");
    const EngScaled s = engScale(std::fabs(value));
    return rt::Format(std::copysign(s.magnitude, value), format) + exponentText(s);
}

QString EngToSIPrefix(const QString& engText)
{
    const QString text = engText.toUpper();
    const qsizetype e = text.indexOf(QLatin1Char('E'));
    if (e < 0)
        return text + QLatin1Char(' '); // no exponent: the value as it stands, no prefix
    const QString mantissa = text.left(e);
    const QString exponentPart = text.mid(e + 1).trimmed();
    int exponent = 0;
    if (!exponentPart.isEmpty() && exponentPart != QLatin1String("+") && exponentPart != QLatin1String("-")) {
        bool ok = false;
        exponent = exponentPart.toInt(&ok);
        if (!ok)
            return text + QLatin1Char(' ');
    }
    static const char* const kPrefixes[] = {"f", "p", "n", "u", "m", "", "k", "M", "G"};
    if (exponent % 3 != 0 || exponent < -15 || exponent > 9)
        return text + QLatin1Char(' '); // no prefix for it: the exponent stays, so the value stays right
    return mantissa + QLatin1Char(' ') + QLatin1String(kPrefixes[(exponent + 15) / 3]);
}

QString FormatSI(double value, const QString& format)
{
    if (!std::isfinite(value))
        return nonFiniteText(value) + QLatin1Char(' ');
    if (value == 0)
        return rt::Format(0.0, format) + QLatin1Char(' ');
    const EngScaled s = engScale(std::fabs(value));
    const QString number = rt::Format(std::copysign(s.magnitude, value), format);
    static const char16_t* const kPrefixes[] = {u"y", u"z", u"a", u"f", u"p", u"n", u"\u00B5", u"m", u"",
                                                u"k", u"M", u"G", u"T", u"P", u"E", u"Z",      u"Y"};
    if (s.exponent < -24 || s.exponent > 24)
        return number + exponentText(s) + QLatin1Char(' ');
    return number + QLatin1Char(' ') + QString::fromUtf16(kPrefixes[(s.exponent + 24) / 3]);
}
