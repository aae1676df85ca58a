#include "shell/sys_info_tool.h"

#include <QStandardPaths>

QStringList sysInfoToolNames()
{
    return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter")};
}

QString findSysInfoTool()
{
    for (const QString& name : sysInfoToolNames()) {
        QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}
