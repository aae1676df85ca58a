#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class QProcess;

namespace os {

// The exit code reported while a child is still running.
constexpr int kStillActive = 259;

// A child program started from a command line, its standard output and standard error merged and read
// through one pipe; its standard input is empty. Single-threaded: output arrives while the caller waits in
// waitForActivity() or while the event loop runs; poll() moves it into the object.
//
// Every started child that still runs is in a process-wide registry, so that endRunningChildren() can end
// the ones still running when the program closes its numerical runtime's windows.
class ChildProcess {
public:
    // Output kept by output(): at most this many bytes from the start; later bytes are still read (so the
    // child never blocks on a full pipe) and handed out by takeNewOutput(), but not kept.
    explicit ChildProcess(qsizetype keptOutputLimit = 16 * 1024 * 1024);
    ~ChildProcess(); // kills the child when it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts the command line (the program and its arguments as one text; double quotes group words) in
    // `folder` (empty: the current folder). A program named without a folder is looked for in `folder`
    // first, then on the PATH; "\" counts as a separator in the program's path. False, with errorText(),
    // when the child could not be started. One start per object.
    bool start(const QString& commandLine, const QString& folder = QString());
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

    // All output kept so far (the first keptOutputLimit bytes), and the total count read.
    const QByteArray& output() const { return output_; }
    qint64 totalOutputBytes() const { return totalBytes_; }
    // The bytes read since the last call (all of them, kept or not).
    QByteArray takeNewOutput();

    // Ends the child at once (no-op when it is not running), and waits until it is gone.
    void kill();
    // Asks the child to end (SIGTERM); waits at most `milliseconds`; kills it when it is still there.
    void terminate(int milliseconds);

private:
    friend void keepRunning(std::unique_ptr<ChildProcess> child);
    friend void endRunningChildren(int milliseconds);
    void drain();

    std::unique_ptr<QProcess> process_;
    qsizetype keptLimit_;
    QByteArray output_;
    QByteArray fresh_;
    qint64 totalBytes_ = 0;
    QString errorText_;
    bool started_ = false;
    bool dropOutput_ = false; // a kept child: its output is read and dropped
};

// Keeps a child that is still running after its caller is done with it; endRunningChildren() ends it
// later. Its output goes on being read and dropped, so it never blocks on a full pipe. A child that has
// ended already is simply released.
void keepRunning(std::unique_ptr<ChildProcess> child);

// Children of ours that still run (kept ones and those a caller still waits for).
int runningChildCount();

// Ends every child of ours that still runs: each is asked to end, all get at most `milliseconds` in
// total, then those left are killed. Kept children are released.
void endRunningChildren(int milliseconds = 2000);

} // namespace os
