#include "platform/os/child_process.h"
#include "platform/os/group_guardian.h"
#include "platform/os/shell_open.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

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
        QString path = dir.filePath(name);
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
    ASSERT_TRUE(child.start(QStringLiteral("tool"), {QStringLiteral("two words"), QStringLiteral("second")},
                            dir.path()))
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
    ASSERT_TRUE(child.start(QStringLiteral("./waits"), {}, dir.path()));
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
    ASSERT_TRUE(child.start(QStringLiteral("asks"), {}, dir.path()));
    EXPECT_EQ(finish(child), 6);
}

TEST_F(ChildProcessTest, ProgramPathsWithBackslashesAndSubfolders)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Simulator")));
    script(QStringLiteral("Simulator/main.exe"), "exit 3\n");
    os::ChildProcess child;
    ASSERT_TRUE(child.start(QStringLiteral("Simulator\\main.exe"), {}, dir.path()))
        << child.errorText().toStdString();
    EXPECT_EQ(finish(child), 3);
}

TEST_F(ChildProcessTest, ProgramsThatCannotStartAreReportedWithTheReason)
{
    QFile plain(dir.filePath(QStringLiteral("notexec")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("#!/bin/sh\necho ran\n");
    plain.close();
    script(QStringLiteral("badinterp"), "");
    {
        QFile file(dir.filePath(QStringLiteral("badinterp")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("#!/no/such/interpreter -x\necho ran\n");
    }
    script(QStringLiteral("garbage"), "");
    {
        QFile file(dir.filePath(QStringLiteral("garbage")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("\x7f"
                   "ELF but not really\n");
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("afolder")));
    const struct {
        QString program;
        QString folder;
        const char* errorPart;
    } cases[] = {
        {QStringLiteral("no_such_program_here"), dir.path(), "no_such_program_here\" not found"},
        {QStringLiteral("./notexec"), dir.path(), "notexec\" cannot be run: Permission denied"},
        {QStringLiteral("badinterp"), dir.path(),
         "badinterp\" cannot be run: bad interpreter /no/such/interpreter: No such file or directory"},
        {QStringLiteral("garbage"), dir.path(), "garbage\" cannot be run: "},
        {QStringLiteral("afolder"), dir.path(), "afolder\" cannot be run: Is a directory"},
        {QStringLiteral("   "), dir.path(), "No program"},
        {QStringLiteral("sh"), dir.filePath(QStringLiteral("missing")), "Folder not found"},
    };
    for (const auto& c : cases) {
        os::ChildProcess child;
        EXPECT_FALSE(child.start(c.program, {}, c.folder)) << c.program.toStdString();
        EXPECT_TRUE(child.errorText().contains(QLatin1String(c.errorPart)))
            << c.program.toStdString() << ": " << child.errorText().toStdString();
        EXPECT_FALSE(child.isRunning());
        EXPECT_EQ(child.exitCode(), -1);
        EXPECT_TRUE(child.output().isEmpty());
    }
}

TEST_F(ChildProcessTest, AProgramThatCannotRunIsNeverReplacedByOneOfTheSameNameOnThePath)
{
    // "sh" and "notexec" both exist on the PATH; the files of those names in the folder are not runnable.
    QTemporaryDir pathDir;
    ASSERT_TRUE(pathDir.isValid());
    for (const char* name : {"notexec", "sh"}) {
        QFile onPath(pathDir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(onPath.open(QIODevice::WriteOnly));
        onPath.write("#!/bin/sh\necho from-the-path\n");
        onPath.close();
        onPath.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile here(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(here.open(QIODevice::WriteOnly));
        here.write("#!/bin/sh\necho here\n");
    }
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(pathDir.path()) + ":" + oldPath);
    for (const char* name : {"notexec", "sh"}) {
        os::ChildProcess child;
        EXPECT_FALSE(child.start(QString::fromLatin1(name), {}, dir.path())) << name;
        EXPECT_TRUE(child.errorText().contains(QStringLiteral("cannot be run"))) << name;
    }
    qputenv("PATH", oldPath);
}

TEST_F(ChildProcessTest, FileNamesRunExactlyThatFileWhateverTheyHold)
{
    // Each name, read as a command line, would run something else: another program, a second command,
    // a substitution.
    const QString names[] = {
        QStringLiteral("sh\" -c \"echo hijacked > marker; echo x"),
        QStringLiteral("two words.exe"),
        QStringLiteral("gen;touch marker"),
        QStringLiteral("$(touch marker)"),
        QStringLiteral("`touch marker`"),
        QStringLiteral("it's 'quoted'"),
    };
    int index = 0;
    for (const QString& name : names) {
        const QString own = QStringLiteral("own-") + QString::number(index++);
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
        file.write("#!/bin/sh\necho " + own.toLatin1() + " \"$#\"\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        os::ChildProcess child;
        ASSERT_TRUE(child.start(dir.filePath(name), {}, dir.path()))
            << name.toStdString() << ": " << child.errorText().toStdString();
        EXPECT_EQ(finish(child), 0) << name.toStdString();
        EXPECT_EQ(child.output(), own.toLatin1() + " 0\n") << name.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("marker")))) << name.toStdString();
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
    ASSERT_TRUE(child.start(QStringLiteral("chatty"), {}, dir.path()));
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
    ASSERT_TRUE(child.start(QStringLiteral("burst"), {}, dir.path()));
    EXPECT_EQ(finish(child), 0);
    EXPECT_TRUE(child.output().endsWith("tail line 299\n"));
}

TEST_F(ChildProcessTest, KeptChildrenEndWhenAskedWithinTheBound)
{
    script(QStringLiteral("stubborn"), "trap '' TERM; echo ready; while true; do sleep 1; done\n");
    script(QStringLiteral("polite"), "echo ready; exec sleep 30\n");
    for (const char* name : {"stubborn", "polite"}) {
        auto child = std::make_unique<os::ChildProcess>();
        ASSERT_TRUE(child->start(QString::fromLatin1(name), {}, dir.path()));
        while (!child->output().contains("ready") && child->isRunning())
            child->waitForActivity(20);
        os::keepRunning(std::move(child));
    }
    EXPECT_EQ(os::runningChildCount(), 2);
    os::endRunningChildren(300); // the stubborn one ignores the request to end and is killed
    EXPECT_EQ(os::runningChildCount(), 0);
}

// True while the process runs (a zombie has ended: nobody may collect a child's orphaned child here).
bool processRuns(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const QByteArray state = line.mid(line.lastIndexOf(')') + 2, 1);
    return state != "Z" && state != "X";
}

// The pid a stand-in wrote, once it is there.
qint64 writtenPid(const QString& path, os::ChildProcess& child)
{
    QElapsedTimer guard;
    guard.start();
    for (;;) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray text = file.readAll();
            if (text.endsWith('\n'))
                return text.trimmed().toLongLong();
        }
        if (guard.elapsed() > 10000)
            return 0;
        child.waitForActivity(10);
    }
}

TEST_F(ChildProcessTest, EndingTheChildrenEndsWhatTheyStartedToo)
{
    // The first stand-in waits for its own child; the second leaves it behind and ends at once; the third
    // ignores the request to end, like a hung program.
    struct Case {
        const char* name;
        QByteArray body;
    } cases[] = {
        {"waits", "sleep 300 &\necho $! > grandchild.pid\nwait\n"},
        {"leaves", "sleep 300 &\necho $! > grandchild.pid\nexit 0\n"},
        {"hangs",
         "trap '' TERM\n(trap '' TERM; while :; do sleep 1; done) &\necho $! > grandchild.pid\nwait\n"},
    };
    for (const Case& c : cases) {
        const QString pidFile = dir.filePath(QStringLiteral("grandchild.pid"));
        QFile::remove(pidFile);
        script(QString::fromLatin1(c.name), c.body);
        auto child = std::make_unique<os::ChildProcess>();
        ASSERT_TRUE(child->start(QString::fromLatin1(c.name), {}, dir.path()));
        const qint64 group = child->processGroup();
        const qint64 grandchild = writtenPid(pidFile, *child);
        ASSERT_GT(grandchild, 0) << c.name;
        EXPECT_TRUE(processRuns(grandchild)) << c.name;
        // Not in the program's terminal group: a Ctrl+C there reaches us, and we end our programs.
        EXPECT_NE(::getpgid(static_cast<pid_t>(grandchild)), ::getpgrp()) << c.name;
        EXPECT_EQ(::getpgid(static_cast<pid_t>(grandchild)), group) << c.name;
        os::keepRunning(std::move(child));
        EXPECT_EQ(os::runningChildCount(), 1) << c.name << ": the group still has a program running";
        os::endRunningChildren(200);
        EXPECT_FALSE(processRuns(grandchild)) << c.name;
        EXPECT_EQ(os::runningChildCount(), 0) << c.name;
    }
}

// Waits until each descriptor is readable: a pipe nobody writes into at its end of file, a process's
// descriptor when the process has ended. False when `milliseconds` pass first (0: each is looked at once).
bool allReadableWithin(std::vector<int> descriptors, int milliseconds)
{
    QElapsedTimer guard;
    guard.start();
    while (!descriptors.empty()) {
        const int rest = std::max(0, milliseconds - static_cast<int>(guard.elapsed()));
        pollfd watched = {descriptors.back(), POLLIN, 0};
        if (::poll(&watched, 1, rest) > 0)
            descriptors.pop_back();
        else if (rest == 0)
            return false;
    }
    return true;
}

TEST_F(ChildProcessTest, NothingAChildStartedOutlivesTheProgramKilledWithSigkill)
{
    // The generator starts a program and one that starts another; the stand-in for this program starts
    // the generator. Every one of them holds the writing end of `alive`, so its end of file says all are
    // gone.
    script(QStringLiteral("gen"),
           "sleep 300 &\nfirst=$!\n(trap '' TERM; sleep 300; :) &\necho \"$$ $first $!\"\nwait\n");
    int alive[2] = {-1, -1};
    ASSERT_EQ(::pipe2(alive, O_CLOEXEC), 0);
    ASSERT_EQ(::fcntl(alive[1], F_SETFD, 0), 0); // handed down to the programs
    os::ChildProcess program;
    const bool started = program.start(QStringLiteral(TESSARON_STAND_IN_PARENT),
                                       {dir.filePath(QStringLiteral("gen"))}, dir.path());
    ::close(alive[1]);
    ASSERT_TRUE(started) << program.errorText().toStdString();
    QElapsedTimer guard;
    guard.start();
    while (!program.output().contains('\n') && program.isRunning() && guard.elapsed() < 10000)
        program.waitForActivity(20);
    const QList<QByteArray> pids = program.output().trimmed().split(' ');
    ASSERT_EQ(pids.size(), 3) << program.output().toStdString();
    std::vector<int> ends = {alive[0]};
    for (const QByteArray& pid : pids) {
        ASSERT_TRUE(processRuns(pid.toLongLong())) << pid.toStdString();
        ends.push_back(static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(pid.toLongLong()), 0)));
        ASSERT_GE(ends.back(), 0);
    }
    ASSERT_FALSE(allReadableWithin(ends, 0)) << "the programs run and hold the pipe";

    ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), SIGKILL), 0);
    // At once, or never: the bound only keeps a failing run from hanging.
    EXPECT_TRUE(allReadableWithin(ends, 20000)) << "a program the stand-in started still runs";
    for (const QByteArray& pid : pids)
        EXPECT_FALSE(processRuns(pid.toLongLong())) << pid.toStdString();
    // What a failing run left behind, through the descriptors: a number of a process gone may be another's.
    for (size_t i = 1; i < ends.size(); ++i)
        ::syscall(SYS_pidfd_send_signal, ends[i], SIGKILL, nullptr, 0);
    for (const int end : ends)
        ::close(end);
    EXPECT_EQ(finish(program), 128 + SIGKILL);
}

