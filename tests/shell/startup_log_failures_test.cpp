// "startup.log" on a disk that fills up: the log is emptied at the start, and the first line that does
// not fit ends it.

#include "common/small_file_system.h"
#include "shell/startup_log.h"

#include <QFile>
#include <gtest/gtest.h>

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
    // A line longer than what is left of the log's last block of the disk.
    log.writeLine(QStringLiteral("   ") + QString(10000, QLatin1Char('x')));
    EXPECT_FALSE(log.isOpen());
    fs.makeRoom();
    log.writeLine(QStringLiteral("Software Ready!"));
    EXPECT_EQ(contentOf(path), head + "Checking for USB Drivers...\r\n")
        << "neither a part of the line that failed nor any later line";
}

} // namespace
