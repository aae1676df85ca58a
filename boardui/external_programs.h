#pragma once

// The outside numerical programs: whether the chip simulator and the modulation vector generators are
// installed, closing the plot windows they leave open, and the busy state of the two windows that run
// them. On this platform the programs are executables at the named paths below the program folder, and
// their plot windows belong to the child programs of ours that still run.

#include <QString>
#include <QStringList>

// How long ebCloseFigureWindows lets the programs end on request before it ends them itself.
constexpr int kFigureWindowsCloseMs = 2000;

// True when "Simulator/main.exe" exists below the program folder.
bool ebSimulatorPresent();
// True as soon as one generator named in "ModVectorGen.ini" (key "Path" of its section, or the default
// path) exists below the program folder.
bool ebVectGenPresent();
// Ends every child program of ours that still runs (their plot windows go with them); returns at once
// when none runs, and after a bounded wait otherwise.
void ebCloseFigureWindows();
// Marks the simulator setup window and the modulation vector window busy or idle, each only when it is
// loaded: their run / generate buttons enabled exactly when idle, the window's pointer the arrow with
// hourglass while busy and the default otherwise.
void ebSetSimFormsBusy(bool busy);

namespace board {

// The generator programs' full paths in the order they are tried, from "ModVectorGen.ini" or the defaults.
QStringList vectorGeneratorPaths();
// True as soon as one generator whose tab the generator window shows exists: the main window's button to
// that window counts only these, so the window it opens always has a tab to work on.
bool vectorGeneratorWithTabPresent();
// The simulator program's full path.
QString simulatorProgramPath();

} // namespace board
