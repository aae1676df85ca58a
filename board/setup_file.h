#pragma once

// Saving and loading setup files ("*.stp"): registers 0x00-0x15 and 0x18, the Control window's external
// clock and six board lines (external power-down, ISFC, OSK, P0-P2). The text form is in
// setup_file_format.h.
//
// The external clock is the system clock's (system_clock.h): the save writes the one the Control window
// shows (or the last a setup file set), the load sets it, and the Control window, when loaded, takes it
// into its box.

#include <QString>
#include <cstdint>

// Results of ebLoadSetupFile.
enum SetupLoadResult : int16_t {
    kSetupLoaded = 0,
    // Not a setup file of this form, a row that fits neither this chip nor the other silicon revision, or a
    // file that cannot be read.
    // Nothing was changed.
    kSetupBadFile = -1,
    // A board is attached but no chip answered on it; the file was not opened.
    kSetupNoChip = -2,
    // The file was good and every value reached the register maps, the clock box and the lines, but the
    // board refused one or more register writes (those registers stay pending).
    kSetupChipWriteFailed = -3,
};

// Writes the file, replacing any file of that name. With a board attached the registers are read from the
// chip, otherwise taken from the written register map. Nothing is written when a chip read fails, the
// clock box holds no number or the file cannot be created: the user is told, an existing file keeps its
// content, and the progress bar and mouse pointer are reset. True when the file was written.
bool ebSaveSetupFile(const QString& path);

// Loads a setup file: every row is checked before anything is written (address 0x00-0x15 or 0x18, value
// of "0"/"1" as wide as the register); then each register goes into the chip and the pending map (without
// a board into both maps), the board FIFO is reset, the I/O update line pulsed (with a board), the clock
// box and the lines set and ports A and E sent. Rows at 0x16 and above are skipped on revision 1/2 chips.
// A row written on the other silicon revision (its value as wide as the register is there, for a register
// whose width differs between the revisions) is skipped too, leaving that register as it was; the rest of
// the file loads.
int16_t ebLoadSetupFile(const QString& path);
