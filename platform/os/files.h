#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QFile;

namespace os {

// Real existence tests on the named path (both separators accepted). Nothing is expanded: "*" and "?"
// are plain characters of a name. An empty path names nothing.

// True when the path names an existing file (a link to a file counts); false for a folder.
bool FileExists(const QString& path);
// True when the path names an existing folder (a trailing separator is allowed); false for a file.
bool DirExists(const QString& path);

// Opens `file` (its name already set) for reading when it names a regular file. A device, a named pipe,
// a socket or a folder is refused before it is opened (reading one could block or never end), and once
// more after, in case the name was changed in between. False, and the file closed, when refused.
bool openRegularFile(QFile& file);

// The whole content of a regular file of at most `maxBytes` bytes; nothing when the file is missing, is
// no regular file, cannot be read or is larger.
std::optional<QByteArray> readWholeFile(const QString& path, qint64 maxBytes);

// Writes `bytes` as the file's whole content. The old file stays as it was until the new one is complete
// on the disk: false, and nothing changed, when the file cannot be created or written (a full disk
// included).
bool writeWholeFile(const QString& path, const QByteArray& bytes);

// Writes several files as one: every file gets its new content, or, when one cannot be written, none
// does and the old files all stay as they were. A new file has the old one's permissions (without an old
// one, 0666 less the umask). Every target that existed keeps its name at every moment, so a program that
// dies in the middle leaves each file old or new, never missing; the hidden files it leaves beside them
// go at the next write.
bool writeFilesTogether(const std::vector<std::pair<QString, QByteArray>>& files);

// The steps of writeFilesTogether for one target: its new content written beside it, its old file kept
// under a second name, the new file given the target's name.
enum class TogetherStep { FreshWritten, OldKept, Replaced };
// Told of each step done; false stops the write right there, as a crash would (nothing is cleaned up).
using TogetherStepHook = std::function<bool(TogetherStep step, const QString& target)>;

namespace testing {
// Installs the hook (an empty one: none).
void setTogetherStepHook(TogetherStepHook hook);
} // namespace testing

} // namespace os
