#pragma once

// The start-up module: the program's entry point Main, its only way out EndProgram, and the process state
// every window shares. Other process state lives beside the things it belongs to: goEZUSB
// (board/cls_ezusb.h), goEvalBd (board/evalbd.h), giRunMode and gsCmdLine (board/globals.h), goProgressBar
// and its three procedures (widgets/progress_global.h), SetModeAllForms (board/run_mode.h).

#include "shell/register_windows.h"

#include <QString>
#include <cstdint>

// The user locale's decimal separator and its character code; the key filters accept that code.
extern QString gsDecimalSep;
extern int16_t giDecimalSepCode;
// The user locale's negative sign and its character code.
extern QString gsNegativeSign;
extern int16_t giNegativeSignCode;
// False until a file dialog of the program has been confirmed once; while false the setup-file dialogs
// open in the program folder.
extern bool gbDlgShown;
// Program folder, "/", executable name and ".exe.MANIFEST": when that file exists start-up initialises
// the common controls.
extern QString gsManifestPath;
// The lamp colours (0x00BBGGRR): lit and dark green, red and yellow.
extern uint32_t glClrGreen;
extern uint32_t glClrDkGreen;
extern uint32_t glClrRed;
extern uint32_t glClrDkRed;
extern uint32_t glClrYellow;
extern uint32_t glClrDkYellow;

// The process's command line after the program name, its words joined by blanks.
QString processCommandLine();

// Brings the program up: configures the USB object from the command line, finds and selects a board
// (asking through the board selection dialog when every one of several boards is claimed; Cancel there
// ends the program), shows the main window, initialises the board's lines, detects the chip, resets the
// hardware and opens the Control and Profiles windows, reporting each step on the splash window and in
// "startup.log". Returns with the splash's auto-close armed; the program then runs on the event loop.
void Main(const QString& commandLine = processCommandLine());

// Ends the process: clears goEvalBd, unloads the register debug window and the splash (which closes the
// log), gives the board back to other running copies (host identifier 0) and ends at once; no other
// window is asked and nothing is saved.
[[noreturn]] void EndProgram();

// Calls RefreshFormVals of the loaded windows that show the register at `address`.
void RefreshFormsForRegister(int16_t address);
