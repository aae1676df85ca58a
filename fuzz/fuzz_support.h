#pragma once

// What every fuzz target shares: the input written as a file the reader opens by name, and a check that
// stops the run (libFuzzer reports it) when a property of an accepted file does not hold.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace fuzzsupport {

inline void check(bool condition)
{
    if (!condition)
        std::abort();
}

// The folder of the run's files: in memory where the system has such a file system, since the saves of
// the readers under test sync every file to the disk, and a sync per input would cost most of the run.
inline QString scratchFolderTemplate()
{
    const QString memory = QStringLiteral("/dev/shm");
    if (QFileInfo(memory).isDir() && QFileInfo(memory).isWritable())
        return memory + QStringLiteral("/tessaron-fuzz-XXXXXX");
    return QDir::tempPath() + QStringLiteral("/tessaron-fuzz-XXXXXX");
}

// Writes the input to `fileName` in a temporary folder kept for the run; the path, or an empty text
// when the file cannot be written.
inline QString writeInput(const QString& fileName, const uint8_t* data, size_t size)
{
    static QTemporaryDir dir(scratchFolderTemplate());
    const QString path = dir.filePath(fileName);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    return path;
}

} // namespace fuzzsupport