TEST_F(ChildProcessTest, AChildThatEndedIsNotKept)
{
    script(QStringLiteral("quick"), "exit 0\n");
    auto child = std::make_unique<os::ChildProcess>();
    ASSERT_TRUE(child->start(QStringLiteral("quick"), {}, dir.path()));
    finish(*child);
    os::keepRunning(std::move(child));
    EXPECT_EQ(os::runningChildCount(), 0);
}

// This process's children as the system lists them, those that ended and wait to be collected included.
struct OwnChildren {
    int all = 0;
    int ended = 0;
};

OwnChildren ownChildren()
{
    OwnChildren children;
    const QByteArray self = QByteArray::number(::getpid());
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1] == self) {
            ++children.all;
            children.ended += fields[0] == "Z" ? 1 : 0;
        }
    }
    return children;
}

int openFiles()
{
    return static_cast<int>(
        QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

// The limit on open files under which this process has `spare` files left to open: a limit on open files
// is one on their numbers, and a new file takes the lowest number that is free.
rlim_t limitLeaving(int spare)
{
    std::vector<int> open;
    for (const QString& entry : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System))
        open.push_back(entry.toInt());
    rlim_t limit = 0;
    for (int free = 0; free < spare; ++limit) {
        if (std::find(open.begin(), open.end(), static_cast<int>(limit)) == open.end())
            ++free;
    }
    return limit;
}

TEST_F(ChildProcessTest, ManyShortRunsInOneSessionLeaveNoFilesOrProcessesBehind)
{
    // Each run's group and guardian go with the run, not at the next "Close All Plot Windows" or exit: a
    // session of generator runs never runs out of open files. Under a limit of a few dozen files above what
    // is open already, a run that left a single file open would stop a start long before the last run.
    constexpr int kSpareFiles = 64;
    constexpr int kRuns = 200;
    const auto run = [](int index) {
        os::ChildProcess child;
        ASSERT_TRUE(child.start(QStringLiteral("/bin/true")))
            << index << ": " << child.errorText().toStdString();
        ASSERT_EQ(finish(child), 0) << index;
    };
    run(-1); // what the first start opens for good (the process machinery's own) is not counted
    rlimit limit = {};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    struct RestoreLimit {
        rlimit saved;
        ~RestoreLimit() { ::setrlimit(RLIMIT_NOFILE, &saved); }
    } restore{limit};
    limit.rlim_cur = std::min(limitLeaving(kSpareFiles), limit.rlim_max);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limit), 0);
    const int files = openFiles();
    const int children = ownChildren().all;
    for (int index = 0; index < kRuns; ++index) {
        run(index);
        if (HasFatalFailure())
            return;
    }
    EXPECT_EQ(openFiles(), files);
    EXPECT_EQ(ownChildren().all, children);
    EXPECT_EQ(os::runningChildCount(), 0);
}

