#pragma once

#include <QString>
#include <optional>

class frmControl;

// The Control window's internal I/O update rate: IOUD Rt (a count of quarter system-clock periods) shown
// as a period, the total period with the CFR2 clock divider, the typed period turned back into a count,
// and the spin button, the one control of the window that reaches the chip without LOAD.
class ControlIOUpdateRate {
public:
    explicit ControlIOUpdateRate(frmControl& window) : window_(window) {}

    // Shows the I/O update period of IOUD Rt and the total period with the clock divider.
    void UpdateIOUDClk();
    // The illustration and the totals lit while the internal I/O update is used, the entry greyed when not.
    void showState();

    void txtInternalIOUDRate_Change();
    void txtInternalIOUDRate_KeyPress(int& keyAscii);
    void txtInternalIOUDRate_Validate(bool& cancel);
    void vscIOUDRate_Change();

private:
    // The system clock in txtSysClkTxt when it is one that conversions can use (usableSystemClock).
    std::optional<double> usableSysClock() const;
    // I/O update period (s) of a count at the current system clock; nothing without a usable clock.
    std::optional<double> ioudPeriod(double count) const;
    QString ioudPeriodText(double count) const;

    frmControl& window_;
    // The period box holds the user's own text (typed since the window last wrote it).
    bool ioudTextEdited_ = false;
    bool settingIOUDText_ = false;
};
