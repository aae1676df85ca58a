// Saves on a full disk, files written as a pair, and readers that refuse what is not a regular file.

#include "common/small_file_system.h"
#include "platform/os/files.h"
#include "platform/os/ini_profile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Sizes below the write buffer of the file classes (about 16 kB) fail only at the flush; larger ones
// already at the write.
TEST(FullDisk, AWholeFileSaveFailsAndKeepsTheOldFileForEverySize)
{
    for (const int size : {1, 100, 4095, 8000, 16383, 16385, 100000}) {
        SCOPED_TRACE(size);
        testing_fs::SmallFileSystem fs;
        SKIP_WITHOUT_SMALL_FILE_SYSTEM(fs);
        const QString path = fs.path(QStringLiteral("settings.stp"));
        const QByteArray old = QByteArray("the good old file\r\n").repeated(50);
        put(path, old);
        fs.fill();
        EXPECT_FALSE(os::writeWholeFile(path, QByteArray(size, 'n')));
        EXPECT_EQ(contentOf(path), old) << "the old file stays byte for byte";
        EXPECT_EQ(QDir(fs.folder()).entryList(QDir::Files | QDir::Hidden).size(), 2)
            << "no half-written file is left beside it";
        fs.makeRoom();
        EXPECT_TRUE(os::writeWholeFile(path, QByteArray(size, 'n')));
        EXPECT_EQ(contentOf(path), QByteArray(size, 'n'));
    }
}

TEST(FullDisk, AnIniWriteFailsAndKeepsEverySetting)
{
    testing_fs::SmallFileSystem fs;
    SKIP_WITHOUT_SMALL_FILE_SYSTEM(fs);
    const QString ini = fs.path(QStringLiteral("ModVectorGen.ini"));
    const QByteArray old =
        "[QAM Vector Generator]\r\nPath=\\Tovrindir\\Tovrin.exe\r\nParameterFile=p.txt\r\n";
    put(ini, old);
    fs.fill();
    EXPECT_FALSE(os::WritePrivateProfileString(QStringLiteral("QAM Vector Generator"), QStringLiteral("Path"),
                                               QStringLiteral("elsewhere.exe"), ini));
    EXPECT_FALSE(
        os::WritePrivateProfileSection(QStringLiteral("New"), QStringList{QStringLiteral("a=1")}, ini));
    EXPECT_EQ(contentOf(ini), old);
    EXPECT_EQ(os::GetPrivateProfileString(QStringLiteral("QAM Vector Generator"), QStringLiteral("Path"),
                                          QString(), ini),
              QStringLiteral("\\Tovrindir\\Tovrin.exe"));
}

TEST(FullDisk, FilesWrittenTogetherAreAllOrNoneReplaced)
{
    testing_fs::SmallFileSystem fs;
    SKIP_WITHOUT_SMALL_FILE_SYSTEM(fs);
    const QString first = fs.path(QStringLiteral("RegMapFile.txt"));
    const QString second = fs.path(QStringLiteral("SimParmFile.txt"));
    put(first, "old map\r\n");
    put(second, "old parameters\r\n");
    fs.fill();
    EXPECT_FALSE(os::writeFilesTogether({{first, "new map\r\n"}, {second, "new parameters\r\n"}}));
    EXPECT_EQ(contentOf(first), QByteArray("old map\r\n"));
    EXPECT_EQ(contentOf(second), QByteArray("old parameters\r\n"));
    EXPECT_EQ(QDir(fs.folder()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    fs.makeRoom();
    EXPECT_TRUE(os::writeFilesTogether({{first, "new map\r\n"}, {second, "new parameters\r\n"}}));
    EXPECT_EQ(contentOf(first), QByteArray("new map\r\n"));
    EXPECT_EQ(contentOf(second), QByteArray("new parameters\r\n"));
    EXPECT_EQ(QDir(fs.folder()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "nothing left over";
}

TEST(FilesTogether, AFolderInEitherPlaceStopsBothAndANewPairNeedsNoOldOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString first = dir.filePath(QStringLiteral("a.txt"));
    const QString second = dir.filePath(QStringLiteral("b.txt"));
    for (const QString& blocked : {first, second}) {
        SCOPED_TRACE(blocked.toStdString());
        put(first, "old a");
        put(second, "old b");
        ASSERT_TRUE(QFile::remove(blocked));
        ASSERT_TRUE(QDir().mkpath(blocked));
        EXPECT_FALSE(os::writeFilesTogether({{first, "new a"}, {second, "new b"}}));
        const QString other = blocked == first ? second : first;
        EXPECT_EQ(contentOf(other), blocked == first ? QByteArray("old b") : QByteArray("old a"));
        EXPECT_TRUE(QFileInfo(blocked).isDir());
        ASSERT_TRUE(QDir(blocked).removeRecursively());
    }
    QFile::remove(first);
    QFile::remove(second);
    EXPECT_TRUE(os::writeFilesTogether({{first, "new a"}, {second, "new b"}}));
    EXPECT_EQ(contentOf(first), QByteArray("new a"));
    EXPECT_EQ(contentOf(second), QByteArray("new b"));
}

// What the readers are handed in place of a file: none of it is opened (a named pipe without a writer
// would block the open, a device would never end).
class NotAFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        pipe = dir.filePath(QStringLiteral("pipe.txt"));
        ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
        folder = dir.filePath(QStringLiteral("folder.txt"));
        ASSERT_TRUE(QDir().mkpath(folder));
        link = dir.filePath(QStringLiteral("zero.txt"));
        ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), link));
    }
    QTemporaryDir dir;
    QString pipe, folder, link;
};

TEST_F(NotAFile, IsRefusedByEveryReader)
{
    for (const QString& path :
         {pipe, folder, link, QStringLiteral("/dev/zero"), QStringLiteral("/dev/null")}) {
        SCOPED_TRACE(path.toStdString());
        QFile file(path);
        EXPECT_FALSE(os::openRegularFile(file));
        EXPECT_FALSE(file.isOpen());
        EXPECT_FALSE(os::readWholeFile(path, 1024).has_value());
        EXPECT_EQ(os::GetPrivateProfileString(QStringLiteral("s"), QStringLiteral("k"),
                                              QStringLiteral("dflt"), path),
                  QStringLiteral("dflt"));
        EXPECT_TRUE(os::GetPrivateProfileSectionNames(path).isEmpty());
        EXPECT_FALSE(os::WritePrivateProfileString(QStringLiteral("s"), QStringLiteral("k"),
                                                   QStringLiteral("v"), path));
    }
    EXPECT_TRUE(QFileInfo(pipe).exists()) << "the named pipe is left as it was";
}

TEST(WholeFileRead, TakesAFileUpToItsLimitAndNoMore)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("error_file.txt"));
    put(path, QByteArray(1000, 'x'));
    EXPECT_EQ(os::readWholeFile(path, 1000), QByteArray(1000, 'x'));
    EXPECT_FALSE(os::readWholeFile(path, 999).has_value());
    put(path, QByteArray());
    EXPECT_EQ(os::readWholeFile(path, 10), QByteArray());
    EXPECT_FALSE(os::readWholeFile(dir.filePath(QStringLiteral("missing.txt")), 10).has_value());
}

} // namespace
