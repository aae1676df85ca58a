#pragma once

// What the main window shows while the board object moves RAM words or FIFO packets: the status-bar
// progress bar, the busy window, and the board's USB lamp held steady (its settings saved at the start and
// given back at the end).

#include <QString>
#include <cstdint>

class cZR4470XEvalBd;

class TransferDisplay {
public:
    // `board` is the board object whose lamp is held (none: the lamp is left alone).
    void begins(cZR4470XEvalBd* board, int32_t total, const QString& text, bool showMessage);
    void progress(int32_t done);
    void ends(cZR4470XEvalBd* board, bool success, const QString& errorText);

private:
    bool savedFlashUSBStatus_ = false;
    int16_t savedUSBStatus_ = 0;
};
