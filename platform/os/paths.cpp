#include "platform/os/paths.h"

#include <algorithm>

namespace os {

namespace {

bool isSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

qsizetype lastSeparator(const QString& path)
{
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

} // namespace

QString toNativePath(const QString& path)
{
    // Most paths are native already; they are handed back as they are (every file access passes here).
    if (!path.contains(QLatin1Char('\\')) && !path.contains(QLatin1String("//")))
        return path;
    QString result;
    result.reserve(path.size());
    for (QChar c : path) {
        if (isSeparator(c)) {
            if (!result.endsWith(QLatin1Char('/')))
                result.append(QLatin1Char('/'));
        } else {
            result.append(c);
        }
    }
    return result;
}

QString fileNameOf(const QString& path)
{
    return path.mid(lastSeparator(path) + 1);
}

QString folderOf(const QString& path)
{
    return path.left(lastSeparator(path) + 1);
}

QString joinPath(const QString& folder, const QString& relative)
{
    if (folder.isEmpty())
        return toNativePath(relative);
    if (relative.isEmpty())
        return toNativePath(folder);
    return toNativePath(folder + QLatin1Char('/') + relative);
}

QString resolveProgramPath(const QString& pathFromIni, const QString& baseFolder)
{
    QString path = pathFromIni.trimmed();
    // Files written the classic way start a path below the program folder with ""; a path that starts
    // with "/" was written on this platform and is absolute already.
    if (path.startsWith(QLatin1Char('/')))
        return toNativePath(path);
    while (path.startsWith(QLatin1String(".\\")) || path.startsWith(QLatin1String("./")))
        path = path.mid(2);
    return joinPath(baseFolder, path);
}

} // namespace os
