#include "board/ram_words.h"

namespace ramwords {

uint32_t wordOfBits(const QString& bits)
{
    uint32_t word = 0;
    for (QChar c : bits)
        word = (word << 1) | (c == QLatin1Char('1') ? 1U : 0U);
    return word;
}

QString bitsOfWord(uint32_t word)
{
    QString bits(kWordBits, Qt::Uninitialized);
    QChar* out = bits.data();
    for (int b = 0; b < kWordBits; ++b)
        out[b] = ((word >> (kWordBits - 1 - b)) & 1U) != 0 ? QLatin1Char('1') : QLatin1Char('0');
    return bits;
}

} // namespace ramwords
