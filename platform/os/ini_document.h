#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace os {

// One INI file in memory, read and changed with the classic private-profile rules:
// - a line "[name]" (blanks around allowed; the name ends at the last "]") starts a section;
// - in a section, "key=value" is an entry (key up to the first "="); a line without "=" is a key with an
//   empty value; lines starting with ";" are comments; blank lines separate;
// - section and key names compare without regard to case, and blanks around names and values are
//   trimmed; a value enclosed in a matching pair of quotes loses them when read as a string;
// - the first section of a name and its first entry of a key count; lines before any section belong to
//   none.
// Any bytes parse (LF, CR LF or CR line ends; text in UTF-8, or else Latin-1; NUL bytes dropped); lines
// nobody changes are written back byte for byte, every line ended by CR LF.
class IniDocument {
public:
    static IniDocument parse(const QByteArray& bytes);
    QByteArray serialize() const;

    // The value of the key (trimmed, quotes removed), or nothing when the section or key is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;
    // The section's entries, "key=value" (or "key" for a line without "="), in file order; nothing when
    // the section is missing.
    std::optional<QStringList> section(const QString& section) const;
    QStringList sectionNames() const;
    QStringList keyNames(const QString& section) const;

    // Sets the key's value (the value as given), adding the key and the section when missing.
    // False, changing nothing, for a name or value that cannot be written on one line.
    bool setValue(const QString& section, const QString& key, const QString& value);
    // Removes every entry of the key from the section; true when something was removed.
    bool removeKey(const QString& section, const QString& key);
    // Removes every section of the name with all its lines; true when something was removed.
    bool removeSection(const QString& section);
    // Replaces the section's lines by `entries` (each written as given), adding the section when missing.
    // False, changing nothing, when an entry or the name cannot be written.
    bool replaceSection(const QString& section, const QStringList& entries);

    // Whether a section name, key or value can be stored.
    static bool isWritableSectionName(const QString& name);
    static bool isWritableKey(const QString& key);
    static bool isWritableValue(const QString& value);

private:
    enum class Kind { Other, Section, Entry, Comment, Blank };
    struct Line {
        QByteArray raw; // as read (without its line end) or as we made it
        Kind kind = Kind::Other;
        QString name;  // section name or key, trimmed
        QString value; // entry value, trimmed; empty for others
        bool hasEquals = false;
    };

    Line makeLine(const QByteArray& raw) const;
    QByteArray encode(const QString& text) const;
    // Index of the first header of the section, or -1; the end of a section is the next header.
    int findSection(const QString& name) const;
    int sectionEnd(int header) const;
    int findEntry(int header, const QString& key) const;
    int appendSection(const QString& name);
    // Where a new line of the section goes: after its last non-blank line.
    int insertPoint(int header) const;

    std::vector<Line> lines_;
    bool latin1_ = false; // the file was not UTF-8: new text is written as Latin-1 too
};

} // namespace os
