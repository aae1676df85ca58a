// Linked into every test program that uses the board module: its messages reach the scripted message boxes
// from the first test on, as they reach the real ones in the program.

#include "boardui/board_message_box.h"

namespace {

const bool installed = (InstallBoardMessageBoxes(), true);

} // namespace
