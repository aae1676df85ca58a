#include "platform/os/child_process.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ChildProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        os::endRunningChildren(0);
    }
    void TearDown() override { os::endRunningChildren(0); }

    QString script(const QString& name, const QByteArray& body)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body);
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    // Polls until the child ends; the bound only guards the test run against a hanging child.
    static int finish(os::ChildProcess& child)
    {
        QElapsedTimer guard;
        guard.start();
        while (child.isRunning() && guard.elapsed() < 10000)
            child.waitForActivity(20);
        return child.exitCode();
    }

    QTemporaryDir dir;
};

TEST_F(ChildProcessTest, MergesOutputAndReportsTheExitCode)
{
    script(QStringLiteral("tool"), "echo out; echo err 1>&2; pwd; echo \"$1|$2\"; exit 7\n");
    os::ChildProcess child;
    ASSERT_TRUE(child.start(QStringLiteral("tool \"two words\" second"), dir.path()))
        << child.errorText().toStdString();
    EXPECT_EQ(finish(child), 7);
    const QByteArray output = child.output();
    EXPECT_TRUE(output.contains("out\n"));
    EXPECT_TRUE(output.contains("err\n"));
    EXPECT_TRUE(output.contains(dir.path().toUtf8() + "\n")); // started in the given folder
    EXPECT_TRUE(output.contains("two words|second\n"));
    EXPECT_EQ(child.totalOutputBytes(), output.size());
}

TEST_F(ChildProcessTest, ReportsStillActiveWhileRunning)
{
    script(QStringLiteral("waits"), "exec sleep 30\n");
    os::ChildProcess child;
    ASSERT_TRUE(child.start(QStringLiteral("./waits"), dir.path()));
    EXPECT_TRUE(child.isRunning());
    EXPECT_EQ(child.exitCode(), os::kStillActive);
    EXPECT_EQ(os::runningChildCount(), 1);
    child.kill();
    EXPECT_FALSE(child.isRunning());
    EXPECT_EQ(child.exitCode(), 128 + 9);
    EXPECT_EQ(os::runningChildCount(), 0);
}

TEST_F(ChildProcessTest, AProgramAskingForInputReadsAnEndOfFile)
{
    script(QStringLiteral("asks"), "echo 'Press a key'; if read answer; then exit 1; else exit 6; fi\n");
    os::ChildProcess child;
    ASSERT_TRUE(child.start(QStringLiteral("asks"), dir.path()));
    EXPECT_EQ(finish(child), 6);
}

TEST_F(ChildProcessTest, ProgramPathsWithBackslashesAndSubfolders)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Simulator")));
    script(QStringLiteral("Simulator/main.exe"), "exit 3\n");
    os::ChildProcess child;
    ASSERT_TRUE(child.start(QStringLiteral("Simulator\\main.exe"), dir.path()))
        << child.errorText().toStdString();
    EXPECT_EQ(finish(child), 3);
}

TEST_F(ChildProcessTest, ProgramsThatCannotStartAreReported)
{
    QFile plain(dir.filePath(QStringLiteral("notexec")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const struct {
        QString commandLine;
        QString folder;
        const char* errorPart;
    } cases[] = {
        {QStringLiteral("no_such_program_here"), dir.path(), "not found"},
        {QStringLiteral("./notexec"), dir.path(), "cannot be run"},
        {QStringLiteral("   "), dir.path(), "No program"},
        {QStringLiteral("sh"), dir.filePath(QStringLiteral("missing")), "Folder not found"},
    };
    for (const auto& c : cases) {
        os::ChildProcess child;
        EXPECT_FALSE(child.start(c.commandLine, c.folder)) << c.commandLine.toStdString();
        EXPECT_TRUE(child.errorText().contains(QLatin1String(c.errorPart)))
            << child.errorText().toStdString();
        EXPECT_FALSE(child.isRunning());
        EXPECT_EQ(child.exitCode(), -1);
    }
}

TEST_F(ChildProcessTest, LargeOutputNeverBlocksAndKeepsOnlyTheLimit)
{
    // 400 kB is far more than a pipe holds: the child ends only when its output is read.
    script(QStringLiteral("chatty"),
           "i=0; while [ $i -lt 4000 ]; do echo "
           "\"line $i 0123456789012345678901234567890123456789012345678901234567890123456789"
           "01234567890\"; i=$((i+1)); done; echo last\n");
    os::ChildProcess child(1000);
    ASSERT_TRUE(child.start(QStringLiteral("chatty"), dir.path()));
    QByteArray streamed;
    QElapsedTimer guard;
    guard.start();
    while (child.isRunning() && guard.elapsed() < 20000) {
        child.waitForActivity(20);
        streamed += child.takeNewOutput();
    }
    streamed += child.takeNewOutput();
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_EQ(child.output().size(), 1000);
    EXPECT_TRUE(child.output().startsWith("line 0 "));
    EXPECT_EQ(streamed.size(), child.totalOutputBytes());
    EXPECT_TRUE(streamed.endsWith("last\n"));
}

TEST_F(ChildProcessTest, OutputWrittenJustBeforeTheEndIsRead)
{
    script(QStringLiteral("burst"),
           "i=0; while [ $i -lt 300 ]; do echo \"tail line $i\"; i=$((i+1)); done\n");
    os::ChildProcess child;
    ASSERT_TRUE(child.start(QStringLiteral("burst"), dir.path()));
    EXPECT_EQ(finish(child), 0);
    EXPECT_TRUE(child.output().endsWith("tail line 299\n"));
}

TEST_F(ChildProcessTest, KeptChildrenEndWhenAskedWithinTheBound)
{
    script(QStringLiteral("stubborn"), "trap '' TERM; echo ready; while true; do sleep 1; done\n");
    script(QStringLiteral("polite"), "echo ready; exec sleep 30\n");
    for (const char* name : {"stubborn", "polite"}) {
        auto child = std::make_unique<os::ChildProcess>();
        ASSERT_TRUE(child->start(QString::fromLatin1(name), dir.path()));
        while (!child->output().contains("ready") && child->isRunning())
            child->waitForActivity(20);
        os::keepRunning(std::move(child));
    }
    EXPECT_EQ(os::runningChildCount(), 2);
    os::endRunningChildren(300); // the stubborn one ignores the request to end and is killed
    EXPECT_EQ(os::runningChildCount(), 0);
}

TEST_F(ChildProcessTest, AChildThatEndedIsNotKept)
{
    script(QStringLiteral("quick"), "exit 0\n");
    auto child = std::make_unique<os::ChildProcess>();
    ASSERT_TRUE(child->start(QStringLiteral("quick"), dir.path()));
    finish(*child);
    os::keepRunning(std::move(child));
    EXPECT_EQ(os::runningChildCount(), 0);
}

} // namespace
