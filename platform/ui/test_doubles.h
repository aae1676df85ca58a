#pragma once

#include "platform/ui/scripted_dialogs.h"
#include "platform/ui/scripted_message_boxes.h"
#include "platform/ui/virtual_clock.h"

#include <QString>
#include <QStringList>
#include <exception>
#include <functional>
#include <optional>

namespace ui {
class Form;
}

namespace ui::testing {

// Installs every test double of the window layer: scripted message boxes and common dialogs, the modal
// form hook, the virtual clock (timers and waits take no real time), and the sound and shell-open
// recorders of platform/os (os::testing::soundRecorder(), shellRecorder()). Called once by the test programs'
// main before any test runs.
void installTestDoubles();

// Puts the doubles back in their initial state (empty scripts and records); called before each test.
// Also unloads every form (without running its unload events) and destroys the unloaded ones, sets the clock
// to 10:00:00 and clears the screen-wide mouse pointer.
void resetTestDoubles();

// Called by the test programs' main after the last test: unloads and destroys every form while the
// application object still exists.
void shutdownTestDoubles();

ScriptedMessageBoxes& messageBoxes();
ScriptedDialogs& dialogs();
VirtualClock& clock();

// ---- modal forms ----
// `answer` runs whenever the form of that name is shown modally (after it is visible): it sets controls
// and presses a button. When the form is hidden or unloaded afterwards, Show returns at once.
void onModal(const QString& formName, std::function<void(Form&)> answer);
template <typename T> void onModal(std::function<void(T&)> answer)
{
    onModal(T::FormName, [answer = std::move(answer)](Form& form) { answer(static_cast<T&>(form)); });
}
// Names of the forms shown modally, in order.
QStringList modalShows();
// Forms whose modal Show no one answered within a minute of virtual time (they were hidden).
QStringList unansweredModals();

// ---- what a test left unchecked ----
// Everything a test did not plan for, one line each; empty when all is as scripted. The test programs'
// main checks it after every test and fails the test with these lines:
// - a message box no answer was queued for (its title and text are named),
// - answers queued for message boxes, or common dialogs, that no box or dialog took,
// - a common dialog shown with nothing queued for it,
// - an onModal answer for a form that was never shown modally (assertions inside it never ran), a modal
//   form no one answered, and a whileShown check with no box shown.
QStringList unplannedEvents();
// For a test that legitimately lets message boxes come and go unscripted (their default button answers):
// called in that test, it takes the unscripted boxes out of the check for that test only. Give the reason.
void allowUnscriptedMessageBoxes(const char* reason);
// The same for common dialogs shown with nothing queued (they are cancelled).
void allowUnscriptedDialogs(const char* reason);

// ---- the end of the process ----
// Thrown by EndProcess in tests; catch it where the test expects the program to end. Call the code that
// ends the program directly or from a timer or DoEvents of the tests, not from inside a Qt event handler
// (a close event, a signal, a QTest click): Qt's own frames are not built to pass exceptions.
struct ProcessEnded : std::exception {
    explicit ProcessEnded(int code) : exitCode(code) {}
    const char* what() const noexcept override { return "the program ended (EndProcess)"; }
    int exitCode;
};
// The exit code of the last EndProcess in this test, if any.
std::optional<int> endedWith();

} // namespace ui::testing
