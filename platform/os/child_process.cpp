#include "platform/os/child_process.h"

#include "platform/os/files.h"
#include "platform/os/paths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <vector>

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

bool isExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

} // namespace

ChildProcess::ChildProcess(qsizetype keptOutputLimit) : keptLimit_(std::max<qsizetype>(0, keptOutputLimit))
{
}

ChildProcess::~ChildProcess()
{
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(3000);
    }
    auto& live = liveChildren();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

bool ChildProcess::start(const QString& commandLine, const QString& folder)
{
    if (started_ || process_) {
        errorText_ = QStringLiteral("The program was started already.");
        return false;
    }
    QStringList words = QProcess::splitCommand(commandLine);
    if (words.isEmpty()) {
        errorText_ = QStringLiteral("No program to start.");
        return false;
    }
    const QString workDir = folder.isEmpty() ? QDir::currentPath() : toNativePath(folder);
    if (!DirExists(workDir)) {
        errorText_ = QStringLiteral("Folder not found: %1").arg(workDir);
        return false;
    }
    const QString named = toNativePath(words.takeFirst());
    QString program;
    if (named.contains(QLatin1Char('/'))) {
        program = QDir::isAbsolutePath(named) ? named : joinPath(workDir, named);
    } else if (isExecutableFile(joinPath(workDir, named))) {
        program = joinPath(workDir, named);
    } else {
        program = QStandardPaths::findExecutable(named);
    }
    if (program.isEmpty() || !FileExists(program)) {
        errorText_ = QStringLiteral("Program not found: %1").arg(program.isEmpty() ? named : program);
        return false;
    }
    if (!isExecutableFile(program)) {
        errorText_ = QStringLiteral("Program cannot be run: %1").arg(program);
        return false;
    }

    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::MergedChannels);
    // Nobody types into a child of ours: a program that asks for input reads an end of file instead of
    // waiting for ever.
    process_->setStandardInputFile(QProcess::nullDevice());
    process_->setWorkingDirectory(workDir);
    process_->setProgram(program);
    process_->setArguments(words);
    process_->start(QIODevice::ReadOnly);
    if (!process_->waitForStarted(10000)) {
        errorText_ = QStringLiteral("%1: %2").arg(program, process_->errorString());
        process_.reset();
        return false;
    }
    started_ = true;
    liveChildren().push_back(this);
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
    if (!process_ || process_->state() == QProcess::NotRunning)
        return;
    process_->kill();
    process_->waitForFinished(3000);
    drain();
}

void ChildProcess::terminate(int milliseconds)
{
    if (!process_ || process_->state() == QProcess::NotRunning)
        return;
    process_->terminate();
    if (!process_->waitForFinished(std::max(0, milliseconds)))
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
    int count = 0;
    const std::vector<ChildProcess*> live = liveChildren();
    for (ChildProcess* child : live) {
        if (child->isRunning())
            ++count;
    }
    return count;
}

void endRunningChildren(int milliseconds)
{
    QElapsedTimer elapsed;
    elapsed.start();
    const std::vector<ChildProcess*> live = liveChildren();
    for (ChildProcess* child : live) {
        if (child->process_ && child->process_->state() != QProcess::NotRunning)
            child->process_->terminate();
    }
    for (ChildProcess* child : live) {
        const int rest = std::max(0, milliseconds - static_cast<int>(elapsed.elapsed()));
        if (child->process_ && child->process_->state() != QProcess::NotRunning &&
            !child->process_->waitForFinished(rest))
            child->kill();
        child->drain();
    }
    keptChildren().clear();
}

} // namespace os
