// The Control window: its handlers bound to the window or its panels, its life, the board line it drives,
// RefreshFormVals, the error marks and the PLL lock lamps.

#include "shell/frm_control.h"

#include "board/board_flags.h"
#include "board/chip_registers.h"
#include "board/evalbd.h"
#include "board/globals.h"
#include "board/system_clock.h"
#include "boardui/form_names.h"
#include "boardui/text_selection.h"
#include "shell/frm_graphics.h"
#include "shell/refresh_key_preview.h"

#include "platform/ui/forms.h"
#include "platform/ui/key_codes.h"

#include <QWidget>

const RegisterField frmControl::kIOUpdateClockDivider{kCFR2, 15, 14};
const RegisterField frmControl::kPllEnable = ::kPllEnable;
const RegisterField frmControl::kVCOBandSR12{kCFR3, 29, 24};
const RegisterField frmControl::kVCOBandSR3{kCFR3, 26, 24};
const RegisterField frmControl::kMultiplierSR3 = kPllMultiplierSR3;
const RegisterField frmControl::kAuxDACCode{kDACCtrl, 7, 0};
const RegisterField frmControl::kIOUpdateCount{kIOUDRate, 31, 0};

frmControl::frmControl() : regwin::RegisterWindow(FormName)
{
    setMdiChild(true);
    setCaptions();
    bindHandlers();
    buildFieldTable();
    // The controls start as an empty map would show them; RefreshFormVals sets them when the window loads.
    clock_.showMultiplierState();
    clock_.showPllSR3State();
    modeState_.showPDCLKState();
    ioUpdateRate_.showState();
    registerProc(formnames::RefreshFormVals, [this] { RefreshFormVals(); });
    registerProc(formnames::UdStatusIndicators, [this] { UdStatusIndicators(); });
    registerProc(formnames::UdControlState, [this] { UdControlState(); });
    registerProc(formnames::ShowExternalClock, [this] { ShowExternalClock(); });
}

frmControl::~frmControl()
{
    systemClock().forget(this);
}

void frmControl::bindHandlers()
{
    // The controls of the field table are bound by buildFieldTable.
    ui::bind(chkExternPDPin.Click, this, &frmControl::chkExternPDPin_Click);
    ui::bind(chkSR3.Click, this, &frmControl::chkSR3_Click);

    ui::bind(txtDACControl.GotFocus, this, &frmControl::txtDACControl_GotFocus);
    ui::bind(txtDACControl.KeyPress, this, &frmControl::txtDACControl_KeyPress);
    ui::bind(txtDACControl.Validate, this, &frmControl::txtDACControl_Validate);
    ui::bind(vscDACControl.Change, this, &frmControl::vscDACControl_Change);

    // Clock, PLL and VCO.
    ui::bind(txtExternClk.Change, this, &frmControl::txtExternClk_Change);
    ui::bind(txtExternClk.KeyPress, this, &frmControl::txtExternClk_KeyPress);
    ui::bind(txtExternClk.Validate, this, &frmControl::txtExternClk_Validate);
    ui::bind(txtSysClkTxt.Change, this, &frmControl::txtSysClkTxt_Change);
    ui::bind(txtVCOFreq.Change, this, &frmControl::txtVCOFreq_Change);
    ui::bind(cmdFindVCORange.Click, this, &frmControl::cmdFindVCORange_Click);
    ui::bind(lsbVCORangeSR3.Click, this, &frmControl::lsbVCORangeSR3_Click);
    ui::bind(txtCLKMultiVal.Change, this, &frmControl::txtCLKMultiVal_Change);
    ui::bind(txtCLKMultiVal.KeyPress, this, &frmControl::txtCLKMultiVal_KeyPress);
    ui::bind(txtCLKMultiVal.KeyDown, this, &frmControl::txtCLKMultiVal_KeyDown);
    ui::bind(txtCLKMultiVal.Validate, this, &frmControl::txtCLKMultiVal_Validate);
    ui::bind(vscMultiplier.Change, this, &frmControl::vscMultiplier_Change);

    // Internal I/O update.
    ui::bind(txtInternalIOUDRate.Change, this, &frmControl::txtInternalIOUDRate_Change);
    ui::bind(txtInternalIOUDRate.KeyPress, this, &frmControl::txtInternalIOUDRate_KeyPress);
    ui::bind(txtInternalIOUDRate.Validate, this, &frmControl::txtInternalIOUDRate_Validate);
    txtInternalIOUDRate.GotFocus = [this] { SelectAllText(txtInternalIOUDRate); };
    txtExternClk.GotFocus = [this] { SelectAllText(txtExternClk); };
    txtCLKMultiVal.GotFocus = [this] { SelectAllText(txtCLKMultiVal); };
    ui::bind(vscIOUDRate.Change, this, &frmControl::vscIOUDRate_Change);

    // Load and status.
    ui::bind(cmdLoad.Click, this, &frmControl::cmdLoad_Click);
    ui::bind(tmrLoadFlash.Timer, this, &frmControl::tmrLoadFlash_Timer);
    ui::bind(cmdRefreshPLLLock.Click, this, &frmControl::cmdRefreshPLLLock_Click);
    ui::bind(cmdRefreshPlllockSR3.Click, this, &frmControl::cmdRefreshPlllockSR3_Click);
}

