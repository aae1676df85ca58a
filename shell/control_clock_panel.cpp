#include "shell/control_clock_panel.h"

#include "board/system_clock.h"
#include "board/text_util.h"
#include "boardui/form_names.h"
#include "shell/control_window_kit.h"
#include "shell/frm_control.h"

#include "platform/runtime/number_format.h"
#include "platform/ui/forms.h"
#include "platform/ui/key_codes.h"

#include <QWidget>

using controlkit::numberOf;
using controlkit::paint;

namespace {

const QString kClockFormat = QStringLiteral("0.00000");

} // namespace

clockplan::ClockInputs ControlClockPanel::clockInputs() const
{
    const frmControl& w = window_;
    const bool rev3 = w.isRev3Layout();
    clockplan::ClockInputs in;
    in.reference = numberOf(w.txtExternClk.Text());
    in.referenceDividerOff = w.chkRefclkDivDisable.Value() == 1;
    in.pllOn = (rev3 ? w.chkEnablePllSR3 : w.chkEnableMulti).Value() == 1;
    in.ratioIndex = w.cmbRFDividerRatio.ListIndex();
    in.mDividerIndex = w.cmbMDivider.ListIndex();
    in.multiplier = numberOf(w.txtCLKMultiVal.Text());
    in.pfdDoubler = w.chkPFDInputDblr.Value() == 1;
    return in;
}

void ControlClockPanel::showRefClock()
{
    window_.txtRefClk.setText(rt::Format(clockplan::dividedReference(clockInputs()), kClockFormat));
}

double ControlClockPanel::GetSysClockVal() const
{
    clockplan::ClockInputs in = clockInputs();
    in.pllOn = window_.chkEnableMulti.Value() == 1;
    return clockplan::systemClockSR12(in).value_or(-1);
}

double ControlClockPanel::GetVCOFreqVal() const
{
    clockplan::ClockInputs in = clockInputs();
    in.pllOn = window_.chkEnableMulti.Value() == 1;
    return clockplan::vcoFrequencySR12(in).value_or(-1);
}

double ControlClockPanel::GetSysClockValSR3() const
{
    clockplan::ClockInputs in = clockInputs();
    in.pllOn = window_.chkEnablePllSR3.Value() == 1;
    return clockplan::systemClockSR3(in).value_or(-1);
}

void ControlClockPanel::UpdateClksSR12()
{
    frmControl& w = window_;
    const double clock = GetSysClockVal();
    if (clock == -1) {
        w.setMark(0, true);
        return;
    }
    w.txtSysClkTxt.setText(rt::Format(clock, kClockFormat));
    showRefClock();
    w.txtVCOFreq.setText(w.chkEnableMulti.Value() == 1 ? rt::Format(GetVCOFreqVal(), kClockFormat)
                                                       : QStringLiteral("VCOFreq"));
}

void ControlClockPanel::UpdateClksSR3()
{
    frmControl& w = window_;
    const double clock = GetSysClockValSR3();
    if (clock == -1) {
        w.setMark(0, true);
        return;
    }
    w.txtSysClkTxt.setText(rt::Format(clock, kClockFormat));
    showRefClock();
    // A reference outside its range keeps its mark, whatever the PLL makes of it.
    if (clockplan::validReference(numberOf(w.txtExternClk.Text())))
        w.setMark(0, false);
}

void ControlClockPanel::UpdateClks()
{
    if (window_.isRev3Layout())
        UpdateClksSR3();
    else
        UpdateClksSR12();
}

void ControlClockPanel::ShowExternalClock()
{
    window_.txtExternClk.setText(systemClock().externalClockText());
}

void ControlClockPanel::txtExternClk_Change()
{
    frmControl& w = window_;
    systemClock().showExternalClock(&w, w.txtExternClk.Text());
    if (clockplan::validReference(numberOf(w.txtExternClk.Text()))) {
        w.setMark(0, false);
        UpdateClks();
    } else {
        w.setMark(0, true);
    }
}

void ControlClockPanel::txtExternClk_KeyPress(int& keyAscii)
{
    ui::TextBox& box = window_.txtExternClk;
    if (keyAscii == ui::vbKeyReturn) {
        keyAscii = 0;
        bool cancel = false;
        txtExternClk_Validate(cancel);
        return;
    }
    keyAscii = KeyFilterNoSign(KeyFilterNumeric(keyAscii));
    if (keyAscii != 0 && keyAscii == TextDecimalSepCode()) {
        QString rest = box.Text();
        rest.remove(box.SelStart(), box.SelLength());
        if (rest.contains(TextDecimalSep()))
            keyAscii = 0;
    }
}

void ControlClockPanel::txtExternClk_Validate(bool& cancel)
{
    (void)cancel;
    frmControl& w = window_;
    const std::optional<double> reference = numberOf(w.txtExternClk.Text());
    if (!reference) {
        w.setMark(0, true);
        return;
    }
    w.txtExternClk.setText(rt::Format(*reference, kClockFormat));
    if (clockplan::validReference(reference))
        UpdateClks();
    else
        w.setMark(0, true);
}

void ControlClockPanel::txtSysClkTxt_Change()
{
    frmControl& w = window_;
    // The other windows read the clock from the system clock, first of all the ones refreshed below.
    systemClock().showClock(&w, w.txtSysClkTxt.Text());
    // A clock of 0 or below is as unusable as one above the limit: the windows that convert with it are
    // left as they are rather than divide by it.
    if (clockplan::validSystemClock(numberOf(w.txtSysClkTxt.Text()))) {
        w.setMark(1, false);
        ui::Forms::callIfLoaded(formnames::frmProfile, formnames::RefreshFormVals);
        ui::Forms::callIfLoaded(formnames::frmFreqAndSweep, formnames::UpdateFreqsAndRRs);
        w.UpdateIOUDClk();
    } else {
        w.setMark(1, true);
    }
    w.SetVCORangeSR3();
}

void ControlClockPanel::showMultiplierState()
{
    frmControl& w = window_;
    const bool on = w.chkEnableMulti.Value() == 1;
    w.txtMultiBypassed.setVisible(!on);
    paint(
        {&w.cmbRFDividerRatio, &w.cmbMDivider, &w.txtVCOFreq, &w.lstVCORange}, on,
        {&w.lblMultiplier, &w.lblMDivider, &w.lblVCOFreq, &w.lblVCOFreqUnits, &w.lblVCORange, &w.lblPLLLock});
}

void ControlClockPanel::showPllSR3State()
{
    frmControl& w = window_;
    paint({&w.txtCLKMultiVal, &w.chkPFDInputDblr, &w.chkPFDXRST, &w.cmbABPW, &w.cmbChargePumpCurrent,
           &w.lsbVCORangeSR3, &w.cmbDRV0, &w.cmbXTALOut},
          w.chkEnablePllSR3.Value() == 1,
          {&w.lblCLKMultiVal, &w.lblABPW, &w.lblChargePumpCurrent, &w.lblVCORangeSR3, &w.lblDRV0,
           &w.lblXTALOut, &w.lblPllLockSR3});
}

void ControlClockPanel::chkSR3_Click()
{
    window_.rrfMultiplier.setVisible(window_.chkSR3.Value() == 1);
    showRevisionGroup();
}

void ControlClockPanel::showRevisionGroup()
{
    if (window_.rev12Panel_)
        window_.rev12Panel_->setVisible(!window_.rrfMultiplier.Visible());
}
