#include "platform/os/ini_document.h"

#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>

namespace os {

namespace {

std::vector<QByteArray> splitLines(const QByteArray& bytes)
{
    std::vector<QByteArray> lines;
    lines.reserve(static_cast<size_t>(bytes.count('\n') + bytes.count('\r') + 1));
    const char* const data = bytes.constData();
    const qsizetype size = bytes.size();
    // The next LF and the next CR from where the line starts, each searched again only once passed.
    auto next = [&](char c, qsizetype from) {
        const void* found = std::memchr(data + from, c, static_cast<size_t>(size - from));
        return found ? static_cast<const char*>(found) - data : size;
    };
    qsizetype start = 0;
    qsizetype lf = next('\n', 0);
    qsizetype cr = next('\r', 0);
    while (start < size) {
        if (lf < start)
            lf = next('\n', start);
        if (cr < start)
            cr = next('\r', start);
        const qsizetype end = std::min(lf, cr);
        if (end == size) {
            lines.push_back(bytes.mid(start));
            break;
        }
        lines.push_back(bytes.mid(start, end - start));
        start = end + 1;
        if (data[end] == '\r' && start < size && data[start] == '\n')
            ++start;
    }
    return lines;
}

bool hasLineBreakOrNul(const QString& text)
{
    for (QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0))
            return true;
    }
    return false;
}

QString withoutQuotes(const QString& value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Adds a name to the names met so far; false when a name equal to it but for case was there already.
bool addName(QSet<QString>& seen, const QString& name)
{
    const qsizetype before = seen.size();
    seen.insert(name.toCaseFolded());
    return seen.size() != before;
}

} // namespace

IniDocument IniDocument::parse(const QByteArray& bytes)
{
    IniDocument document;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString probe = utf8(bytes); // decoding once tells whether the bytes are UTF-8
    document.latin1_ = utf8.hasError();
    const std::vector<QByteArray> lines = splitLines(bytes);
    document.lines_.reserve(lines.size());
    for (const QByteArray& raw : lines)
        document.lines_.push_back(document.makeLine(raw));
    return document;
}

QByteArray IniDocument::serialize() const
{
    QByteArray bytes;
    qsizetype size = 0;
    for (const Line& line : lines_)
        size += line.raw.size() + 2;
    bytes.reserve(size);
    for (const Line& line : lines_) {
        bytes.append(line.raw);
        bytes.append("\r\n", 2);
    }
    return bytes;
}

IniDocument::Line IniDocument::makeLine(const QByteArray& raw) const
{
    Line line;
    line.raw = raw;
    QString text = latin1_ ? QString::fromLatin1(raw) : QString::fromUtf8(raw);
    text.remove(QChar(0));
    text.remove(QChar(0xFEFF)); // a byte-order mark (or a stray one) is no part of a name
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        line.kind = Kind::Blank;
        return line;
    }
    if (trimmed.startsWith(QLatin1Char(';'))) {
        line.kind = Kind::Comment;
        return line;
    }
    if (trimmed.startsWith(QLatin1Char('['))) {
        const qsizetype close = trimmed.lastIndexOf(QLatin1Char(']'));
        if (close > 0) {
            line.kind = Kind::Section;
            line.name = trimmed.mid(1, close - 1).trimmed();
            return line;
        }
        // Without its "]" the line is no header; it is read as an entry like any other line.
    }
    line.kind = Kind::Entry;
    const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
    if (equals >= 0) {
        line.hasEquals = true;
        line.name = trimmed.left(equals).trimmed();
        line.value = trimmed.mid(equals + 1).trimmed();
    } else {
        line.name = trimmed;
    }
    return line;
}

QByteArray IniDocument::encode(const QString& text) const
{
    return latin1_ ? text.toLatin1() : text.toUtf8();
}

int IniDocument::findSection(const QString& name) const
{
    const QString wanted = name.trimmed();
    if (wanted.isEmpty())
        return -1;
    for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
        if (lines_[i].kind == Kind::Section && sameName(lines_[i].name, wanted))
            return i;
    }
    return -1;
}

int IniDocument::sectionEnd(int header) const
{
    int i = header + 1;
    while (i < static_cast<int>(lines_.size()) && lines_[i].kind != Kind::Section)
        ++i;
    return i;
}

int IniDocument::findEntry(int header, const QString& key) const
{
    const QString wanted = key.trimmed();
    if (wanted.isEmpty())
        return -1;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (lines_[i].kind == Kind::Entry && sameName(lines_[i].name, wanted))
            return i;
    }
    return -1;
}

