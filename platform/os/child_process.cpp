#include "platform/os/child_process.h"

#include "platform/os/child_end_watch.h"
#include "platform/os/files.h"
#include "platform/os/group_guardian.h"
#include "platform/os/group_registry.h"
#include "platform/os/orphan_adoption.h"
#include "platform/os/paths.h"
#include "platform/os/process_census.h"
#include "platform/os/process_table.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>
#include <unistd.h>
#include <vector>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace os {

namespace {

// Children started and not yet destroyed; the owners remove themselves.
std::vector<ChildProcess*>& liveChildren()
{
    static std::vector<ChildProcess*> children;
    return children;
}

// Children nobody waits for any more.
std::vector<std::unique_ptr<ChildProcess>>& keptChildren()
{
    static std::vector<std::unique_ptr<ChildProcess>> children;
    return children;
}

// The processes this program started itself: its children's and their guardians.
std::vector<pid_t> startedHere()
{
    std::vector<pid_t> pids = ourGroups().guardians();
    for (const ChildProcess* child : liveChildren()) {
        if (const qint64 pid = child->processId())
            pids.push_back(static_cast<pid_t>(pid));
    }
    return pids;
}

ProcessCensus censusOfOurs()
{
    return takeCensus(startedHere());
}

// The groups in which a program of ours runs: our children's, and those of the orphans left to us that
// still run (a program that left its group on purpose leads one of its own, or shares its own programs').
std::vector<pid_t> groupsOfOurs(const ProcessCensus& census)
{
    std::vector<pid_t> ids;
    for (const pid_t group : ourGroups().groups()) {
        if (ourGroups().runs(group, census.table))
            ids.push_back(group);
    }
    for (const ProcessInfo& orphan : census.orphans) {
        if (!orphan.ended && std::find(ids.begin(), ids.end(), orphan.group) == ids.end())
            ids.push_back(orphan.group);
    }
    return ids;
}

void releaseEndedKeptChildren()
{
    auto& kept = keptChildren();
    // Collect first: destroying a child edits the live list, not this one, but keep the walk simple.
    std::vector<std::unique_ptr<ChildProcess>> ended;
    for (auto it = kept.begin(); it != kept.end();) {
        if (!(*it)->isRunning()) {
            ended.push_back(std::move(*it));
            it = kept.erase(it);
        } else {
            ++it;
        }
    }
}

// Waits until no program of the group runs or `milliseconds` have passed since `elapsed` started; true
// when none runs.
bool waitForGroup(pid_t group, const QElapsedTimer& elapsed, int milliseconds)
{
    for (;;) {
        if (!ourGroups().holds(group) || !ourGroups().runs(group, readProcessTable()))
            return true;
        if (elapsed.elapsed() >= milliseconds)
            return false;
        QThread::msleep(5);
    }
}

// Sends `signal` to every group of ours and to every orphan left to us until none of them runs or
// `milliseconds` have passed since `elapsed` started; true when none runs. `again`: each round signals
// them all again, else each is signalled once. An orphan is signalled alone, never its group, which need
// not be ours: what it started becomes an orphan of ours in its turn when it ends, and is signalled then.
// Its number is safe to signal: only this program collects it.
bool endOurs(int signal, bool again, const QElapsedTimer& elapsed, int milliseconds)
{
    std::vector<pid_t> signalledGroups;
    std::vector<pid_t> signalledOrphans;
    const auto firstTime = [again](std::vector<pid_t>& signalled, pid_t id) {
        if (!again && std::find(signalled.begin(), signalled.end(), id) != signalled.end())
            return false;
        signalled.push_back(id);
        return true;
    };
    for (;;) {
        // The children's output is read meanwhile: one that writes as it ends never waits on a full pipe.
        for (ChildProcess* child : std::vector<ChildProcess*>(liveChildren()))
            child->poll();
        const ProcessCensus census = censusOfOurs();
        bool anyRuns = false;
        for (const pid_t group : ourGroups().groups()) {
            if (firstTime(signalledGroups, group))
                ourGroups().signal(group, signal);
            anyRuns = anyRuns || ourGroups().runs(group, census.table);
        }
        for (const ProcessInfo& orphan : census.orphans) {
            if (orphan.ended)
                continue;
            if (firstTime(signalledOrphans, orphan.pid))
                ::kill(orphan.pid, signal);
            anyRuns = true;
        }
        if (!anyRuns)
            return true;
        if (elapsed.elapsed() >= milliseconds)
            return false;
        QThread::msleep(5);
    }
}

// How long killed programs get to be gone (they cannot refuse; this only bounds a system under load).
constexpr int kKilledGoneMs = 3000;

// Why the file cannot be run, or nothing when it looks runnable: the checks the system's own start would
// fail on, told in its words.
std::optional<QString> whyNotRunnable(const QString& program)
{
    const QByteArray name = QFile::encodeName(program);
    if (QFileInfo(program).isDir())
        return QString::fromLocal8Bit(std::strerror(EISDIR));
    if (::access(name.constData(), X_OK) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    QFile file(program);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray head = file.read(512);
    if (!head.startsWith("#!"))
        return std::nullopt;
    // A script names its interpreter on its first line: a missing one is what keeps it from running.
    const QByteArray line = head.mid(2).split('\n').value(0);
    const QByteArray interpreter = line.simplified().split(' ').value(0);
    if (interpreter.isEmpty())
        return QStringLiteral("bad interpreter: no program named after \"#!\"");
    if (::access(interpreter.constData(), X_OK) != 0)
        return QStringLiteral("bad interpreter %1: %2")
            .arg(QString::fromLocal8Bit(interpreter), QString::fromLocal8Bit(std::strerror(errno)));
    return std::nullopt;
}

QString quoted(const QString& path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

} // namespace

ChildProcess::ChildProcess(qsizetype keptOutputLimit) : keptLimit_(std::max<qsizetype>(0, keptOutputLimit))
{
}

ChildProcess::~ChildProcess()
{
    if (process_ && process_->state() != QProcess::NotRunning)
        kill();
    // What the child left running in its group keeps the group until it ends; else it is let go of now.
    if (ourGroups().holds(static_cast<pid_t>(group_)))
        ourGroups().letGoOfIdle(censusOfOurs().table);
    auto& live = liveChildren();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    if (process_)
        process_->disconnect(); // nothing of this object is reached once it has gone
}

bool ChildProcess::start(const QString& program, const QStringList& arguments, const QString& folder)
{
    if (started_ || process_) {
        errorText_ = QStringLiteral("The program was started already.");
        return false;
    }
    if (program.trimmed().isEmpty()) {
        errorText_ = QStringLiteral("No program to start.");
        return false;
    }
    // What the ended children left running may have ended since: their groups are let go of first.
    releaseEndedKeptChildren();
    if (!ourGroups().empty())
        ourGroups().letGoOfIdle(censusOfOurs().table);
    const QString workDir = folder.isEmpty() ? QDir::currentPath() : toNativePath(folder);
    if (!DirExists(workDir)) {
        errorText_ = QStringLiteral("Folder not found: %1").arg(workDir);
        return false;
    }
    const QString named = toNativePath(program);
    // Only the file named runs: a program of the same name elsewhere (the PATH) never stands in for it.
    const QString path = QDir::isAbsolutePath(named) ? named : joinPath(workDir, named);
    if (!QFileInfo::exists(path)) {
        errorText_ = QStringLiteral("%1 not found").arg(quoted(path));
        return false;
    }
    if (const std::optional<QString> reason = whyNotRunnable(path)) {
        errorText_ = QStringLiteral("%1 cannot be run: %2").arg(quoted(path), *reason);
        return false;
    }

    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::MergedChannels);
    // Nobody types into a child of ours: a program that asks for input reads an end of file instead of
    // waiting for ever.
    process_->setStandardInputFile(QProcess::nullDevice());
    process_->setWorkingDirectory(workDir);
    // Its group is let go of as soon as its end is noticed, by a wait or by the event loop, if nothing else
    // of the group runs: a program may start thousands of children in one session.
    QObject::connect(process_.get(), &QProcess::finished, process_.get(), [this] { noticeEnd(); });
    process_->setProgram(path);
    process_->setArguments(arguments);
    // A program the child starts and that leaves its group is left to this program when its parent ends,
    // so that it can still be ended with this one.
    adoptOrphans();
    // An orphan that ends is collected then, on the event loop, not at the next look at the process table.
    watchChildEnds([] { censusOfOurs(); });
    const pid_t parent = ::getpid();
    // The child's group, held by its guardian: should this process end in any way, the guardian ends the
    // group, and with it whatever the child started.
    std::unique_ptr<GroupGuardian> guardian = GroupGuardian::start();
    const pid_t guardedGroup = guardian ? guardian->group() : 0;
    process_->setChildProcessModifier([parent, guardedGroup] {
        // A group apart from ours: ending the group ends what the program started too, and a signal meant
        // for this program's terminal group does not reach it behind our back.
        if (guardedGroup == 0 || ::setpgid(0, guardedGroup) != 0)
            ::setpgid(0, 0);
#ifdef __linux__
        // Should this process end without ending its children, the child goes with it.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
#else
        (void)parent;
#endif
    });
    process_->start(QIODevice::ReadOnly);
    if (!process_->waitForStarted(10000)) {
        errorText_ = QStringLiteral("%1 cannot be run: %2").arg(quoted(path), process_->errorString());
        process_.reset();
        return false;
    }
    started_ = true;
    // The child took its guardian's group unless that failed; one that has ended already took it too.
    const auto pid = static_cast<pid_t>(process_->processId());
    const pid_t joined = ::getpgid(pid);
    group_ = joined > 0 ? joined : (guardedGroup != 0 ? guardedGroup : pid);
    if (group_ != guardedGroup)
        guardian.reset(); // the child leads a group of its own
    liveChildren().push_back(this);
    ourGroups().hold(static_cast<pid_t>(group_), std::move(guardian));
    groupHeld_ = true;
    return true;
}

void ChildProcess::noticeEnd()
{
    if (!groupHeld_)
        return;
    groupHeld_ = false;
    if (ourGroups().holds(static_cast<pid_t>(group_)))
        ourGroups().letGoOfIdle(censusOfOurs().table);
}

void ChildProcess::drain()
{
    if (!process_)
        return;
    const QByteArray bytes = process_->readAll();
    if (bytes.isEmpty())
        return;
    totalBytes_ += bytes.size();
    if (output_.size() < keptLimit_)
        output_.append(bytes.left(keptLimit_ - output_.size()));
    if (!dropOutput_)
        fresh_.append(bytes);
}

void ChildProcess::poll()
{
    if (!process_)
        return;
    // A zero wait lets QProcess read the pipe and notice the child's end without the event loop.
    if (process_->state() != QProcess::NotRunning)
        process_->waitForFinished(0);
    drain();
    if (process_->state() == QProcess::NotRunning)
        noticeEnd();
}

void ChildProcess::waitForActivity(int milliseconds)
{
    if (!process_)
        return;
    if (process_->state() != QProcess::NotRunning && process_->bytesAvailable() == 0) {
        QElapsedTimer elapsed;
        elapsed.start();
        // waitForReadyRead gives up at once when the child closed its output but runs on; then the
        // rest of the time is spent waiting for its end, so a caller's loop never spins.
        if (!process_->waitForReadyRead(milliseconds) && process_->state() != QProcess::NotRunning) {
            const int rest = milliseconds - static_cast<int>(elapsed.elapsed());
            if (rest > 0)
                process_->waitForFinished(rest);
        }
    }
    poll();
}

bool ChildProcess::isRunning()
{
    poll();
    return process_ && process_->state() != QProcess::NotRunning;
}

int ChildProcess::exitCode()
{
    if (!started_)
        return -1;
    if (isRunning())
        return kStillActive;
    if (process_->exitStatus() == QProcess::CrashExit)
        return 128 + process_->exitCode(); // the signal number, as shells report it
    return process_->exitCode();
}

qint64 ChildProcess::processId() const
{
    return process_ ? process_->processId() : 0;
}

QByteArray ChildProcess::takeNewOutput()
{
    poll();
    QByteArray result;
    result.swap(fresh_);
    return result;
}

void ChildProcess::kill()
{
    if (!started_)
        return;
    QElapsedTimer elapsed;
    elapsed.start();
    const auto group = static_cast<pid_t>(group_);
    ourGroups().signal(group, SIGKILL);
    if (process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(kKilledGoneMs);
    }
    // The others of the group are killed as surely, but each takes its moment to go: the group has ended
    // when this returns, and is let go of.
    waitForGroup(group, elapsed, kKilledGoneMs);
    drain();
    if (ourGroups().holds(group))
        ourGroups().letGoOfIdle(censusOfOurs().table);
}

void ChildProcess::terminate(int milliseconds)
{
    if (!started_)
        return;
    QElapsedTimer elapsed;
    elapsed.start();
    const auto group = static_cast<pid_t>(group_);
    ourGroups().signal(group, SIGTERM);
    if (process_->state() != QProcess::NotRunning) {
        process_->terminate();
        process_->waitForFinished(std::max(0, milliseconds));
    }
    if (!waitForGroup(group, elapsed, milliseconds) || process_->state() != QProcess::NotRunning)
        kill();
    drain();
    if (ourGroups().holds(group))
        ourGroups().letGoOfIdle(censusOfOurs().table);
}

void keepRunning(std::unique_ptr<ChildProcess> child)
{
    if (!child)
        return;
    releaseEndedKeptChildren();
    if (!child->isRunning())
        return;
    child->dropOutput_ = true;
    child->fresh_.clear();
    ChildProcess* raw = child.get();
    // Keep the pipe empty while nobody polls the child, so that it never blocks writing.
    QObject::connect(raw->process_.get(), &QProcess::readyRead, raw->process_.get(), [raw] { raw->drain(); });
    keptChildren().push_back(std::move(child));
}

int runningChildCount()
{
    releaseEndedKeptChildren();
    // A child whose end was not noticed yet is still a process of its group (a zombie until collected).
    for (ChildProcess* child : std::vector<ChildProcess*>(liveChildren()))
        child->poll();
    const ProcessCensus census = censusOfOurs();
    ourGroups().letGoOfIdle(census.table);
    return static_cast<int>(groupsOfOurs(census).size());
}

void endRunningChildren(int milliseconds)
{
    QElapsedTimer elapsed;
    elapsed.start();
    milliseconds = std::max(0, milliseconds);
    // Every group is asked at once, the orphans' too; what is still there when the time is up is killed.
    if (!endOurs(SIGTERM, false, elapsed, milliseconds)) {
        QElapsedTimer killed;
        killed.start();
        endOurs(SIGKILL, true, killed, kKilledGoneMs);
    }
    // The children's ends are noticed (each was signalled with its group) and their last output read.
    for (ChildProcess* child : std::vector<ChildProcess*>(liveChildren())) {
        if (child->process_ && child->process_->state() != QProcess::NotRunning &&
            !child->process_->waitForFinished(kKilledGoneMs))
            child->kill();
        child->poll();
    }
    keptChildren().clear();
    ourGroups().letGoOfIdle(censusOfOurs().table);
}

} // namespace os
