// The Control window as a window: captions, list items, handler binding, loading and closing, and its
// access to the pending register map.

#include "shell/frm_control.h"

#include "board/evalbd.h"
#include "board/form_names.h"
#include "board/text_util.h"
#include "board/vco_tables.h"
#include "boardui/text_selection.h"
#include "shell/frm_control_fields.h"
#include "shell/mdi_main.h"
#include "shell/refresh_key_preview.h"

#include "platform/runtime/number_format.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"

#include <QWidget>

using namespace control;

namespace {

const QStringList kDriveItems = {QStringLiteral("Disabled"), QStringLiteral("Low Drive"),
                                 QStringLiteral("Mid Drive"), QStringLiteral("High Drive")};

template <typename List> void fill(List& list, const QStringList& items)
{
    list.Clear();
    for (const QString& item : items)
        list.AddItem(item);
}

QString bandText(int low, int high)
{
    return QString::number(low) + QStringLiteral(" MHz - ") + QString::number(high) + QStringLiteral(" MHz");
}

} // namespace

frmControl::frmControl() : Form(FormName)
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
}

frmControl::~frmControl() = default;

void frmControl::setCaptions()
{
    setCaption(QStringLiteral("Control"));

    fraOperationalMode.setCaption(QStringLiteral("Operating Mode"));
    fill(lstOppMode, {QStringLiteral("Quadrature Modulation"), QStringLiteral("Single Tone"),
                      QStringLiteral("Interpolating DAC")});
    chkEnableRAM.setCaption(QStringLiteral("Enable RAM"));
    chkEnQDUCRAMEval.setCaption(QStringLiteral("QDUC RAM Destination"));

    fraModulationOptions.setCaption(QStringLiteral("Modulation Options"));
    chkEnablePDCLK.setCaption(QStringLiteral("Enable PDCLK"));
    chkInvertPDCLK.setCaption(QStringLiteral("Invert PDCLK"));
    chkPDClkRateCtrl.setCaption(QStringLiteral("PDClk = \u00BD Input Data Rate"));
    chkInvertTxEnable.setCaption(QStringLiteral("Invert TX Enable"));
    chkDataAssmHldsLastVal.setCaption(QStringLiteral("Data Assembler Holds Last Value"));

    fraSarvexInterface.setCaption(QStringLiteral("Sarvex\u00AE"));
    lblSXLogo.setCaption(QStringLiteral("SXI"));
    chkActivateSXIMode.setCaption(QStringLiteral("Activate SXI"));
    chkActivateSXIMode.setToolTipText(QStringLiteral("Activate Sarvex\u00AE Interface"));
    chkEarlyFrameSyncEn.setCaption(QStringLiteral("Early Frame Sync. Enable"));
    lblBitOrderSXI.setCaption(QStringLiteral("Bit Order:"));
    fill(lsbSXIBitOrder, {QStringLiteral("MSB First"), QStringLiteral("LSB First")});
    lblDataFormatSXI.setCaption(QStringLiteral("Data Format:"));
    fill(lsbDataFormatSXI, {QStringLiteral("Two's Complement"), QStringLiteral("Offset Binary")});

    fraPowerDowns.setCaption(QStringLiteral("Power Down"));
    chkDigitalPD.setCaption(QStringLiteral("Digitial"));
    chkDigitalPD.setToolTipText(QStringLiteral("Powers down the Digital Circuitry"));
    chkDACPD.setCaption(QStringLiteral("DAC"));
    chkDACPD.setToolTipText(QStringLiteral("Powers down the Output DAC"));
    chkClkInpPD.setCaption(QStringLiteral("Clock Input"));
    chkClkInpPD.setToolTipText(QStringLiteral("Powers down the Clock Input circuitry"));
    chkAuxDACPD.setCaption(QStringLiteral("Aux. DAC"));
    chkAuxDACPD.setToolTipText(QStringLiteral("Powers down the Auxiliary DAC"));
    fill(lsbExternPDMode, {QStringLiteral("Fast Recovery"), QStringLiteral("Full Power Down")});
    chkAutoPD.setCaption(QStringLiteral("Enable Auto PD"));
    chkAutoPD.setToolTipText(QStringLiteral("Auto powerdown on TX_Enable Desertion"));
    chkExternPDPin.setCaption(QStringLiteral("External Power Down Pin"));

    chkAutoClearPhaseAcc.setCaption(QStringLiteral("Auto Clear Phase Accumulator"));
    chkClearPhaseAcc.setCaption(QStringLiteral("Clear Phase Accumulator"));
    chkEnableSincClkOut.setCaption(QStringLiteral("Enable I/O Sync Clock Output Pin"));
    chkEnMatchedLatency.setCaption(QStringLiteral("Enable Matched Latency"));

    fraIOUpdateCtrls.setCaption(QStringLiteral("I/O Update"));
    chkInternalIOUpdate.setCaption(QStringLiteral("Use Internal IO Update"));
    lblInternalIOUpdateRate.setCaption(QStringLiteral("I/O Update Rate Period:"));
    lblIOUDRateUnits.setCaption(QStringLiteral("S"));
    lblIOUDClkDivVal.setCaption(QStringLiteral("I/O Update Clock Divider:"));
    fill(cmbIOUpdateClkDiv, {QStringLiteral("\u00F71"), QStringLiteral("\u00F72"), QStringLiteral("\u00F74"),
                             QStringLiteral("\u00F78")});
    lblIOUpdateRateTotal.setCaption(QStringLiteral("Total I/O Update Period"));

    fraDACControl.setCaption(QStringLiteral("AUX DAC Control"));
    txtDACControl.setToolTipText(QStringLiteral("Controls the DAC Current 0 - 255 where 255 is fullscale"));
    txtDACControl.setMaxLength(3);
    txtDACI_Out.setLocked(true);

    fraClock.setCaption(QStringLiteral("Clock"));
    lblExternClk.setCaption(QStringLiteral("External Clock:"));
    txtExternClk.setToolTipText(QStringLiteral("External Reference Clock Frequency"));
    chkRefclkDivDisable.setCaption(QStringLiteral("\u00F72 Divider Disable"));
    lblRefClk.setCaption(QStringLiteral("Refclk:"));
    lblSysClk.setCaption(QStringLiteral("System Clock:"));
    for (ui::Label* units : {&lblExternClkUnits, &lblRefClkUnits, &lblSysClkUnits, &lblVCOFreqUnits})
        units->setCaption(QStringLiteral("MHz"));
    // Computed values: shown, not typed.
    txtRefClk.setLocked(true);
    txtSysClkTxt.setLocked(true);
    txtVCOFreq.setLocked(true);
    txtMultiBypassed.setLocked(true);
    chkSR3.setCaption(QStringLiteral("SR3 Silicon Detected"));

    chkEnableMulti.setCaption(QStringLiteral("Enable Multiplier"));
    txtMultiBypassed.setText(QStringLiteral("Bypassed"));
    lblMultiplier.setCaption(QStringLiteral("Multiplier:"));
    lblMDivider.setCaption(QStringLiteral("M Divider:"));
    fill(cmbMDivider,
         {QStringLiteral("x1"), QStringLiteral("x2"), QStringLiteral("x4"), QStringLiteral("x8")});
    lblVCOFreq.setCaption(QStringLiteral("VCO Freq:"));
    lblVCORange.setCaption(QStringLiteral("VCO Range:"));
    cmdFindVCORange.setCaption(QStringLiteral("A U T O"));
    chkNDivResetB.setCaption(QStringLiteral("N Divider Reset"));
    lblPLLLock.setCaption(QStringLiteral("PLL Lock"));
    cmdRefreshPLLLock.setCaption(QStringLiteral("Refresh"));

    chkEnablePllSR3.setCaption(QStringLiteral("Enable Multiplier"));
    lblCLKMultiVal.setCaption(QStringLiteral("Multiplier:"));
    txtCLKMultiVal.setMaxLength(3);
    chkPFDInputDblr.setCaption(QStringLiteral("Enable PFD Input Doubler"));
    chkPFDXRST.setCaption(QStringLiteral("PFD X Reset"));
    chkPFDXRST.setToolTipText(QStringLiteral("Resets the PFD"));
    lblABPW.setCaption(QStringLiteral("PFD Antibacklash PW:"));
    fill(cmbABPW, {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    cmbABPW.setToolTipText(QStringLiteral("Antbacklash Pulse Width Control"));
    lblChargePumpCurrent.setCaption(QStringLiteral("CP Current:"));
    QStringList pumpCurrents;
    for (int microAmps = 212; microAmps <= 387; microAmps += 25)
        pumpCurrents << QString::number(microAmps) + QStringLiteral(" \u00B5A");
    fill(cmbChargePumpCurrent, pumpCurrents);
    lblVCORangeSR3.setCaption(QStringLiteral("VCO Range:"));
    lblDRV0.setCaption(QStringLiteral("DRV0:"));
    fill(cmbDRV0, kDriveItems);
    lblXTALOut.setCaption(QStringLiteral("XTAL Out:"));
    fill(cmbXTALOut, kDriveItems);
    cmbXTALOut.setToolTipText(QStringLiteral("Crystal Output Driver Settings"));
    lblPllLockSR3.setCaption(QStringLiteral("PLL Lock"));
    cmdRefreshPlllockSR3.setCaption(QStringLiteral("Refresh"));
    cmdRefreshPlllockSR3.setToolTipText(QStringLiteral("Updates the PLL Lock indicator"));

    for (ui::Label& mark : lblErr) {
        mark.setCaption(QStringLiteral("!"));
        mark.setForeColor(ui::colors::vbRed);
        mark.setVisible(false);
    }
    chkShowWarnings.setCaption(QStringLiteral("Show Warnings"));
    chkShowWarnings.setToolTipText(
        QStringLiteral("Shows warnings about invalid form settings when the form is loaded"));
    chkShowWarnings.setValue(1);
    cmdLoad.setCaption(QStringLiteral("LOAD"));
    lblLoadFlash.setCaption(QStringLiteral("\u25C0"));
    lblLoadFlash.setForeColor(ui::colors::vbRed);
    lblLoadFlash.setVisible(false);

    // Spin buttons rest at 0 between the limits 1 and -1; the up arrow gives +1.
    for (ui::ScrollBar* spin : {&vscIOUDRate, &vscDACControl, &vscMultiplier}) {
        spin->setMin(1);
        spin->setMax(-1);
        spin->setValue(0);
    }
}

// The band tables, and the ratio and band lists made from them.
void frmControl::fillLists()
{
    ebInitVCOCalTable();
    ebInitVCORanges();
    lstVCORange.Clear();
    for (const auto& band : giVCOCalTable)
        lstVCORange.AddItem(bandText(band[0], band[1]));
    lsbVCORangeSR3.Clear();
    for (const auto& band : giVCORanges)
        lsbVCORangeSR3.AddItem(bandText(band[0], band[1]));
    cmbRFDividerRatio.Clear();
    for (int n = 1; n <= 64; ++n)
        cmbRFDividerRatio.AddItem(QString::number(n) + QStringLiteral("x"));
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
    txtExternClk.setText(rt::Format(1000.0, QStringLiteral("0.00000")));
    RefreshFormVals();
}

void frmControl::Form_KeyPress(int& keyAscii)
{
    if (keyAscii == 18) {
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
}

bool frmControl::isRev3Layout() const
{
    const int16_t rev = goEvalBd ? goEvalBd->SiliconRev() : int16_t{3};
    return rev != 1 && rev != 2;
}

void frmControl::store(const RegisterField& field, uint64_t value)
{
    if (!bRefreshing)
        field.set(value);
}

void registerControlWindow()
{
    ui::Forms::registerFactory(frmControl::FormName, [] { return std::make_unique<frmControl>(); });
}
