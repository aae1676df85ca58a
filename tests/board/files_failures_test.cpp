// The board module's files where the file system fails them: a full disk under every writer, and
// devices, named pipes, folders and endless lines under every reader.

#include "common/small_file_system.h"
#include "files_fixture.h"

#include "board/cls_ezusb.h"
#include "board/fifo_file.h"
#include "board/ram_file.h"
#include "board/regmap_file.h"
#include "board/setup_file.h"

#include "platform/ui/test_doubles.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using filestest::FilesTest;

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class FileFailures : public FilesTest {};

TEST_F(FileFailures, EveryWriterOnAFullDiskFailsAndKeepsTheOldFile)
{
    struct WriterCase {
        const char* file;
        std::function<bool(const QString&)> save;
        const char* message; // start of the one box shown, or nullptr for none
    };
    const WriterCase cases[] = {
        {"settings.stp", [](const QString& p) { return ebSaveSetupFile(p); },
         "Unable to create the setup file"},
        {"RegMapFile.txt", [](const QString& p) { return ebWriteRegMapFile(p, true); },
         "The file could not be written:"},
        {"dump.RAMData.txt",
         [](const QString& p) { return ebDumpRAMToFile(p, kRamFormatHex) == RamDumpResult::Done; }, nullptr},
    };
    for (const WriterCase& c : cases) {
        SCOPED_TRACE(c.file);
        testing_fs::SmallFileSystem fs;
        SKIP_WITHOUT_SMALL_FILE_SYSTEM(fs);
        const QString path = fs.path(QLatin1String(c.file));
        const QByteArray old = QByteArray("the good old file\r\n").repeated(20);
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(old);
        }
        fs.fill();
        if (c.message)
            ui::testing::messageBoxes().answer(ui::vbOK);
        const size_t before = ui::testing::messageBoxes().shown.size();
        EXPECT_FALSE(c.save(path));
        EXPECT_EQ(contentOf(path), old) << "byte for byte";
        ASSERT_EQ(ui::testing::messageBoxes().shown.size(), before + (c.message ? 1 : 0));
        if (c.message) {
            EXPECT_TRUE(ui::testing::messageBoxes().shown.back().prompt.startsWith(QLatin1String(c.message)));
        }
        fs.makeRoom();
        EXPECT_TRUE(c.save(path)) << "with room the same save succeeds";
        EXPECT_NE(contentOf(path), old);
    }
}

TEST_F(FileFailures, ReadersRefuseDevicesPipesFoldersAndEndlessLines)
{
    const QString pipe = path(QStringLiteral("pipe.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    const QString folder = path(QStringLiteral("folder.txt"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString zero = path(QStringLiteral("zero.txt"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    // A regular file of one line longer than any line a data file has.
    writeFile(QStringLiteral("endless.txt"), QByteArray(3 * 1024 * 1024, '1'));
    const QString endless = path(QStringLiteral("endless.txt"));
    for (const QString& p : {pipe, folder, zero, QStringLiteral("/dev/zero"), endless}) {
        SCOPED_TRACE(p.toStdString());
        EXPECT_EQ(ebCountFileLines(p), -1);
        EXPECT_FALSE(board::readFifoDataFile(p, board::kFifoFileMaxLines, false).ok());
        EXPECT_FALSE(ebLoadFIFOFile(p));
        for (int format = 0; format <= 3; ++format)
            EXPECT_EQ(ebLoadRAMFile(p, static_cast<int16_t>(format)), kRamLoadFailed);
        EXPECT_EQ(ebLoadSetupFile(p), -1);
    }
    EXPECT_EQ(bulkCount(), 0) << "nothing reached the board";
}

TEST_F(FileFailures, AGoodRamFileWithoutABoardIsNotCalledInvalid)
{
    writeFile(QStringLiteral("ramp.txt"), "1\r\n2\r\n3\r\n");
    drv.detach(0);
    EXPECT_EQ(ebLoadRAMFile(path(QStringLiteral("ramp.txt")), kRamFormatDecimal), kRamLoadNoBoard);
    writeFile(QStringLiteral("bad.txt"), "x\r\n");
    EXPECT_EQ(ebLoadRAMFile(path(QStringLiteral("bad.txt")), kRamFormatDecimal), kRamLoadFailed)
        << "a bad file is invalid with or without a board";
}

} // namespace
