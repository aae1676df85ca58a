#include "common/bit_strings.h"

namespace testbits {

QString bits(uint64_t value, int width)
{
    QString out;
    for (int k = width - 1; k >= 0; --k)
        out.append((value >> k) & 1U ? QLatin1Char('1') : QLatin1Char('0'));
    return out;
}

uint64_t valueOf(const QString& text)
{
    uint64_t v = 0;
    for (QChar c : text)
        v = (v << 1) | (c == QLatin1Char('1') ? 1U : 0U);
    return v;
}

} // namespace testbits
