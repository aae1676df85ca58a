#pragma once

// frmADC: the auxiliary ADC of silicon revision 3. ADC Control (1AH) is edited and loaded; ADC Results
// (1BH) is read back and shown as the binary code, a voltage, the source input and a conversion-complete
// lamp. The controls are enabled only on revision 3 while the SXI data-port mode (CFR2 bit 31) is set; the
// Control window refreshes this window whenever that bit is switched.
//
// Procedures callable by name: "RefreshFormVals".

#include "board/chip_registers.h"
#include "boardui/form_names.h"
#include "debug/rev3_window.h"
#include "shell/register_window.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"

#include <QString>

class frmADC : public rev3::Window {
public:
    static inline const QString& FormName = formnames::frmADC;

    frmADC();

    ui::Frame fraADCControl{this, "fraADCControl"};
    ui::Label lblInputSel{this, "lblInputSel"};
    ui::ListBox lsbInputSel{this, "lsbInputSel"};
    ui::ControlArray<ui::Label> lblErr{this, "lblErr", 1};
    ui::Label lblConversionMode{this, "lblConversionMode"};
    ui::ListBox lsbConversionMode{this, "lsbConversionMode"};
    ui::CheckBox chkStartSingleConvert{this, "chkStartSingleConvert"};
    ui::CheckBox chkPowerDown{this, "chkPowerDown"};
    ui::CommandButton cmdLoad{this, "cmdLoad"};
    ui::CommandButton cmdRead{this, "cmdRead"};
    ui::Label lblLoadFlash{this, "lblLoadFlash"};

    ui::Frame fraADCResult{this, "fraADCResult"};
    ui::Label lblConversionResult{this, "lblConversionResult"};
    ui::TextBox txtConversionResultVal{this, "txtConversionResultVal"};
    ui::TextBox txtADCInpVal{this, "txtADCInpVal"};
    ui::Label lblResultSrc{this, "lblResultSrc"};
    ui::ListBox lsbResultSrc{this, "lsbResultSrc"};
    ui::Image imgConvertCmplete{this, "imgConvertCmplete"};
    ui::Label lblConvertCmplete{this, "lblConvertCmplete"};
    ui::CommandButton cmdReadResult{this, "cmdReadResult"};
    ui::TimerControl tmrLoadFlash{this, "tmrLoadFlash", 300};

    void RefreshFormVals();

    void cmdLoad_Click();
    void cmdRead_Click() { readAndShow(kADCControl); }
    void cmdReadResult_Click() { readAndShow(kADCResults); }
    void tmrLoadFlash_Timer() { tickLoadIndicator(); }

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;

private:
    void readAndShow(int16_t addr);
};
