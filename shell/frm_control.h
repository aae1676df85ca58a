#pragma once

// frmControl: the chip's control panel. It edits the pending copy of CFR1, CFR2, CFR3, DAC CTRL and
// IOUD Rt bit by bit, works out the system clock from the reference clock and the PLL settings of the
// chip's silicon revision (the arithmetic is the clock plan's, board/clock_plan.h), and sends its five
// registers to the chip with LOAD. It feeds the system clock (board/system_clock.h) with what txtSysClkTxt
// and txtExternClk show, from which the other windows read it; a setup file's external clock comes back
// into txtExternClk through it.
//
// The window holds its controls, its marks and lamps, RefreshFormVals and the field table
// (frm_control_table.cpp); each other concern is a panel class of its own that the window's public members
// and handlers hand over to: the greying by mode (ControlModeState), the Clock frame (ControlClockPanel),
// the VCO bands (ControlVcoBands), the revision 3 multiplier (ControlMultiplierSR3), the internal I/O
// update rate (ControlIOUpdateRate), the auxiliary DAC (ControlAuxDac) and LOAD (ControlLoad).
//
// Procedures callable by name (ui::Forms::callIfLoaded("frmControl", ...)): "RefreshFormVals",
// "UdStatusIndicators", "UdControlState", "ShowExternalClock".
//
// The windows it refreshes (profiles, sweep, RAM, simulator, debug, watchdog, GPIO, ADC) are reached only
// by name through the forms registry, so each is skipped while it is not loaded.

#include "boardui/form_names.h"
#include "shell/control_aux_dac.h"
#include "shell/control_clock_panel.h"
#include "shell/control_io_update_rate.h"
#include "shell/control_load.h"
#include "shell/control_mode_state.h"
#include "shell/control_multiplier_sr3.h"
#include "shell/control_vco_bands.h"
#include "shell/register_window.h"
#include "shell/register_window_base.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"
#include "widgets/round_rect_frame.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class QObject;
class QWidget;

namespace regwin {
class RefreshKeyPreview;
}

class frmControl : public regwin::RegisterWindow {
public:
    static inline const QString& FormName = formnames::frmControl;

    frmControl();
    ~frmControl() override;

    // ---- operating mode ----
    ui::Frame fraOperationalMode{this, "fraOperationalMode"};
    ui::ListBox lstOppMode{this, "lstOppMode"};
    ui::CheckBox chkEnableRAM{this, "chkEnableRAM"};
    ui::CheckBox chkEnQDUCRAMEval{this, "chkEnQDUCRAMEval"};

    // ---- modulation options ----
    ui::Frame fraModulationOptions{this, "fraModulationOptions"};
    ui::CheckBox chkEnablePDCLK{this, "chkEnablePDCLK"};
    ui::CheckBox chkInvertPDCLK{this, "chkInvertPDCLK"};
    ui::CheckBox chkPDClkRateCtrl{this, "chkPDClkRateCtrl"};
    ui::CheckBox chkInvertTxEnable{this, "chkInvertTxEnable"};
    ui::CheckBox chkDataAssmHldsLastVal{this, "chkDataAssmHldsLastVal"};

    // ---- data port (SXI) ----
    ui::Frame fraSarvexInterface{this, "fraSarvexInterface"};
    ui::Image imgSXLogo{this, "imgSXLogo"};
    ui::Label lblSXLogo{this, "lblSXLogo"};
    ui::CheckBox chkActivateSXIMode{this, "chkActivateSXIMode"};
    ui::CheckBox chkEarlyFrameSyncEn{this, "chkEarlyFrameSyncEn"};
    ui::Label lblBitOrderSXI{this, "lblBitOrderSXI"};
    ui::ListBox lsbSXIBitOrder{this, "lsbSXIBitOrder"};
    ui::Label lblDataFormatSXI{this, "lblDataFormatSXI"};
    ui::ListBox lsbDataFormatSXI{this, "lsbDataFormatSXI"};

    // ---- power down ----
    ui::Frame fraPowerDowns{this, "fraPowerDowns"};
    ui::CheckBox chkDigitalPD{this, "chkDigitalPD"};
    ui::CheckBox chkDACPD{this, "chkDACPD"};
    ui::CheckBox chkClkInpPD{this, "chkClkInpPD"};
    ui::CheckBox chkAuxDACPD{this, "chkAuxDACPD"};
    ui::ListBox lsbExternPDMode{this, "lsbExternPDMode"};
    ui::CheckBox chkAutoPD{this, "chkAutoPD"};
    ui::CheckBox chkExternPDPin{this, "chkExternPDPin"};

