#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

class QProcess;

namespace os {

// The exit code reported while a child is still running.
constexpr int kStillActive = 259;

// A child program started from its path and a list of arguments (never a command line, so a file name with
// blanks, quotes or shell characters names exactly that file), its standard output and standard error
// merged and read through one pipe; its standard input is empty. Single-threaded: output arrives while the
// caller waits in waitForActivity() or while the event loop runs; poll() moves it into the object.
//
// Each child runs in a process group apart from ours, which the programs it starts join. The group is held
// by its guardian (GroupGuardian), which ends the whole group when this process ends in any way, SIGKILL
// included; on Linux the child itself also dies with this process. Every group of ours with a program
// still running is in the process-wide registry (group_registry.h), so that endRunningChildren() can end them
// all (the children's children too) when the program ends or closes its numerical runtime's windows. A group
// is let go of, its guardian ended, as soon as the child's end is noticed and nothing else of the group runs,
// or later, when what the child left running there has ended too.
//
// A program that leaves its group on purpose (setsid(), a group of its own) is not reached by ending the
// group. Once a child has been started, this program adopts the orphans below it (orphan_adoption.h):
// such a program becomes this one's child when its parent ends, and endRunningChildren() ends it and its
// group with the others. Only while this program runs: after a SIGKILL such a program goes on running. An
// orphan that ends is collected on the event loop as it ends (child_end_watch.h, process_census.h).
class ChildProcess {
public:
    // Output kept by output(): at most this many bytes from the start; later bytes are still read (so the
    // child never blocks on a full pipe) and handed out by takeNewOutput(), but not kept.
    explicit ChildProcess(qsizetype keptOutputLimit = 16 * 1024 * 1024);
    ~ChildProcess(); // kills the child when it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts the program file `program` with `arguments` in `folder` (empty: the current folder). A relative
    // program path is taken from `folder`; "\" counts as a separator in it; the PATH is never searched.
    // False, with errorText(), when the child could not be started: "... not found", or "... cannot be run: "
    // and the reason (no execute permission, a missing interpreter, a file the system cannot execute). One
    // start per object.
    bool start(const QString& program, const QStringList& arguments = {}, const QString& folder = QString());
    QString errorText() const { return errorText_; }
    bool started() const { return started_; }

    // Reads what the pipe holds and notices an exit; call often.
    void poll();
    // Waits up to `milliseconds` for output or the child's end (processing no other events), then polls.
    void waitForActivity(int milliseconds);

    bool isRunning();
    // kStillActive while running; the exit code after the end; 128 + signal number when a signal ended it;
    // -1 when the child was never started.
    int exitCode();
    qint64 processId() const;
    // The process group the child was started into (0 before the start).
    qint64 processGroup() const { return group_; }

    // All output kept so far (the first keptOutputLimit bytes), and the total count read.
    const QByteArray& output() const { return output_; }
    qint64 totalOutputBytes() const { return totalBytes_; }
    // The bytes read since the last call (all of them, kept or not).
    QByteArray takeNewOutput();

    // Ends the child and every program of its group at once (no-op when none runs), and waits until the
    // child is gone.
    void kill();
    // Asks the child and its group to end (SIGTERM); waits at most `milliseconds`; kills what is still there.
    void terminate(int milliseconds);

private:
    friend void keepRunning(std::unique_ptr<ChildProcess> child);
    friend void endRunningChildren(int milliseconds);
    void drain();
    // Once the child's end is noticed: the groups in which nothing runs any more, its own among them, are
    // let go of (once per child).
    void noticeEnd();

    std::unique_ptr<QProcess> process_;
    qsizetype keptLimit_;
    QByteArray output_;
    QByteArray fresh_;
    qint64 totalBytes_ = 0;
    qint64 group_ = 0;       // the process group the child runs in
    bool groupHeld_ = false; // its group is looked at when its end is noticed
    QString errorText_;
    bool started_ = false;
    bool dropOutput_ = false; // a kept child: its output is read and dropped
};

// Keeps a child that is still running after its caller is done with it; endRunningChildren() ends it
// later. Its output goes on being read and dropped, so it never blocks on a full pipe. A child that has
// ended already is simply released.
void keepRunning(std::unique_ptr<ChildProcess> child);

// Process groups of ours in which a program still runs (kept children, those a caller still waits for, what
// the ones that ended left running, and the groups of the orphans left to this program).
int runningChildCount();

// Ends every program of ours that still runs, the children's children included, those that left their
// child's group among them: each group is asked to end, all get at most `milliseconds` in total, then what
// is left is killed. Kept children are released.
void endRunningChildren(int milliseconds = 2000);

} // namespace os
