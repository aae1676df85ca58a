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
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
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
    file_.write(line.toUtf8());
    file_.write("\r\n", 2);
    file_.flush();
}

void StartupLog::close()
{
    if (file_.isOpen())
        file_.close();
}
