#include "platform/os/child_process.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs the event loop, each turn waiting for its next event, until `done` holds; false after 10 s (the
// bound only ends a failing run).
bool eventLoopUntil(const std::function<bool()>& done)
{
    QTimer guard;
    guard.setSingleShot(true);
    guard.start(10000);
    while (!done()) {
        if (!guard.isActive())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

bool collected(pid_t pid)
{
    return ::kill(pid, 0) != 0 && errno == ESRCH; // an ended child not collected yet still answers
}

// An orphan left to this program: a process of ours starts it and ends at once. The orphan runs until
// `hold` reaches its end of file; `ownSession`: it leaves the program's group for a session of its own
// first. Only calls a forked process may make run in the forked ones.
pid_t leaveAnOrphan(const int hold[2], bool ownSession)
{
    int told[2];
    if (::pipe2(told, O_CLOEXEC) != 0)
        return -1;
    const pid_t parent = ::fork();
    if (parent == 0) {
        if (::fork() == 0) {
            ::close(hold[1]);
            if (ownSession)
                ::setsid();
            const pid_t self = ::getpid();
            [[maybe_unused]] const ssize_t written = ::write(told[1], &self, sizeof self);
            ::close(told[1]);
            char byte = 0;
            [[maybe_unused]] const ssize_t got = ::read(hold[0], &byte, 1);
        }
        ::_exit(0);
    }
    ::close(told[1]);
    pid_t orphan = -1;
    if (parent < 0 || ::read(told[0], &orphan, sizeof orphan) != sizeof orphan)
        orphan = -1;
    ::close(told[0]);
    int status = 0;
    if (parent > 0)
        ::waitpid(parent, &status, 0);
    return orphan;
}

TEST(OrphanCollectionTest, AnOrphanThatEndsIsCollectedAtOnceWhateverItsGroup)
{
    os::endRunningChildren(0);
    os::ChildProcess first; // from the first child program on, orphans are left to this program
    ASSERT_TRUE(first.start(QStringLiteral("/bin/true")));
    const struct {
        const char* what;
        bool ownSession;
    } cases[] = {{"an orphan in a session of its own", true},
                 {"an orphan in the program's own group", false}};
    for (const auto& c : cases) {
        int hold[2];
        ASSERT_EQ(::pipe2(hold, O_CLOEXEC), 0);
        const pid_t orphan = leaveAnOrphan(hold, c.ownSession);
        ::close(hold[0]);
        ASSERT_GT(orphan, 0) << c.what;
        EXPECT_EQ(::getpgid(orphan) == ::getpgrp(), !c.ownSession) << c.what;
        ::close(hold[1]); // the orphan ends
        EXPECT_TRUE(eventLoopUntil([orphan] { return collected(orphan); }))
            << c.what << ": still waits to be collected";
    }
    os::endRunningChildren(0);
}

TEST(OrphanCollectionTest, ChildrenThatEndedAreLeftToWhatWaitsForThem)
{
    os::endRunningChildren(0);
    // Children of ours whose ends nothing has noticed yet when a census collects an orphan: a child program
    // (from which on orphans are left to this program), and a program this process started itself in its
    // own group.
    os::ChildProcess child;
    ASSERT_TRUE(child.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exit 7")}));
    QProcess own;
    own.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exit 5")});
    ASSERT_TRUE(own.waitForStarted());
    int hold[2];
    ASSERT_EQ(::pipe2(hold, O_CLOEXEC), 0);
    const pid_t orphan = leaveAnOrphan(hold, false);
    ::close(hold[0]);
    ::close(hold[1]); // the orphan ends
    ASSERT_GT(orphan, 0);
    // Each has ended and is left uncollected: the census sees them all, whatever order the event loop
    // would have told of their ends in.
    for (const qint64 pid : {child.processId(), own.processId(), static_cast<qint64>(orphan)}) {
        siginfo_t info = {};
        ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT), 0) << pid;
    }

    os::ChildProcess next; // its start takes a census
    ASSERT_TRUE(next.start(QStringLiteral("/bin/true")));
    EXPECT_TRUE(collected(orphan)) << "no census collected the orphan";
    EXPECT_EQ(child.exitCode(), 7);
    ASSERT_TRUE(own.waitForFinished(10000));
    EXPECT_EQ(own.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(own.exitCode(), 5);
    os::endRunningChildren(0);
}

} // namespace
