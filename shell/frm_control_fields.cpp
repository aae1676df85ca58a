#include "shell/frm_control_fields.h"

#include "platform/runtime/numeric_text.h"
#include "platform/runtime/runtime_error.h"

#include <array>
#include <utility>

namespace control {

namespace {

bool holds(const QString& bits, int hi, int lo)
{
    return lo >= 0 && hi >= lo && hi < bits.size() && hi - lo < 64;
}

// The characters of bits hi..lo, in register order.
QString slice(const QString& bits, int hi, int lo)
{
    return bits.mid(bits.size() - 1 - hi, hi - lo + 1);
}

} // namespace

uint64_t fieldOf(const QString& bits, int hi, int lo)
{
    if (!holds(bits, hi, lo))
        return 0;
    uint64_t value = 0;
    for (QChar c : slice(bits, hi, lo))
        value = (value << 1) | (c == QLatin1Char('1') ? 1U : 0U);
    return value;
}

QString withField(const QString& bits, int hi, int lo, uint64_t value)
{
    if (!holds(bits, hi, lo))
        return bits;
    QString out = bits;
    out.replace(bits.size() - 1 - hi, hi - lo + 1, binaryOf(value, hi - lo + 1));
    return out;
}

QString binaryOf(uint64_t value, int width)
{
    QString out(width, QLatin1Char('0'));
    for (int k = 0; k < width && k < 64; ++k)
        if ((value >> k) & 1U)
            out[width - 1 - k] = QLatin1Char('1');
    return out;
}

QString comparedBits(int16_t addr, const QString& bits)
{
    using Range = std::pair<int, int>;
    // RAM enable, the RAM destination and the bits other windows own are left out, so that they never
    // make this window's indicator blink.
    static constexpr std::array<Range, 4> kCFR1Ranges = {{{25, 24}, {13, 13}, {11, 11}, {7, 2}}};
    static constexpr std::array<Range, 4> kCFR2Ranges = {{{31, 25}, {23, 22}, {15, 9}, {7, 0}}};
    if (addr != kCFR1 && addr != kCFR2)
        return bits;
    QString out;
    for (const Range& r : addr == kCFR1 ? kCFR1Ranges : kCFR2Ranges)
        out += holds(bits, r.first, r.second) ? slice(bits, r.first, r.second) : QString();
    return out;
}

std::optional<double> numberOf(const QString& text)
{
    if (!rt::IsNumeric(text))
        return std::nullopt;
    try {
        return rt::CDbl(text);
    } catch (const rt::RuntimeError&) {
        return std::nullopt;
    }
}

} // namespace control
