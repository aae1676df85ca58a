#pragma once

// Makes this library's windows known to the forms registry, so that other windows reach them by name: the
// main window, the splash, board selection, About, DUT I/O, the busy window, the picture store and the
// Control window. app/ calls it before start-up, and start-up calls it again for itself.
void RegisterShellWindows();
