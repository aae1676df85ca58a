#include "platform/os/files.h"
#include "platform/os/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* path;
    const char* fileName;
    const char* folder;
};

class PathSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(PathSplit, SplitsAtTheLastSeparatorOfEitherKind)
{
    const SplitCase& c = GetParam();
    EXPECT_EQ(os::fileNameOf(QString::fromUtf8(c.path)), QString::fromUtf8(c.fileName));
    EXPECT_EQ(os::folderOf(QString::fromUtf8(c.path)), QString::fromUtf8(c.folder));
}

INSTANTIATE_TEST_SUITE_P(Paths, PathSplit,
                         ::testing::Values(SplitCase{"C:\\Prog\\main.exe", "main.exe", "C:\\Prog\\"},
                                           SplitCase{"/opt/prog/main.exe", "main.exe", "/opt/prog/"},
                                           SplitCase{"/opt\\mixed/dir\\file.ini", "file.ini",
                                                     "/opt\\mixed/dir\\"},
                                           SplitCase{"plain.txt", "plain.txt", ""},
                                           SplitCase{"folder/", "", "folder/"}, SplitCase{"", "", ""}));

TEST(Paths, NativePathTurnsBackslashesIntoOneSlash)
{
    EXPECT_EQ(os::toNativePath(QStringLiteral("a\\b\\\\c//d")), QStringLiteral("a/b/c/d"));
    EXPECT_EQ(os::joinPath(QStringLiteral("/prog/"), QStringLiteral("\\Simulator\\main.exe")),
              QStringLiteral("/prog/Simulator/main.exe"));
    EXPECT_EQ(os::joinPath(QString(), QStringLiteral("x\\y")), QStringLiteral("x/y"));
}

TEST(Paths, ProgramPathsFromIniFilesLieBelowTheBaseFolder)
{
    const QString base = QStringLiteral("/prog");
    EXPECT_EQ(os::resolveProgramPath(QStringLiteral("\\Tovrindir\\Tovrin.exe"), base),
              QStringLiteral("/prog/Tovrindir/Tovrin.exe"));
    EXPECT_EQ(os::resolveProgramPath(QStringLiteral("Simulator\\main.exe"), base),
              QStringLiteral("/prog/Simulator/main.exe"));
    EXPECT_EQ(os::resolveProgramPath(QStringLiteral(" .\\tool.exe "), base),
              QStringLiteral("/prog/tool.exe"));
    EXPECT_EQ(os::resolveProgramPath(QStringLiteral("/usr/bin/tool"), base), QStringLiteral("/usr/bin/tool"));
}

class FileTests : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QFile file(dir.filePath(QStringLiteral("data.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.close();
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    }
    QString at(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
    QTemporaryDir dir;
};

TEST_F(FileTests, FileExistsOnlyForFiles)
{
    EXPECT_TRUE(os::FileExists(at(QStringLiteral("data.txt"))));
    EXPECT_FALSE(os::FileExists(QString()));
    EXPECT_FALSE(os::FileExists(QStringLiteral("   ")));
    EXPECT_FALSE(os::FileExists(at(QStringLiteral("missing.txt"))));
    EXPECT_FALSE(os::FileExists(at(QStringLiteral("sub"))));
    // No wildcard expansion: "*" is a character of the name.
    EXPECT_FALSE(os::FileExists(at(QStringLiteral("*.txt"))));
    EXPECT_FALSE(os::FileExists(at(QStringLiteral("dat?.txt"))));
}

TEST_F(FileTests, DirExistsOnlyForFolders)
{
    EXPECT_TRUE(os::DirExists(at(QStringLiteral("sub"))));
    EXPECT_TRUE(os::DirExists(at(QStringLiteral("sub/"))));
    EXPECT_FALSE(os::DirExists(at(QStringLiteral("data.txt"))));
    EXPECT_FALSE(os::DirExists(QString()));
    EXPECT_FALSE(os::DirExists(at(QStringLiteral("s*"))));
}

TEST_F(FileTests, BackslashPathsNameTheSameFiles)
{
    QString classic = dir.path() + QStringLiteral("\\data.txt");
    EXPECT_TRUE(os::FileExists(classic));
    EXPECT_TRUE(os::DirExists(dir.path() + QStringLiteral("\\sub\\")));
}

} // namespace