    // ---- phase accumulator, sync clock, latency ----
    ui::Frame fraOther{this, "fraOther"};
    ui::CheckBox chkAutoClearPhaseAcc{this, "chkAutoClearPhaseAcc"};
    ui::CheckBox chkClearPhaseAcc{this, "chkClearPhaseAcc"};
    ui::CheckBox chkEnableSincClkOut{this, "chkEnableSincClkOut"};
    ui::CheckBox chkEnMatchedLatency{this, "chkEnMatchedLatency"};

    // ---- internal I/O update ----
    ui::Frame fraIOUpdateCtrls{this, "fraIOUpdateCtrls"};
    ui::CheckBox chkInternalIOUpdate{this, "chkInternalIOUpdate"};
    ui::Label lblInternalIOUpdateRate{this, "lblInternalIOUpdateRate"};
    ui::TextBox txtInternalIOUDRate{this, "txtInternalIOUDRate"};
    ui::ScrollBar vscIOUDRate{this, "vscIOUDRate"};
    ui::Label lblIOUDRateUnits{this, "lblIOUDRateUnits"};
    ui::Label lblIOUDClkDivVal{this, "lblIOUDClkDivVal"};
    ui::ComboBox cmbIOUpdateClkDiv{this, "cmbIOUpdateClkDiv", -1, ui::vbComboDropdownList};
    ui::PictureBox pbxIOUDIllistration{this, "pbxIOUDIllistration"};
    ui::ControlArray<ui::Line> lneIOUDIll{this, "lneIOUDIll"};
    ui::Label lblIOUpdateRateTotal{this, "lblIOUpdateRateTotal"};
    ui::Label lblIOUDRateVal{this, "lblIOUDRateVal"};

    // ---- auxiliary DAC ----
    ui::Frame fraDACControl{this, "fraDACControl"};
    ui::TextBox txtDACControl{this, "txtDACControl"};
    ui::ScrollBar vscDACControl{this, "vscDACControl"};
    ui::TextBox txtDACI_Out{this, "txtDACI_Out"};
    ui::Label lblIoutUnits{this, "lblIoutUnits"};

    // ---- clock ----
    ui::Frame fraClock{this, "fraClock"};
    ui::Label lblExternClk{this, "lblExternClk"};
    ui::TextBox txtExternClk{this, "txtExternClk"};
    ui::Label lblExternClkUnits{this, "lblExternClkUnits"};
    ui::CheckBox chkRefclkDivDisable{this, "chkRefclkDivDisable"};
    ui::Label lblRefClk{this, "lblRefClk"};
    ui::TextBox txtRefClk{this, "txtRefClk"};
    ui::Label lblRefClkUnits{this, "lblRefClkUnits"};
    ui::Label lblSysClk{this, "lblSysClk"};
    ui::TextBox txtSysClkTxt{this, "txtSysClkTxt"};
    ui::Label lblSysClkUnits{this, "lblSysClkUnits"};
    ui::CheckBox chkSR3{this, "chkSR3"};

    // silicon revisions 1 and 2
    ui::CheckBox chkEnableMulti{this, "chkEnableMulti"};
    ui::TextBox txtMultiBypassed{this, "txtMultiBypassed"};
    ui::Label lblMultiplier{this, "lblMultiplier"};
    ui::ComboBox cmbRFDividerRatio{this, "cmbRFDividerRatio", -1, ui::vbComboDropdownList};
    ui::Label lblMDivider{this, "lblMDivider"};
    ui::ComboBox cmbMDivider{this, "cmbMDivider", -1, ui::vbComboDropdownList};
    ui::Label lblVCOFreq{this, "lblVCOFreq"};
    ui::TextBox txtVCOFreq{this, "txtVCOFreq"};
    ui::Label lblVCOFreqUnits{this, "lblVCOFreqUnits"};
    ui::Label lblVCORange{this, "lblVCORange"};
    ui::ListBox lstVCORange{this, "lstVCORange"};
    ui::CommandButton cmdFindVCORange{this, "cmdFindVCORange"};
    ui::CheckBox chkNDivResetB{this, "chkNDivResetB"};
    ui::Label lblPLLLock{this, "lblPLLLock"};
    ui::Image imgDUTFlagsPD{this, "imgDUTFlagsPD"};
    ui::CommandButton cmdRefreshPLLLock{this, "cmdRefreshPLLLock"};

