#include "shell/control_vco_bands.h"

#include "board/clock_plan.h"
#include "board/vco_tables.h"
#include "shell/control_window_kit.h"
#include "shell/frm_control.h"

#include "platform/ui/msgbox.h"

#include <span>

using controlkit::numberOf;

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

int ControlVcoBands::GetVCORange() const
{
    return clockplan::pllBand(bandsSR12(), window_.chkEnableMulti.Value() == 1,
                              numberOf(window_.txtVCOFreq.Text()));
}

int ControlVcoBands::SetVCORange() const
{
    const int band = GetVCORange();
    return band < clockplan::kBandsSR12 ? band : -1;
}

void ControlVcoBands::txtVCOFreq_Change()
{
    const int band = SetVCORange();
    if (band >= 0) {
        window_.lstVCORange.setListIndex(band);
        window_.setMark(3, false);
    } else {
        window_.lstVCORange.setListIndex(0);
        window_.setMark(3, true);
    }
}

void ControlVcoBands::markVCOBand()
{
    const int band = window_.lstVCORange.ListIndex();
    if (band < 0 || band >= clockplan::kBandsSR12)
        return;
    if (window_.chkEnableMulti.Value() == 1) {
        const std::optional<double> vco = numberOf(window_.txtVCOFreq.Text());
        window_.setMark(3, !(vco && clockplan::bandHolds(bandsSR12(), band, *vco)));
    }
}

void ControlVcoBands::cmdFindVCORange_Click()
{
    const int band = SetVCORange();
    if (band >= 0) {
        window_.lstVCORange.setListIndex(band);
        window_.setMark(3, false);
        return;
    }
    window_.lstVCORange.setListIndex(0);
    ui::MsgBox(QStringLiteral("A valid VCO Range could not be determined!\r\n\r\n"
                              "A default VCO Range of 0 has been selected.\r\n"
                              "This setting may be incorrect!\r\n\r\n"
                              "Please manualy select a VCO Range!"),
               ui::vbExclamation, QStringLiteral("Warning"));
    window_.setMark(3, true);
}

int ControlVcoBands::GetVCORangeSR3() const
{
    return clockplan::pllBand(bandsSR3(), window_.chkEnablePllSR3.Value() == 1,
                              numberOf(window_.txtSysClkTxt.Text()));
}

int ControlVcoBands::SetVCORangeSR3()
{
    // Revision 1/2 silicon keeps its own band in the bits this band would overlap.
    if (!window_.isRev3Layout()) {
        window_.setMark(5, false);
        return -1;
    }
    const int band = GetVCORangeSR3();
    if (band < clockplan::kBandsSR3) {
        window_.setMark(5, false);
        window_.lsbVCORangeSR3.setListIndex(band);
        return band;
    }
    window_.setMark(5, true);
    return -1;
}

void ControlVcoBands::lsbVCORangeSR3_Click()
{
    frmControl& w = window_;
    if (!w.isRev3Layout()) {
        w.setMark(5, false);
        return;
    }
    const int band = w.lsbVCORangeSR3.ListIndex();
    w.setMark(5, band < 0);
    if (band < 0 || band >= clockplan::kBandsSR3)
        return;
    if (!w.refreshing())
        w.fields_.store(w.lsbVCORangeSR3);
    if (w.chkEnablePllSR3.Value() == 1) {
        const std::optional<double> clock = numberOf(w.txtSysClkTxt.Text());
        w.setMark(5, !clock || !clockplan::bandHolds(bandsSR3(), band, *clock));
    }
}
