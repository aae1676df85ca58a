// The Control window's life with the chip: RefreshFormVals fills every control from the pending map,
// LOAD sends CFR1-CFR3, DAC CTRL and IOUD Rt, the load indicator blinks while the chip's copy differs, and
// the PLL lock lamps follow the board's status input.

#include "shell/frm_control.h"

#include "board/board_flags.h"
#include "board/evalbd.h"
#include "board/form_names.h"
#include "board/globals.h"
#include "shell/frm_control_fields.h"

#include "platform/ui/app.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"

using namespace control;

namespace {

constexpr int16_t kRunModeKeepsSingleToneBits = 4;

} // namespace

// ---- refresh ----

void frmControl::RefreshFormVals()
{
    if (!goEvalBd)
        return;
    const bool rev3 = isRev3Layout();
    chkSR3.setValue(rev3 ? 1 : 0);
    chkSR3_Click();

    regwin::ScopedFlag refreshing(bRefreshing);
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
        regwin::ScopedFlag refreshing(bRefreshing);
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
    regwin::runLoad(cmdLoad, loadIndicator_, {kIOUDRate, kCFR1, kCFR2, kCFR3, kDACCtrl}, options);
}

void frmControl::tmrLoadFlash_Timer()
{
    loadIndicator_.tick();
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
