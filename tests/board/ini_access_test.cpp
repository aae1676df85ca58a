#include "board/ini_access.h"

#include "platform/os/program_folder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IniAccessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        previousFolder = os::programFolder();
        os::setProgramFolder(dir.path());
        ini.setFileName(dir.path() + QStringLiteral("\\SimulatorSetup.ini"));
        ini.setAppName(QStringLiteral("ZR4470 Simulator"));
    }
    void TearDown() override { os::setProgramFolder(previousFolder); }

    QByteArray fileBytes(const QString& name = QStringLiteral("SimulatorSetup.ini")) const
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString previousFolder;
    IniAccess ini;
};

TEST_F(IniAccessTest, AFreshInstanceUsesTheExecutableNameInTheProgramFolder)
{
    const IniAccess fresh;
    const QString executable = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    EXPECT_EQ(fresh.FileName(), executable + QStringLiteral(".ini"));
    EXPECT_EQ(fresh.AppName(), QFileInfo(executable).completeBaseName());
    EXPECT_EQ(fresh.resolvedFileName(), dir.path() + QLatin1Char('/') + executable + QStringLiteral(".ini"));

    ASSERT_TRUE(fresh.WritePPString(QStringLiteral("Key"), QStringLiteral("v")));
    EXPECT_EQ(QFileInfo(fresh.resolvedFileName()).exists(), true);
    EXPECT_EQ(fresh.GetPPString(QStringLiteral("key"), QString()), QStringLiteral("v"));
}

TEST_F(IniAccessTest, MissingKeyGivesTheDefaultExactly)
{
    EXPECT_EQ(ini.GetPPString(QStringLiteral("DataFile"), QStringLiteral(" C:\\x y\\z.txt ")),
              QStringLiteral(" C:\\x y\\z.txt "));
    EXPECT_EQ(ini.GetPPLongInt(QStringLiteral("Count"), -3), -3);
    EXPECT_EQ(ini.GetPPSection(), QString());
}

TEST_F(IniAccessTest, WriteWithASectionGoesIntoThatSection)
{
    ASSERT_TRUE(ini.WritePPString(QStringLiteral("Path"), QStringLiteral("\\Tovrindir\\Tovrin.exe"),
                                  QStringLiteral("QAM Vector Generator")));
    EXPECT_EQ(ini.GetPPString(QStringLiteral("Path"), QStringLiteral("none")), QStringLiteral("none"));
    EXPECT_EQ(ini.GetPPString(QStringLiteral("Path"), QStringLiteral("none"),
                              QStringLiteral("qam vector generator")),
              QStringLiteral("\\Tovrindir\\Tovrin.exe"));
    EXPECT_EQ(fileBytes(), QByteArray("[QAM Vector Generator]\r\nPath=\\Tovrindir\\Tovrin.exe\r\n"));
}

TEST_F(IniAccessTest, LongValuesComeBackWhole)
{
    const QString longPath =
        QStringLiteral("C:\\") + QString(300, QLatin1Char('d')) + QStringLiteral("\\file.txt");
    ASSERT_TRUE(ini.WritePPString(QStringLiteral("RegFile"), longPath));
    EXPECT_EQ(ini.GetPPString(QStringLiteral("RegFile"), QString()), longPath);
}

TEST_F(IniAccessTest, AnEmptyValueIsWrittenNotDeleted)
{
    ASSERT_TRUE(ini.WritePPString(QStringLiteral("DataFile"), QStringLiteral("a.txt")));
    ASSERT_TRUE(ini.WritePPString(QStringLiteral("DataFile"), QString()));
    EXPECT_EQ(ini.GetPPString(QStringLiteral("DataFile"), QStringLiteral("default")), QString());
}

TEST_F(IniAccessTest, SectionIsJoinedByCrLfEndingInOneNul)
{
    ASSERT_TRUE(ini.WritePPString(QStringLiteral("a"), QStringLiteral("1")));
    ASSERT_TRUE(ini.WritePPString(QStringLiteral("b"), QStringLiteral("2")));
    ASSERT_TRUE(ini.WritePPString(QStringLiteral("c"), QStringLiteral("3")));
    EXPECT_EQ(ini.GetPPSection(), QString::fromUtf8("a=1\r\nb=2\r\nc=3\0", 14));
    EXPECT_EQ(ini.GetPPLongInt(QStringLiteral("B"), 0), 2);
}

TEST_F(IniAccessTest, LongSectionsAreNotCut)
{
    QString data;
    for (int i = 0; i < 400; ++i)
        data += QStringLiteral("Key%1=%2").arg(i).arg(QString(20, QLatin1Char('v'))) + QChar(0);
    ASSERT_TRUE(ini.WritePPSection(data + QChar(0)));
    const QString section = ini.GetPPSection();
    EXPECT_GT(section.size(), 4096);
    EXPECT_TRUE(section.endsWith(QStringLiteral("Key399=") + QString(20, QLatin1Char('v')) + QChar(0)));
}

TEST_F(IniAccessTest, WritePPSectionReplacesTheEntries)
{
    ASSERT_TRUE(ini.WritePPString(QStringLiteral("old"), QStringLiteral("1")));
    ASSERT_TRUE(ini.WritePPString(QStringLiteral("other"), QStringLiteral("x"), QStringLiteral("Keep")));
    ASSERT_TRUE(ini.WritePPSection(QString::fromUtf8("x=1\0y=2\0\0", 9)));
    EXPECT_EQ(ini.GetPPSection(), QString::fromUtf8("x=1\r\ny=2\0", 9));
    EXPECT_EQ(ini.GetPPString(QStringLiteral("other"), QString(), QStringLiteral("Keep")),
              QStringLiteral("x"));
}

TEST_F(IniAccessTest, AFailedWriteIsReportedAndLeavesNoFile)
{
    ini.setFileName(dir.path() + QStringLiteral("/missing folder/x.ini"));
    EXPECT_FALSE(ini.WritePPString(QStringLiteral("k"), QStringLiteral("v")));
    EXPECT_FALSE(ini.WritePPString(QStringLiteral("k"), QStringLiteral("two\r\nlines")));
    EXPECT_EQ(ini.GetPPString(QStringLiteral("k"), QStringLiteral("d")), QStringLiteral("d"));
}

} // namespace
