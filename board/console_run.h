#pragma once

// One run of a console program as its window sees it: what the whole output held, whether the program
// could be started, and a way to stop it while the run still waits.

#include "board/console_watch.h"

#include <QString>
#include <vector>

namespace os {
class ChildProcess;
}

class ConsoleRun {
public:
    // `watched`: the texts to look for in all of the output (ConsoleWatch).
    explicit ConsoleRun(std::vector<ConsoleWatch::Text> watched = {});
    ConsoleRun(const ConsoleRun&) = delete;
    ConsoleRun& operator=(const ConsoleRun&) = delete;

    const ConsoleWatch& output() const { return watch_; }

    // True while RunConsoleProgram waits for this run's program.
    bool waiting() const { return child_ != nullptr; }
    // Ends the program and every program it started (asked first, killed when they do not go within
    // `milliseconds`); the waiting RunConsoleProgram then returns kConsoleStopped. Before the start it keeps
    // the program from starting.
    void stop(int milliseconds = 2000);
    bool stopped() const { return stopped_; }

    // Set when the program could not be started: why, as the console box shows it.
    bool startFailed() const { return startFailed_; }
    const QString& startError() const { return startError_; }

    // Used by RunConsoleProgram while it runs the program.
    void attach(os::ChildProcess* child) { child_ = child; }
    void detach() { child_ = nullptr; }
    void feed(const QByteArray& bytes) { watch_.feed(bytes); }
    void setStartFailure(const QString& reason)
    {
        startFailed_ = true;
        startError_ = reason;
    }

private:
    ConsoleWatch watch_;
    os::ChildProcess* child_ = nullptr;
    bool stopped_ = false;
    bool startFailed_ = false;
    QString startError_;
};
