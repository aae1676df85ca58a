#include "shell/control_load.h"

#include "board/chip_registers.h"
#include "board/evalbd.h"
#include "board/globals.h"
#include "boardui/form_names.h"
#include "shell/control_window_kit.h"
#include "shell/frm_control.h"

#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"

namespace {

constexpr int16_t kRunModeKeepsSingleToneBits = 4;

} // namespace

bool ControlLoad::confirmLoad()
{
    frmControl& w = window_;
    if (w.chkShowWarnings.Value() != 1)
        return true;
    const QString title = QStringLiteral("Warning!");
    // Each layout's own band mark: the other layout's band bits mean something else.
    const bool bandMarked = w.isRev3Layout() ? w.markShown(5) : w.markShown(3);
    if (frmControl::kPllEnable.get() == 1 && bandMarked) {
        ui::MsgBox(QStringLiteral("An invalid VCO Range is currently selected!\r\n"
                                  "This setting may work but may fail under certian conditions.\r\n\r\n"
                                  "To ensure proper opperation select a valid VCO Range."),
                   ui::vbExclamation, title);
    }
    if (w.markShown(0) && ui::MsgBox(QStringLiteral("Invalid External Clock Value!\r\n"
                                                    "The external clock should not exceed 2 GHz.\r\n\r\n"
                                                    "Do you want to continue?"),
                                     ui::vbYesNo | ui::vbExclamation, title) == ui::vbNo)
        return false;
    if (w.markShown(1) && ui::MsgBox(QStringLiteral("Invalid System Clock Value!\r\n"
                                                    "The system clock should not exceed 1 GHz.\r\n\r\n"
                                                    "Do you want to continue?"),
                                     ui::vbYesNo | ui::vbExclamation, title) == ui::vbNo)
        return false;
    if (w.chkInternalIOUpdate.Value() == 1) {
        // The period as shown, without the clock divider.
        const std::optional<double> period = controlkit::numberOf(w.txtInternalIOUDRate.Text());
        if (period && *period > 1 &&
            ui::MsgBox(QStringLiteral("I/O Update Rate Period is greater than 1 second.\r\n\r\n"
                                      "Do you want to continue?"),
                       ui::vbYesNo | ui::vbExclamation,
                       QStringLiteral("Warning - Extremely Long I/O Update Rate Detected!")) == ui::vbNo)
            return false;
    }
    return true;
}

void ControlLoad::clearSingleToneBits()
{
    if (kOperatingMode.get() != 1)
        return;
    if (kRAMEnable.get() == 1) {
        kRAMEnable.set(0);
        ui::Forms::callIfLoaded(formnames::frmQDUCRSR, formnames::RefreshFormVals);
        const regwin::ScopedFlag refreshing = window_.refreshingScope();
        window_.chkEnableRAM.setValue(0);
    }
    if (kDigitalRampEnable.get() == 1)
        kDigitalRampEnable.set(0);
}

void ControlLoad::cmdLoad_Click()
{
    frmControl& w = window_;
    if (!goEvalBd || !confirmLoad())
        return;
    regwin::LoadOptions options;
    // IOUD Rt goes first; the single-tone bits are cleared before CFR1 and CFR2 go.
    options.afterEach = [this](int16_t addr) {
        if (addr == kIOUDRate && giRunMode != kRunModeKeepsSingleToneBits)
            clearSingleToneBits();
    };
    options.afterLoad = [&w](regwin::LoadOutcome) {
        w.cmdRefreshPLLLock_Click();
        w.cmdRefreshPlllockSR3_Click();
        ui::Forms::callIfLoaded(formnames::frmDebug, formnames::RefreshFormVals);
    };
    w.loadWindow(w.cmdLoad, {kIOUDRate, kCFR1, kCFR2, kCFR3, kDACCtrl}, options);
}
