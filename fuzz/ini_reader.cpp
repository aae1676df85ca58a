// Feeds arbitrary bytes to the INI reader as a file, reads every section and key back, and checks that a
// write keeps the file's other sections and gives back what was written.

#include "fuzz/fuzz_support.h"
#include "platform/os/ini_document.h"
#include "platform/os/ini_profile.h"

#include <cstdint>

using fuzzsupport::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = fuzzsupport::writeInput(QStringLiteral("fuzz.ini"), data, size);
    if (path.isEmpty())
        return 0;

    const QStringList sections = os::GetPrivateProfileSectionNames(path);
    for (const QString& section : sections) {
        const QStringList entries = os::GetPrivateProfileSection(section, path);
        for (const QString& key : os::GetPrivateProfileKeyNames(section, path)) {
            (void)os::GetPrivateProfileString(section, key, QStringLiteral("default"), path);
            (void)os::GetPrivateProfileInt(section, key, -1, path);
        }
        check(!entries.isEmpty() || os::GetPrivateProfileKeyNames(section, path).isEmpty());
    }

    // What is written reads back, and the other sections stay.
    const QString section = !sections.isEmpty() && os::IniDocument::isWritableSectionName(sections.front())
                                ? sections.front()
                                : QStringLiteral("Fuzz Section");
    const QString value = QStringLiteral("C:\\fuzz dir\\value with blanks");
    if (os::WritePrivateProfileString(section, QStringLiteral("FuzzKey"), value, path)) {
        check(os::GetPrivateProfileString(section, QStringLiteral("fuzzkey"), QString(), path) == value);
        QStringList after = os::GetPrivateProfileSectionNames(path);
        after.removeAll(QStringLiteral("Fuzz Section"));
        QStringList before = sections;
        before.removeAll(QStringLiteral("Fuzz Section"));
        check(after == before);
    }

    // Parsing what was serialized gives the same sections.
    const os::IniDocument document = os::IniDocument::parse(bytes);
    check(os::IniDocument::parse(document.serialize()).sectionNames() == document.sectionNames());
    // Nothing of this input is kept for the next one (memory kept would look like a leak).
    os::forgetReadIniFiles();
    return 0;
}
