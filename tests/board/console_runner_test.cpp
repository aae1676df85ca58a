#include "board/console_runner.h"

#include "platform/os/child_process.h"
#include "platform/ui/app.h"
#include "platform/ui/controls_textbox.h"
#include "platform/ui/test_doubles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kFirst = QStringLiteral("Running Simulator...\r\n");

class ConsoleRunner : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        os::endRunningChildren(0);
    }
    void TearDown() override { os::endRunningChildren(0); }

    // A stand-in for a console program: a shell script in the test folder.
    void script(const QString& name, const QByteArray& body)
    {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body);
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A gate a script waits at (`read go < gate`) until the test opens it: the script's output is split
    // where the test wants, whatever the speed of the machine.
    void makeGate()
    {
        ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("gate"))).constData(), 0600), 0);
    }
    // Blocks until the script reached the gate, then lets it through.
    void openGate()
    {
        const int fd = ::open(QFile::encodeName(dir.filePath(QStringLiteral("gate"))).constData(), O_WRONLY);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(::write(fd, "go\n", 3), 3);
        ::close(fd);
    }

    int32_t run(const QString& program, const QString& stopText, ui::TextBox& box)
    {
        return RunConsoleProgram(program, box, 0, std::nullopt, kFirst, stopText, dir.path());
    }

    QTemporaryDir dir;
    ui::TextBox box{nullptr, QStringLiteral("txtConsoleOutput"), -1, true};
};

TEST_F(ConsoleRunner, ReturnsTheExitCodeAndMirrorsNonBlankLines)
{
    script(QStringLiteral("main.exe"),
           "echo 'first line'; echo; echo '   '; echo 'to stderr' 1>&2; "
           "printf 'progress 10%%\\rprogress 100%%\\n'; printf 'no newline'; exit 5\n");
    EXPECT_EQ(run(QStringLiteral("main.exe"), QStringLiteral("never printed"), box), 5);
    EXPECT_EQ(box.Text(),
              kFirst + QStringLiteral("first line\r\nto stderr\r\nprogress 100%\r\nno newline\r\n"));
    EXPECT_EQ(box.SelStart(), box.Text().size());
    EXPECT_EQ(os::runningChildCount(), 0);
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
}

TEST_F(ConsoleRunner, StopTextEndsTheWaitAndTheProgramRunsOnUntilEnded)
{
    script(QStringLiteral("sim"), "echo 'Loading'; echo 'Simulation Done'; exec sleep 30\n");
    EXPECT_EQ(run(QStringLiteral("./sim"), QStringLiteral("Simulation Done"), box), kConsoleStillActive);
    EXPECT_EQ(box.Text(), kFirst + QStringLiteral("Loading\r\nSimulation Done\r\n"));
    EXPECT_EQ(os::runningChildCount(), 1);
    os::endRunningChildren(1000);
    EXPECT_EQ(os::runningChildCount(), 0);
}

TEST_F(ConsoleRunner, StopTextIsCaseSensitiveAndFoundAcrossPieces)
{
    makeGate();
    script(QStringLiteral("split"),
           "printf 'simulation done\\nSimul'; read go < gate; printf 'ation Done\\n'; exec sleep 30\n");
    // The gate opens once the first piece, ending in "Simul", was read and shown.
    bool opened = false;
    const auto gateKeeper = ui::testing::clock().startTimer(5, [&] {
        if (!opened && box.Text().contains(QStringLiteral("Simul"))) {
            opened = true;
            openGate();
        }
    });
    EXPECT_EQ(run(QStringLiteral("split"), QStringLiteral("Simulation Done"), box), kConsoleStillActive);
    ui::testing::clock().stopTimer(gateKeeper);
    EXPECT_TRUE(opened);
    EXPECT_EQ(box.Text(), kFirst + QStringLiteral("simulation done\r\nSimulation Done\r\n"));
}

TEST_F(ConsoleRunner, EmptyStopTextEndsTheWaitAtTheFirstPoll)
{
    script(QStringLiteral("slow"), "exec sleep 30\n");
    EXPECT_EQ(run(QStringLiteral("slow"), QString(), box), kConsoleStillActive);
    EXPECT_EQ(box.Text(), kFirst);
    EXPECT_EQ(os::runningChildCount(), 1);
}

