#include "platform/os/locale_ids.h"
#include "platform/os/os_test_doubles.h"
#include "platform/os/program_folder.h"
#include "platform/os/shell_open.h"
#include "platform/os/sounds.h"
#include "platform/runtime/locale_info.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

class OsServices : public ::testing::Test {
protected:
    void SetUp() override
    {
        os::testing::installTestDoubles();
        os::testing::resetTestDoubles();
    }
    void TearDown() override { os::testing::resetTestDoubles(); }
};

struct OpenCase {
    const char* target;
    const char* parameters;
    os::OpenKind kind;
    const char* recordedTarget;
};

class ShellClassify : public ::testing::TestWithParam<OpenCase> {};

TEST_P(ShellClassify, SortsTargetsByWhatOpensThem)
{
    const OpenCase& c = GetParam();
    const os::OpenRequest request = os::classifyOpen(QString::fromUtf8(c.target), QStringLiteral("/prog"),
                                                     QString::fromUtf8(c.parameters), 1);
    EXPECT_EQ(request.kind, c.kind);
    EXPECT_EQ(request.target, QString::fromUtf8(c.recordedTarget));
    EXPECT_EQ(request.folder, QStringLiteral("/prog"));
}

INSTANTIATE_TEST_SUITE_P(
    Targets, ShellClassify,
    ::testing::Values(OpenCase{"http://www.example.com", "", os::OpenKind::Url, "http://www.example.com"},
                      OpenCase{" https://x.org/a ", "", os::OpenKind::Url, "https://x.org/a"},
                      OpenCase{"mailto:someone@example.com", "", os::OpenKind::Url,
                               "mailto:someone@example.com"},
                      OpenCase{"C:\\data\\file.txt", "", os::OpenKind::Document, "C:\\data\\file.txt"},
                      OpenCase{"RAMDump.txt", "", os::OpenKind::Document, "RAMDump.txt"},
                      OpenCase{"notepad", "sim.txt", os::OpenKind::TextViewer, "sim.txt"},
                      OpenCase{"C:\\WINDOWS\\Notepad.exe", " a.txt ", os::OpenKind::TextViewer, "a.txt"}));

TEST_F(OsServices, ShellOpenGoesToTheInstalledServiceAndReportsItsAnswer)
{
    auto& shell = os::testing::shellRecorder();
    EXPECT_TRUE(os::shellOpen(QStringLiteral("http://www.example.com")));
    shell.result = false;
    EXPECT_FALSE(os::shellOpen(QStringLiteral("report.txt"), QStringLiteral("/data"), QString(), 3));
    ASSERT_EQ(shell.requests.size(), 2u);
    EXPECT_EQ(shell.requests[0].kind, os::OpenKind::Url);
    EXPECT_EQ(shell.requests[1].kind, os::OpenKind::Document);
    EXPECT_EQ(shell.requests[1].showCommand, 3);
}

TEST_F(OsServices, StartDetachedSendsNotepadToTheTextViewer)
{
    auto& shell = os::testing::shellRecorder();
    EXPECT_TRUE(os::startDetached(QStringLiteral("C:\\WINDOWS\\Notepad.exe /prog/RAMDump.txt")));
    EXPECT_TRUE(os::startDetached(QStringLiteral("tool \"a b\" c"), QStringLiteral("/work")));
    EXPECT_FALSE(os::startDetached(QStringLiteral("  ")));
    ASSERT_EQ(shell.requests.size(), 2u);
    EXPECT_EQ(shell.requests[0].kind, os::OpenKind::TextViewer);
    EXPECT_EQ(shell.requests[0].target, QStringLiteral("/prog/RAMDump.txt"));
    EXPECT_EQ(shell.requests[1].kind, os::OpenKind::Program);
    EXPECT_EQ(shell.requests[1].target, QStringLiteral("tool"));
    EXPECT_EQ(shell.requests[1].parameters, QStringLiteral("\"a b\" c"));
    EXPECT_EQ(shell.requests[1].folder, QStringLiteral("/work"));
}

TEST_F(OsServices, SoundsAreRecordedByName)
{
    os::playSystemSound(QStringLiteral("SystemQuestion"));
    os::playSystemSound(QStringLiteral("SystemExclamation"));
    EXPECT_EQ(os::testing::soundRecorder().played,
              (QStringList{QStringLiteral("SystemQuestion"), QStringLiteral("SystemExclamation")}));
    os::testing::soundRecorder().soundDevice = false;
    EXPECT_FALSE(os::hasSoundDevice());
    os::testing::resetTestDoubles();
    EXPECT_TRUE(os::testing::soundRecorder().played.isEmpty());
}

TEST_F(OsServices, ProgramFolderIsOverriddenInTestsAndFallsBackToTheExecutable)
{
    EXPECT_EQ(os::programFolder(), os::testing::testProgramFolder());
    EXPECT_FALSE(os::programFolder().isEmpty());
    os::setProgramFolder(QStringLiteral("/some/folder/"));
    EXPECT_EQ(os::programFolder(), QStringLiteral("/some/folder"));
    os::setProgramFolder(QString());
    EXPECT_EQ(os::programFolder(), QCoreApplication::applicationDirPath());
    EXPECT_EQ(os::executableName(), QStringLiteral("test_os"));
}

TEST_F(OsServices, LocaleTextsOfTheUserFollowTheNumberLocale)
{
    os::setUserLocale(QLocale(QLocale::German, QLocale::Germany));
    rt::ScopedNumberLocale comma(QLatin1Char(','), QStringLiteral("-"));
    const uint32_t user = os::userDefaultLcid();
    EXPECT_GT(user, 1u);
    EXPECT_EQ(os::localeInfo(user, os::kLocaleDecimalSeparator), QStringLiteral(","));
    EXPECT_EQ(os::localeInfo(user, os::kLocaleNegativeSign), QStringLiteral("-"));
    EXPECT_EQ(os::localeInfo(user, os::kLocaleEnglishCountryName), QStringLiteral("Germany"));
    EXPECT_EQ(os::localeInfo(user, 0x7777), QString());

    const uint32_t us = os::lcidOf(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(os::localeInfo(us, os::kLocaleDecimalSeparator), QStringLiteral("."));
    EXPECT_EQ(os::localeInfo(us, os::kLocaleEnglishCountryName), QStringLiteral("United States"));
    EXPECT_EQ(os::localeInfo(0xFFFFFFFFu, os::kLocaleDecimalSeparator), QString());
    EXPECT_EQ(os::localeInfo(0, os::kLocaleDecimalSeparator), QString());
}

} // namespace
