#include "platform/os/files.h"

#include "platform/os/paths.h"

#include <QFileInfo>

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

} // namespace os
