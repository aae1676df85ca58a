#pragma once

// What the board module needs of the window system (board/window_services.h) given by platform/ui: the
// event pump and the clock (the tests' virtual clock where one is installed) and the screen-wide mouse
// pointer.

namespace boardwin {
class WindowServices;
}

// The services over the program's windows.
boardwin::WindowServices& boardWindowServices();

// Installs them and the board module's event table (boardui/board_event_table.h); start-up runs it before
// the first board access, the test programs before their first test.
void InstallBoardWindowServices();
