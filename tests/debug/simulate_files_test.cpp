// SIMULATE's file pair in the program folder: the permissions the old files had, names that never go
// missing when the program dies between two steps of the write, and what such a death left cleaned away.

#include "debug_fixture.h"

#include "debug/frm_debug.h"

#include "platform/os/files.h"

#include <QApplication>
#include <QDir>
#include <sys/stat.h>

namespace {

using namespace debugtest;

mode_t modeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

class SimulateFiles : public DebugWindowTest {
protected:
    void SetUp() override
    {
        mdi->Show();
        ui::form<frmDebug>().Show();
        QApplication::setActiveWindow(mdi->frameWidget()->window());
        setClock(QStringLiteral("1000"));
        for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(folder + QLatin1Char('/') + name);
    }
    void TearDown() override { os::testing::setTogetherStepHook({}); }
    void simulate() { ui::form<frmDebug>().cmdSimulate.click(); }
    void putOld(const QString& path, mode_t mode)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("old\r\n");
        file.close();
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
    }
    QStringList entries() const { return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    const QString folder = os::programFolder();
    const QString regMap = folder + QStringLiteral("/RegMapFile.txt");
    const QString parm = folder + QStringLiteral("/SimParmFile.txt");
    const QStringList pair{QStringLiteral("RegMapFile.txt"), QStringLiteral("SimParmFile.txt")};
};

TEST_F(SimulateFiles, TheNewPairKeepsTheOldFilesPermissions)
{
    const mode_t mask = ::umask(022);
    for (const mode_t old : {0644, 0640, 0664, 0600}) {
        SCOPED_TRACE(old);
        putOld(regMap, old);
        putOld(parm, old);
        simulate();
        EXPECT_EQ(modeOf(regMap), old);
        EXPECT_EQ(modeOf(parm), old);
        EXPECT_EQ(entries(), pair);
    }
    QFile::remove(regMap);
    QFile::remove(parm);
    simulate();
    EXPECT_EQ(modeOf(regMap), 0644u) << "a first pair as any new file: 0666 less the umask";
    EXPECT_EQ(modeOf(parm), 0644u);
    ::umask(mask);
    EXPECT_TRUE(prompts().isEmpty());
}

TEST_F(SimulateFiles, AProgramDyingMidWriteLeavesBothNamesAndTheNextSimulateCleansUp)
{
    for (int dieAfter = 0; dieAfter < 6; ++dieAfter) {
        SCOPED_TRACE(dieAfter);
        putOld(regMap, 0644);
        putOld(parm, 0644);
        int steps = 0;
        os::testing::setTogetherStepHook([&](os::TogetherStep, const QString&) {
            EXPECT_TRUE(QFileInfo(regMap).isFile());
            EXPECT_TRUE(QFileInfo(parm).isFile());
            return steps++ < dieAfter;
        });
        const size_t mark = boxMark();
        expectBox(
            {QStringLiteral("SIMULATE"),
             QStringLiteral("The files could not be written:\r\n") + regMap + QStringLiteral("\r\n") + parm,
             ui::vbExclamation});
        simulate();
        EXPECT_EQ(boxesSince(mark).size(), 1u);
        os::testing::setTogetherStepHook({});
        EXPECT_TRUE(QFileInfo(regMap).isFile());
        EXPECT_TRUE(QFileInfo(parm).isFile());
        EXPECT_GT(entries().size(), 2);

        simulate();
        EXPECT_EQ(entries(), pair) << "the hidden files of the death are gone";
        EXPECT_EQ(modeOf(regMap), 0644u);
        QFile written(parm);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll(), QByteArray("RegMapFile.txt\r\n1000000000.000\r\n"));
    }
}

} // namespace
