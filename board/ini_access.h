#pragma once

// IniAccess: one INI file and a default section, read and written through the private-profile functions.

#include <QString>
#include <cstdint>
#include <optional>

class IniAccess {
public:
    // FileName: the executable's name followed by ".ini"; AppName: the executable's name without its
    // extension. There is no Windows folder here: a FileName without a folder means a file of that name in
    // the program folder (which stands in for it everywhere).
    IniAccess();

    // The key's value in `section` (AppName when no section is given), whole however long it is; the
    // default text exactly when the file, the section or the key is missing.
    QString GetPPString(const QString& key, const QString& defaultValue,
                        const std::optional<QString>& section = std::nullopt) const;
    // The key's value in AppName as a whole number; the default when missing or empty.
    int32_t GetPPLongInt(const QString& key, int32_t defaultValue) const;
    // Writes key=value into `section` (AppName when none is given), creating file, section and key as
    // needed; an empty value is written as empty. False when the file could not be written (the old file
    // then stays as it was) or the key or value cannot be stored on one line.
    bool WritePPString(const QString& key, const QString& value,
                       const std::optional<QString>& section = std::nullopt) const;
    // AppName's entries ("key=value") joined by CR LF, followed by one NUL; empty when the section is
    // missing or empty.
    QString GetPPSection() const;
    // Replaces AppName's entries with the data: entries separated by NUL characters. False as above.
    bool WritePPSection(const QString& sectionData) const;

    QString FileName() const { return fileName_; }
    void setFileName(const QString& fileName) { fileName_ = fileName; }
    QString AppName() const { return appName_; }
    void setAppName(const QString& appName) { appName_ = appName; }

    // The file the calls use: FileName, in the program folder when it names no folder.
    QString resolvedFileName() const;

private:
    QString sectionOr(const std::optional<QString>& section) const { return section ? *section : appName_; }

    QString fileName_;
    QString appName_;
};