TEST_F(ConsoleRunner, AProgramThatCannotStartIsReported)
{
    ui::testing::messageBoxes().answer(ui::vbOK);
    EXPECT_EQ(run(QStringLiteral("Simulator\\main.exe"), QStringLiteral("Done"), box), kConsoleStartFailed);
    ASSERT_EQ(ui::testing::messageBoxes().shown.size(), 1u);
    const QString prompt = ui::testing::messageBoxes().shown[0].prompt;
    EXPECT_TRUE(prompt.startsWith(QStringLiteral("Couldn't start program: Simulator\\main.exe")));
    EXPECT_TRUE(box.Text().startsWith(kFirst + prompt));
    EXPECT_EQ(os::runningChildCount(), 0);
}

TEST_F(ConsoleRunner, LargeOutputShowsOnlyTheFirstCharactersAndNeverBlocks)
{
    // 3000 lines of 43 characters with their line end: 129000 characters, more than a pipe holds.
    script(QStringLiteral("big"),
           "i=1000; while [ $i -lt 4000 ]; do echo \"line $i ................................\"; "
           "i=$((i+1)); done; exit 0\n");
    EXPECT_EQ(run(QStringLiteral("big"), QStringLiteral("never printed"), box), 0);
    const QString shown = box.Text().mid(kFirst.size());
    EXPECT_TRUE(shown.startsWith(QStringLiteral("line 1000 ")));
    // 16000 characters are 372 whole lines (1000-1371) and the first 4 characters of the next.
    EXPECT_TRUE(shown.contains(QStringLiteral("line 1371 ")));
    EXPECT_TRUE(shown.endsWith(QStringLiteral(".\r\nline\r\n")));
    EXPECT_FALSE(shown.contains(QStringLiteral("line 1372")));
    EXPECT_LE(shown.size(), kConsoleMirrorLimit + 400 * 2);
}

TEST_F(ConsoleRunner, StopTextBeyondTheShownCharactersStillEndsTheWait)
{
    script(QStringLiteral("late"),
           "i=0; while [ $i -lt 1000 ]; do echo \"filler $i ..........................\"; "
           "i=$((i+1)); done; echo 'Simulation Done'; exec sleep 30\n");
    EXPECT_EQ(run(QStringLiteral("late"), QStringLiteral("Simulation Done"), box), kConsoleStillActive);
    EXPECT_FALSE(box.Text().contains(QStringLiteral("Simulation Done")));
}

TEST_F(ConsoleRunner, OutputWrittenJustBeforeTheEndIsMirrored)
{
    script(QStringLiteral("burst"), "i=0; while [ $i -lt 200 ]; do echo \"result $i\"; i=$((i+1)); done; "
                                    "echo 'final words'; exit 2\n");
    EXPECT_EQ(run(QStringLiteral("burst"), QStringLiteral("never printed"), box), 2);
    EXPECT_TRUE(box.Text().endsWith(QStringLiteral("result 199\r\nfinal words\r\n")));
}

TEST_F(ConsoleRunner, RunsInTwoWindowsKeepTheirOwnState)
{
    makeGate();
    script(QStringLiteral("outer"), "echo outer-start; read go < gate; echo outer-end; exit 4\n");
    script(QStringLiteral("inner"), "echo inner-only; exit 3\n");
    ui::TextBox otherBox{nullptr, QStringLiteral("txtConsoleOutput"), -1, true};
    int32_t innerResult = 0;
    bool innerRan = false;
    // The second window's run starts while the first one waits, from inside its event processing.
    QTimer::singleShot(0, [&] {
        innerRan = true;
        innerResult = RunConsoleProgram(QStringLiteral("inner"), otherBox, 1, QStringLiteral("Other"),
                                        QStringLiteral("Second\r\n"), QStringLiteral("never"), dir.path());
        openGate(); // the first program ends only after the second one
    });
    EXPECT_EQ(run(QStringLiteral("outer"), QStringLiteral("never printed"), box), 4);
    ASSERT_TRUE(innerRan);
    EXPECT_EQ(innerResult, 3);
    EXPECT_EQ(otherBox.Text(), QStringLiteral("Second\r\ninner-only\r\n"));
    EXPECT_EQ(box.Text(), kFirst + QStringLiteral("outer-start\r\nouter-end\r\n"));
}

} // namespace
