#pragma once

#include <QString>
#include <cstddef>

namespace ui {

enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
    vbApplicationModal = 0,
    vbSystemModal = 4096,
};
enum MsgBoxResult : int {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7
};

// Shows a message box and returns the button chosen (vbOK ... vbNo). A null title means the application
// title; an empty one is shown empty. Escape (or the close box) answers Cancel where the box has Cancel,
// OK for an OK-only box; Yes/No and Abort/Retry/Ignore boxes must be answered with a button.
int MsgBox(const QString& prompt, int buttons = vbOKOnly, const QString& title = QString());

void setApplicationTitle(const QString& title);
QString applicationTitle();

// Where message boxes go: the real one shows a QMessageBox; tests install a scripted one.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual int show(const QString& prompt, int buttons, const QString& title) = 0;
};
void setMessageBoxService(MessageBoxService* service); // nullptr restores the real one

// The default button of a box with these flags: its position (0-2) and its result code.
size_t defaultButtonIndex(int flags);
int defaultButtonResult(int flags);
// The least width (pixels) of a window whose caption shows `title` whole under a window manager.
int widthForCaption(const QString& title);

} // namespace ui
