#include "shell/startup_log.h"

#include "platform/ui/app.h"

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QTime>

bool StartupLog::open(const QString& folder, const QString& applicationTitle)
{
    close();
    file_.setFileName(QDir(folder).filePath(kFileName));
    // Unbuffered, so that a line that cannot be written is known at once and nothing of it is left to
    // be written later.
    constexpr QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered;
    if (!file_.open(mode)) {
        // The last start's log must not pass for this one's: a file that cannot be opened for writing
        // is removed, and created anew where that is possible.
        QFile::remove(file_.fileName());
        if (!file_.open(mode))
            return false;
    }
    // The time of day comes from the program's clock, the same one every wait of the program uses.
    const QTime now = QTime::fromMSecsSinceStartOfDay(static_cast<int>(ui::clockMilliseconds()));
    writeLine(applicationTitle + QStringLiteral(" Startup Log File"));
    writeLine(createdLine(QDate::currentDate(), now));
    writeLine(QString());
    return true;
}

QString StartupLog::createdLine(const QDate& date, const QTime& time)
{
    const QLocale locale;
    return QStringLiteral("Created: ") + locale.toString(date, QLocale::ShortFormat) + QStringLiteral("  ") +
           locale.toString(time, QLocale::ShortFormat);
}

void StartupLog::writeLine(const QString& line)
{
    if (!file_.isOpen())
        return;
    const QByteArray bytes = line.toUtf8() + QByteArrayLiteral("\r\n");
    // A line that cannot be written whole (a full disk) ends the log, without the part of it that was
    // written: later lines would only stand after a gap. Start-up goes on without it.
    const qint64 end = file_.pos();
    if (file_.write(bytes) != bytes.size()) {
        file_.resize(end);
        close();
    }
}

void StartupLog::close()
{
    if (file_.isOpen())
        file_.close();
}
