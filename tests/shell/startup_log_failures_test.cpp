// "startup.log" on a disk that fills up: the log is emptied at the start, and the first line that does
// not fit ends it, which is said once on the standard error. A "startup.log" that is no file of its own (a
// named pipe, a link, another file's second name) is never waited for and never empties another file.

#include "common/small_file_system.h"
#include "shell/startup_log.h"

#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(StartupLogOnAFullDisk, TheFirstLineThatDoesNotFitEndsTheLogWithoutAPartOfIt)
{
    testing_fs::SmallFileSystem fs;
    SKIP_WITHOUT_SMALL_FILE_SYSTEM(fs);
    const QString path = fs.path(StartupLog::kFileName);
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray("a line of the last start\r\n").repeated(400));
    }
    StartupLog log;
    ASSERT_TRUE(log.open(fs.folder(), QStringLiteral("ZR4470 Evaluation Software")));
    const QByteArray head = contentOf(path);
    EXPECT_TRUE(head.startsWith("ZR4470 Evaluation Software Startup Log File\r\nCreated: "));
    EXPECT_FALSE(head.contains("last start")) << "nothing of the last start's log is left";
    log.writeLine(QStringLiteral("Checking for USB Drivers..."));
    fs.fill();
    testing::internal::CaptureStderr();
    // A line longer than what is left of the log's last block of the disk.
    log.writeLine(QStringLiteral("   ") + QString(10000, QLatin1Char('x')));
    EXPECT_FALSE(log.isOpen());
    log.writeLine(QStringLiteral("Searching for Evaluation Board..."));
    fs.makeRoom();
    log.writeLine(QStringLiteral("Software Ready!"));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(contentOf(path), head + "Checking for USB Drivers...\r\n")
        << "neither a part of the line that failed nor any later line";
    const std::string expected = path.toStdString() + ": No space left on device: the start-up log ends";
    EXPECT_EQ(said.find(expected), said.rfind(expected)) << "said once: " << said;
    EXPECT_NE(said.find(expected), std::string::npos) << said;
}

TEST(StartupLogOnAFullDisk, AFileThatTakesNoLineIsSaidOnceAndStartUpGoesOn)
{
    // A device that fails every write, standing for the log's file on a disk that is already full.
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (full < 0)
        GTEST_SKIP() << "no /dev/full here";
    StartupLog log;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(log.openOn(full, QStringLiteral("/programs/tessaron/startup.log"),
                            QStringLiteral("ZR4470 Evaluation Software")));
    for (const char* line : {"Checking for USB Drivers...", "   USB Driver Found.", "Software Ready!"})
        log.writeLine(QString::fromLatin1(line));
    const QString said = QString::fromStdString(testing::internal::GetCapturedStderr());
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(said.count(QStringLiteral("startup.log")), 1) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("/programs/tessaron/startup.log: No space left on device: the "
                                             "start-up log ends before the line \"ZR4470 Evaluation Software "
                                             "Startup Log File\".")))
        << said.toStdString();
    EXPECT_EQ(log.errorText(), QStringLiteral("/programs/tessaron/startup.log: No space left on device"));
}

TEST(StartupLogThatIsNoFileOfItsOwn, IsNeverWaitedForAndNeverEmptiesAnotherFile)
{
    enum class Kind { PipeNobodyReads, PipeSomeoneReads, LinkToAFile, LinkToNothing, SecondNameOfAFile };
    const struct {
        Kind kind;
        const char* what;
        bool logged; // the log is written (to a file of its own)
    } cases[] = {
        {Kind::PipeNobodyReads, "a named pipe nobody reads", false},
        {Kind::PipeSomeoneReads, "a named pipe someone reads", false},
        {Kind::LinkToAFile, "a link to another file", false},
        {Kind::LinkToNothing, "a link to a missing file", false},
        {Kind::SecondNameOfAFile, "another file's second name", true},
    };
    const QByteArray otherContent = "another program's settings\r\n";
    for (const auto& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QByteArray log = QFile::encodeName(dir.filePath(StartupLog::kFileName));
        const QString other = dir.filePath(QStringLiteral("settings.ini"));
        if (c.kind != Kind::LinkToNothing) {
            QFile file(other);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(otherContent);
        }
        int reader = -1;
        switch (c.kind) {
        case Kind::PipeSomeoneReads:
        case Kind::PipeNobodyReads:
            ASSERT_EQ(::mkfifo(log.constData(), 0666), 0);
            if (c.kind == Kind::PipeSomeoneReads)
                reader = ::open(log.constData(), O_RDONLY | O_NONBLOCK);
            break;
        case Kind::LinkToAFile:
        case Kind::LinkToNothing:
            ASSERT_EQ(::symlink(QFile::encodeName(other).constData(), log.constData()), 0);
            break;
        case Kind::SecondNameOfAFile:
            ASSERT_EQ(::link(QFile::encodeName(other).constData(), log.constData()), 0);
            break;
        }

        StartupLog startupLog;
        EXPECT_EQ(startupLog.open(dir.path(), QStringLiteral("ZR4470 Evaluation Software")), c.logged)
            << c.what;
        startupLog.writeLine(QStringLiteral("Checking for USB Drivers..."));
        startupLog.close();
        if (!c.logged) {
            EXPECT_TRUE(startupLog.errorText().contains(QStringLiteral("startup.log"))) << c.what;
        }
        if (c.kind == Kind::LinkToNothing) {
            EXPECT_FALSE(QFile::exists(other)) << c.what << ": nothing is created through the link";
        } else {
            EXPECT_EQ(contentOf(other), otherContent) << c.what;
        }
        if (reader >= 0) {
            char byte = 0;
            EXPECT_EQ(::read(reader, &byte, 1), 0) << c.what << ": nothing went into the pipe";
            ::close(reader);
        }
        struct stat info = {};
        ASSERT_EQ(::lstat(log.constData(), &info), 0) << c.what;
        if (c.logged) {
            EXPECT_TRUE(S_ISREG(info.st_mode) && info.st_nlink == 1) << c.what << ": a file of its own";
            EXPECT_TRUE(
                contentOf(QFile::decodeName(log)).endsWith("\r\n\r\nChecking for USB Drivers...\r\n"));
        } else {
            EXPECT_FALSE(S_ISREG(info.st_mode)) << c.what << ": left as it was";
        }
    }
}

} // namespace
