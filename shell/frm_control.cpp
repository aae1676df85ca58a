// The Control window: its handlers, the greying the operating mode, RAM and SXI settings drive, the clock
// group (worked out by the clock plan), the I/O update rate, the auxiliary DAC, RefreshFormVals, LOAD and
// the PLL lock lamps.

#include "shell/frm_control.h"

#include "board/board_flags.h"
#include "board/chip_registers.h"
#include "board/evalbd.h"
#include "board/globals.h"
#include "board/system_clock.h"
#include "board/text_util.h"
#include "board/utility.h"
#include "board/vco_tables.h"
#include "boardui/board_attach.h"
#include "boardui/form_names.h"
#include "boardui/text_selection.h"
#include "boardui/window_utility.h"
#include "shell/frm_graphics.h"
#include "shell/refresh_key_preview.h"

#include "platform/os/sounds.h"
#include "platform/runtime/number_format.h"
#include "platform/runtime/numeric_text.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/app.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/msgbox.h"

#include <QWidget>
#include <cmath>
#include <initializer_list>

namespace {

constexpr int16_t kRunModeKeepsSingleToneBits = 4;
constexpr uint32_t kIllustrationLit = 0x00FF00;
constexpr uint32_t kIllustrationDark = 0x808080;

const QString kClockFormat = QStringLiteral("0.00000");

// A box's text as a number in the user's locale, or nothing when it is not one.
std::optional<double> numberOf(const QString& text)
{
    return clockTextNumber(text);
}

// Greys controls (and their labels) that do not apply, or shows them as applying.
void paint(std::initializer_list<ui::Control*> controls, bool applies,
           std::initializer_list<ui::Control*> labels = {})
{
    for (ui::Control* control : controls)
        control->setForeColor(applies ? ui::colors::vbWindowText : ui::colors::vbGrayText);
    for (ui::Control* label : labels)
        label->setForeColor(applies ? ui::colors::vbButtonText : ui::colors::vbGrayText);
}

void beep()
{
    os::playSystemSound(QStringLiteral("SystemDefault"));
}

// Digits and control keys pass; every other key is dropped.
void digitsOnly(int& keyAscii)
{
    if (keyAscii >= 32 && (keyAscii < '0' || keyAscii > '9'))
        keyAscii = 0;
}

} // namespace

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
    showMultiplierState();
    showPllSR3State();
    showPDCLKState();
    showIOUpdateState();
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

// ---- operating mode, RAM, SXI ----

void frmControl::operatingModeChanged()
{
    UdControlState();
    ui::Forms::callIfLoaded(formnames::frmProfile, formnames::RefreshFormVals);
    ui::Forms::callIfLoaded(formnames::frmSimulatorSetup, formnames::RefreshFormVals);
    ui::Forms::callIfLoaded(formnames::frmFreqAndSweep, formnames::UdControlState);
    ui::Forms::callIfLoaded(formnames::frmQDUCRSR, formnames::UdControlState);
}

void frmControl::sxiModeChanged()
{
    UdControlState();
    ui::Forms::callIfLoaded(formnames::frmSimulatorSetup, formnames::RefreshFormVals);
    ui::Forms::callIfLoaded(formnames::frmGPIO, formnames::RefreshFormVals);
    ui::Forms::callIfLoaded(formnames::frmADC, formnames::RefreshFormVals);
    ui::Forms::callIfLoaded(formnames::frmWatchDogTmr, formnames::RefreshFormVals);
}

