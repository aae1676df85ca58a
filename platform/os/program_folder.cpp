#include "platform/os/program_folder.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace os {

namespace {

QString& overrideFolder()
{
    static QString folder;
    return folder;
}

QString executablePath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    // Before the application object exists Qt cannot tell; the link in /proc can.
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

} // namespace

QString programFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(executablePath()).absolutePath();
}

void setProgramFolder(const QString& folder)
{
    QString cleaned = folder;
    while (cleaned.size() > 1 && cleaned.endsWith(QLatin1Char('/')))
        cleaned.chop(1);
    overrideFolder() = cleaned;
}

QString executableName()
{
    return QFileInfo(executablePath()).fileName();
}

QString executableBaseName()
{
    return QFileInfo(executablePath()).completeBaseName();
}

} // namespace os
