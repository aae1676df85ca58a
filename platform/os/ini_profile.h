#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace os {

// The classic private-profile functions on plain INI files (rules in ini_document.h). The file name is a
// path ("\" counts as a separator); there is no system folder: a name without a folder means the current
// folder. Files are read whole and written whole (to a new file that then replaces the old one), so a
// write that fails leaves the old file as it was. A file whose bytes have not changed since it was read last
// is not parsed again. A file larger than kIniFileMaxBytes, or one that is no regular file (a device, a
// named pipe, a folder), reads as unreadable.

inline constexpr qint64 kIniFileMaxBytes = 1024 * 1024;

// Drops what is kept of the INI file read last; the next call reads its file again.
void forgetReadIniFiles();

// The key's value, blanks around it trimmed and a surrounding pair of quotes removed; `defaultValue`
// (as given) when the file, the section or the key is missing or the file cannot be read. No length limit.
QString GetPrivateProfileString(const QString& section, const QString& key, const QString& defaultValue,
                                const QString& fileName);

// The key's value as a whole number: blanks, an optional sign and decimal digits, anything after them
// ignored ("12abc" gives 12, "abc" gives 0), held to the 32-bit range; `defaultValue` when the key is
// missing or its value is empty.
int32_t GetPrivateProfileInt(const QString& section, const QString& key, int32_t defaultValue,
                             const QString& fileName);

// The section's entries ("key=value", names and values trimmed), in file order; empty when the file or
// the section is missing.
QStringList GetPrivateProfileSection(const QString& section, const QString& fileName);
// Section names, and key names of a section, in file order (each once).
QStringList GetPrivateProfileSectionNames(const QString& fileName);
QStringList GetPrivateProfileKeyNames(const QString& section, const QString& fileName);

// Writes key=value into the section, creating the file, the section and the key as needed; a null
// `value` (QString()) deletes the key, a null `key` deletes the whole section. False when the file cannot
// be read or written or a name or value cannot be stored on one line (nothing changes then).
bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& fileName);

// Replaces every entry of the section with `entries` ("key=value" each, written as given; empty ones
// skipped), creating the file and the section as needed. False as above.
bool WritePrivateProfileSection(const QString& section, const QStringList& entries, const QString& fileName);

// The same with the classic data block: entries separated by NUL characters (a final double NUL allowed).
bool WritePrivateProfileSection(const QString& section, const QString& nulSeparatedEntries,
                                const QString& fileName);

} // namespace os
