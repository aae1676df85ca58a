#include "shell/control_mode_state.h"

#include "board/chip_registers.h"
#include "boardui/form_names.h"
#include "shell/control_window_kit.h"
#include "shell/frm_control.h"
#include "shell/frm_graphics.h"

#include "platform/ui/forms.h"

using controlkit::paint;

void ControlModeState::operatingModeChanged()
{
    UdControlState();
    ui::Forms::callIfLoaded(formnames::frmProfile, formnames::RefreshFormVals);
    ui::Forms::callIfLoaded(formnames::frmSimulatorSetup, formnames::RefreshFormVals);
    ui::Forms::callIfLoaded(formnames::frmFreqAndSweep, formnames::UdControlState);
    ui::Forms::callIfLoaded(formnames::frmQDUCRSR, formnames::UdControlState);
}

void ControlModeState::sxiModeChanged()
{
    UdControlState();
    ui::Forms::callIfLoaded(formnames::frmSimulatorSetup, formnames::RefreshFormVals);
    ui::Forms::callIfLoaded(formnames::frmGPIO, formnames::RefreshFormVals);
    ui::Forms::callIfLoaded(formnames::frmADC, formnames::RefreshFormVals);
    ui::Forms::callIfLoaded(formnames::frmWatchDogTmr, formnames::RefreshFormVals);
}

void ControlModeState::UdControlState()
{
    frmControl& w = window_;
    const uint64_t mode = kOperatingMode.get();
    const bool ramEnabled = kRAMEnable.get() == 1;
    const bool sxiActive = kSXIEnable.get() == 1;
    const bool quadrature = mode == 0;
    const bool singleTone = mode == 1;

    paint({&w.lblDataFormatSXI, &w.lsbDataFormatSXI}, quadrature);
    paint({&w.chkAutoPD, &w.fraModulationOptions, &w.chkEnablePDCLK, &w.chkInvertPDCLK, &w.chkInvertTxEnable,
           &w.chkPDClkRateCtrl, &w.chkDataAssmHldsLastVal},
          !singleTone);
    paint({&w.chkEnableRAM}, quadrature);
    paint({&w.chkEnQDUCRAMEval}, quadrature && ramEnabled);
    paint({&w.chkEnMatchedLatency, &w.chkAutoClearPhaseAcc, &w.chkClearPhaseAcc}, singleTone);
    paint({&w.chkActivateSXIMode}, quadrature);
    paint({&w.chkEarlyFrameSyncEn, &w.lblBitOrderSXI, &w.lsbSXIBitOrder}, quadrature && sxiActive);
    w.imgSXLogo.setPicture(ui::form<frmGraphics>().imgSXLogo(quadrature && sxiActive ? 1 : 0).Picture());
}

void ControlModeState::showPDCLKState()
{
    paint({&window_.chkInvertPDCLK, &window_.chkPDClkRateCtrl}, window_.chkEnablePDCLK.Value() == 1);
}
