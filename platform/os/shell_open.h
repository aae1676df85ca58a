#pragma once

#include <QString>

namespace os {

// What the desktop is asked to show.
enum class OpenKind {
    Document,   // a file opened with the program the desktop associates with it (xdg-open)
    Url,        // a web address, opened in the web browser
    TextViewer, // a text file shown in the desktop's text viewer (what "notepad" stands for)
    Program,    // another program started on its own, not waited for
};

struct OpenRequest {
    OpenKind kind = OpenKind::Document;
    QString target;      // file, address or program
    QString folder;      // working folder; empty means the current one
    QString parameters;  // extra arguments, as one text
    int showCommand = 1; // window state asked for: 0 hidden, 1 normal, 2 minimised, 3 maximised, ...
};

// Opens documents, addresses and viewers through the desktop. A missing viewer or browser is a failure
// (false), never fatal. Tests install a recorder (os_test_doubles.h).
class ShellService {
public:
    virtual ~ShellService() = default;
    virtual bool open(const OpenRequest& request) = 0;
};

ShellService& shellService();
void setShellService(ShellService* service); // nullptr restores the desktop one

// Opens a file or an address with the desktop's "Open" action: a text with a scheme ("http:", "mailto:",
// ...) is an address; "notepad" / "notepad.exe" (with or without a folder) shows `parameters` in the text
// viewer; anything else is a document. False when nothing could open it.
bool shellOpen(const QString& target, const QString& folder = QString(),
               const QString& parameters = QString(), int showCommand = 1);

// Starts a command line without waiting for it. A first word naming "notepad" shows the rest in the text
// viewer; any other program is started detached in `folder`. False when it could not be started.
bool startDetached(const QString& commandLine, const QString& folder = QString());

// Classifies a target the way shellOpen does (exposed for the recorder and tests).
OpenRequest classifyOpen(const QString& target, const QString& folder, const QString& parameters,
                         int showCommand);

} // namespace os
