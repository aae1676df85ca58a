#pragma once

#include "board/clock_plan.h"

class frmControl;

// The Control window's Clock frame: the reference clock box, the system clock it makes through the PLL of
// the chip's silicon revision (the arithmetic is the clock plan's), the PLL enables' greying and which
// revision's group is shown. It feeds the system clock with what the reference and system clock boxes show.
class ControlClockPanel {
public:
    explicit ControlClockPanel(frmControl& window) : window_(window) {}

    // The clock group's controls, read for the clock arithmetic.
    clockplan::ClockInputs clockInputs() const;
    // The classic readers: each works out its own layout's value, whatever the chip's revision; -1 when
    // it cannot be computed.
    double GetSysClockVal() const;
    double GetVCOFreqVal() const;
    double GetSysClockValSR3() const;
    void UpdateClksSR12();
    void UpdateClksSR3();
    void UpdateClks();
    void ShowExternalClock();

    void txtExternClk_Change();
    void txtExternClk_KeyPress(int& keyAscii);
    void txtExternClk_Validate(bool& cancel);
    void txtSysClkTxt_Change();

    // The revision 1/2 PLL group: the "Bypassed" box and the greying follow the multiplier's enable.
    void showMultiplierState();
    // The revision 3 PLL group, greyed while its PLL is off.
    void showPllSR3State();
    void chkSR3_Click();
    // The revision 1/2 group and the rounded revision 3 frame share one place in the Clock frame.
    void showRevisionGroup();

private:
    // The reference after the ÷2 divider, shown in both layouts.
    void showRefClock();

    frmControl& window_;
};
