#include "profiles/mod_edit_out_freq.h"

#include "platform/runtime/locale_info.h"
#include "platform/runtime/number_format.h"
#include "platform/runtime/numeric_text.h"
#include "platform/runtime/runtime_error.h"

#include <cmath>

namespace {

constexpr int kWidestWord = 95; // the widest power of two the wide decimal holds

bool validWidth(int16_t bits)
{
    return bits >= 0 && bits <= kWidestWord;
}

// The decimal's largest magnitude with the sign of `negative`: what an unbounded word saturates at.
rt::Decimal saturated(bool negative)
{
    return negative ? -rt::Decimal::maxValue() : rt::Decimal::maxValue();
}

// The clock a display pattern is computed for: missing means 1 MHz, anything that is not a positive
// finite number means 0 (no resolution).
double patternClock(const std::optional<profiles::EditValue>& fsys)
{
    if (!fsys)
        return 1.0;
    const std::optional<double> clock = fsys->number();
    return clock && *clock > 0.0 ? *clock : 0.0;
}

} // namespace

rt::Decimal edtFreqToFTW(double fout, double fsys, int16_t bits)
{
    if (!std::isfinite(fsys) || fsys <= 0.0 || !validWidth(bits) || std::isnan(fout))
        return rt::Decimal();
    if (std::isinf(fout))
        return saturated(fout < 0);
    try {
        const rt::Decimal ratio = rt::Decimal::fromDouble(fout) / rt::Decimal::fromDouble(fsys);
        return (ratio * rt::Decimal::powerOfTwo(bits)).roundedHalfEven(0);
    } catch (const rt::RuntimeError&) {
        // Only an overflow gets here: the clock is positive and the width valid.
        return saturated(fout < 0);
    }
}

rt::Decimal edtFTWToFreq(double word, double fsys, int16_t bits)
{
    if (!validWidth(bits) || !std::isfinite(word) || !std::isfinite(fsys))
        return rt::Decimal();
    const double quotient = word / std::ldexp(1.0, bits);
    try {
        return rt::Decimal::fromDouble(quotient) * rt::Decimal::fromDouble(fsys);
    } catch (const rt::RuntimeError&) {
        return saturated((quotient < 0) != (fsys < 0));
    }
}

rt::Decimal edtFTWToFreq(const rt::Decimal& word, double fsys, int16_t bits)
{
    if (!validWidth(bits) || !std::isfinite(fsys))
        return rt::Decimal();
    try {
        return word / rt::Decimal::powerOfTwo(bits) * rt::Decimal::fromDouble(fsys);
    } catch (const rt::RuntimeError&) {
        return saturated(word.isNegative() != (fsys < 0));
    }
}

rt::Decimal edtFTWToFreq(const QString& word, double fsys, int16_t bits)
{
    const std::optional<double> value = profiles::EditValue(word).number();
    return value ? edtFTWToFreq(*value, fsys, bits) : rt::Decimal();
}

QString edtFormatString(int16_t bits, const std::optional<profiles::EditValue>& fsys)
{
    const double resolution = edtFTWToFreq(1.0, patternClock(fsys), bits).toDouble();
    const QString shown = rt::Format(resolution, QStringLiteral("0.") + QString(38, QLatin1Char('0')));
    const QChar separator = edtDecimalSep(false).toString().at(0);
    int position = 41; // 1-based, as the pattern is counted
    for (int i = 0; i < 40 && i < shown.size(); ++i) {
        if (shown.at(i) != QLatin1Char('0') && shown.at(i) != separator) {
            position = i + 1;
            break;
        }
    }
    return QStringLiteral("0.") + QString(position - 1, QLatin1Char('0'));
}

QString edtFormatFreq(double value, int16_t bits, const std::optional<profiles::EditValue>& fsys)
{
    return rt::Format(value, edtFormatString(bits, fsys));
}

QString edtFormatFreq(const rt::Decimal& value, int16_t bits, const std::optional<profiles::EditValue>& fsys)
{
    return edtFormatFreq(value.toDouble(), bits, fsys);
}

QVariant edtDecimalSep(bool asCode)
{
    const QString zero = rt::Format(0, QStringLiteral("Fixed"));
    const QChar separator = zero.size() > 1 ? zero.at(1) : rt::numberLocale().decimalSeparator;
    if (asCode)
        return QVariant(static_cast<int>(separator.unicode()));
    return QVariant(QString(separator));
}
