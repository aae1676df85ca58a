// Reading and writing the lines of RAM data files; no board, no windows.

#include "board/num_base.h"
#include "board/ram_file.h"
#include "board/text_lines.h"
#include "platform/runtime/decimal.h"

#include "platform/os/files.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace board {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The one token of the line: blanks and tabs around it dropped; empty when the line holds none, or when
// a blank stands inside it.
QStringView singleToken(QStringView line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && isBlank(line[begin]))
        ++begin;
    while (end > begin && isBlank(line[end - 1]))
        --end;
    for (qsizetype k = begin; k < end; ++k) {
        if (isBlank(line[k]))
            return QStringView();
    }
    return line.sliced(begin, end - begin);
}

// A plain decimal integer: an optional "-" and up to 19 ASCII digits, read as the wide decimal would read
// it in any locale; nullopt for every other form, which the wide decimal reads.
std::optional<int64_t> plainInteger(QStringView token)
{
    qsizetype k = 0;
    const bool negative = !token.isEmpty() && token[0] == QLatin1Char('-');
    if (negative)
        ++k;
    const qsizetype digits = token.size() - k;
    if (digits < 1 || digits > 19)
        return std::nullopt;
    uint64_t magnitude = 0;
    for (; k < token.size(); ++k) {
        const char16_t c = token[k].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - u'0');
    }
    if (magnitude > static_cast<uint64_t>(INT64_MAX))
        return std::nullopt;
    const auto value = static_cast<int64_t>(magnitude);
    return negative ? -value : value;
}

std::optional<int64_t> wholeNumber(QStringView token, int64_t lowest, int64_t highest)
{
    if (token.isEmpty())
        return std::nullopt;
    if (const std::optional<int64_t> plain = plainInteger(token))
        return *plain < lowest || *plain > highest ? std::nullopt : plain;
    const std::optional<rt::Decimal> value = rt::Decimal::tryFromText(token.toString());
    if (!value || !value->isInteger())
        return std::nullopt;
    const rt::Decimal low(static_cast<long long>(lowest));
    const rt::Decimal high(static_cast<long long>(highest));
    if (*value < low || *value > high)
        return std::nullopt;
    return value->toInt64();
}

std::optional<uint32_t> binaryWord(QStringView token)
{
    if (token.isEmpty() || token.size() > 32)
        return std::nullopt;
    uint32_t word = 0;
    for (QChar c : token) {
        const auto bit = static_cast<uint32_t>(c.unicode() - u'0');
        if (bit > 1)
            return std::nullopt;
        word = (word << 1) | bit;
    }
    return word;
}

std::optional<uint32_t> hexWord(QStringView token)
{
    if (token.isEmpty())
        return std::nullopt;
    // Digit values by character, looked up rather than tested: the digits of RAM data are random.
    static constexpr auto kDigitValues = [] {
        std::array<int8_t, 128> values{};
        values.fill(-1);
        for (int c = 0; c < 10; ++c)
            values[static_cast<size_t>('0') + c] = static_cast<int8_t>(c);
        for (int c = 0; c < 6; ++c) {
            values[static_cast<size_t>('A') + c] = static_cast<int8_t>(10 + c);
            values[static_cast<size_t>('a') + c] = static_cast<int8_t>(10 + c);
        }
        return values;
    }();
    uint64_t word = 0;
    for (QChar c : token) {
        const char16_t u = c.unicode();
        const int digit = u < kDigitValues.size() ? kDigitValues[u] : -1;
        if (digit < 0)
            return std::nullopt;
        word = (word << 4) | static_cast<uint64_t>(digit);
        if (word > 0xFFFFFFFFULL)
            return std::nullopt;
    }
    return static_cast<uint32_t>(word);
}

// The dump line of a word, without its end, into `out` (room for 32 characters); its length.
qsizetype dumpLineChars(uint32_t word, int format, char* out)
{
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    static constexpr char kNibbleBits[16][5] = {"0000", "0001", "0010", "0011", "0100", "0101",
                                                "0110", "0111", "1000", "1001", "1010", "1011",
                                                "1100", "1101", "1110", "1111"};
    switch (format) {
    case kRamFormatBinary:
        for (int nibble = 0; nibble < 8; ++nibble)
            std::memcpy(out + 4 * nibble, kNibbleBits[(word >> (28 - 4 * nibble)) & 0xFU], 4);
        return 32;
    case kRamFormatHex:
        for (int k = 0; k < 8; ++k)
            out[k] = kHexDigits[(word >> (28 - 4 * k)) & 0xFU];
        return 8;
    case kRamFormatDecimal:
    case kRamFormatSignedPairs: {
        // A blank in front (a "-" for a negative signed value) and one blank after.
        const bool negative = format == kRamFormatSignedPairs && static_cast<int32_t>(word) < 0;
        const uint32_t magnitude = negative ? 0U - word : word;
        out[0] = negative ? '-' : ' ';
        const auto written = std::to_chars(out + 1, out + 31, magnitude);
        *written.ptr = ' ';
        return written.ptr + 1 - out;
    }
    default:
        return 0;
    }
}

QString problemAt(qsizetype line, const char* what)
{
    return QStringLiteral("Line %1: %2").arg(line).arg(QLatin1String(what));
}

// A binary line in one pass, as singleToken and binaryWord would take it: blanks, 1-32 "0"/"1"
// characters, blanks.
std::optional<uint32_t> binaryLine(QStringView line)
{
    const qsizetype n = line.size();
    qsizetype k = 0;
    while (k < n && isBlank(line[k]))
        ++k;
    const qsizetype first = k;
    uint32_t word = 0;
    for (; k < n; ++k) {
        const auto bit = static_cast<uint32_t>(line[k].unicode() - u'0');
        if (bit > 1)
            break;
        word = (word << 1) | bit;
    }
    const qsizetype digits = k - first;
    while (k < n && isBlank(line[k]))
        ++k;
    if (k != n || digits < 1 || digits > 32)
        return std::nullopt;
    return word;
}

} // namespace

std::optional<uint32_t> parseRamWordLine(const QString& line, int format)
{
    if (format == kRamFormatBinary)
        return binaryLine(line);
    const QStringView token = singleToken(line);
    switch (format) {
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
    if (path.isEmpty() || !os::openRegularFile(file)) {
        RamFileContents contents;
        contents.problem = QStringLiteral("The file could not be opened");
        return contents;
    }
    return readRamDataFile(file, format);
}

QString ramWordBits(uint32_t word)
{
    char bits[32];
    dumpLineChars(word, kRamFormatBinary, bits);
    return QString::fromLatin1(bits, 32);
}

std::optional<uint32_t> ramWordValue(const QString& bits)
{
    if (bits.size() != 32)
        return std::nullopt;
    return binaryWord(bits);
}

QString formatRamDumpLine(uint32_t word, int format)
{
    char line[kRamDumpLineBytes];
    const qsizetype length = dumpLineChars(word, format, line);
    return length == 0 ? QString() : QString::fromLatin1(line, length);
}

void appendRamDumpLine(QByteArray& out, uint32_t word, int format)
{
    char line[kRamDumpLineBytes];
    qsizetype length = dumpLineChars(word, format, line);
    line[length++] = '\r';
    line[length++] = '\n';
    out.append(line, length);
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
