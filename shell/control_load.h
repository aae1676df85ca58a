#pragma once

class frmControl;

// The Control window's LOAD: the warnings its error marks call for (when "Show Warnings" is checked), IOUD
// Rt first, the single-tone bits cleared outside the run mode that keeps them, then CFR1, CFR2, CFR3 and
// DAC CTRL, and afterwards the PLL lamps and the register debug window.
class ControlLoad {
public:
    explicit ControlLoad(frmControl& window) : window_(window) {}

    void cmdLoad_Click();

private:
    // False when the user answered No to a warning.
    bool confirmLoad();
    // Single tone runs without the RAM and the digital ramp.
    void clearSingleToneBits();

    frmControl& window_;
};
