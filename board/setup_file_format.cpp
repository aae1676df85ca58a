// The setup file's text: writing it and reading it back with every check done before anything is used.

#include "board/setup_file_format.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString hexAddress(int16_t address)
{
    return QStringLiteral("%1").arg(address, 2, 16, QLatin1Char('0')).toUpper();
}

bool isBinary(const QString& text)
{
    for (QChar c : text)
        if (c != QLatin1Char('0') && c != QLatin1Char('1'))
            return false;
    return true;
}

// A register address as hexadecimal digits (1 to 4 of them, any case); -1 when it is not one.
int hexField(const QString& field)
{
    if (field.isEmpty() || field.size() > 4)
        return -1;
    int value = 0;
    for (QChar c : field) {
        const int digit = c.isDigit() ? c.digitValue()
                          : (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'))
                              ? c.toLower().unicode() - 'a' + 10
                              : -1;
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

// A whole number in the range of a 16-bit integer, with an optional sign.
std::optional<int16_t> integerField(const QString& field)
{
    const QByteArray text = field.toLatin1();
    const char* begin = text.constData();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    int16_t value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || begin == end)
        return std::nullopt;
    return value;
}

// Reads the file line by line and says at which line it went wrong.
class SetupReader {
public:
    explicit SetupReader(const QByteArray& data)
    {
        QString text = QString::fromLatin1(data);
        text.replace(kCrLf, QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        lines_ = text.split(QLatin1Char('\n'));
        // The CR LF after the last line leaves one empty piece that is not a line of the file.
        if (!lines_.isEmpty() && lines_.back().isEmpty())
            lines_.removeLast();
    }

    // The next line's fields; empty (with the error set) at the end of the file or on a malformed line.
    std::optional<QStringList> next()
    {
        if (index_ >= lines_.size()) {
            fail(QStringLiteral("the file ends too early"));
            ++index_;
            return std::nullopt;
        }
        std::optional<QStringList> fields = splitSetupFields(lines_[index_++]);
        if (!fields)
            fail(QStringLiteral("malformed fields"));
        return fields;
    }
    // The next line, which must hold `count` fields.
    std::optional<QStringList> next(int count)
    {
        std::optional<QStringList> fields = next();
        if (fields && fields->size() != count) {
            fail(QStringLiteral("%1 field(s) where %2 belong").arg(fields->size()).arg(count));
            return std::nullopt;
        }
        return fields;
    }
    void fail(const QString& what)
    {
        if (error_.isEmpty())
            error_ = QStringLiteral("line %1: %2").arg(index_ + (index_ >= lines_.size() ? 1 : 0)).arg(what);
    }
    // For failures found after the line was taken: report that line.
    void failTaken(const QString& what)
    {
        if (error_.isEmpty())
            error_ = QStringLiteral("line %1: %2").arg(index_).arg(what);
    }
    const QString& error() const { return error_; }

private:
    QStringList lines_;
    qsizetype index_ = 0;
    QString error_;
};

} // namespace

const std::vector<int16_t>& setupFileRegisters()
{
    static const std::vector<int16_t> registers = [] {
        std::vector<int16_t> list;
        for (int16_t a = 0x00; a <= 0x15; ++a)
            list.push_back(a);
        list.push_back(0x18);
        return list;
    }();
    return registers;
}

bool isSetupFileRegister(int address)
{
    return (address >= 0x00 && address <= 0x15) || address == 0x18;
}

QString setupNumberText(double value)
{
    char buffer[64];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc())
        return QStringLiteral("0");
    return QString::fromLatin1(buffer, ptr - buffer);
}

std::optional<double> setupFieldNumber(const QString& field)
{
    const QByteArray text = field.trimmed().toLatin1();
    const char* begin = text.constData();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    // Only plain decimal notation with an optional exponent: no "inf", "nan" or hexadecimal floats.
    for (const char* p = begin; p != end; ++p)
        if (!((*p >= '0' && *p <= '9') || *p == '.' || *p == '-' || *p == '+' || *p == 'e' || *p == 'E'))
            return std::nullopt;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
    if (ec != std::errc() || ptr != end || begin == end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<QStringList> splitSetupFields(const QString& line)
{
    QStringList fields;
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (true) {
        while (i < n && (line[i] == QLatin1Char(' ') || line[i] == QLatin1Char('\t')))
            ++i;
        if (i < n && line[i] == QLatin1Char('"')) {
            const qsizetype close = line.indexOf(QLatin1Char('"'), i + 1);
            if (close < 0)
                return std::nullopt;
            fields << line.mid(i + 1, close - i - 1);
            i = close + 1;
            while (i < n && (line[i] == QLatin1Char(' ') || line[i] == QLatin1Char('\t')))
                ++i;
            if (i < n && line[i] != QLatin1Char(','))
                return std::nullopt;
        } else {
            const qsizetype comma = line.indexOf(QLatin1Char(','), i);
            const qsizetype stop = comma < 0 ? n : comma;
            fields << line.mid(i, stop - i).trimmed();
            i = stop;
        }
        if (i >= n)
            return fields;
        ++i; // the comma
    }
}

QByteArray writeSetupFileText(const SetupFileContents& contents)
{
    QString text;
    text += quoted(kSetupFileTitle) + kCrLf;
    text += quoted(QStringLiteral("Rev")) + QStringLiteral(",1") + kCrLf;
    text += quoted(QString()) + kCrLf;
    text +=
        quoted(QStringLiteral("Addr(Hex)")) + QLatin1Char(',') + quoted(QStringLiteral("Value(Bin)")) + kCrLf;
    for (const SetupFileRow& row : contents.rows)
        text += quoted(hexAddress(row.address)) + QLatin1Char(',') + quoted(row.bits) + kCrLf;
    text += quoted(kSetupFileEndOfRegmap) + QLatin1Char(',') + quoted(kSetupFileEndOfRegmap) + kCrLf;
    text += quoted(QString()) + kCrLf;
    text += quoted(QStringLiteral("Other Settings...")) + kCrLf;
    text += quoted(kSetupFileClockLabel) + QLatin1Char(',') + setupNumberText(contents.externalClock) + kCrLf;
    for (size_t k = 0; k < kSetupFileLineLabels.size(); ++k)
        text += quoted(kSetupFileLineLabels[k]) + QLatin1Char(',') +
                QString::number(contents.lines[k] != 0 ? 1 : 0) + kCrLf;
    return text.toLatin1();
}

SetupFileParse parseSetupFile(const QByteArray& data, const SetupRegisterWidth& registerWidth)
{
    SetupReader reader(data);
    SetupFileParse result;
    auto refuse = [&]() {
        result.error = reader.error();
        return result;
    };

    // Lines 1 and 2: the title and the format revision 1 ("Rev" itself is not checked).
    const std::optional<QStringList> title = reader.next(1);
    if (!title)
        return refuse();
    if (title->front() != kSetupFileTitle) {
        reader.failTaken(QStringLiteral("not a setup file"));
        return refuse();
    }
    const std::optional<QStringList> revision = reader.next(2);
    if (!revision)
        return refuse();
    if (setupFieldNumber(revision->at(1)) != 1.0) {
        reader.failTaken(QStringLiteral("format revision other than 1"));
        return refuse();
    }
    // Lines 3 and 4 are not checked.
    if (!reader.next() || !reader.next())
        return refuse();

    SetupFileContents contents;
    while (true) {
        const std::optional<QStringList> row = reader.next(2);
        if (!row)
            return refuse();
        const bool firstIsEnd = row->at(0) == kSetupFileEndOfRegmap;
        const bool secondIsEnd = row->at(1) == kSetupFileEndOfRegmap;
        if (firstIsEnd || secondIsEnd) {
            if (!(firstIsEnd && secondIsEnd)) {
                reader.failTaken(QStringLiteral("broken end-of-regmap line"));
                return refuse();
            }
            break;
        }
        if (static_cast<int>(contents.rows.size() + contents.skippedRows.size()) >= kMaxSetupRows) {
            reader.failTaken(QStringLiteral("too many register rows"));
            return refuse();
        }
        const int address = hexField(row->at(0));
        if (!isSetupFileRegister(address)) {
            reader.failTaken(
                QStringLiteral("register address \"%1\" is not one a setup file holds").arg(row->at(0)));
            return refuse();
        }
        const QString& bits = row->at(1);
        const SetupRowWidths widths =
            registerWidth ? registerWidth(static_cast<int16_t>(address)) : SetupRowWidths{};
        const bool binary = isBinary(bits);
        const bool loads = widths.load > 0 && bits.size() == widths.load;
        const bool otherRevision = widths.otherRevision > 0 && bits.size() == widths.otherRevision;
        const bool notLoadedHere = widths.load == 0 && !bits.isEmpty() && bits.size() <= 64;
        if (!binary || !(loads || otherRevision || notLoadedHere)) {
            reader.failTaken(
                QStringLiteral("value of register %1 is not %2 binary digits")
                    .arg(row->at(0))
                    .arg(widths.load > 0 ? QString::number(widths.load) : QStringLiteral("1 to 64")));
            return refuse();
        }
        const SetupFileRow kept{static_cast<int16_t>(address), bits};
        (loads ? contents.rows : contents.skippedRows).push_back(kept);
    }

    // An empty text and "Other Settings...", not checked.
    if (!reader.next() || !reader.next())
        return refuse();

    const std::optional<QStringList> clock = reader.next(2);
    if (!clock)
        return refuse();
    const std::optional<double> clockValue = setupFieldNumber(clock->at(1));
    if (clock->at(0) != kSetupFileClockLabel || !clockValue) {
        reader.failTaken(QStringLiteral("no external clock"));
        return refuse();
    }
    contents.externalClock = *clockValue;

    for (size_t k = 0; k < kSetupFileLineLabels.size(); ++k) {
        const std::optional<QStringList> line = reader.next(2);
        if (!line)
            return refuse();
        const std::optional<int16_t> level = integerField(line->at(1).trimmed());
        if (line->at(0) != kSetupFileLineLabels[k] || !level) {
            reader.failTaken(
                QStringLiteral("expected \"%1\" and a whole number").arg(kSetupFileLineLabels[k]));
            return refuse();
        }
        contents.lines[k] = *level != 0 ? 1 : 0;
    }

    result.contents = std::move(contents);
    return result;
}
