#pragma once

// frmFreqAndSweep ("OSK Control"): output shift keying with its amplitude scale factor, the single-tone
// frequency and phase, and the digital ramp (sweep) generator. The window edits CFR1, CFR2, FTW, POW, ASF,
// LSPR, LSDPR and LSRR in the pending map; LOAD writes them to the chip. The ramp direction, ramp hold and
// OSK pins go to the board at once; the two spin bars write their register at once.
//
// Procedures callable by name: "RefreshFormVals", "UpdateFreqsAndRRs", "UdStatusIndicators",
// "UdControlState", "SetMode".
//
// The system clock is the text of the Control window's txtSysClkTxt, read at each use. A clock that is not a
// positive number converts nothing: the stored words stay and the texts keep what they showed for them; a
// word that changes meanwhile (a refresh) leaves its frequency or ramp-rate field blank until a clock
// returns.

#include "board/register_field.h"
#include "boardui/form_names.h"
#include "profiles/value_fields.h"
#include "shell/register_window.h"
#include "shell/register_window_base.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"

#include <QString>
#include <cstdint>

// While RefreshFormVals runs the window's refreshing flag is up: the check boxes, lists and options then
// change no map and no line.
class frmFreqAndSweep : public regwin::RegisterWindow {
public:
    static inline const QString& FormName = formnames::frmFreqAndSweep;

    frmFreqAndSweep();
    ~frmFreqAndSweep() override;

    // ---- OSK frame ----
    ui::Frame fraFTW{this, QStringLiteral("fraFTW")};
    ui::CheckBox chkOSKPin{this, QStringLiteral("chkOSKPin")};
    ui::CheckBox chkEnableASF{this, QStringLiteral("chkEnableASF")};
    ui::Label lblASFReg{this, QStringLiteral("lblASFReg")};
    ui::TextBox txtAmpScaleStepST{this, QStringLiteral("txtAmpScaleStepST")};
    ui::ScrollBar vscAmpScaleSpinST{this, QStringLiteral("vscAmpScaleSpinST")};
    ui::TextBox txtAmpScaleST{this, QStringLiteral("txtAmpScaleST")};
    ui::CheckBox chkManualOSKExtCtrl{this, QStringLiteral("chkManualOSKExtCtrl")};
    ui::Frame fraAutoAmplitudeSetup{this, QStringLiteral("fraAutoAmplitudeSetup")};
    ui::CheckBox chkAutoASFEnable{this, QStringLiteral("chkAutoASFEnable")};
    ui::CheckBox chkLoadARRIOU{this, QStringLiteral("chkLoadARRIOU")};
    ui::Label lblIncDecSize{this, QStringLiteral("lblIncDecSize")};
    ui::ComboBox cmbASKIncDecSize{this, QStringLiteral("cmbASKIncDecSize"), -1, ui::vbComboDropdownList};
    ui::Label lblASKRR{this, QStringLiteral("lblASKRR")};
    ui::TextBox txtASKRR{this, QStringLiteral("txtASKRR")};
    // Unit labels "µs": 0 beside txtASKRR, 1 and 2 beside the step intervals.
    ui::ControlArray<ui::Label> lblns{this, QStringLiteral("lblns"), 3};

    // ---- auxiliary sources (single tone) ----
    ui::Frame fraOtherSrcs{this, QStringLiteral("fraOtherSrcs")};
    ui::Label lblOutFreqST{this, QStringLiteral("lblOutFreqST")};
    ui::TextBox txtOutFreqST{this, QStringLiteral("txtOutFreqST")};
    ui::Label lblMHzST{this, QStringLiteral("lblMHzST")};
    ui::Label lblPhaseOffsetST{this, QStringLiteral("lblPhaseOffsetST")};
    ui::TextBox txtPhOSpinStepST{this, QStringLiteral("txtPhOSpinStepST")};
    ui::ScrollBar vscPhaseOSpinST{this, QStringLiteral("vscPhaseOSpinST")};
    ui::TextBox txtPhaseOffsetST{this, QStringLiteral("txtPhaseOffsetST")};
    ui::Label lblDegST{this, QStringLiteral("lblDegST")};

    // ---- message panel ----
    ui::PictureBox fraMsg{this, QStringLiteral("fraMsg")};
    ui::Label lblModeMsg{this, QStringLiteral("lblModeMsg")};

