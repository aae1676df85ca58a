// The port side of the debug window: the port A, port E and CTL boxes with their Apply and Auto Apply,
// the USB status flash, and the lamps of the DUT flags and the serial-port settings.

#include "debug/frm_debug.h"

#include "board/bit_helpers.h"
#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "board/form_names.h"
#include "shell/frm_graphics.h"

#include "platform/ui/forms.h"

void frmDebug::readPortImages()
{
    if (!goEvalBd)
        return;
    cZR4470XEvalBd& bd = *goEvalBd;
    // A port that cannot be read shows what the port buffer holds: taking the failed read as every line
    // low would let Auto Apply drive chip select and the reset lines low.
    const bool boardSelected = !goEZUSB().DriverName().isEmpty();
    const auto image = [&](int16_t port) {
        const std::optional<uint8_t> fetched = boardSelected ? bd.FetchPortValue(port) : std::nullopt;
        return fetched.value_or(static_cast<uint8_t>(bd.USBGetPortBuffVal(port)));
    };
    portA_ = image(kPortA);
    portE_ = image(kPortE);
    ctl_ = image(kPortCtl);
}

void frmDebug::showPortImages()
{
    for (ui::CheckBox& box : chkPAIO)
        box.setValue(ebTestBit(portA_, static_cast<int16_t>(box.Index())));
    for (ui::CheckBox& box : chkPEIO)
        box.setValue(ebTestBit(portE_, static_cast<int16_t>(box.Index())));
    for (ui::CheckBox& box : chkCTLIO)
        box.setValue(ebTestBit(ctl_, static_cast<int16_t>(box.Index())));
}

// ---- port boxes and Apply ----

void frmDebug::chkPAIO_Click(int index)
{
    if (bRefreshing)
        return;
    portA_ = ebSetBit(portA_, static_cast<int16_t>(index), chkPAIO(index).Value() != 0);
    if (chkPAAutoApply.Value() == 1)
        cmdApplyPA_Click();
    // The RAM segment window shows the ISFC line, applied or not.
    ui::Forms::callIfLoaded(formnames::frmQDUCRSR, formnames::RefreshFormVals);
}

void frmDebug::chkPEIO_Click(int index)
{
    if (bRefreshing)
        return;
    portE_ = ebSetBit(portE_, static_cast<int16_t>(index), chkPEIO(index).Value() != 0);
    if (chkPEAutoApply.Value() == 1)
        cmdApplyPE_Click();
}

void frmDebug::chkCTLIO_Click(int index)
{
    if (bRefreshing)
        return;
    ctl_ = ebSetBit(ctl_, static_cast<int16_t>(index), chkCTLIO(index).Value() != 0);
    if (chkCTLAutoApply.Value() == 1)
        cmdApplyCTL_Click();
}

void frmDebug::cmdApplyPA_Click()
{
    if (!goEvalBd)
        return;
    goEvalBd->USBSetPortBuffVal(kPortA, portA_);
    goEvalBd->USBWritePortBuffVal(kPortA);
    ui::Forms::callIfLoaded(formnames::frmControl, formnames::RefreshFormVals);
    ui::Forms::callIfLoaded(formnames::frmQDUCRSR, formnames::RefreshFormVals);
}

void frmDebug::cmdApplyPE_Click()
{
    if (!goEvalBd)
        return;
    goEvalBd->USBSetPortBuffVal(kPortE, portE_);
    goEvalBd->USBWritePortBuffVal(kPortE);
    ui::Forms::callIfLoaded(formnames::frmProfile, formnames::UpdateProfileSel);
    ui::Forms::callIfLoaded(formnames::frmFreqAndSweep, formnames::RefreshFormVals);
}

void frmDebug::cmdApplyCTL_Click()
{
    if (!goEvalBd)
        return;
    goEvalBd->USBSetPortBuffVal(kPortCtl, ctl_);
    goEvalBd->USBWritePortBuffVal(kPortCtl);
}

void frmDebug::chkFlashUSBStatus_Click()
{
    const bool flash = chkFlashUSBStatus.Value() == 1;
    if (goEvalBd) {
        goEvalBd->setFlashUSBStatus(flash);
        // The LED follows the port A image again.
        if (!flash)
            cmdApplyPA_Click();
    }
    chkPAIO(0).setEnabled(!flash);
}

// ---- lamps ----

void frmDebug::showLamp(ui::Image& lamp, bool lit)
{
    lamp.setPicture(ui::form<frmGraphics>().imgGreenLed(lit ? 1 : 0).Picture());
}

void frmDebug::UdStatusIndicators()
{
    const uint8_t portD = goEvalBd ? static_cast<uint8_t>(goEvalBd->USBGetPortBuffVal(kPortD)) : 0;
    for (ui::Image& lamp : imgDUTFlagsPD)
        showLamp(lamp, ebTestBit(portD, static_cast<int16_t>(lamp.Index())) == 1);
}

void frmDebug::UpdateSPIStatus()
{
    showLamp(img3WireMode, goEvalBd && goEvalBd->SPI_IOMode() == 1);
    showLamp(imgLSBFirst, goEvalBd && goEvalBd->SPI_LSB_First());
}

void frmDebug::cmdReadDUTFlags_Click()
{
    if (goEvalBd)
        goEvalBd->USBReadPortBuffVal(kPortD);
    UdStatusIndicators();
}
