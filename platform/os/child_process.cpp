#include "platform/os/child_process.h"

#include "platform/os/files.h"
#include "platform/os/group_guardian.h"
#include "platform/os/paths.h"

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

// A process group of our children: led by its guardian (or, when none could be started, by the child).
struct Group {
    pid_t id = 0;
    std::unique_ptr<GroupGuardian> guardian;
};

// Our children's groups, kept while a program of the group may still run: a child that ended may have left
// programs of its own behind.
std::vector<Group>& ourGroups()
{
    static std::vector<Group> groups;
    return groups;
}

bool guarded(pid_t group)
{
    const auto& groups = ourGroups();
    return std::any_of(groups.begin(), groups.end(),
                       [group](const Group& entry) { return entry.id == group && entry.guardian; });
}

// True while a program of the group still runs; its guardian does not count. Zombies do not count either:
// a child's child that outlived it is left to the system's first process, which may never collect it.
bool groupRuns(pid_t group)
{
    if (group <= 0 || ::kill(-group, 0) != 0)
        return false;
    const bool skipLeader = guarded(group);
    QDir proc(QStringLiteral("/proc"));
    if (!proc.exists())
        return true;
    const QStringList entries = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number || (skipLeader && pid == group))
            continue;
        QFile stat(proc.filePath(entry) + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid pgrp ...": the name may hold blanks and parentheses.
        const QByteArray line = stat.read(4096);
        const qsizetype close = line.lastIndexOf(')');
        if (close < 0)
            continue;
        const QList<QByteArray> fields = line.mid(close + 1).simplified().split(' ');
        if (fields.size() < 3 || fields[2].toLongLong() != group)
            continue;
        if (fields[0] != "Z" && fields[0] != "X")
            return true;
    }
    return false;
}

void signalGroup(pid_t group, int signal)
{
    if (group > 0)
        ::kill(-group, signal);
}

// Forgets the groups in which nothing runs any more, their guardians ended (the numbers may be given to
// other programs later).
void pruneGroups()
{
    auto& groups = ourGroups();
    groups.erase(
        std::remove_if(groups.begin(), groups.end(), [](const Group& group) { return !groupRuns(group.id); }),
        groups.end());
}

std::vector<pid_t> groupIds()
{
    std::vector<pid_t> ids;
    for (const Group& group : ourGroups())
        ids.push_back(group.id);
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

// Waits until no program of the groups runs or `deadline` has passed; true when none runs.
bool waitForGroups(const std::vector<pid_t>& groups, const QElapsedTimer& elapsed, int milliseconds)
{
    for (;;) {
        const bool anyRuns =
            std::any_of(groups.begin(), groups.end(), [](pid_t group) { return groupRuns(group); });
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
    if (process_ && process_->state() != QProcess::NotRunning) {
        signalGroup(static_cast<pid_t>(group_), SIGKILL);
        process_->kill();
        process_->waitForFinished(3000);
    }
    auto& live = liveChildren();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
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
    process_->setProgram(path);
    process_->setArguments(arguments);
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
    ourGroups().push_back(Group{static_cast<pid_t>(group_), std::move(guardian)});
    return true;
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
    signalGroup(group, SIGKILL);
    if (process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(kKilledGoneMs);
    }
    // The others of the group are killed as surely, but each takes its moment to go: the group has ended
    // when this returns.
    waitForGroups({group}, elapsed, kKilledGoneMs);
    drain();
}

void ChildProcess::terminate(int milliseconds)
{
    if (!started_)
        return;
    QElapsedTimer elapsed;
    elapsed.start();
    const auto group = static_cast<pid_t>(group_);
    signalGroup(group, SIGTERM);
    if (process_->state() != QProcess::NotRunning) {
        process_->terminate();
        process_->waitForFinished(std::max(0, milliseconds));
    }
    if (!waitForGroups({group}, elapsed, milliseconds) || process_->state() != QProcess::NotRunning)
        kill();
    drain();
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
    pruneGroups();
    return static_cast<int>(ourGroups().size());
}

void endRunningChildren(int milliseconds)
{
    QElapsedTimer elapsed;
    elapsed.start();
    milliseconds = std::max(0, milliseconds);
    const std::vector<ChildProcess*> live = liveChildren();
    const std::vector<pid_t> groups = groupIds();
    for (pid_t group : groups)
        signalGroup(group, SIGTERM);
    for (ChildProcess* child : live) {
        const int rest = std::max(0, milliseconds - static_cast<int>(elapsed.elapsed()));
        if (child->process_ && child->process_->state() != QProcess::NotRunning &&
            !child->process_->waitForFinished(rest))
            child->kill();
        child->drain();
    }
    if (!waitForGroups(groups, elapsed, milliseconds)) {
        for (pid_t group : groups)
            signalGroup(group, SIGKILL);
        QElapsedTimer killed;
        killed.start();
        waitForGroups(groups, killed, kKilledGoneMs);
    }
    for (ChildProcess* child : live)
        child->poll();
    keptChildren().clear();
    pruneGroups();
}

} // namespace os
