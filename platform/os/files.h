#pragma once

#include <QByteArray>
#include <QString>

namespace os {

// Real existence tests on the named path (both separators accepted). Nothing is expanded: "*" and "?"
// are plain characters of a name. An empty path names nothing.

// True when the path names an existing file (a link to a file counts); false for a folder.
bool FileExists(const QString& path);
// True when the path names an existing folder (a trailing separator is allowed); false for a file.
bool DirExists(const QString& path);

// Writes `bytes` as the file's whole content. The old file stays as it was until the new one is complete:
// false, and nothing changed, when the file cannot be created or written.
bool writeWholeFile(const QString& path, const QByteArray& bytes);

} // namespace os
