#pragma once

#include "platform/os/shell_open.h"
#include "platform/os/sounds.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace os::testing {

// Records every open request and answers with `result` (true unless a test sets it false).
class RecordingShellService : public ShellService {
public:
    bool open(const OpenRequest& request) override;
    std::vector<OpenRequest> requests;
    bool result = true;
};

// Records every system sound by name.
class RecordingSoundService : public SoundService {
public:
    void playSystemSound(const QString& name) override;
    bool hasSoundDevice() const override { return soundDevice; }
    QStringList played;
    bool soundDevice = true;
};

RecordingShellService& shellRecorder();
RecordingSoundService& soundRecorder();

// Installs the os doubles: the shell-open and sound recorders, and a program folder in a temporary folder
// of this test process (so tests never write beside the test program). Called once before any test runs.
void installTestDoubles();

// Back to the installed state before each test: empty records, answers true, the test program folder,
// the user's own locale, and no child process of ours left running (each is killed).
void resetTestDoubles();

// The temporary program folder the doubles install.
QString testProgramFolder();

} // namespace os::testing
