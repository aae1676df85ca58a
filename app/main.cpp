#include "app/termination_signals.h"
#include "debug/register_windows.h"
#include "modulation/register_windows.h"
#include "platform/ui/app.h"
#include "platform/ui/msgbox.h"
#include "platform/usbhost/board_selection.h"
#include "profiles/register_windows.h"
#include "shell/register_windows.h"
#include "shell/startup.h"
#include "sweep/register_windows.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessaron"));
    // Every window decides for itself when it goes; the program ends only through EndProgram.
    QApplication::setQuitOnLastWindowClosed(false);
    endProgramOnTerminationSignals([] { EndProgram(); });
    // Real boards over USB unless TESSARON_BOARDS names emulated ones; the kind is said on the standard
    // error.
    usbhost::installBoardDriver(
        [](const QString& text) {
            ui::MsgBox(text, ui::vbExclamation, QStringLiteral("Evaluation Board Access"));
        },
        [] { return ui::waitingForUser(); });
    // The windows that are opened by name, start-up's among them.
    RegisterShellWindows();
    RegisterProfilesWindows();
    RegisterSweepWindows();
    RegisterDebugWindows();
    RegisterModulationWindows();
    Main();
    return QApplication::exec();
}
