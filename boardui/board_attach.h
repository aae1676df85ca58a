#pragma once

// Attaching and detaching the evaluation board, and the small procedures several windows share: the
// refresh of every loaded window, the operating-mode decoder of the simulator window and the DAC full-scale
// current formula of the Control window.
//
// The main window is reached by name ("mdiMain", procedures "UpdateUSBStat" and "UpdateFIFOStat"), so these
// procedures work (and only skip the indicators) when no main window is loaded.

#include <cstdint>

// The USB watch saw the board go from not connected to connected: the indicators, the chip's detection
// and register layout, a refresh of every window, then the FIFO detection and its indicator.
void ebOnBoardConnect();
// The USB watch saw the board go away: the indicators only; nothing is sent to the board.
void ebOnBoardDisconnect();
// Detects the chip and lays the register maps out for it (revision 1/2 layout for revision 2, revision 3
// layout when no chip answers; a revision 3 chip keeps the maps as they are), then refreshes every window.
void ebInitBoard();
// Calls RefreshFormVals of every loaded window, in load order; windows without it are passed over.
void ebRefreshAllForms();
// From the pending map: opMode = CFR1 bits 25:24, ramEnable = CFR1 bit 31, rampEnable = CFR2 bit 19,
// sxiMode = CFR2 bit 31. All 0 when there is no board object.
void ebGetDUTModes(int16_t& opMode, int16_t& ramEnable, int16_t& rampEnable, int16_t& sxiMode);
// The DAC full-scale current: (code / 96 + 1) * (86.4 / resistance). A resistance of 0 raises the classic
// division error (rt::RuntimeError 11).
double ebRateFormula(int16_t code, double resistance);