    // silicon revision 3, inside the rounded frame
    RoundRectFrame rrfMultiplier{this, "rrfMultiplier"};
    ui::CheckBox chkEnablePllSR3{this, "chkEnablePllSR3"};
    ui::Label lblCLKMultiVal{this, "lblCLKMultiVal"};
    ui::TextBox txtCLKMultiVal{this, "txtCLKMultiVal"};
    ui::ScrollBar vscMultiplier{this, "vscMultiplier"};
    ui::CheckBox chkPFDInputDblr{this, "chkPFDInputDblr"};
    ui::CheckBox chkPFDXRST{this, "chkPFDXRST"};
    ui::Label lblABPW{this, "lblABPW"};
    ui::ComboBox cmbABPW{this, "cmbABPW", -1, ui::vbComboDropdownList};
    ui::Label lblChargePumpCurrent{this, "lblChargePumpCurrent"};
    ui::ComboBox cmbChargePumpCurrent{this, "cmbChargePumpCurrent", -1, ui::vbComboDropdownList};
    ui::Label lblVCORangeSR3{this, "lblVCORangeSR3"};
    ui::ListBox lsbVCORangeSR3{this, "lsbVCORangeSR3"};
    ui::Label lblDRV0{this, "lblDRV0"};
    ui::ComboBox cmbDRV0{this, "cmbDRV0", -1, ui::vbComboDropdownList};
    ui::Label lblXTALOut{this, "lblXTALOut"};
    ui::ComboBox cmbXTALOut{this, "cmbXTALOut", -1, ui::vbComboDropdownList};
    ui::Label lblPllLockSR3{this, "lblPllLockSR3"};
    ui::Image imgPllLockSR3{this, "imgPllLockSR3"};
    ui::CommandButton cmdRefreshPlllockSR3{this, "cmdRefreshPlllockSR3"};

    // ---- error marks, warnings, load ----
    // 0 reference clock, 1 system clock, 3 revision 1/2 VCO band, 4 revision 3 multiplier, 5 revision 3
    // VCO band; 2 and 6 are never shown.
    ui::ControlArray<ui::Label> lblErr{this, "lblErr", 7};
    ui::CheckBox chkShowWarnings{this, "chkShowWarnings"};
    ui::Label lblLoadFlash{this, "lblLoadFlash"};
    ui::CommandButton cmdLoad{this, "cmdLoad"};
    ui::TimerControl tmrLoadFlash{this, "tmrLoadFlash", 200};

    // ---- public members ----
    // The window's method table; each concern is a panel of its own (below), the window hands over to it.
    // System clock (MHz) of revisions 1/2: (N / R) x reference; -1 when the reference is not a number.
    double GetSysClockVal() { return clock_.GetSysClockVal(); }
    // Re-reads every control from the pending map.
    void RefreshFormVals();
    // VCO frequency (MHz) of revisions 1/2: 2^m x N x reference / R; -1 when it cannot be computed.
    double GetVCOFreqVal() { return clock_.GetVCOFreqVal(); }
    void UpdateClksSR12() { clock_.UpdateClksSR12(); }
    void UpdateClksSR3() { clock_.UpdateClksSR3(); }
    // Revision 1/2 band holding the VCO frequency: 0-62, 63 when none does, 64 with the PLL off.
    int GetVCORange() { return bands_.GetVCORange(); }
    // That band, or -1 when there is none.
    int SetVCORange() { return bands_.SetVCORange(); }
    // System clock (MHz) of revision 3: reference x multiplier x doubler with the PLL on, reference / R
    // with it off; -1 when it cannot be computed.
    double GetSysClockValSR3() { return clock_.GetSysClockValSR3(); }
    // Revision 3 band holding the system clock: 0-5, 6 when none does, 7 with the PLL off.
    int GetVCORangeSR3() { return bands_.GetVCORangeSR3(); }
    // Selects the band that holds the system clock (revision 3 layout only); the band or -1.
    int SetVCORangeSR3() { return bands_.SetVCORangeSR3(); }
    // Recomputes the clocks by the layout of the chip's silicon revision.
    void UpdateClks() { clock_.UpdateClks(); }
    // Shows the I/O update period of IOUD Rt and the total period with the clock divider.
    void UpdateIOUDClk() { ioUpdateRate_.UpdateIOUDClk(); }
    // The PLL lock lamp of revision 3 from the status line the USB watch has just read.
    void UdStatusIndicators();
    // Greys the controls that do not apply in the operating mode, RAM and SXI settings of the map.
    void UdControlState() { modeState_.UdControlState(); }
    // Takes the system clock's external clock into txtExternClk, as if typed (a setup file set it).
    void ShowExternalClock() { clock_.ShowExternalClock(); }
    // Shows the auxiliary DAC's full-scale current for the code in DAC CTRL.
    void udI_DacOutval() { auxDac_.udI_DacOutval(); }

