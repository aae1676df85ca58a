// The Control window's clock: reference clock, ÷2 divider, the PLL of silicon revisions 1/2 (ratio,
// M divider, VCO frequency and its 63 bands) and of revision 3 (multiplier, doubler and its 6 bands), and
// the system clock box that every other window reads.

#include "shell/frm_control.h"

#include "board/form_names.h"
#include "board/text_util.h"
#include "board/vco_tables.h"
#include "shell/frm_control_fields.h"

#include "platform/runtime/number_format.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/msgbox.h"

#include <cmath>
#include <initializer_list>

using namespace control;

namespace {

constexpr double kMaxRefClock = 2000; // MHz
constexpr double kMaxSysClock = 1000; // MHz
constexpr int kCalBands = 63;
constexpr int kSR3Bands = 6;

const QString kClockFormat = QStringLiteral("0.00000");

// Greys a PLL group with its labels, or shows it as applying.
void paintGroup(std::initializer_list<ui::Control*> controls, std::initializer_list<ui::Control*> labels,
                bool applies)
{
    for (ui::Control* control : controls)
        control->setForeColor(applies ? ui::colors::vbWindowText : ui::colors::vbGrayText);
    for (ui::Control* label : labels)
        label->setForeColor(applies ? ui::colors::vbButtonText : ui::colors::vbGrayText);
}

bool validReference(const std::optional<double>& mhz)
{
    return mhz && *mhz > 0 && *mhz <= kMaxRefClock;
}

// A multiplier the revision 3 PLL accepts: 8-10 or 12-127.
bool validMultiplier(double value)
{
    return (value >= 12 && value <= 127) || (value >= 8 && value <= 10);
}

} // namespace

int frmControl::refDivider() const
{
    return chkRefclkDivDisable.Value() == 1 ? 1 : 2;
}

void frmControl::showRefClock()
{
    const double reference = numberOf(txtExternClk.Text()).value_or(0);
    txtRefClk.setText(rt::Format(reference / refDivider(), kClockFormat));
}

// ---- system clock ----

double frmControl::GetSysClockVal()
{
    const std::optional<double> reference = numberOf(txtExternClk.Text());
    if (!reference)
        return -1;
    const int ratio = chkEnableMulti.Value() == 1 ? cmbRFDividerRatio.ListIndex() + 1 : 1;
    return (static_cast<double>(ratio) / refDivider()) * *reference;
}

double frmControl::GetVCOFreqVal()
{
    const std::optional<double> reference = numberOf(txtExternClk.Text());
    if (!reference)
        return -1;
    const int ratio = chkEnableMulti.Value() == 1 ? cmbRFDividerRatio.ListIndex() + 1 : 1;
    const int m = std::max(0, cmbMDivider.ListIndex());
    return std::ldexp(1.0, m) * ratio * (*reference / refDivider());
}

double frmControl::GetSysClockValSR3()
{
    const std::optional<double> reference = numberOf(txtExternClk.Text());
    if (!reference)
        return -1;
    if (chkEnablePllSR3.Value() != 1)
        return *reference / refDivider();
    const std::optional<double> multiplier = numberOf(txtCLKMultiVal.Text());
    if (!multiplier)
        return -1;
    const int doubler = chkPFDInputDblr.Value() == 1 ? 2 : 1;
    return *reference * *multiplier * doubler;
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
    if (validReference(numberOf(txtExternClk.Text())))
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
    const std::optional<double> clock = numberOf(txtSysClkTxt.Text());
    if (!clock || *clock <= 0)
        return std::nullopt;
    return clock;
}

// ---- reference clock ----

void frmControl::txtExternClk_Change()
{
    if (validReference(numberOf(txtExternClk.Text()))) {
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
    if (validReference(reference))
        UpdateClks();
    else
        setMark(0, true);
}

// ---- system clock box ----

void frmControl::txtSysClkTxt_Change()
{
    // A clock of 0 or below is as unusable as one above the limit: the windows that convert with it are
    // left as they are rather than divide by it.
    const std::optional<double> clock = numberOf(txtSysClkTxt.Text());
    if (clock && *clock > 0 && *clock <= kMaxSysClock) {
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
    paintGroup({&cmbRFDividerRatio, &cmbMDivider, &txtVCOFreq, &lstVCORange},
               {&lblMultiplier, &lblMDivider, &lblVCOFreq, &lblVCOFreqUnits, &lblVCORange, &lblPLLLock}, on);
}

void frmControl::showPllSR3State()
{
    paintGroup({&txtCLKMultiVal, &chkPFDInputDblr, &chkPFDXRST, &cmbABPW, &cmbChargePumpCurrent,
                &lsbVCORangeSR3, &cmbDRV0, &cmbXTALOut},
               {&lblCLKMultiVal, &lblABPW, &lblChargePumpCurrent, &lblVCORangeSR3, &lblDRV0, &lblXTALOut,
                &lblPllLockSR3},
               chkEnablePllSR3.Value() == 1);
}

// ---- VCO band, revisions 1/2 ----

int frmControl::GetVCORange()
{
    if (chkEnableMulti.Value() != 1)
        return kCalBands + 1;
    const std::optional<double> vco = numberOf(txtVCOFreq.Text());
    return vco ? ebFindVCOCalRange(*vco) : kCalBands;
}

int frmControl::SetVCORange()
{
    const int band = GetVCORange();
    return band < kCalBands ? band : -1;
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
    if (band < 0 || band >= kCalBands)
        return;
    if (chkEnableMulti.Value() == 1) {
        const std::optional<double> vco = numberOf(txtVCOFreq.Text());
        const auto& limits = giVCOCalTable[static_cast<size_t>(band)];
        setMark(3, !(vco && limits[0] <= *vco && *vco <= limits[1]));
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
    if (chkEnablePllSR3.Value() != 1)
        return kSR3Bands + 1;
    const std::optional<double> clock = numberOf(txtSysClkTxt.Text());
    return clock ? ebFindVCORangeSR3(*clock) : kSR3Bands;
}

int frmControl::SetVCORangeSR3()
{
    // Revision 1/2 silicon keeps its own band in the bits this band would overlap.
    if (!isRev3Layout()) {
        setMark(5, false);
        return -1;
    }
    const int band = GetVCORangeSR3();
    if (band < kSR3Bands) {
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
    if (band < 0 || band >= kSR3Bands)
        return;
    if (!bRefreshing)
        fields_.store(lsbVCORangeSR3);
    if (chkEnablePllSR3.Value() == 1) {
        const std::optional<double> clock = numberOf(txtSysClkTxt.Text());
        const auto& limits = giVCORanges[static_cast<size_t>(band)];
        setMark(5, !clock || *clock < limits[0] || *clock > limits[1]);
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
    setMark(4, !validMultiplier(*multiplier));
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
    if (keyAscii < 32 || (keyAscii >= '0' && keyAscii <= '9'))
        return;
    keyAscii = 0;
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
