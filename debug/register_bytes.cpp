#include "debug/register_bytes.h"

#include "board/num_base.h"

#include <QRegularExpression>
#include <algorithm>

namespace regbytes {

bool isBitText(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^[01]{0,8}$"));
    return pattern.match(text).hasMatch();
}

bool isHexText(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9A-Fa-f]{0,2}$"));
    return pattern.match(text).hasMatch();
}

QString paddedBits(const QString& bits)
{
    return bits.rightJustified(8, QLatin1Char('0'));
}

QString paddedHex(const QString& hex)
{
    return hex.rightJustified(2, QLatin1Char('0'));
}

QString hexOfBits(const QString& bits)
{
    return cbaseBinStr2Hex(bits, 2);
}

QString bitsOfHex(const QString& hex)
{
    return cbaseDec2Bin(QStringLiteral("&h") + hex, 8);
}

int byteCount(const QString& value)
{
    return static_cast<int>(value.size() / 8);
}

QString byteOf(const QString& value, int index)
{
    const int bytes = byteCount(value);
    if (index < 0 || index >= bytes)
        return {};
    return value.mid(qsizetype{bytes - index - 1} * 8, 8);
}

Composed compose(std::span<const ByteRow> rows, int width)
{
    Composed out;
    const int bytes = std::min(width / 8, static_cast<int>(rows.size()));
    for (int i = bytes - 1; i >= 0; --i) {
        const ByteRow& row = rows[static_cast<size_t>(i)];
        if (!row.enabled)
            continue;
        if (!isBitText(row.bits) || !isHexText(row.hex) || row.hex.isEmpty()) {
            out.fault = Composed::Fault::BadByte;
            out.byte = i;
            out.value.clear();
            return out;
        }
        out.value += paddedBits(row.bits);
    }
    if (out.value.size() != width) {
        out.fault = Composed::Fault::Incomplete;
        out.value.clear();
    }
    return out;
}

} // namespace regbytes
