#include "app/program_preparation.h"

#include "app/board_driver_hookup.h"
#include "app/termination_signals.h"
#include "debug/register_windows.h"
#include "modulation/register_windows.h"
#include "platform/ui/msgbox.h"
#include "platform/usbhost/board_selection.h"
#include "profiles/register_windows.h"
#include "shell/register_windows.h"
#include "shell/startup.h"
#include "sweep/register_windows.h"

#include <QApplication>

void prepareProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("tessaron"));
    // Every window decides for itself when it goes; the program ends only through EndProgram.
    QApplication::setQuitOnLastWindowClosed(false);
    endProgramOnTerminationSignals([] { EndProgram(); });
    // Real boards over USB unless TESSARON_BOARDS names emulated ones; the kind is said on the standard
    // error. The real-board driver holds a board for one user action and hears when the program waits for
    // its user; at the end it resets a board it still holds out of step.
    if (usbhost::LibusbDriver* realBoards = usbhost::installBoardDriver([](const QString& text) {
            ui::MsgBox(text, ui::vbExclamation, QStringLiteral("Evaluation Board Access"));
        })) {
        tellOfTheProgramsWaits(realBoards);
        resetHeldBoardsAtTheEnd(*realBoards);
    }
    // The windows that are opened by name, start-up's among them.
    RegisterShellWindows();
    RegisterProfilesWindows();
    RegisterSweepWindows();
    RegisterDebugWindows();
    RegisterModulationWindows();
}