    // Whether the chip uses the revision 3 register layout (any revision but 1 and 2).
    bool isRev3Layout() const;

    // ---- handlers (the controls of the field table store through it) ----
    void chkExternPDPin_Click();
    void chkSR3_Click() { clock_.chkSR3_Click(); }

    void txtDACControl_GotFocus() { auxDac_.txtDACControl_GotFocus(); }
    void txtDACControl_KeyPress(int& keyAscii) { auxDac_.txtDACControl_KeyPress(keyAscii); }
    void txtDACControl_Validate(bool& cancel) { auxDac_.txtDACControl_Validate(cancel); }
    void vscDACControl_Change() { auxDac_.vscDACControl_Change(); }

    void txtExternClk_Change() { clock_.txtExternClk_Change(); }
    void txtExternClk_KeyPress(int& keyAscii) { clock_.txtExternClk_KeyPress(keyAscii); }
    void txtExternClk_Validate(bool& cancel) { clock_.txtExternClk_Validate(cancel); }
    void txtSysClkTxt_Change() { clock_.txtSysClkTxt_Change(); }
    void txtVCOFreq_Change() { bands_.txtVCOFreq_Change(); }
    void cmdFindVCORange_Click() { bands_.cmdFindVCORange_Click(); }
    void lsbVCORangeSR3_Click() { bands_.lsbVCORangeSR3_Click(); }
    void txtCLKMultiVal_Change() { multiplierSR3_.txtCLKMultiVal_Change(); }
    void txtCLKMultiVal_KeyPress(int& keyAscii) { multiplierSR3_.txtCLKMultiVal_KeyPress(keyAscii); }
    void txtCLKMultiVal_KeyDown(int& keyCode, int shift)
    {
        multiplierSR3_.txtCLKMultiVal_KeyDown(keyCode, shift);
    }
    void txtCLKMultiVal_Validate(bool& cancel) { multiplierSR3_.txtCLKMultiVal_Validate(cancel); }
    void vscMultiplier_Change() { multiplierSR3_.vscMultiplier_Change(); }

    void txtInternalIOUDRate_Change() { ioUpdateRate_.txtInternalIOUDRate_Change(); }
    void txtInternalIOUDRate_KeyPress(int& keyAscii) { ioUpdateRate_.txtInternalIOUDRate_KeyPress(keyAscii); }
    void txtInternalIOUDRate_Validate(bool& cancel) { ioUpdateRate_.txtInternalIOUDRate_Validate(cancel); }
    void vscIOUDRate_Change() { ioUpdateRate_.vscIOUDRate_Change(); }

    void cmdLoad_Click() { load_.cmdLoad_Click(); }
    void tmrLoadFlash_Timer();
    void cmdRefreshPLLLock_Click();
    void cmdRefreshPlllockSR3_Click();
    // Character 18 (Ctrl+R) re-reads the window; the window sees keys before its controls.
    void Form_KeyPress(int& keyAscii);

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;

private:
    // The panels work on the window's controls, its marks, its field table and its LOAD.
    friend class ControlAuxDac;
    friend class ControlClockPanel;
    friend class ControlIOUpdateRate;
    friend class ControlLoad;
    friend class ControlMultiplierSR3;
    friend class ControlVcoBands;

    // The registers' fields the window's code reads outside its table (greying, clocks, the single-tone
    // bits, typed and spun values).
    static const RegisterField kIOUpdateClockDivider;
    static const RegisterField kPllEnable;
    static const RegisterField kVCOBandSR12;
    static const RegisterField kVCOBandSR3;
    static const RegisterField kMultiplierSR3;
    static const RegisterField kAuxDACCode;
    static const RegisterField kIOUpdateCount;

    void setCaptions();
    void fillLists();
    void bindHandlers();
    void buildFieldTable();
    void drawIOUDIllustration(QWidget* surface);

    // Stores a typed or spun value into the pending map; skipped while refreshing.
    void store(const RegisterField& field, uint64_t value);

    void showPllLamp(ui::Image& lamp);
    bool markShown(int index) const;
    void setMark(int index, bool shown);

    QWidget* rev12Panel_ = nullptr;
    std::unique_ptr<regwin::RefreshKeyPreview> keyPreview_;

    ControlModeState modeState_{*this};
    ControlClockPanel clock_{*this};
    ControlVcoBands bands_{*this};
    ControlMultiplierSR3 multiplierSR3_{*this};
    ControlIOUpdateRate ioUpdateRate_{*this};
    ControlAuxDac auxDac_{*this};
    ControlLoad load_{*this};
};

// Makes the Control window loadable by name ("frmControl"); start-up calls it before it loads the window.
void registerControlWindow();
