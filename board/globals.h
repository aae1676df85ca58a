#pragma once

// Process globals shared by the start-up module and the windows.

#include <QString>
#include <cstdint>

// The run mode: 0 normal, 1 debug, 2 engineering, 3 full engineering, 4 and 5 two further modes.
// Written only by SetRunModeFromCommand and SetRunModeFromText.
extern int16_t giRunMode;
// The command line, upper case, without the USB options and blanks; replaced by a word typed in About.
extern QString gsCmdLine;
