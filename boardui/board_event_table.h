#pragma once

// The one table from the board module's notices (board/board_notices.h) to the windows: each notice runs
// the procedures of the loaded windows that show what changed, in this order, and loads no window.
//
//   RAMFileLoaded          frmQDUCRSR.RefreshFormVals
//   FillTestRegistersSet   frmControl, frmProfile, frmDebug: RefreshFormVals
//   RunModeChanged         SetMode of every loaded window that has it, in load order
//   systemClock().ExternalClockSet   frmControl.ShowExternalClock (its box's change handlers run)
//
// The board object's own events (RAM and FIFO transfers, reset) are the main window's, bound where it
// creates the object.

// Binds the table; InstallBoardWindowServices runs it.
void InstallBoardEventTable();
