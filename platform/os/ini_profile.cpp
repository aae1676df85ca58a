#include "platform/os/ini_profile.h"

#include "platform/os/ini_document.h"
#include "platform/os/paths.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <limits>
#include <optional>

namespace os {

namespace {

// An INI file this size is not one of ours; reading it would only cost memory.
constexpr qint64 kLargestIniFile = 64 * 1024 * 1024;

enum class ReadResult { Read, Missing, Failed };

ReadResult readFile(const QString& fileName, QByteArray& bytes)
{
    const QString path = toNativePath(fileName);
    if (path.trimmed().isEmpty())
        return ReadResult::Failed;
    const QFileInfo info(path);
    if (!info.exists())
        return ReadResult::Missing;
    if (!info.isFile() || info.size() > kLargestIniFile)
        return ReadResult::Failed;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReadResult::Failed;
    bytes = file.readAll(); // the size was checked above
    if (bytes.size() > kLargestIniFile || file.error() != QFile::NoError)
        return ReadResult::Failed;
    return ReadResult::Read;
}

std::optional<IniDocument> load(const QString& fileName)
{
    QByteArray bytes;
    if (readFile(fileName, bytes) != ReadResult::Read)
        return std::nullopt;
    return IniDocument::parse(bytes);
}

bool save(const QString& fileName, const IniDocument& document)
{
    QSaveFile file(toNativePath(fileName));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = document.serialize();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// Reads the file for a change: a missing file is an empty document, an unreadable one stops the write.
template <typename Change> bool changeFile(const QString& fileName, Change change)
{
    QByteArray bytes;
    const ReadResult read = readFile(fileName, bytes);
    if (read == ReadResult::Failed)
        return false;
    IniDocument document = IniDocument::parse(bytes);
    const std::optional<bool> changed = change(document);
    if (!changed)
        return false; // refused
    if (!*changed)
        return true; // nothing to do (a delete of what is not there)
    return save(fileName, document);
}

int32_t leadingInteger(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    int64_t magnitude = 0;
    const int64_t limit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    for (; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'); ++i) {
        magnitude = magnitude * 10 + (text.at(i).unicode() - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

} // namespace

QString GetPrivateProfileString(const QString& section, const QString& key, const QString& defaultValue,
                                const QString& fileName)
{
    const std::optional<IniDocument> document = load(fileName);
    if (!document)
        return defaultValue;
    return document->value(section, key).value_or(defaultValue);
}

int32_t GetPrivateProfileInt(const QString& section, const QString& key, int32_t defaultValue,
                             const QString& fileName)
{
    const std::optional<IniDocument> document = load(fileName);
    if (!document)
        return defaultValue;
    const std::optional<QString> value = document->value(section, key);
    if (!value || value->trimmed().isEmpty())
        return defaultValue;
    return leadingInteger(*value);
}

QStringList GetPrivateProfileSection(const QString& section, const QString& fileName)
{
    const std::optional<IniDocument> document = load(fileName);
    if (!document)
        return {};
    return document->section(section).value_or(QStringList());
}

QStringList GetPrivateProfileSectionNames(const QString& fileName)
{
    const std::optional<IniDocument> document = load(fileName);
    return document ? document->sectionNames() : QStringList();
}

QStringList GetPrivateProfileKeyNames(const QString& section, const QString& fileName)
{
    const std::optional<IniDocument> document = load(fileName);
    return document ? document->keyNames(section) : QStringList();
}

bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& fileName)
{
    if (!IniDocument::isWritableSectionName(section))
        return false;
    return changeFile(fileName, [&](IniDocument& document) -> std::optional<bool> {
        if (key.isNull())
            return document.removeSection(section);
        if (value.isNull())
            return document.removeKey(section, key);
        if (!document.setValue(section, key, value))
            return std::nullopt;
        return true;
    });
}

bool WritePrivateProfileSection(const QString& section, const QStringList& entries, const QString& fileName)
{
    return changeFile(fileName, [&](IniDocument& document) -> std::optional<bool> {
        if (!document.replaceSection(section, entries))
            return std::nullopt;
        return true;
    });
}

bool WritePrivateProfileSection(const QString& section, const QString& nulSeparatedEntries,
                                const QString& fileName)
{
    return WritePrivateProfileSection(section, nulSeparatedEntries.split(QChar(0), Qt::SkipEmptyParts),
                                      fileName);
}

} // namespace os