TEST_F(ChildProcessTest, ProgramsThatLeftTheirChildsGroupEndWithTheOthers)
{
    // Each stand-in prints the pid of a program that has left its group (setsid) and keeps running; "left"
    // is a named pipe through which that program says so.
    const QByteArray inASession = "rm -f left; mkfifo left\nsetsid sh -c 'echo $$ > left; ";
    const QByteArray told = "' >/dev/null 2>&1 &\nread pid < left; echo $pid\n";
    const struct {
        const char* what;
        QByteArray body;
        bool childRuns; // the stand-in itself runs on and is kept
    } cases[] = {
        {"a program in a session of its own, its parent ended", inASession + "exec sleep 300" + told, false},
        {"the same, its parent still running", inASession + "exec sleep 300" + told + "exec sleep 300\n",
         true},
        {"a daemon: a session of its own, then its own parent gone",
         "setsid sh -c 'sleep 300 >/dev/null 2>&1 & echo $!'\n", false},
        {"a program that ignores the request to end, with a program of its own",
         inASession + "trap \"\" TERM; while :; do sleep 1; done" + told, false},
    };
    for (const auto& c : cases) {
        script(QStringLiteral("leaves"), c.body);
        auto child = std::make_unique<os::ChildProcess>();
        ASSERT_TRUE(child->start(QStringLiteral("leaves"), {}, dir.path())) << c.what;
        QElapsedTimer guard;
        guard.start();
        while (!child->output().contains('\n') && guard.elapsed() < 10000)
            child->waitForActivity(20);
        const auto left = static_cast<pid_t>(child->output().trimmed().toLongLong());
        ASSERT_GT(left, 0) << c.what << ": " << child->output().toStdString();
        const int descriptor = static_cast<int>(::syscall(SYS_pidfd_open, left, 0));
        ASSERT_GE(descriptor, 0) << c.what;
        EXPECT_NE(::getpgid(left), static_cast<pid_t>(child->processGroup())) << c.what << ": left the group";
        if (!c.childRuns) {
            EXPECT_EQ(finish(*child), 0) << c.what;
        }
        os::keepRunning(std::move(child));
        EXPECT_EQ(os::runningChildCount(), 1) << c.what;

        os::endRunningChildren(200);
        EXPECT_TRUE(allReadableWithin({descriptor}, 0)) << c.what << ": it still runs";
        EXPECT_EQ(os::runningChildCount(), 0) << c.what;
        EXPECT_EQ(ownChildren().ended, 0) << c.what << ": what was ended is collected";
        ::syscall(SYS_pidfd_send_signal, descriptor, SIGKILL, nullptr, 0); // what a failing run left
        ::close(descriptor);
    }
}

