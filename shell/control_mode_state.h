#pragma once

class frmControl;

// The Control window's greying by the operating mode, the RAM enable and the SXI activation of the pending
// map, and the windows that follow a change of mode or of SXI.
class ControlModeState {
public:
    explicit ControlModeState(frmControl& window) : window_(window) {}

    // The operating mode list changed (or a refresh set it): greying, then the profile, simulator, sweep
    // and RAM windows, each when loaded.
    void operatingModeChanged();
    // The SXI box changed (or a refresh set it): greying, then the simulator, GPIO, ADC and watchdog
    // windows, each when loaded.
    void sxiModeChanged();
    void UdControlState();
    // Invert PDCLK and the PDCLK rate apply only while PDCLK is enabled.
    void showPDCLKState();

private:
    frmControl& window_;
};
