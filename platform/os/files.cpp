#include "platform/os/files.h"

#include "platform/os/paths.h"

#include <QFileInfo>
#include <QSaveFile>

namespace os {

bool FileExists(const QString& path)
{
    if (path.trimmed().isEmpty())
        return false;
    const QFileInfo info(toNativePath(path));
    return info.exists() && info.isFile();
}

bool DirExists(const QString& path)
{
    if (path.trimmed().isEmpty())
        return false;
    const QFileInfo info(toNativePath(path));
    return info.exists() && info.isDir();
}

bool writeWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace os
