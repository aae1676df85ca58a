#include "modulation/field_rules.h"

#include "board/text_util.h"
#include "board/utility.h"
#include "platform/runtime/numeric_text.h"
#include "platform/runtime/runtime_error.h"

#include <cmath>
#include <limits>
#include <optional>

namespace mvg {

namespace {

// A text as a 32-bit whole number (ties to even), or nothing.
std::optional<int32_t> wholeNumber(const QString& text)
{
    try {
        return rt::CLng(text);
    } catch (const rt::RuntimeError&) {
        return std::nullopt;
    }
}

} // namespace

RangeVerdict judgeRange(const QString& text, bool integer, double min, double max)
{
    if (!rt::IsNumeric(text))
        return RangeVerdict::NotNumeric;
    // A number too large for the conversion is out of range like any other.
    try {
        const double value = integer ? static_cast<double>(rt::CInt(text)) : rt::CDbl(text);
        if (std::isfinite(value) && value >= min && value <= max)
            return RangeVerdict::InRange;
    } catch (const rt::RuntimeError&) {
    }
    return RangeVerdict::OutOfRange;
}

int32_t vectorCount(const QString& symbols, const QString& upsampling)
{
    const std::optional<int32_t> count = wholeNumber(symbols);
    const std::optional<int32_t> factor = wholeNumber(upsampling);
    if (!count || !factor)
        return -1;
    const int64_t vectors = 2 * static_cast<int64_t>(*count) * *factor;
    if (vectors > std::numeric_limits<int32_t>::max() || vectors < std::numeric_limits<int32_t>::min())
        return -1;
    return static_cast<int32_t>(vectors);
}

int32_t largestSymbolCount(const QString& upsampling, int32_t limit)
{
    const std::optional<int32_t> factor = wholeNumber(upsampling);
    if (!factor || *factor == 0)
        return -1;
    // Rounded towards zero: one symbol more would already give more vectors than the limit, and the Max
    // buttons promise a count the FIFO holds.
    return static_cast<int32_t>(static_cast<int64_t>(limit) / (2 * static_cast<int64_t>(*factor)));
}

VectorCountText describeVectorCount(int32_t vectors, int32_t largestSymbols)
{
    if (vectors <= -1)
        return {QStringLiteral("Invalid Parameter!"), QStringLiteral("Invalid Parameter!"), true, false};
    const bool over = vectors > kFifoVectors;
    return {QString::number(vectors),
            QStringLiteral("Number of Data Vectors = ") + QString::number(vectors) + QStringLiteral(" : ") +
                QStringLiteral("Max Symbols = ") + QString::number(largestSymbols),
            over, over};
}

QString fifoWarningText()
{
    return QStringLiteral("The output vectors exceed the ZR2250 and ZR4470 Evaluation Boards") +
           QStringLiteral("\r\n") + QStringLiteral("65K FIFO size.");
}

bool outputFolderMissing(const QString& text)
{
    const QString folder = GetPathFromFileName(text);
    return !folder.isEmpty() && !DirExists(folder);
}

int filterWholeNumberKey(int keyAscii)
{
    return KeyFilterNoSign(KeyFilterSignedInt(keyAscii));
}

int filterDecimalKey(int keyAscii)
{
    return KeyFilterNoSign(KeyFilterNumeric2(keyAscii));
}

} // namespace mvg
