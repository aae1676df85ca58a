#pragma once

// The USB watch the main window's timer runs every 300 ms: it takes the board into use when it connects
// and lets it go when it disconnects (`gbBoardConnected`, `gbPrevConnected`), blinks the USB lamp while no
// board is there, and otherwise reads the board's status input and updates the windows with live lamps.

class BoardStatusIndicators;

class UsbWatch {
public:
    explicit UsbWatch(BoardStatusIndicators& indicators) : indicators_(indicators) {}

    void tick();

private:
    BoardStatusIndicators& indicators_;
    // The watch is inside the connect path (a tick then is skipped).
    bool inConnectPath_ = false;
};
