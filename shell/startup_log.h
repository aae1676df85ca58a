#pragma once

// "startup.log" in the program folder: created anew at each start, three head lines, then one line per
// status line. Lines end in carriage return and line feed and reach the disk at once, so the log can be
// read while the program runs. A log that cannot be created is skipped (an old one that cannot be opened,
// or one that is also another file's name, is removed first), and a line that cannot be written ends the
// log: writing then does nothing. Only a regular file is a log: a link is never followed (its target is
// never emptied), and a named pipe or a device is neither waited for nor written; start-up goes on
// without the log.

#include <QFile>
#include <QString>

class StartupLog {
public:
    static inline const QString kFileName = QStringLiteral("startup.log");

    // Creates (truncates) the log in `folder` and writes the title line, "Created: " with the date and
    // time in the system's short formats, and an empty line. False when the file cannot be created, with
    // errorText().
    bool open(const QString& folder, const QString& applicationTitle);
    // Why the last open failed: the log's path and the reason.
    const QString& errorText() const { return errorText_; }
    void writeLine(const QString& line);
    // Closes this log only; nothing else the program has open.
    void close();
    bool isOpen() const { return file_.isOpen(); }

    // The second head line for a date and time of day.
    static QString createdLine(const QDate& date, const QTime& time);

private:
    QFile file_;
    QString errorText_;
};