void frmControl::UdControlState()
{
    const uint64_t mode = kOperatingMode.get();
    const bool ramEnabled = kRAMEnable.get() == 1;
    const bool sxiActive = kSXIEnable.get() == 1;
    const bool quadrature = mode == 0;
    const bool singleTone = mode == 1;

    paint({&lblDataFormatSXI, &lsbDataFormatSXI}, quadrature);
    paint({&chkAutoPD, &fraModulationOptions, &chkEnablePDCLK, &chkInvertPDCLK, &chkInvertTxEnable,
           &chkPDClkRateCtrl, &chkDataAssmHldsLastVal},
          !singleTone);
    paint({&chkEnableRAM}, quadrature);
    paint({&chkEnQDUCRAMEval}, quadrature && ramEnabled);
    paint({&chkEnMatchedLatency, &chkAutoClearPhaseAcc, &chkClearPhaseAcc}, singleTone);
    paint({&chkActivateSXIMode}, quadrature);
    paint({&chkEarlyFrameSyncEn, &lblBitOrderSXI, &lsbSXIBitOrder}, quadrature && sxiActive);
    imgSXLogo.setPicture(ui::form<frmGraphics>().imgSXLogo(quadrature && sxiActive ? 1 : 0).Picture());
}

// ---- PDCLK, internal I/O update ----

void frmControl::showPDCLKState()
{
    paint({&chkInvertPDCLK, &chkPDClkRateCtrl}, chkEnablePDCLK.Value() == 1);
}