int IniDocument::insertPoint(int header) const
{
    int i = sectionEnd(header);
    while (i - 1 > header && lines_[i - 1].kind == Kind::Blank)
        --i;
    return i;
}

int IniDocument::appendSection(const QString& name)
{
    if (!lines_.empty() && lines_.back().kind != Kind::Blank)
        lines_.push_back(makeLine(QByteArray()));
    lines_.push_back(makeLine(encode(QLatin1Char('[') + name.trimmed() + QLatin1Char(']'))));
    return static_cast<int>(lines_.size()) - 1;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const
{
    const int header = findSection(section);
    if (header < 0)
        return std::nullopt;
    const int entry = findEntry(header, key);
    if (entry < 0)
        return std::nullopt;
    return withoutQuotes(lines_[entry].value);
}

std::optional<QStringList> IniDocument::section(const QString& section) const
{
    const int header = findSection(section);
    if (header < 0)
        return std::nullopt;
    QStringList entries;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const Line& line = lines_[i];
        if (line.kind != Kind::Entry)
            continue;
        entries << (line.hasEquals ? line.name + QLatin1Char('=') + line.value : line.name);
    }
    return entries;
}

QStringList IniDocument::sectionNames() const
{
    QStringList names;
    QSet<QString> seen; // folded names, so a file of many sections is listed in one pass
    for (const Line& line : lines_) {
        if (line.kind == Kind::Section && !line.name.isEmpty() && addName(seen, line.name))
            names << line.name;
    }
    return names;
}

QStringList IniDocument::keyNames(const QString& section) const
{
    QStringList names;
    const int header = findSection(section);
    if (header < 0)
        return names;
    QSet<QString> seen;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const Line& line = lines_[i];
        if (line.kind == Kind::Entry && !line.name.isEmpty() && addName(seen, line.name))
            names << line.name;
    }
    return names;
}

bool IniDocument::isWritableSectionName(const QString& name)
{
    return !name.trimmed().isEmpty() && !hasLineBreakOrNul(name);
}

bool IniDocument::isWritableKey(const QString& key)
{
    const QString trimmed = key.trimmed();
    return !trimmed.isEmpty() && !hasLineBreakOrNul(key) && !trimmed.contains(QLatin1Char('=')) &&
           !trimmed.startsWith(QLatin1Char('[')) && !trimmed.startsWith(QLatin1Char(';'));
}

bool IniDocument::isWritableValue(const QString& value)
{
    return !hasLineBreakOrNul(value);
}

bool IniDocument::setValue(const QString& section, const QString& key, const QString& value)
{
    if (!isWritableSectionName(section) || !isWritableKey(key) || !isWritableValue(value))
        return false;
    int header = findSection(section);
    if (header < 0)
        header = appendSection(section);
    const int entry = findEntry(header, key);
    if (entry >= 0) {
        // The key keeps the spelling the file has.
        lines_[entry] = makeLine(encode(lines_[entry].name + QLatin1Char('=') + value));
    } else {
        const int at = insertPoint(header);
        lines_.insert(lines_.begin() + at, makeLine(encode(key.trimmed() + QLatin1Char('=') + value)));
    }
    return true;
}

bool IniDocument::removeKey(const QString& section, const QString& key)
{
    const int header = findSection(section);
    if (header < 0 || key.trimmed().isEmpty())
        return false;
    bool removed = false;
    int entry;
    while ((entry = findEntry(header, key)) >= 0) {
        lines_.erase(lines_.begin() + entry);
        removed = true;
    }
    return removed;
}

bool IniDocument::removeSection(const QString& section)
{
    bool removed = false;
    int header;
    while ((header = findSection(section)) >= 0) {
        lines_.erase(lines_.begin() + header, lines_.begin() + sectionEnd(header));
        removed = true;
    }
    return removed;
}

bool IniDocument::replaceSection(const QString& section, const QStringList& entries)
{
    if (!isWritableSectionName(section))
        return false;
    for (const QString& entry : entries) {
        const QString trimmed = entry.trimmed();
        if (hasLineBreakOrNul(entry) || trimmed.startsWith(QLatin1Char('[')))
            return false;
    }
    int header = findSection(section);
    if (header < 0)
        header = appendSection(section);
    const int end = insertPoint(header);
    lines_.erase(lines_.begin() + header + 1, lines_.begin() + end);
    int at = header + 1;
    for (const QString& entry : entries) {
        if (entry.trimmed().isEmpty())
            continue;
        lines_.insert(lines_.begin() + at, makeLine(encode(entry)));
        ++at;
    }
    return true;
}

} // namespace os
