#include "platform/os/ini_profile.h"

#include "platform/os/files.h"
#include "platform/os/ini_document.h"
#include "platform/os/paths.h"

#include <QFile>
#include <QFileInfo>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>

namespace os {

namespace {

enum class ReadResult { Read, Missing, Failed };

// The last INI file parsed, with the bytes it was parsed from: a window reads many keys of one file in a
// row, and each would otherwise parse the whole file again. The file is read on every call (a changed
// file can keep its size and time stamp), but parsed again only when its bytes differ.
struct ParsedFile {
    QString path;
    QByteArray bytes;
    std::shared_ptr<const IniDocument> document;
};

std::mutex parsedMutex;
std::optional<ParsedFile> lastParsed;

ReadResult readDocument(const QString& fileName, std::shared_ptr<const IniDocument>& document)
{
    const QString path = toNativePath(fileName);
    if (path.trimmed().isEmpty())
        return ReadResult::Failed;
    const std::optional<QByteArray> bytes = readWholeFile(path, kIniFileMaxBytes);
    if (!bytes) {
        const QFileInfo info(path);
        return !info.exists() && !info.isSymLink() ? ReadResult::Missing : ReadResult::Failed;
    }
    const std::lock_guard lock(parsedMutex);
    if (!lastParsed || lastParsed->path != path || lastParsed->bytes != *bytes)
        lastParsed =
            ParsedFile{path, *bytes, std::make_shared<const IniDocument>(IniDocument::parse(*bytes))};
    document = lastParsed->document;
    return ReadResult::Read;
}

std::shared_ptr<const IniDocument> load(const QString& fileName)
{
    std::shared_ptr<const IniDocument> document;
    if (readDocument(fileName, document) != ReadResult::Read)
        return nullptr;
    return document;
}

bool save(const QString& fileName, const IniDocument& document)
{
    const QByteArray bytes = document.serialize();
    if (bytes.size() > kIniFileMaxBytes)
        return false; // it could not be read back
    return writeWholeFile(toNativePath(fileName), bytes);
}

// Reads the file for a change: a missing file is an empty document, an unreadable one stops the write.
template <typename Change> bool changeFile(const QString& fileName, Change change)
{
    std::shared_ptr<const IniDocument> read;
    const ReadResult result = readDocument(fileName, read);
    if (result == ReadResult::Failed)
        return false;
    IniDocument document = read ? *read : IniDocument();
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

void forgetReadIniFiles()
{
    const std::lock_guard lock(parsedMutex);
    lastParsed.reset();
}

QString GetPrivateProfileString(const QString& section, const QString& key, const QString& defaultValue,
                                const QString& fileName)
{
    const std::shared_ptr<const IniDocument> document = load(fileName);
    if (!document)
        return defaultValue;
    return document->value(section, key).value_or(defaultValue);
}

int32_t GetPrivateProfileInt(const QString& section, const QString& key, int32_t defaultValue,
                             const QString& fileName)
{
    const std::shared_ptr<const IniDocument> document = load(fileName);
    if (!document)
        return defaultValue;
    const std::optional<QString> value = document->value(section, key);
    if (!value || value->trimmed().isEmpty())
        return defaultValue;
    return leadingInteger(*value);
}

QStringList GetPrivateProfileSection(const QString& section, const QString& fileName)
{
    const std::shared_ptr<const IniDocument> document = load(fileName);
    if (!document)
        return {};
    return document->section(section).value_or(QStringList());
}

QStringList GetPrivateProfileSectionNames(const QString& fileName)
{
    const std::shared_ptr<const IniDocument> document = load(fileName);
    return document ? document->sectionNames() : QStringList();
}

QStringList GetPrivateProfileKeyNames(const QString& section, const QString& fileName)
{
    const std::shared_ptr<const IniDocument> document = load(fileName);
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