void frmControl::showIOUpdateState()
{
    const bool internal = chkInternalIOUpdate.Value() == 1;
    const uint32_t illustration = internal ? kIllustrationLit : kIllustrationDark;
    for (ui::Line& line : lneIOUDIll)
        line.setBorderColor(illustration);
    lblIOUDRateVal.setForeColor(illustration);
    lblIOUpdateRateTotal.setForeColor(illustration);
    paint({&lblInternalIOUpdateRate, &txtInternalIOUDRate, &lblIOUDRateUnits, &lblIOUDClkDivVal,
           &cmbIOUpdateClkDiv},
          internal);
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

// ---- revision groups ----

void frmControl::chkSR3_Click()
{
    rrfMultiplier.setVisible(chkSR3.Value() == 1);
    showRevisionGroup();
}

void frmControl::showRevisionGroup()
{
    // The revision 1/2 group and the rounded revision 3 frame share one place in the Clock frame.
    if (rev12Panel_)
        rev12Panel_->setVisible(!rrfMultiplier.Visible());
}

// ---- auxiliary DAC ----

void frmControl::txtDACControl_GotFocus()
{
    SelectAllText(txtDACControl);
}

void frmControl::txtDACControl_KeyPress(int& keyAscii)
{
    if (keyAscii == ui::vbKeyReturn) {
        keyAscii = 0;
        bool cancel = false;
        txtDACControl_Validate(cancel);
        return;
    }
    digitsOnly(keyAscii);
}

void frmControl::txtDACControl_Validate(bool& cancel)
{
    (void)cancel;
    const std::optional<double> typed = numberOf(txtDACControl.Text());
    uint64_t code = 0;
    if (!typed) {
        // Nothing usable was typed: the box shows the code the chip is set to again.
        code = kAuxDACCode.get();
    } else if (*typed > 255 || *typed < 0) {
        code = 255;
    } else {
        code = static_cast<uint64_t>(std::trunc(*typed));
    }
    const QString text = QString::number(code);
    if (txtDACControl.Text() != text)
        txtDACControl.setText(text);
    if (typed)
        store(kAuxDACCode, code);
    udI_DacOutval();
}

void frmControl::vscDACControl_Change()
{
    const int step = vscDACControl.Value();
    if (step == 0)
        return;
    const std::optional<double> typed = numberOf(txtDACControl.Text());
    const double n = (typed ? *typed : static_cast<double>(kAuxDACCode.get())) + step;
    if (n >= 256) {
        txtDACControl.setText(QStringLiteral("0"));
        beep();
    } else if (n < 0) {
        txtDACControl.setText(QStringLiteral("255"));
        beep();
    } else {
        txtDACControl.setText(rt::Format(n, QStringLiteral("0")));
    }
    bool cancel = false;
    txtDACControl_Validate(cancel);
    vscDACControl.setValue(0);
}

void frmControl::udI_DacOutval()
{
    const auto code = static_cast<int16_t>(kAuxDACCode.get());
    const double amperes = ebRateFormula(code, 10000);
    SplitValueUnit(FormatSI(amperes, QStringLiteral("0.000000")) + QStringLiteral("A"), txtDACI_Out,
                   lblIoutUnits);
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

// ---- clock ----

namespace {

std::span<const clockplan::Band> bandsSR12()
{
    return giVCOCalTable;
}

std::span<const clockplan::Band> bandsSR3()
{
    return giVCORanges;
}

} // namespace

clockplan::ClockInputs frmControl::clockInputs() const
{
    const bool rev3 = isRev3Layout();
    clockplan::ClockInputs in;
    in.reference = numberOf(txtExternClk.Text());
    in.referenceDividerOff = chkRefclkDivDisable.Value() == 1;
    in.pllOn = (rev3 ? chkEnablePllSR3 : chkEnableMulti).Value() == 1;
    in.ratioIndex = cmbRFDividerRatio.ListIndex();
    in.mDividerIndex = cmbMDivider.ListIndex();
    in.multiplier = numberOf(txtCLKMultiVal.Text());
    in.pfdDoubler = chkPFDInputDblr.Value() == 1;
    return in;
}

void frmControl::showRefClock()
{
    txtRefClk.setText(rt::Format(clockplan::dividedReference(clockInputs()), kClockFormat));
}

// The classic readers: each works out its own layout's value, whatever the chip's revision.
double frmControl::GetSysClockVal()
{
    clockplan::ClockInputs in = clockInputs();
    in.pllOn = chkEnableMulti.Value() == 1;
    return clockplan::systemClockSR12(in).value_or(-1);
}

double frmControl::GetVCOFreqVal()
{
    clockplan::ClockInputs in = clockInputs();
    in.pllOn = chkEnableMulti.Value() == 1;
    return clockplan::vcoFrequencySR12(in).value_or(-1);
}

double frmControl::GetSysClockValSR3()
{
    clockplan::ClockInputs in = clockInputs();
    in.pllOn = chkEnablePllSR3.Value() == 1;
    return clockplan::systemClockSR3(in).value_or(-1);
}

void frmControl::UpdateClksSR12()
{
    const double clock = GetSysClockVal();
    if (clock == -1) {
        setMark(0, true);
        return;
    }
    txtSysClkTxt.setText(rt::Format(clock, kClockFormat));
    showRefClock();
    txtVCOFreq.setText(chkEnableMulti.Value() == 1 ? rt::Format(GetVCOFreqVal(), kClockFormat)
                                                   : QStringLiteral("VCOFreq"));
}

void frmControl::UpdateClksSR3()
{
    const double clock = GetSysClockValSR3();
    if (clock == -1) {
        setMark(0, true);
        return;
    }
    txtSysClkTxt.setText(rt::Format(clock, kClockFormat));
    showRefClock();
    // A reference outside its range keeps its mark, whatever the PLL makes of it.
    if (clockplan::validReference(numberOf(txtExternClk.Text())))
        setMark(0, false);
}

void frmControl::UpdateClks()
{
    if (isRev3Layout())
        UpdateClksSR3();
    else
        UpdateClksSR12();
}

std::optional<double> frmControl::usableSysClock() const
{
    return usableSystemClock(numberOf(txtSysClkTxt.Text()));
}

// ---- reference clock ----

void frmControl::ShowExternalClock()
{
    txtExternClk.setText(systemClock().externalClockText());
}

void frmControl::txtExternClk_Change()
{
    systemClock().showExternalClock(this, txtExternClk.Text());
    if (clockplan::validReference(numberOf(txtExternClk.Text()))) {
        setMark(0, false);
        UpdateClks();
    } else {
        setMark(0, true);
    }
}

void frmControl::txtExternClk_KeyPress(int& keyAscii)
{
    if (keyAscii == ui::vbKeyReturn) {
        keyAscii = 0;
        bool cancel = false;
        txtExternClk_Validate(cancel);
        return;
    }
    keyAscii = KeyFilterNoSign(KeyFilterNumeric(keyAscii));
    if (keyAscii != 0 && keyAscii == TextDecimalSepCode()) {
        QString rest = txtExternClk.Text();
        rest.remove(txtExternClk.SelStart(), txtExternClk.SelLength());
        if (rest.contains(TextDecimalSep()))
            keyAscii = 0;
    }
}

void frmControl::txtExternClk_Validate(bool& cancel)
{
    (void)cancel;
    const std::optional<double> reference = numberOf(txtExternClk.Text());
    if (!reference) {
        setMark(0, true);
        return;
    }
    txtExternClk.setText(rt::Format(*reference, kClockFormat));
    if (clockplan::validReference(reference))
        UpdateClks();
    else
        setMark(0, true);
}

// ---- system clock box ----

void frmControl::txtSysClkTxt_Change()
{
    // The other windows read the clock from the system clock, first of all the ones refreshed below.
    systemClock().showClock(this, txtSysClkTxt.Text());
    // A clock of 0 or below is as unusable as one above the limit: the windows that convert with it are
    // left as they are rather than divide by it.
    if (clockplan::validSystemClock(numberOf(txtSysClkTxt.Text()))) {
        setMark(1, false);
        ui::Forms::callIfLoaded(formnames::frmProfile, formnames::RefreshFormVals);
        ui::Forms::callIfLoaded(formnames::frmFreqAndSweep, formnames::UpdateFreqsAndRRs);
        UpdateIOUDClk();
    } else {
        setMark(1, true);
    }
    SetVCORangeSR3();
}

// ---- PLL enables ----

void frmControl::showMultiplierState()
{
    const bool on = chkEnableMulti.Value() == 1;
    txtMultiBypassed.setVisible(!on);
    paint({&cmbRFDividerRatio, &cmbMDivider, &txtVCOFreq, &lstVCORange}, on,
          {&lblMultiplier, &lblMDivider, &lblVCOFreq, &lblVCOFreqUnits, &lblVCORange, &lblPLLLock});
}

void frmControl::showPllSR3State()
{
    paint({&txtCLKMultiVal, &chkPFDInputDblr, &chkPFDXRST, &cmbABPW, &cmbChargePumpCurrent, &lsbVCORangeSR3,
           &cmbDRV0, &cmbXTALOut},
          chkEnablePllSR3.Value() == 1,
          {&lblCLKMultiVal, &lblABPW, &lblChargePumpCurrent, &lblVCORangeSR3, &lblDRV0, &lblXTALOut,
           &lblPllLockSR3});
}

// ---- VCO band, revisions 1/2 ----

int frmControl::GetVCORange()
{
    return clockplan::pllBand(bandsSR12(), chkEnableMulti.Value() == 1, numberOf(txtVCOFreq.Text()));
}

int frmControl::SetVCORange()
{
    const int band = GetVCORange();
    return band < clockplan::kBandsSR12 ? band : -1;
}

void frmControl::txtVCOFreq_Change()
{
    const int band = SetVCORange();
    if (band >= 0) {
        lstVCORange.setListIndex(band);
        setMark(3, false);
    } else {
        lstVCORange.setListIndex(0);
        setMark(3, true);
    }
}

void frmControl::markVCOBand()
{
    const int band = lstVCORange.ListIndex();
    if (band < 0 || band >= clockplan::kBandsSR12)
        return;
    if (chkEnableMulti.Value() == 1) {
        const std::optional<double> vco = numberOf(txtVCOFreq.Text());
        setMark(3, !(vco && clockplan::bandHolds(bandsSR12(), band, *vco)));
    }
}

void frmControl::cmdFindVCORange_Click()
{
    const int band = SetVCORange();
    if (band >= 0) {
        lstVCORange.setListIndex(band);
        setMark(3, false);
        return;
    }
    lstVCORange.setListIndex(0);
    ui::MsgBox(QStringLiteral("A valid VCO Range could not be determined!\r\n\r\n"
                              "A default VCO Range of 0 has been selected.\r\n"
                              "This setting may be incorrect!\r\n\r\n"
                              "Please manualy select a VCO Range!"),
               ui::vbExclamation, QStringLiteral("Warning"));
    setMark(3, true);
}

// ---- VCO band, revision 3 ----

int frmControl::GetVCORangeSR3()
{
    return clockplan::pllBand(bandsSR3(), chkEnablePllSR3.Value() == 1, numberOf(txtSysClkTxt.Text()));
}

int frmControl::SetVCORangeSR3()
{
    // Revision 1/2 silicon keeps its own band in the bits this band would overlap.
    if (!isRev3Layout()) {
        setMark(5, false);
        return -1;
    }
    const int band = GetVCORangeSR3();
    if (band < clockplan::kBandsSR3) {
        setMark(5, false);
        lsbVCORangeSR3.setListIndex(band);
        return band;
    }
    setMark(5, true);
    return -1;
}

void frmControl::lsbVCORangeSR3_Click()
{
    if (!isRev3Layout()) {
        setMark(5, false);
        return;
    }
    const int band = lsbVCORangeSR3.ListIndex();
    setMark(5, band < 0);
    if (band < 0 || band >= clockplan::kBandsSR3)
        return;
    if (!bRefreshing_)
        fields_.store(lsbVCORangeSR3);
    if (chkEnablePllSR3.Value() == 1) {
        const std::optional<double> clock = numberOf(txtSysClkTxt.Text());
        setMark(5, !clock || !clockplan::bandHolds(bandsSR3(), band, *clock));
    }
}

// ---- revision 3 multiplier ----

void frmControl::txtCLKMultiVal_Change()
{
    const std::optional<double> multiplier = numberOf(txtCLKMultiVal.Text());
    if (!multiplier) {
        setMark(4, true);
        return;
    }
    // 11 is marked yet written: the chip takes any 7-bit value, the mark tells the user it will not lock.
    setMark(4, !clockplan::validMultiplierSR3(*multiplier));
    if (*multiplier >= 0 && *multiplier <= 127) {
        store(kMultiplierSR3, static_cast<uint64_t>(std::trunc(*multiplier)));
        UpdateClks();
    }
}

void frmControl::txtCLKMultiVal_KeyPress(int& keyAscii)
{
    if (keyAscii == ui::vbKeyReturn) {
        keyAscii = 0;
        bool cancel = false;
        txtCLKMultiVal_Validate(cancel);
        return;
    }
    digitsOnly(keyAscii);
}

void frmControl::txtCLKMultiVal_KeyDown(int& keyCode, int shift)
{
    (void)shift;
    // The arrow keys work the spin button beside the box.
    if (keyCode == 38) {
        keyCode = 0;
        vscMultiplier.stepUp();
    } else if (keyCode == 40) {
        keyCode = 0;
        vscMultiplier.stepDown();
    }
}

void frmControl::txtCLKMultiVal_Validate(bool& cancel)
{
    (void)cancel;
    const std::optional<double> multiplier = numberOf(txtCLKMultiVal.Text());
    if (!multiplier)
        return;
    const double clipped = std::clamp(std::trunc(*multiplier), 8.0, 127.0);
    txtCLKMultiVal.setText(rt::Format(clipped, QStringLiteral("0")));
}

void frmControl::vscMultiplier_Change()
{
    const int step = vscMultiplier.Value();
    if (step == 0)
        return;
    if (const std::optional<double> n = numberOf(txtCLKMultiVal.Text())) {
        double next = *n + step;
        if (step < 0 && *n < 1)
            next = 127;
        else if (step > 0 && *n >= 127)
            next = 0;
        txtCLKMultiVal.setText(rt::Format(next, QStringLiteral("0")));
    }
    vscMultiplier.setValue(0);
}

// ---- I/O update rate ----

std::optional<double> frmControl::ioudPeriod(double count) const
{
    return clockplan::ioUpdatePeriod(count, usableSysClock());
}

// "400.000 nS": the period with its SI prefix and the unit.
QString frmControl::ioudPeriodText(double count) const
{
    const std::optional<double> period = ioudPeriod(count);
    return EngToSIPrefix(FormatEng(period.value_or(-1), QStringLiteral("0.000"))) + QStringLiteral("S");
}

void frmControl::UpdateIOUDClk()
{
    const int divider = 1 << kIOUpdateClockDivider.get();
    const auto count = static_cast<double>(kIOUpdateCount.get());
    const std::optional<double> period = ioudPeriod(count);
    QString periodText;
    QString totalText;
    // Without a usable system clock there is no period to show.
    if (period) {
        periodText = FormatEng(*period, QStringLiteral("0.0000000"));
        totalText =
            EngToSIPrefix(FormatEng(*period * divider, QStringLiteral("0.000"))) + QStringLiteral("S");
    }
    {
        regwin::ScopedFlag setting(settingIOUDText_);
        txtInternalIOUDRate.setText(periodText);
    }
    ioudTextEdited_ = false;
    lblIOUDRateVal.setCaption(totalText);
}

void frmControl::txtInternalIOUDRate_Change()
{
    if (!settingIOUDText_)
        ioudTextEdited_ = true;
}

void frmControl::txtInternalIOUDRate_KeyPress(int& keyAscii)
{
    if (keyAscii == ui::vbKeyReturn) {
        keyAscii = 0;
        bool cancel = false;
        txtInternalIOUDRate_Validate(cancel);
        return;
    }
    keyAscii = KeyFilterNumeric2(keyAscii);
}

void frmControl::txtInternalIOUDRate_Validate(bool& cancel)
{
    // The box shows a rounded period: read back unedited, it would move a large count.
    if (!ioudTextEdited_)
        return;
    const std::optional<double> clock = usableSysClock();
    if (!clock) {
        // Without a usable system clock (its mark is shown) no period converts to a count.
        UpdateIOUDClk();
        return;
    }
    const QString prompt = QStringLiteral("Invald Internal I/O Update Rate entered.\r\nThe min value is ") +
                           ioudPeriodText(1) + QStringLiteral(".\r\nThe max value is ") +
                           ioudPeriodText(clockplan::kMaxIOUpdateCount) + QStringLiteral(".");
    const QString title = QStringLiteral("Invalid I/O Update Rate");
    const std::optional<double> period = numberOf(txtInternalIOUDRate.Text());
    if (!period) {
        ui::MsgBox(prompt, ui::vbExclamation, title);
        SelectAllText(txtInternalIOUDRate);
        cancel = true;
        return;
    }
    const std::optional<double> typedCount = clockplan::ioUpdateCount(*period, *clock);
    const bool invalid = !typedCount;
    // Too long a period takes the longest count; a negative one the shortest count the chip is given.
    const double count = typedCount.value_or(*period < 0 ? 7 : clockplan::kMaxIOUpdateCount);
    if (invalid)
        ui::MsgBox(prompt, ui::vbExclamation, title);
    store(kIOUpdateCount, static_cast<uint64_t>(count));
    UpdateIOUDClk();
    if (invalid)
        SelectAllText(txtInternalIOUDRate);
}

void frmControl::vscIOUDRate_Change()
{
    const int step = vscIOUDRate.Value();
    if (step == 0)
        return;
    const uint64_t count = kIOUpdateCount.get();
    uint64_t next = count;
    if (step > 0)
        next = count >= 0xFFFFFFFFu ? 2 : count + 1;
    else if (count != 2 && count != 0) // the count never wraps below 0 into the largest one
        next = count - 1;
    store(kIOUpdateCount, next);
    UpdateIOUDClk();
    vscIOUDRate.setValue(0);
    // The one control that reaches the chip without LOAD.
    if (goEvalBd) {
        goEvalBd->USBSerialLoadPKT(kIOUDRate, goEvalBd->GetRegMapValue(0, kIOUDRate));
        goEvalBd->StrobeREGUD();
    }
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
    sxiModeChanged();

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

// ---- load ----

bool frmControl::confirmLoad()
{
    if (chkShowWarnings.Value() != 1)
        return true;
    const QString title = QStringLiteral("Warning!");
    // Each layout's own band mark: the other layout's band bits mean something else.
    const bool bandMarked = isRev3Layout() ? markShown(5) : markShown(3);
    if (kPllEnable.get() == 1 && bandMarked) {
        ui::MsgBox(QStringLiteral("An invalid VCO Range is currently selected!\r\n"
                                  "This setting may work but may fail under certian conditions.\r\n\r\n"
                                  "To ensure proper opperation select a valid VCO Range."),
                   ui::vbExclamation, title);
    }
    if (markShown(0) && ui::MsgBox(QStringLiteral("Invalid External Clock Value!\r\n"
                                                  "The external clock should not exceed 2 GHz.\r\n\r\n"
                                                  "Do you want to continue?"),
                                   ui::vbYesNo | ui::vbExclamation, title) == ui::vbNo)
        return false;
    if (markShown(1) && ui::MsgBox(QStringLiteral("Invalid System Clock Value!\r\n"
                                                  "The system clock should not exceed 1 GHz.\r\n\r\n"
                                                  "Do you want to continue?"),
                                   ui::vbYesNo | ui::vbExclamation, title) == ui::vbNo)
        return false;
    if (chkInternalIOUpdate.Value() == 1) {
        // The period as shown, without the clock divider.
        const std::optional<double> period = numberOf(txtInternalIOUDRate.Text());
        if (period && *period > 1 &&
            ui::MsgBox(QStringLiteral("I/O Update Rate Period is greater than 1 second.\r\n\r\n"
                                      "Do you want to continue?"),
                       ui::vbYesNo | ui::vbExclamation,
                       QStringLiteral("Warning - Extremely Long I/O Update Rate Detected!")) == ui::vbNo)
            return false;
    }
    return true;
}

// Single tone runs without the RAM and the digital ramp.
void frmControl::clearSingleToneBits()
{
    if (kOperatingMode.get() != 1)
        return;
    if (kRAMEnable.get() == 1) {
        kRAMEnable.set(0);
        ui::Forms::callIfLoaded(formnames::frmQDUCRSR, formnames::RefreshFormVals);
        regwin::ScopedFlag refreshing(bRefreshing_);
        chkEnableRAM.setValue(0);
    }
    if (kDigitalRampEnable.get() == 1)
        kDigitalRampEnable.set(0);
}

void frmControl::cmdLoad_Click()
{
    if (!goEvalBd || !confirmLoad())
        return;
    regwin::LoadOptions options;
    // IOUD Rt goes first; the single-tone bits are cleared before CFR1 and CFR2 go.
    options.afterEach = [this](int16_t addr) {
        if (addr == kIOUDRate && giRunMode != kRunModeKeepsSingleToneBits)
            clearSingleToneBits();
    };
    options.afterLoad = [this](regwin::LoadOutcome) {
        cmdRefreshPLLLock_Click();
        cmdRefreshPlllockSR3_Click();
        ui::Forms::callIfLoaded(formnames::frmDebug, formnames::RefreshFormVals);
    };
    loadWindow(cmdLoad, {kIOUDRate, kCFR1, kCFR2, kCFR3, kDACCtrl}, options);
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
