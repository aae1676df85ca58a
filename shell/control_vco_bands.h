#pragma once

class frmControl;

// The VCO band lists of the Control window's two PLL layouts: the revision 1/2 band follows the VCO
// frequency, the revision 3 band the system clock, each marked when the band chosen does not hold it.
class ControlVcoBands {
public:
    explicit ControlVcoBands(frmControl& window) : window_(window) {}

    // Revision 1/2 band holding the VCO frequency: 0-62, 63 when none does, 64 with the PLL off.
    int GetVCORange() const;
    // That band, or -1 when there is none.
    int SetVCORange() const;
    // Revision 3 band holding the system clock: 0-5, 6 when none does, 7 with the PLL off.
    int GetVCORangeSR3() const;
    // Selects the band that holds the system clock (revision 3 layout only); the band or -1.
    int SetVCORangeSR3();

    void txtVCOFreq_Change();
    // After lstVCORange's click: its mark tells whether the chosen band holds the VCO frequency.
    void markVCOBand();
    void cmdFindVCORange_Click();
    void lsbVCORangeSR3_Click();

private:
    frmControl& window_;
};
