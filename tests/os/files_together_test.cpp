// Files written together as the simulator's pair is: the permissions the new files get, names that never
// go missing when the program dies between two steps, and the leftovers of such a death cleaned up.

#include "platform/os/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>

namespace {

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

mode_t modeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

void put(const QString& path, const QByteArray& bytes, mode_t mode)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
    file.close();
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : previous_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(previous_); }

private:
    mode_t previous_;
};

class ScopedStepHook {
public:
    explicit ScopedStepHook(os::TogetherStepHook hook) { os::testing::setTogetherStepHook(std::move(hook)); }
    ~ScopedStepHook() { os::testing::setTogetherStepHook({}); }
};

class PairOfFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QStringList entries() const
    {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
    bool write() const
    {
        return os::writeFilesTogether({{regMap, "new map\r\n"}, {parm, "new parameters\r\n"}});
    }

    QTemporaryDir dir;
    QString regMap = dir.filePath(QStringLiteral("RegMapFile.txt"));
    QString parm = dir.filePath(QStringLiteral("SimParmFile.txt"));
};

TEST_F(PairOfFiles, NewFilesKeepTheOldFilesPermissionsOrTakeTheUmasks)
{
    constexpr mode_t kNoOldFile = 01000;
    const struct {
        mode_t umask;
        mode_t old;
        mode_t expected;
    } cases[] = {
        {022, 0644, 0644}, {022, 0640, 0640},       {077, 0664, 0664},       {022, 0600, 0600},
        {022, 0444, 0444}, {022, kNoOldFile, 0644}, {002, kNoOldFile, 0664}, {077, kNoOldFile, 0600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << "umask " << c.umask << " old " << c.old);
        ScopedUmask umask(c.umask);
        for (const QString& file : {regMap, parm}) {
            QFile::remove(file);
            if (c.old != kNoOldFile)
                put(file, "old\r\n", c.old);
        }
        ASSERT_TRUE(write());
        EXPECT_EQ(modeOf(regMap), c.expected);
        EXPECT_EQ(modeOf(parm), c.expected);
        EXPECT_EQ(contentOf(regMap), QByteArray("new map\r\n"));
        EXPECT_EQ(entries(),
                  (QStringList{QStringLiteral("RegMapFile.txt"), QStringLiteral("SimParmFile.txt")}));
    }
}

// The program dies after each step in turn: every name that existed exists at every step, holding the
// old content or the new one whole, and the next write leaves only the two files.
TEST_F(PairOfFiles, AProgramDyingBetweenTwoStepsNeverLosesANameAndItsLeftoversGoNextTime)
{
    const QByteArray oldMap = "old map\r\n";
    const QByteArray oldParm = "old parameters\r\n";
    const int kSteps = 6; // for each of the two files: written beside, old kept, renamed
    for (int dieAfter = 0; dieAfter < kSteps; ++dieAfter) {
        SCOPED_TRACE(dieAfter);
        put(regMap, oldMap, 0644);
        put(parm, oldParm, 0640);
        int steps = 0;
        {
            ScopedStepHook hook([&](os::TogetherStep, const QString&) {
                for (const auto& [path, old, fresh] :
                     {std::tuple{regMap, oldMap, QByteArray("new map\r\n")},
                      std::tuple{parm, oldParm, QByteArray("new parameters\r\n")}}) {
                    const QByteArray now = contentOf(path);
                    EXPECT_TRUE(now == old || now == fresh)
                        << path.toStdString() << ": " << now.toStdString();
                }
                return steps++ < dieAfter;
            });
            EXPECT_FALSE(write());
        }
        EXPECT_EQ(steps, dieAfter + 1);
        EXPECT_EQ(contentOf(regMap), dieAfter >= 4 ? QByteArray("new map\r\n") : oldMap);
        EXPECT_EQ(contentOf(parm), dieAfter >= 5 ? QByteArray("new parameters\r\n") : oldParm);
        EXPECT_GT(entries().size(), 2) << "a death leaves hidden files";

        ASSERT_TRUE(write());
        EXPECT_EQ(entries(),
                  (QStringList{QStringLiteral("RegMapFile.txt"), QStringLiteral("SimParmFile.txt")}));
        EXPECT_EQ(contentOf(parm), QByteArray("new parameters\r\n"));
        EXPECT_EQ(modeOf(regMap), 0644u);
        EXPECT_EQ(modeOf(parm), 0640u);
    }
}

TEST_F(PairOfFiles, OnlyTheirOwnLeftoversAreRemoved)
{
    const struct {
        const char* name;
        bool removed;
    } cases[] = {
        {".RegMapFile.txt.a1B2c3", true},      {".RegMapFile.txt.a1B2c3.old", true},
        {".SimParmFile.txt.ZZZZZZ.old", true}, {".RegMapFile.txt.a1B2c", false},
        {".RegMapFile.txt.a1B2c3d", false},    {".RegMapFile.txt.a-B2c3", false},
        {".RegMapFile.txt.notes", false},      {"RegMapFile.txt.a1B2c3.old", false},
        {".RAMDump.txt.a1B2c3", false},        {".RegMapFile.txt.a1B2c3.bak", false},
    };
    for (const auto& c : cases)
        put(dir.filePath(QLatin1String(c.name)), "left\r\n", 0600);
    ASSERT_TRUE(write());
    const QStringList left = entries();
    for (const auto& c : cases)
        EXPECT_EQ(left.contains(QLatin1String(c.name)), !c.removed) << c.name;
    EXPECT_TRUE(left.contains(QStringLiteral("RegMapFile.txt")));
    EXPECT_TRUE(left.contains(QStringLiteral("SimParmFile.txt")));
}

} // namespace
