#pragma once

// What the board module needs of the windows (board/window_services.h) given by the program's windows:
// the event pump and the clock of platform/ui (the tests' virtual clock where one is installed), the forms
// registry and the screen-wide mouse pointer.

namespace boardwin {
class WindowServices;
}

// The services over the program's windows.
boardwin::WindowServices& boardWindowServices();

// Installs them; start-up runs it before the first board access, the test programs before their first test.
void InstallBoardWindowServices();
