#pragma once

class frmControl;

// The typed PLL multiplier of silicon revision 3 (CFR3 bits 7:1) with its spin button: marked when the
// PLL will not lock with it, clipped to 8-127 when the box is left.
class ControlMultiplierSR3 {
public:
    explicit ControlMultiplierSR3(frmControl& window) : window_(window) {}

    void txtCLKMultiVal_Change();
    void txtCLKMultiVal_KeyPress(int& keyAscii);
    void txtCLKMultiVal_KeyDown(int& keyCode, int shift);
    void txtCLKMultiVal_Validate(bool& cancel);
    void vscMultiplier_Change();

private:
    frmControl& window_;
};