void frmControl::Form_Load()
{
    keyPreview_ =
        std::make_unique<regwin::RefreshKeyPreview>(*this, [this](int& key) { Form_KeyPress(key); });
    fillLists();
    // The external clock a setup file set while the window was not loaded, 1000 MHz at first.
    txtExternClk.setText(systemClock().externalClockText());
    RefreshFormVals();
    // What the boxes show from now on, even where no change handler ran (no board object: no clock).
    systemClock().showExternalClock(this, txtExternClk.Text());
    systemClock().showClock(this, txtSysClkTxt.Text());
}

void frmControl::Form_KeyPress(int& keyAscii)
{
    if (keyAscii == ui::kKeyAsciiCtrlR) {
        keyAscii = 0;
        RefreshFormVals();
    }
}

void frmControl::Form_QueryUnload(int& cancel, int unloadMode)
{
    // The close box only takes the window off the View menu's ticks (the main window's doing); it stays
    // loaded and on screen, since other windows read its system clock.
    if (unloadMode == ui::vbFormControlMenu)
        cancel = 1;
}

void frmControl::Form_Unload(int& cancel)
{
    (void)cancel;
    keyPreview_.reset();
    systemClock().forget(this);
}

bool frmControl::isRev3Layout() const
{
    const int16_t rev = goEvalBd ? goEvalBd->SiliconRev() : int16_t{3};
    return rev != 1 && rev != 2;
}

void frmControl::store(const RegisterField& field, uint64_t value)
{
    if (!bRefreshing_)
        field.set(value);
}

void registerControlWindow()
{
    ui::Forms::registerFactory(frmControl::FormName, [] { return std::make_unique<frmControl>(); });
    // Until the window loads, its clock plan stands in for what it would show.
    systemClock().setPlanned(true);
}

// ---- board line ----

void frmControl::chkExternPDPin_Click()
{
    if (bRefreshing_ || !goEvalBd)
        return;
    goEvalBd->setExtPD(chkExternPDPin.Value() == 1 ? 1 : 0);
    // Without a board the write fails quietly; the pin follows once a board takes the port again.
    goEvalBd->USBWritePortBuffVal(kPortA);
    ui::Forms::callIfLoaded(formnames::frmDebug, formnames::UpdatePortVals);
}

// ---- marks and lamps ----

bool frmControl::markShown(int index) const
{
    return lblErr(index).Visible();
}

void frmControl::setMark(int index, bool shown)
{
    lblErr(index).setVisible(shown);
}

void frmControl::showPllLamp(ui::Image& lamp)
{
    const int lit = goEvalBd && goEvalBd->PLL_Lock() == 1 ? 1 : 0;
    lamp.setPicture(ui::form<frmGraphics>().imgGreenLed(lit).Picture());
}

// ---- refresh ----

void frmControl::RefreshFormVals()
{
    if (!goEvalBd)
        return;
    const bool rev3 = isRev3Layout();
    chkSR3.setValue(rev3 ? 1 : 0);
    chkSR3_Click();

    regwin::ScopedFlag refreshing(bRefreshing_);
    fields_.refresh();
    // Greying and the windows that depend on the SXI setting, whether or not the box changed.
    modeState_.sxiModeChanged();

    // The clocks worked out from the PLL settings, then the band the map holds, so that the band list shows
    // the map's band (marked when it does not hold the clock).
    UpdateClks();
    if (rev3) {
        setMark(5, false);
        fields_.refresh(lsbVCORangeSR3);
        setMark(3, false);
    } else {
        fields_.refresh(lstVCORange);
        if (kVCOBandSR12.get() >= static_cast<uint64_t>(lstVCORange.ListCount()))
            setMark(3, chkEnableMulti.Value() == 1);
        // The revision 3 marks belong to the other layout.
        setMark(4, false);
        setMark(5, false);
    }

    showPllLamp(imgDUTFlagsPD);
    showPllLamp(imgPllLockSR3);
    udI_DacOutval();
    UpdateIOUDClk();

    chkExternPDPin.setValue(goEvalBd->ExtPD());
    goEvalBd->USBReadPortBuffVal(kPortD);
    UdStatusIndicators();
}

void frmControl::tmrLoadFlash_Timer()
{
    tickLoadIndicator();
}

// ---- lamps ----

void frmControl::UdStatusIndicators()
{
    showPllLamp(imgPllLockSR3);
}

void frmControl::cmdRefreshPLLLock_Click()
{
    showPllLamp(imgDUTFlagsPD);
}

void frmControl::cmdRefreshPlllockSR3_Click()
{
    if (gbBoardConnected && goEvalBd)
        goEvalBd->USBReadPortBuffVal(kPortD);
    showPllLamp(imgPllLockSR3);
}
