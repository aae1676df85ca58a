#pragma once

// The message boxes the board module shows (verbose errors, files that could not be read or written). The
// box itself is a window and lives in a layer above this one, so the board module talks to whatever sink
// that layer installs here; with none installed a message is dropped and the box's default answer comes
// back. The button and answer numbers are the message box's own.

#include <QString>

namespace boardmsg {

enum Buttons : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};
enum Answer : int { vbOK = 1, vbCancel = 2 };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows the box and returns the button chosen. A null title means the application title.
    virtual int show(const QString& prompt, int buttons, const QString& title) = 0;
};

// Installs the sink MsgBox reaches (nullptr: none). The sink is not owned; whoever installs it removes it
// before it goes.
void setMessageSink(MessageSink* sink);
MessageSink* messageSink();

// The box through the installed sink; vbOK with none installed.
int MsgBox(const QString& prompt, int buttons = vbOKOnly, const QString& title = QString());

} // namespace boardmsg
