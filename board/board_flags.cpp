#include "board/board_flags.h"

bool gbBoardConnected = false;
bool gbPrevConnected = false;
bool gbHasFIFO = false;
