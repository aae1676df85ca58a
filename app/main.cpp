#include "app/termination_signals.h"
#include "profiles/frm_profile.h"
#include "shell/frm_control.h"
#include "shell/startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessaron"));
    // Every window decides for itself when it goes; the program ends only through EndProgram.
    QApplication::setQuitOnLastWindowClosed(false);
    endProgramOnTerminationSignals();
    // The windows start-up opens by name.
    registerControlWindow();
    registerProfileWindow();
    Main();
    return QApplication::exec();
}
