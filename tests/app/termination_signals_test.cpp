// A request to end the program from outside ends it, with every program it started and what those started.

#include "app/termination_signals.h"

#include "platform/os/child_process.h"
#include "platform/ui/app.h"
#include "platform/ui/test_doubles.h"
#include "shell/startup.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

// True while the process runs (a zombie has ended).
bool processRuns(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const QByteArray state = line.mid(line.lastIndexOf(')') + 2, 1);
    return state != "Z" && state != "X";
}

TEST(TerminationSignals, EachEndsTheProgramWithEveryProgramOfOurs)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString program = dir.filePath(QStringLiteral("gen.exe"));
    {
        QFile file(program);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nsleep 300 &\necho $!\nwait\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    int ends = 0;
    // The program ends through EndProgram, as File > Exit does; here its end is caught at once.
    endProgramOnTerminationSignals([&ends] {
        try {
            EndProgram();
        } catch (const ui::testing::ProcessEnded&) {
            ++ends;
        }
    });
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        auto child = std::make_unique<os::ChildProcess>();
        ASSERT_TRUE(child->start(program, {}, dir.path()));
        QElapsedTimer guard;
        guard.start();
        while (!child->output().endsWith('\n') && guard.elapsed() < 10000)
            child->waitForActivity(10);
        const qint64 grandchild = child->output().trimmed().toLongLong();
        ASSERT_TRUE(processRuns(grandchild)) << signal;
        os::keepRunning(std::move(child));

        const int before = ends;
        ASSERT_EQ(::raise(signal), 0);
        for (int i = 0; i < 1000 && ends == before; ++i)
            ui::DoEvents();
        EXPECT_EQ(ends, before + 1) << signal;
        EXPECT_EQ(os::runningChildCount(), 0) << signal;
        EXPECT_FALSE(processRuns(grandchild)) << signal;
    }
}

TEST(TerminationSignals, ASecondRequestBeforeTheFirstWasActedOnEndsTheProgramAtOnce)
{
    // The stand-in receives the requests before its event loop runs, as a program held up in start-up
    // does: one request ends it through its end (exit code 3) once the loop runs; a second one ends it
    // at once, by that signal.
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        for (const int requests : {1, 2}) {
            os::ChildProcess program;
            ASSERT_TRUE(program.start(QStringLiteral(TESSARON_STAND_IN_SIGNALS),
                                      {QString::number(signal), QString::number(requests)}))
                << program.errorText().toStdString();
            QElapsedTimer guard;
            guard.start();
            while (program.isRunning() && guard.elapsed() < 20000)
                program.waitForActivity(20);
            EXPECT_EQ(program.exitCode(), requests == 1 ? 3 : 128 + signal)
                << signal << " x" << requests << ": " << program.output().toStdString();
        }
    }
}

} // namespace
