#pragma once

// Connection flags of the board module. gbBoardConnected and gbPrevConnected are written only by the main
// window's USB watch (the state found by its last and its previous poll); gbHasFIFO by the board attach
// step, and it is not cleared when the board goes away.

extern bool gbBoardConnected;
extern bool gbPrevConnected;
extern bool gbHasFIFO;
