#pragma once

// What the board module's own procedures (the RAM files, the fill test, the run modes) tell the windows
// when they are done: typed events, one per kind of change. Which windows re-read what is the layer
// above's business; boardui/board_event_table.cpp binds each event to those windows' procedures. An event
// nobody bound does nothing, so the board module works alone.

#include "board/board_event.h"

struct BoardNotices {
    // A RAM data file was sent to the chip RAM (whether or not the transfer worked).
    BoardEvent<> RAMFileLoaded;
    // The RAM fill test put its CFR1 and Profile0 into the pending map and the chip.
    BoardEvent<> FillTestRegistersSet;
    // giRunMode was set again from a typed word.
    BoardEvent<> RunModeChanged;
};

// The notices of the program's one board module.
BoardNotices& boardNotices();
