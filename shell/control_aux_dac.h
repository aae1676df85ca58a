#pragma once

class frmControl;

// The Control window's auxiliary DAC: the typed or spun code (0-255) into DAC CTRL bits 7:0, and the
// full-scale current it gives.
class ControlAuxDac {
public:
    explicit ControlAuxDac(frmControl& window) : window_(window) {}

    // Shows the auxiliary DAC's full-scale current for the code in DAC CTRL.
    void udI_DacOutval();

    void txtDACControl_GotFocus();
    void txtDACControl_KeyPress(int& keyAscii);
    void txtDACControl_Validate(bool& cancel);
    void vscDACControl_Change();

private:
    frmControl& window_;
};
