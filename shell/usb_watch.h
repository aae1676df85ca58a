#pragma once

// The USB watch the main window's timer runs every 300 ms: it takes the board into use when it connects
// and lets it go when it disconnects (`gbBoardConnected`, `gbPrevConnected`), blinks the USB lamp while no
// board is there, and otherwise reads the board's status input and updates the windows with live lamps. A
// board that is plugged in but does not answer is said so on the lamp; the status read tries it again.

class BoardStatusIndicators;

class UsbWatch {
public:
    explicit UsbWatch(BoardStatusIndicators& indicators) : indicators_(indicators) {}

    void tick();
    // The lamp after the user chose a board in the selection dialog: its name, and as long as it does not
    // answer, that it does not. Taking the board into use is left to the watch's next tick.
    void showChosenBoard();

private:
    BoardStatusIndicators& indicators_;
    // Says on the lamp when the board stops answering and when it answers again.
    void showAnswering(bool answering);

    // The watch is inside the connect path (a tick then is skipped).
    bool inConnectPath_ = false;
    // The lamp says the board does not answer.
    bool notAnswering_ = false;
};
