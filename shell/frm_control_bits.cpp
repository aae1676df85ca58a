// The Control window's register bits with consequences: operating mode, RAM and SXI enables and the
// greying they drive, the PDCLK and internal I/O update groups, the external power-down pin, the
// revision group shown, and the auxiliary DAC code and current.

#include "shell/frm_control.h"

#include "board/evalbd.h"
#include "board/form_names.h"
#include "board/text_util.h"
#include "board/utility.h"
#include "boardui/board_attach.h"
#include "boardui/text_selection.h"
#include "boardui/window_utility.h"
#include "shell/frm_control_fields.h"
#include "shell/frm_graphics.h"

#include "platform/os/sounds.h"
#include "platform/runtime/number_format.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"
#include "platform/ui/key_codes.h"

#include <QWidget>
#include <cmath>
#include <initializer_list>

using namespace control;

namespace {

constexpr uint32_t kIllustrationLit = 0x00FF00;
constexpr uint32_t kIllustrationDark = 0x808080;

void paint(std::initializer_list<ui::Control*> controls, bool applies)
{
    for (ui::Control* control : controls)
        control->setForeColor(applies ? ui::colors::vbWindowText : ui::colors::vbGrayText);
}

void beep()
{
    os::playSystemSound(QStringLiteral("SystemDefault"));
}

} // namespace

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
    if (bRefreshing || !goEvalBd)
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
    if (keyAscii < 32 || (keyAscii >= '0' && keyAscii <= '9'))
        return;
    keyAscii = 0;
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
