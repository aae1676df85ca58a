#pragma once

// RunConsoleProgram: runs an external console program and mirrors its text into a window's box while the
// rest of the windows keep running.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

class ConsoleRun;

namespace ui {
class TextBox;
}

// The most output characters the box shows: the first ones the program writes.
constexpr int kConsoleMirrorLimit = 16000;
// What RunConsoleProgram returns when the stop text ended the wait while the program still runs.
constexpr int32_t kConsoleStillActive = 259;
// What it returns when the program could not be started.
constexpr int32_t kConsoleStartFailed = -1;
// What it returns when the run was stopped (ConsoleRun::stop) and the program ended.
constexpr int32_t kConsoleStopped = -2;

// Starts the program file `program` (a path, relative ones taken from `folder`; never looked for on the PATH)
// with `arguments` in `folder` (empty: the current folder), its standard output and standard error read
// through one pipe, and waits while window events run.
// The box shows `firstText`, then every non-blank line of the first kConsoleMirrorLimit characters of the
// output read so far, each followed by CR LF, with the caret at the end; it is rebuilt whenever new output
// arrives. The wait ends when the program ends (its exit code is returned; 128 + n when signal n ended
// it) or when `stopText` appears anywhere in the output read so far (an empty stop text at the first
// poll): then kConsoleStillActive is returned if the program still runs, and it is left running until the
// program ends its children (os::endRunningChildren, when the plot windows are closed).
//
// `run`, when given, is judged on all of the output (not only what the box shows) and can stop the program
// while the wait goes on (kConsoleStopped). A program that cannot be started gives kConsoleStartFailed at
// once, with "Error - " and the reason after the first text in the box and in `run`. There is no console
// window here: `showConsole` and `title` are accepted and have nothing to act on. Each run keeps its own
// state, so runs from two windows (one nested in the other's wait) do not disturb each other.
int32_t RunConsoleProgram(const QString& program, const QStringList& arguments, ui::TextBox& outputBox,
                          int16_t showConsole, const std::optional<QString>& title, const QString& firstText,
                          const QString& stopText, const QString& folder = QString(),
                          ConsoleRun* run = nullptr);