TEST_F(ChildProcessTest, ProgramsStartedForOtherPurposesAreNotEndedWithTheChildren)
{
    // A viewer opened from a window (it starts a program and ends, as a desktop's opener does), and a
    // program of this process that no child program started.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("said"))).constData(), 0600), 0);
    const QString viewer = script(QStringLiteral("viewer"),
                                  "sleep 300 >/dev/null 2>&1 &\necho $! > \"$(dirname \"$0\")/said\"\n");
    os::ChildProcess child; // a child program started before, so that orphans are adopted
    ASSERT_TRUE(child.start(QStringLiteral("/bin/true")));
    finish(child);
    const int said = ::open(QFile::encodeName(dir.filePath(QStringLiteral("said"))).constData(),
                            O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(said, 0);
    os::setShellService(nullptr); // the desktop's own, which really starts it
    ASSERT_TRUE(os::startDetached(viewer, dir.path()));
    ASSERT_TRUE(allReadableWithin({said}, 10000));
    char text[32] = {};
    ASSERT_GT(::read(said, text, sizeof text - 1), 0);
    ::close(said);
    const auto opened = static_cast<pid_t>(QByteArray(text).trimmed().toLongLong());
    QProcess own;
    own.start(QStringLiteral("/bin/sleep"), {QStringLiteral("300")});
    ASSERT_TRUE(own.waitForStarted());
    const int descriptors[] = {
        static_cast<int>(::syscall(SYS_pidfd_open, opened, 0)),
        static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(own.processId()), 0))};
    ASSERT_GE(descriptors[0], 0);
    ASSERT_GE(descriptors[1], 0);

    EXPECT_EQ(os::runningChildCount(), 0);
    os::endRunningChildren(0);
    EXPECT_FALSE(allReadableWithin({descriptors[0]}, 0)) << "the viewer's program was ended";
    EXPECT_FALSE(allReadableWithin({descriptors[1]}, 0)) << "this process's own program was ended";
    for (const int descriptor : descriptors) {
        ::syscall(SYS_pidfd_send_signal, descriptor, SIGKILL, nullptr, 0);
        ::close(descriptor);
    }
    own.waitForFinished();
}

TEST_F(ChildProcessTest, WithoutAShellForTheGuardiansChildrenRunUnguardedAndItIsSaidOnce)
{
    os::GroupGuardian::setShell("/no/such/shell");
    struct RestoreShell {
        ~RestoreShell() { os::GroupGuardian::setShell("/bin/sh"); }
    } restore;
    testing::internal::CaptureStderr();
    std::vector<std::unique_ptr<os::ChildProcess>> children;
    for (int index = 0; index < 2; ++index) {
        children.push_back(std::make_unique<os::ChildProcess>());
        EXPECT_TRUE(children.back()->start(QStringLiteral("/bin/sleep"), {QStringLiteral("300")}));
        // Still in a group apart from ours, which it leads.
        EXPECT_EQ(children.back()->processGroup(), children.back()->processId());
    }
    const QString said = QString::fromStdString(testing::internal::GetCapturedStderr());
    EXPECT_EQ(said.count(QStringLiteral("Child programs run unguarded: /no/such/shell: No such file or "
                                        "directory.")),
              1)
        << said.toStdString();
    EXPECT_EQ(os::runningChildCount(), 2);
    os::endRunningChildren(0);
    EXPECT_EQ(os::runningChildCount(), 0);
}

} // namespace
