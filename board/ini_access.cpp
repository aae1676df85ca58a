#include "board/ini_access.h"

#include "platform/os/ini_profile.h"
#include "platform/os/paths.h"
#include "platform/os/program_folder.h"

IniAccess::IniAccess()
    : fileName_(os::executableName() + QStringLiteral(".ini")), appName_(os::executableBaseName())
{
}

QString IniAccess::resolvedFileName() const
{
    if (os::folderOf(fileName_).isEmpty())
        return os::joinPath(os::programFolder(), fileName_);
    return fileName_;
}

QString IniAccess::GetPPString(const QString& key, const QString& defaultValue,
                               const std::optional<QString>& section) const
{
    return os::GetPrivateProfileString(sectionOr(section), key, defaultValue, resolvedFileName());
}

int32_t IniAccess::GetPPLongInt(const QString& key, int32_t defaultValue) const
{
    return os::GetPrivateProfileInt(appName_, key, defaultValue, resolvedFileName());
}

bool IniAccess::WritePPString(const QString& key, const QString& value,
                              const std::optional<QString>& section) const
{
    // An empty text from a box is a value to write, never the request to delete the key.
    const QString written = value.isNull() ? QStringLiteral("") : value;
    if (key.isNull())
        return false;
    return os::WritePrivateProfileString(sectionOr(section), key, written, resolvedFileName());
}

QString IniAccess::GetPPSection() const
{
    const QStringList entries = os::GetPrivateProfileSection(appName_, resolvedFileName());
    if (entries.isEmpty())
        return QString();
    return entries.join(QStringLiteral("\r\n")) + QChar(0);
}

bool IniAccess::WritePPSection(const QString& sectionData) const
{
    return os::WritePrivateProfileSection(appName_, sectionData, resolvedFileName());
}
