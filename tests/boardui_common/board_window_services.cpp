// Linked into every test program that uses the board module: its waits run on the virtual clock and its
// window calls reach the test's windows from the first test on, as they reach the program's windows.

#include "boardui/board_window_services.h"

namespace {

const bool installed = (InstallBoardWindowServices(), true);

} // namespace
