// Reading and writing the lines of RAM data files; no board, no windows.

#include "board/num_base.h"
#include "board/ram_file.h"
#include "board/text_lines.h"
#include "platform/runtime/decimal.h"

#include <QFile>

#include <algorithm>
#include <cstdint>

namespace board {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The one token of the line: blanks and tabs around it dropped; empty when the line holds none, or when
// a blank stands inside it.
QString singleToken(const QString& line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && isBlank(line[begin]))
        ++begin;
    while (end > begin && isBlank(line[end - 1]))
        --end;
    for (qsizetype k = begin; k < end; ++k) {
        if (isBlank(line[k]))
            return QString();
    }
    return line.mid(begin, end - begin);
}

std::optional<int64_t> wholeNumber(const QString& token, int64_t lowest, int64_t highest)
{
    if (token.isEmpty())
        return std::nullopt;
    const std::optional<rt::Decimal> value = rt::Decimal::tryFromText(token);
    if (!value || !value->isInteger())
        return std::nullopt;
    const rt::Decimal low(static_cast<long long>(lowest));
    const rt::Decimal high(static_cast<long long>(highest));
    if (*value < low || *value > high)
        return std::nullopt;
    return value->toInt64();
}

std::optional<uint32_t> binaryWord(const QString& token)
{
    if (token.isEmpty() || token.size() > 32)
        return std::nullopt;
    uint32_t word = 0;
    for (QChar c : token) {
        if (c != QLatin1Char('0') && c != QLatin1Char('1'))
            return std::nullopt;
        word = (word << 1) | (c == QLatin1Char('1') ? 1U : 0U);
    }
    return word;
}

std::optional<uint32_t> hexWord(const QString& token)
{
    if (token.isEmpty())
        return std::nullopt;
    uint64_t word = 0;
    for (QChar c : token) {
        const int digit = hexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        word = (word << 4) | static_cast<uint64_t>(digit);
        if (word > 0xFFFFFFFFULL)
            return std::nullopt;
    }
    return static_cast<uint32_t>(word);
}

QString problemAt(qsizetype line, const char* what)
{
    return QStringLiteral("Line %1: %2").arg(line).arg(QLatin1String(what));
}

} // namespace

std::optional<uint32_t> parseRamWordLine(const QString& line, int format)
{
    const QString token = singleToken(line);
    switch (format) {
    case kRamFormatBinary:
        return binaryWord(token);
    case kRamFormatHex:
        return hexWord(token);
    case kRamFormatDecimal:
        if (const auto v = wholeNumber(token, INT32_MIN, UINT32_MAX))
            return static_cast<uint32_t>(static_cast<uint64_t>(*v) & 0xFFFFFFFFULL);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::optional<uint16_t> parseRamHalfLine(const QString& line)
{
    if (const auto v = wholeNumber(singleToken(line), INT16_MIN, UINT16_MAX))
        return static_cast<uint16_t>(static_cast<uint64_t>(*v) & 0xFFFFU);
    return std::nullopt;
}

RamFileContents readRamDataFile(QIODevice& device, int format)
{
    RamFileContents contents;
    if (format < kRamFormatBinary || format > kRamFormatSignedPairs) {
        contents.problem = QStringLiteral("Unknown RAM data format %1").arg(format);
        return contents;
    }
    TextLineSource source(device, kRamLineLimit);
    QString line;
    bool overlong = false;
    // Reads one line; false (with the problem set) at a read error, at the end when `required`, or on a
    // line too long to be a number.
    auto readLine = [&](bool required, bool& gotLine) {
        gotLine = false;
        switch (source.next(line, overlong)) {
        case TextLineSource::Result::ReadError:
            contents.problem = QStringLiteral("The file could not be read");
            return false;
        case TextLineSource::Result::End:
            if (required) {
                contents.badLine = source.lineCount() + 1;
                contents.problem = problemAt(contents.badLine, "the word's second line is missing");
                return false;
            }
            return true;
        case TextLineSource::Result::Line:
            gotLine = true;
            if (overlong) {
                contents.badLine = source.lineCount();
                contents.problem = problemAt(contents.badLine, "the line is too long");
                return false;
            }
            return true;
        }
        return false;
    };

    while (static_cast<int>(contents.words.size()) < kRamWordCount) {
        bool gotLine = false;
        if (!readLine(false, gotLine))
            return contents;
        if (!gotLine)
            break;
        if (format != kRamFormatSignedPairs) {
            const std::optional<uint32_t> word = parseRamWordLine(line, format);
            if (!word) {
                contents.badLine = source.lineCount();
                contents.problem = problemAt(contents.badLine, "not a word of the chosen format");
                return contents;
            }
            contents.words.push_back(*word);
            continue;
        }
        const std::optional<uint16_t> upper = parseRamHalfLine(line);
        if (!upper) {
            contents.badLine = source.lineCount();
            contents.problem = problemAt(contents.badLine, "not a 16-bit number");
            return contents;
        }
        if (!readLine(true, gotLine))
            return contents;
        const std::optional<uint16_t> lower = parseRamHalfLine(line);
        if (!lower) {
            contents.badLine = source.lineCount();
            contents.problem = problemAt(contents.badLine, "not a 16-bit number");
            return contents;
        }
        contents.words.push_back((static_cast<uint32_t>(*upper) << 16) | *lower);
    }
    if (contents.words.empty())
        contents.problem = QStringLiteral("The file holds no RAM words");
    return contents;
}

RamFileContents readRamDataFile(const QString& path, int format)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        RamFileContents contents;
        contents.problem = QStringLiteral("The file could not be opened");
        return contents;
    }
    return readRamDataFile(file, format);
}

QString ramWordBits(uint32_t word)
{
    QString bits(32, QLatin1Char('0'));
    for (int k = 0; k < 32; ++k) {
        if ((word >> (31 - k)) & 1U)
            bits[k] = QLatin1Char('1');
    }
    return bits;
}

std::optional<uint32_t> ramWordValue(const QString& bits)
{
    if (bits.size() != 32)
        return std::nullopt;
    return binaryWord(bits);
}

QString formatRamDumpLine(uint32_t word, int format)
{
    switch (format) {
    case kRamFormatBinary:
        return ramWordBits(word);
    case kRamFormatHex:
        return QStringLiteral("%1").arg(word, 8, 16, QLatin1Char('0')).toUpper();
    case kRamFormatDecimal:
        return QLatin1Char(' ') + QString::number(word) + QLatin1Char(' ');
    case kRamFormatSignedPairs: {
        const int32_t value = static_cast<int32_t>(word);
        if (value < 0)
            return QLatin1Char('-') + QString::number(-static_cast<int64_t>(value)) + QLatin1Char(' ');
        return QLatin1Char(' ') + QString::number(value) + QLatin1Char(' ');
    }
    default:
        return QString();
    }
}

QString ramSegmentRange(int words)
{
    // Address ramp rate (bits 47:32) 0, final address in bits 31:22, begin address (bits 15:6) 0, mode 0.
    const int final = std::clamp(words, 1, kRamWordCount) - 1;
    QString value(48, QLatin1Char('0'));
    for (int k = 0; k < 10; ++k) {
        if ((final >> (9 - k)) & 1)
            value[16 + k] = QLatin1Char('1');
    }
    return value;
}

} // namespace board
