#include "boardui/console_runner.h"

#include "board/console_run.h"

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

std::vector<ConsoleWatch::Text> mvgTexts()
{
    return {{QStringLiteral("ERROR"), Qt::CaseInsensitive},
            {QStringLiteral("WARNING"), Qt::CaseInsensitive},
            {QStringLiteral("DAC"), Qt::CaseSensitive}};
}

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
        return RunConsoleProgram(program, {}, box, 0, std::nullopt, kFirst, stopText, dir.path());
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

TEST_F(ConsoleRunner, AProgramThatCannotStartIsReportedInTheBoxAndTheRunEndsAtOnce)
{
    QFile plain(dir.filePath(QStringLiteral("plain.exe")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("#!/bin/sh\necho ran\n");
    plain.close();
    const struct {
        QString program;
        QString line;
    } cases[] = {
        {QStringLiteral("Simulator\\main.exe"), QStringLiteral("Error - \"") +
                                                    dir.filePath(QStringLiteral("Simulator/main.exe")) +
                                                    QStringLiteral("\" not found")},
        {QStringLiteral("plain.exe"), QStringLiteral("Error - \"") +
                                          dir.filePath(QStringLiteral("plain.exe")) +
                                          QStringLiteral("\" cannot be run: Permission denied")},
    };
    for (const auto& c : cases) {
        ConsoleRun consoleRun(mvgTexts());
        const int64_t before = ui::testing::clock().now();
        EXPECT_EQ(RunConsoleProgram(c.program, {}, box, 0, std::nullopt, kFirst, QStringLiteral("Done"),
                                    dir.path(), &consoleRun),
                  kConsoleStartFailed);
        EXPECT_EQ(ui::testing::clock().now(), before) << "no wait at all";
        EXPECT_EQ(box.Text(), kFirst + c.line + QStringLiteral("\r\n"));
        EXPECT_TRUE(consoleRun.startFailed());
        EXPECT_EQ(consoleRun.startError(), c.line);
        EXPECT_FALSE(consoleRun.waiting());
        EXPECT_EQ(os::runningChildCount(), 0);
        EXPECT_TRUE(ui::testing::messageBoxes().shown.empty()) << "the box is the report";
    }
}

TEST_F(ConsoleRunner, TheRunIsJudgedOnAllTheOutputWhileTheBoxKeepsItsLimit)
{
    // 40000 characters of filler, then the texts: the box shows none of them.
    script(QStringLiteral("verbose"),
           "i=0; while [ $i -lt 1000 ]; do echo \"filler $i ...........................\"; "
           "i=$((i+1)); done; echo 'late Error here, another ERROR'; echo 'a warning'; echo 'DAC output'\n");
    ConsoleRun consoleRun(mvgTexts());
    EXPECT_EQ(RunConsoleProgram(QStringLiteral("verbose"), {}, box, 0, std::nullopt, kFirst,
                                QStringLiteral("never printed"), dir.path(), &consoleRun),
              0);
    EXPECT_FALSE(box.Text().contains(QStringLiteral("DAC")));
    EXPECT_LE(box.Text().size(), kFirst.size() + kConsoleMirrorLimit + 2 * 400);
    EXPECT_EQ(consoleRun.output().count(0), 2); // ERROR, any case
    EXPECT_EQ(consoleRun.output().count(1), 1); // WARNING
    EXPECT_TRUE(consoleRun.output().found(2));  // DAC
    EXPECT_FALSE(consoleRun.startFailed());
}

TEST_F(ConsoleRunner, AHungOrFloodingProgramIsStoppedWithWhatItStarted)
{
    const struct {
        const char* name;
        QByteArray body;
    } cases[] = {
        {"hung", "trap '' TERM\nsleep 300 &\necho started\nwhile :; do sleep 1; done\n"},
        {"flood", "sleep 300 &\nwhile :; do echo 'flooding the pipe with an ERROR line'; done\n"},
    };
    for (const auto& c : cases) {
        script(QString::fromLatin1(c.name), c.body);
        ConsoleRun consoleRun(mvgTexts());
        int polls = 0;
        int timer = 0;
        // The windows keep running during the wait: a timer of the window stops the run.
        timer = ui::testing::clock().startTimer(10, [&] {
            if (++polls == 2) {
                ui::testing::clock().stopTimer(timer);
                EXPECT_TRUE(consoleRun.waiting());
                consoleRun.stop(50);
                // What the window says on stopping stays the box's last word.
                box.setText(box.Text() + QStringLiteral("Stopped!"));
            }
        });
        EXPECT_EQ(RunConsoleProgram(QString::fromLatin1(c.name), {}, box, 0, std::nullopt, kFirst,
                                    QStringLiteral("never printed"), dir.path(), &consoleRun),
                  kConsoleStopped)
            << c.name;
        EXPECT_EQ(polls, 2) << c.name;
        EXPECT_TRUE(box.Text().endsWith(QStringLiteral("Stopped!"))) << c.name;
        EXPECT_TRUE(consoleRun.stopped());
        EXPECT_FALSE(consoleRun.waiting());
        EXPECT_EQ(os::runningChildCount(), 0) << c.name << ": the program and its child are gone";
    }
}

TEST_F(ConsoleRunner, AStoppedRunDoesNotStart)
{
    script(QStringLiteral("never"), "echo ran > ran.txt\n");
    ConsoleRun consoleRun;
    consoleRun.stop();
    EXPECT_EQ(RunConsoleProgram(QStringLiteral("never"), {}, box, 0, std::nullopt, kFirst,
                                QStringLiteral("x"), dir.path(), &consoleRun),
              kConsoleStopped);
    EXPECT_EQ(box.Text(), kFirst);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("ran.txt"))));
}

TEST(ConsoleWatchTest, FindsTextsSplitAcrossPiecesAndCountsEveryOccurrence)
{
    const struct {
        std::vector<QByteArray> pieces;
        qint64 errors;   // "ERROR", any case
        qint64 dac;      // "DAC", as written
        qint64 repeated; // "aa": each search starts one character after the last find
    } cases[] = {
        {{"no problems here"}, 0, 0, 0},
        {{"Err", "or and ERR", "OR", " and error"}, 3, 0, 0},
        {{"D", "A", "C", " dac Dac DAC"}, 0, 2, 0},
        {{"aaa", "a"}, 0, 0, 3},
        {{"a", "a", "a"}, 0, 0, 2},
        // A character of two bytes split between pieces, right before a text.
        {{"\xc3", "\xa9RROR ERROR"}, 1, 0, 0},
        {{}, 0, 0, 0},
    };
    for (const auto& c : cases) {
        ConsoleWatch watch({{QStringLiteral("ERROR"), Qt::CaseInsensitive},
                            {QStringLiteral("DAC"), Qt::CaseSensitive},
                            {QStringLiteral("aa"), Qt::CaseSensitive},
                            {QString(), Qt::CaseSensitive}});
        for (const QByteArray& piece : c.pieces)
            watch.feed(piece);
        const QByteArray all = c.pieces.empty() ? QByteArray() : c.pieces.front();
        EXPECT_EQ(watch.count(0), c.errors) << all.constData();
        EXPECT_EQ(watch.count(1), c.dac) << all.constData();
        EXPECT_EQ(watch.count(2), c.repeated) << all.constData();
        EXPECT_EQ(watch.count(3), 0) << "an empty text is never counted";
        EXPECT_EQ(watch.count(9), 0);
    }
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
        innerResult = RunConsoleProgram(QStringLiteral("inner"), {}, otherBox, 1, QStringLiteral("Other"),
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
