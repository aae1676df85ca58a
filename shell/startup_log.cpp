#include "shell/startup_log.h"

#include "platform/ui/app.h"

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QTime>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <variant>

namespace {

// Opens `path` for writing as a regular file of its own and empties it, or tells why not. A link is never
// followed and a named pipe or a device never waited for: such a file is left alone.
std::variant<int, QString> openEmptiedRegularFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    constexpr int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    const QString notRegular = QStringLiteral("not a regular file");
    const auto reason = [] { return QString::fromLocal8Bit(std::strerror(errno)); };
    struct stat info = {};
    const bool exists = ::lstat(name.constData(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode))
        return notRegular;
    int fd = ::open(name.constData(), flags, 0666);
    // The last start's log must not pass for this one's: a log that cannot be opened for writing is
    // removed and created anew where that is possible, and so is one that is also another file's name,
    // which emptying would empty too.
    if (exists && (fd < 0 || info.st_nlink > 1)) {
        if (fd >= 0)
            ::close(fd);
        if (::unlink(name.constData()) != 0)
            return reason();
        fd = ::open(name.constData(), flags | O_EXCL, 0666);
    }
    if (fd < 0)
        return reason();
    // What was opened is judged, not the name: it may have been replaced meanwhile.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return notRegular;
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status == -1 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0 || ::ftruncate(fd, 0) != 0) {
        const QString why = reason();
        ::close(fd);
        return why;
    }
    return fd;
}

} // namespace

bool StartupLog::open(const QString& folder, const QString& applicationTitle)
{
    close();
    const QString path = QDir(folder).filePath(kFileName);
    const std::variant<int, QString> opened = openEmptiedRegularFile(path);
    if (const QString* why = std::get_if<QString>(&opened))
        return notWritten(path + QStringLiteral(": ") + *why);
    return openOn(std::get<int>(opened), path, applicationTitle);
}

bool StartupLog::openOn(int descriptor, const QString& path, const QString& applicationTitle)
{
    close();
    errorText_.clear();
    path_ = path;
    // Unbuffered, so that a line that cannot be written is known at once and nothing of it is left to
    // be written later.
    if (!file_.open(descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return notWritten(path + QStringLiteral(": ") + file_.errorString());
    }
    // The time of day comes from the program's clock, the same one every wait of the program uses.
    const QTime now = QTime::fromMSecsSinceStartOfDay(static_cast<int>(ui::clockMilliseconds()));
    writeLine(applicationTitle + QStringLiteral(" Startup Log File"));
    writeLine(createdLine(QDate::currentDate(), now));
    writeLine(QString());
    return file_.isOpen();
}

bool StartupLog::notWritten(const QString& why)
{
    errorText_ = why;
    // Said where a user who started the program from a shell reads it; start-up goes on without the log.
    qWarning("%s: the start-up log is not written.", qPrintable(errorText_));
    return false;
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
    // written: later lines would only stand after a gap. Start-up goes on without it, and says so once.
    const qint64 end = file_.pos();
    const qint64 written = file_.write(bytes);
    if (written == bytes.size())
        return;
    // A write cut short tells no reason: the rest, tried once more, does.
    if (written > 0 && file_.write(bytes.mid(written)) == bytes.size() - written)
        return;
    errorText_ = path_ + QStringLiteral(": ") + file_.errorString();
    file_.resize(end);
    close();
    constexpr qsizetype kShownLength = 100;
    const QString shown = line.size() > kShownLength ? line.left(kShownLength) + QStringLiteral("...") : line;
    qWarning("%s: the start-up log ends before the line \"%s\".", qPrintable(errorText_), qPrintable(shown));
}

void StartupLog::close()
{
    if (file_.isOpen())
        file_.close();
}
