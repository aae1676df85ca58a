#pragma once

// "startup.log" in the program folder: created anew at each start, three head lines, then one line per
// status line. Lines end in carriage return and line feed and reach the disk at once, so the log can be
// read while the program runs. A log that cannot be created is skipped (an old one that cannot be opened,
// or one that is also another file's name, is removed first), and a line that cannot be written (a full
// disk) ends the log: writing then does nothing. Either is said once on the standard error, with the
// log's path and the reason. Only a regular file is a log: a link is never followed (its target is never
// emptied), and a named pipe or a device is neither waited for nor written; start-up goes on without the
// log.

#include <QFile>
#include <QString>

class StartupLog {
public:
    static inline const QString kFileName = QStringLiteral("startup.log");

    // Creates (truncates) the log in `folder` and writes the title line, "Created: " with the date and
    // time in the system's short formats, and an empty line. False when the file cannot be created or
    // those lines cannot be written, with errorText().
    bool open(const QString& folder, const QString& applicationTitle);
    // The same with the file already open: `descriptor`, open for writing, is the file `path` names. It is
    // taken over and closed with the log. (open() comes here once it has a file of its own; a test comes
    // here with a device that fails every write.)
    bool openOn(int descriptor, const QString& path, const QString& applicationTitle);
    // Why the log could not be opened, or why it ended early: the log's path and the reason.
    const QString& errorText() const { return errorText_; }
    void writeLine(const QString& line);
    // Closes this log only; nothing else the program has open.
    void close();
    bool isOpen() const { return file_.isOpen(); }

    // The second head line for a date and time of day.
    static QString createdLine(const QDate& date, const QTime& time);

private:
    bool notWritten(const QString& why);

    QFile file_;
    QString path_;
    QString errorText_;
};
