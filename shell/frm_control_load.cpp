// The Control window's life with the chip: RefreshFormVals fills every control from the pending map,
// LOAD sends CFR1-CFR3, DAC CTRL and IOUD Rt, the load indicator blinks while the chip's copy differs, and
// the PLL lock lamps follow the board's status input.

#include "shell/frm_control.h"

#include "board/board_flags.h"
#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "board/globals.h"
#include "board/sound.h"
#include "shell/frm_control_fields.h"
#include "shell/mdi_main.h"

#include "platform/ui/app.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"

#include <algorithm>

using namespace control;

namespace {

constexpr int16_t kRunModeKeepsSingleToneBits = 4;

// bRefreshing for the life of a scope, restored to what it was afterwards.
class RefreshingScope {
public:
    explicit RefreshingScope(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ~RefreshingScope() { flag_ = before_; }
    RefreshingScope(const RefreshingScope&) = delete;
    RefreshingScope& operator=(const RefreshingScope&) = delete;

private:
    bool& flag_;
    bool before_;
};

// LOAD disabled and the hourglass shown while the registers go out.
class LoadingScope {
public:
    explicit LoadingScope(ui::CommandButton& button) : button_(button)
    {
        button_.setEnabled(false);
        ui::setScreenMousePointer(ui::vbHourglass);
    }
    ~LoadingScope()
    {
        button_.setEnabled(true);
        ui::setScreenMousePointer(ui::vbDefault);
    }
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;

private:
    ui::CommandButton& button_;
};

int boxValue(uint64_t bit)
{
    return bit != 0 ? 1 : 0;
}

} // namespace

// ---- refresh ----

void frmControl::RefreshFormVals()
{
    if (!goEvalBd)
        return;
    const bool rev3 = isRev3Layout();
    chkSR3.setValue(rev3 ? 1 : 0);
    chkSR3_Click();

    const QString cfr1 = regValue(kCFR1);
    const QString cfr2 = regValue(kCFR2);
    const QString cfr3 = regValue(kCFR3);
    const QString dac = regValue(kDACCtrl);
    RefreshingScope refreshing(bRefreshing);

    // A field value of 3 (no mode) shows as the last mode.
    lstOppMode.setListIndex(static_cast<int>(std::min<uint64_t>(fieldOf(cfr1, 25, 24), 2)));

    chkEnableRAM.setValue(boxValue(fieldOf(cfr1, 31, 31)));
    chkEnQDUCRAMEval.setValue(boxValue(fieldOf(cfr1, 28, 28)));
    chkAutoPD.setValue(boxValue(fieldOf(cfr1, 2, 2)));
    chkDigitalPD.setValue(boxValue(fieldOf(cfr1, 7, 7)));
    chkDACPD.setValue(boxValue(fieldOf(cfr1, 6, 6)));
    chkClkInpPD.setValue(boxValue(fieldOf(cfr1, 5, 5)));
    chkAuxDACPD.setValue(boxValue(fieldOf(cfr1, 4, 4)));
    lsbExternPDMode.setListIndex(boxValue(fieldOf(cfr1, 3, 3)));
    chkAutoClearPhaseAcc.setValue(boxValue(fieldOf(cfr1, 13, 13)));
    chkClearPhaseAcc.setValue(boxValue(fieldOf(cfr1, 11, 11)));

    chkInternalIOUpdate.setValue(boxValue(fieldOf(cfr2, 23, 23)));
    chkEnableSincClkOut.setValue(boxValue(fieldOf(cfr2, 22, 22)));
    chkEnMatchedLatency.setValue(boxValue(fieldOf(cfr2, 7, 7)));
    chkActivateSXIMode.setValue(boxValue(fieldOf(cfr2, 31, 31)));
    lsbSXIBitOrder.setListIndex(boxValue(fieldOf(cfr2, 30, 30)));
    lsbDataFormatSXI.setListIndex(boxValue(fieldOf(cfr2, 12, 12)));
    chkEnablePDCLK.setValue(boxValue(fieldOf(cfr2, 11, 11)));
    chkInvertPDCLK.setValue(boxValue(fieldOf(cfr2, 10, 10)));
    chkInvertTxEnable.setValue(boxValue(fieldOf(cfr2, 9, 9)));
    chkEarlyFrameSyncEn.setValue(boxValue(fieldOf(cfr2, 29, 29)));
    chkPDClkRateCtrl.setValue(boxValue(fieldOf(cfr2, 13, 13)));
    // Greying and the windows that depend on the SXI setting, whether or not the box changed.
    chkActivateSXIMode_Click();
    chkDataAssmHldsLastVal.setValue(boxValue(fieldOf(cfr2, 6, 6)));

    // The PLL: the clock settings first, the clocks worked out from them, then the band the map holds, so
    // that the band list shows the map's band (marked when it does not hold the clock).
    chkRefclkDivDisable.setValue(boxValue(fieldOf(cfr3, 15, 15)));
    if (rev3) {
        txtCLKMultiVal.setText(QString::number(fieldOf(cfr3, 7, 1)));
        chkEnablePllSR3.setValue(boxValue(fieldOf(cfr3, 8, 8)));
        chkPFDInputDblr.setValue(boxValue(fieldOf(cfr3, 0, 0)));
        chkPFDXRST.setValue(boxValue(fieldOf(cfr3, 10, 10)));
        cmbABPW.setListIndex(static_cast<int>(fieldOf(cfr3, 12, 11)));
        cmbChargePumpCurrent.setListIndex(static_cast<int>(fieldOf(cfr3, 21, 19)));
        UpdateClks();
        const auto band = static_cast<int>(fieldOf(cfr3, 26, 24));
        setMark(5, false);
        lsbVCORangeSR3.setListIndex(band < 6 ? band : -1);
        cmbDRV0.setListIndex(static_cast<int>(fieldOf(cfr3, 31, 30)));
        cmbXTALOut.setListIndex(static_cast<int>(fieldOf(cfr3, 29, 28)));
        setMark(3, false);
    } else {
        chkEnableMulti.setValue(boxValue(fieldOf(cfr3, 8, 8)));
        cmbRFDividerRatio.setListIndex(static_cast<int>(fieldOf(cfr3, 7, 2)));
        chkNDivResetB.setValue(boxValue(fieldOf(cfr3, 14, 14)));
        cmbMDivider.setListIndex(static_cast<int>(fieldOf(cfr3, 1, 0)));
        UpdateClks();
        const auto band = static_cast<int>(fieldOf(cfr3, 29, 24));
        if (band < lstVCORange.ListCount()) {
            lstVCORange.setListIndex(band);
        } else {
            lstVCORange.setListIndex(-1);
            setMark(3, chkEnableMulti.Value() == 1);
        }
        // The revision 3 marks belong to the other layout.
        setMark(4, false);
        setMark(5, false);
    }

    showPllLamp(imgDUTFlagsPD);
    showPllLamp(imgPllLockSR3);

    txtDACControl.setText(QString::number(fieldOf(dac, 7, 0)));
    udI_DacOutval();

    cmbIOUpdateClkDiv.setListIndex(static_cast<int>(fieldOf(cfr2, 15, 14)));
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
    if (regBit(kCFR3, 8) == 1 && bandMarked) {
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

// Into the chip when a board is selected, else straight into the written copy.
void frmControl::sendRegister(int16_t addr)
{
    const QString value = goEvalBd->GetRegMapValue(0, addr);
    if (!goEZUSB().DriverName().isEmpty())
        goEvalBd->USBSerialLoadPKT(addr, value);
    else
        goEvalBd->SetRegMapValue(1, addr, value);
}

bool frmControl::autoIOUpdate() const
{
    const mdiMain* main = ui::loadedForm<mdiMain>();
    return main && main->chkAutoIOUd.Value() == 1;
}

// Single tone runs without the RAM and the digital ramp.
void frmControl::clearSingleToneBits()
{
    if (regField(kCFR1, 25, 24) != 1)
        return;
    if (regBit(kCFR1, 31) == 1) {
        goEvalBd->SetRegMapBitValue(0, kCFR1, 31, 0);
        ui::Forms::callIfLoaded(QStringLiteral("frmQDUCRSR"), QStringLiteral("RefreshFormVals"));
        RefreshingScope refreshing(bRefreshing);
        chkEnableRAM.setValue(0);
    }
    if (regBit(kCFR2, 19) == 1)
        goEvalBd->SetRegMapBitValue(0, kCFR2, 19, 0);
}

void frmControl::cmdLoad_Click()
{
    if (!goEvalBd || !confirmLoad())
        return;
    {
        LoadingScope loading(cmdLoad);
        sendRegister(kIOUDRate);
        if (giRunMode != kRunModeKeepsSingleToneBits)
            clearSingleToneBits();
        for (int16_t addr : {kCFR1, kCFR2, kCFR3, kDACCtrl})
            sendRegister(addr);
        if (autoIOUpdate())
            goEvalBd->StrobeREGUD();
        if (!gbBoardConnected)
            PlaySoundAsync(QStringLiteral("SystemQuestion"));
        ui::DoEvents();
    }
    cmdRefreshPLLLock_Click();
    cmdRefreshPlllockSR3_Click();
    ui::Forms::callIfLoaded(QStringLiteral("frmDebug"), QStringLiteral("RefreshFormVals"));
    lblLoadFlash.setVisible(false);
}

void frmControl::tmrLoadFlash_Timer()
{
    bool differs = false;
    if (goEvalBd) {
        for (int16_t addr = kCFR1; addr <= kIOUDRate && !differs; ++addr)
            differs = comparedBits(addr, goEvalBd->GetRegMapValue(1, addr)) !=
                      comparedBits(addr, goEvalBd->GetRegMapValue(0, addr));
    }
    lblLoadFlash.setVisible(differs && !lblLoadFlash.Visible());
    lblLoadFlash.Refresh();
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
