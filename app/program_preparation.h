#pragma once

// Everything the program sets up between its application object and start-up (Main): its name, its one way
// of ending (EndProgram, also on SIGTERM, SIGINT and SIGHUP), the board driver (real boards over USB unless
// TESSARON_BOARDS names emulated ones) and the windows that are opened by name. The program and the desktop
// test driver start the same way through it.
void prepareProgram();