    // ---- linear sweep setup ----
    ui::ControlArray<ui::Frame> fraLinSwpSetup{this, QStringLiteral("fraLinSwpSetup"), 1};
    ui::OptionButton optSweepDwn{this, QStringLiteral("optSweepDwn")};
    ui::OptionButton optSweepUp{this, QStringLiteral("optSweepUp")};
    ui::CheckBox chkClrFreqAccum{this, QStringLiteral("chkClrFreqAccum")};
    ui::CheckBox chkAutoClrFreqAccum{this, QStringLiteral("chkAutoClrFreqAccum")};
    ui::CheckBox chkLoadSRRonIOUD{this, QStringLiteral("chkLoadSRRonIOUD")};
    ui::Label lblLSDest{this, QStringLiteral("lblLSDest")};
    ui::ListBox lstLSDest{this, QStringLiteral("lstLSDest")};
    ui::CheckBox chkLSNoDwellLow{this, QStringLiteral("chkLSNoDwellLow")};
    ui::CheckBox chkLSNoDwellHigh{this, QStringLiteral("chkLSNoDwellHigh")};
    ui::CheckBox chkEnLinSweep{this, QStringLiteral("chkEnLinSweep")};
    ui::CheckBox chkLSHold{this, QStringLiteral("chkLSHold")};
    ui::Label lblLSRisingRR{this, QStringLiteral("lblLSRisingRR")};
    ui::TextBox txtLSRisingRR{this, QStringLiteral("txtLSRisingRR")};
    ui::Label lblLSFallingRR{this, QStringLiteral("lblLSFallingRR")};
    ui::TextBox txtLSFallingRR{this, QStringLiteral("txtLSFallingRR")};
    // Index 0 frequency, 1 phase, 2 amplitude: ramp limit 0 with the rising step, limit 1 with the falling.
    ui::ControlArray<ui::Frame> fraSweepWord0{this, QStringLiteral("fraSweepWord0"), 3};
    ui::ControlArray<ui::Frame> fraSweepWord1{this, QStringLiteral("fraSweepWord1"), 3};
    ui::TextBox txtLSSweepFreq0{this, QStringLiteral("txtLSSweepFreq0")};
    ui::TextBox txtLSRisingDFW0{this, QStringLiteral("txtLSRisingDFW0")};
    ui::TextBox txtLSSweepFreq1{this, QStringLiteral("txtLSSweepFreq1")};
    ui::TextBox txtLSFallingDFW1{this, QStringLiteral("txtLSFallingDFW1")};
    ui::TextBox txtLSSweepPhase0{this, QStringLiteral("txtLSSweepPhase0")};
    ui::TextBox txtLSRisingDPW0{this, QStringLiteral("txtLSRisingDPW0")};
    ui::TextBox txtLSSweepPhase1{this, QStringLiteral("txtLSSweepPhase1")};
    ui::TextBox txtLSFallingDPW1{this, QStringLiteral("txtLSFallingDPW1")};
    ui::TextBox txtLSSweepAmp0{this, QStringLiteral("txtLSSweepAmp0")};
    ui::TextBox txtLSRisingDAW0{this, QStringLiteral("txtLSRisingDAW0")};
    ui::TextBox txtLSSweepAmp1{this, QStringLiteral("txtLSSweepAmp1")};
    ui::TextBox txtLSFallingDAW1{this, QStringLiteral("txtLSFallingDAW1")};
    ui::Image imgLSFinished{this, QStringLiteral("imgLSFinished")};
    ui::Label lblLSFinished{this, QStringLiteral("lblLSFinished")};

    // ---- load ----
    ui::PictureBox pbxLoadBtn{this, QStringLiteral("pbxLoadBtn")};
    ui::CommandButton cmdLoad{this, QStringLiteral("cmdLoad")};
    ui::Label lblLoadFlash{this, QStringLiteral("lblLoadFlash")};
    ui::TimerControl tmrLoadFlash{this, QStringLiteral("tmrLoadFlash"), 200};

    // ---- public members ----
    // Shows the ramp frames of one destination (0 frequency, 1 phase, 2 amplitude); other values show none.
    void SetGUISweepType(int16_t sweepType);
    void RefreshFormVals();
    // Re-formats the frequency and ramp-rate texts from their words for the current clock.
    void UpdateFreqsAndRRs();
    // Every view (frequency, phase, amplitude) of the ramp limits and steps from the pending map.
    void RefreshLSParmDisplays();
    void UpdateLSCTL();
    void UpdateOtherForms();
    void UdStatusIndicators();
    void UdControlState();
    void SetMode();
    // Window metrics in twips, taken once at load; setting them from outside changes nothing.
    float BorderSize() const { return borderSize_; }
    void setBorderSize(float) {}
    float TitleBarHeight() const { return titleBarHeight_; }
    void setTitleBarHeight(float) {}
    void UpdateWindowMetrics();

    // ---- handlers ----
    void optSweepDwn_Click();
    void optSweepUp_Click();
    void chkLSHold_Click();
    void chkOSKPin_Click();
    void cmdLoad_Click();
    void tmrLoadFlash_Timer() { tickLoadIndicator(); }
    void vscAmpScaleSpinST_Change();
    void vscPhaseOSpinST_Change();
    void txtPhOSpinStepST_KeyPress(int& keyAscii);

    // Runs a value field's commit, as leaving it or pressing Enter in it does.
    void commitField(ui::TextBox& box) { values_.commit(box); }

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;

private:
    void setDesignProperties();
    void setFieldDesign();
    void bindHandlers();
    void buildFieldTable();
    void buildValueFields();
    void placeOSKFrame();
    void placeAuxFrame();
    void placeSweepFrame();
    void placeSweepWordFrames();

    // The destination list's frame change, run by the user's choice and by every refresh.
    void showDestination(int index);
    void sendPortE();

    profiles::ValueFields values_;
    float borderSize_ = 0;
    float titleBarHeight_ = 0;
};
