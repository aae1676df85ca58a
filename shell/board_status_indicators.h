#pragma once

// The main window's status-bar indicators of the board: the USB lamp (text, icon and attention sign, which
// blink while no board is connected) and the FIFO lamp.

#include <QString>

namespace ui {
class Image;
class Label;
} // namespace ui

class BoardStatusIndicators {
public:
    BoardStatusIndicators(ui::Label& usbText, ui::Image& usbIcon, ui::Image& usbAttention, ui::Label& fifo)
        : usbText_(usbText), usbIcon_(usbIcon), usbAttention_(usbAttention), fifo_(fifo)
    {
    }

    // The USB lamp for a board connected under `driverName`, or "Not Connected!".
    void showConnection(bool connected, const QString& driverName);
    // The USB lamp's text alone: the board's name, the lamp's colours as they are.
    void showBoardName(const QString& driverName);
    // One blink step while no board is connected: the attention sign and the text take turns.
    void blinkDisconnected();
    // The lamp's background while a board is connected (the text is left as it is).
    void keepConnected();
    // The USB lamp for a board that is plugged in under `driverName` but does not answer.
    void showNotAnswering(const QString& driverName);
    // The FIFO lamp: waiting for a board, "FIFO Missing" or "FIFO Present".
    void showFIFO(bool connected, bool hasFIFO);

private:
    ui::Label& usbText_;
    ui::Image& usbIcon_;
    ui::Image& usbAttention_;
    ui::Label& fifo_;
};
