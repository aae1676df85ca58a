// Board attach and detach as the USB watch sees them, and the refresh of every window.

#include "boardui/board_attach.h"
#include "boardui/form_names.h"

#include "board/board_flags.h"
#include "board/chip_registers.h"
#include "board/evalbd.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/forms.h"

#include <exception>

namespace {

void mainWindowCall(const QString& procedure)
{
    ui::Forms::callIfLoaded(formnames::mdiMain, procedure);
}

} // namespace

void ebOnBoardConnect()
{
    mainWindowCall(formnames::UpdateUSBStat);
    ebInitBoard();
    gbHasFIFO = goEvalBd != nullptr && goEvalBd->USBDetectFIFO();
    mainWindowCall(formnames::UpdateFIFOStat);
}

void ebOnBoardDisconnect()
{
    mainWindowCall(formnames::UpdateUSBStat);
    mainWindowCall(formnames::UpdateFIFOStat);
}

void ebInitBoard()
{
    if (goEvalBd != nullptr) {
        const int16_t found = goEvalBd->DetectSiliconRev();
        if (found != 0) {
            if (goEvalBd->SiliconRev() == 2)
                goEvalBd->InitRegMap(2);
        } else {
            goEvalBd->InitRegMap(3);
        }
    }
    ebRefreshAllForms();
}

void ebRefreshAllForms()
{
    // A window whose refresh fails must not keep the others from theirs.
    for (ui::Form* form : ui::Forms::loaded()) {
        if (!form->IsLoaded() || !form->hasProc(formnames::RefreshFormVals))
            continue;
        try {
            form->callProc(formnames::RefreshFormVals);
        } catch (const std::exception&) {
        }
    }
}

void ebGetDUTModes(int16_t& opMode, int16_t& ramEnable, int16_t& rampEnable, int16_t& sxiMode)
{
    opMode = ramEnable = rampEnable = sxiMode = 0;
    if (goEvalBd == nullptr)
        return;
    const RegisterMaps& maps = goEvalBd->regMaps();
    opMode = static_cast<int16_t>(kOperatingMode.get(RegMap::Pending, maps));
    ramEnable = static_cast<int16_t>(kRAMEnable.get(RegMap::Pending, maps));
    rampEnable = static_cast<int16_t>(kDigitalRampEnable.get(RegMap::Pending, maps));
    sxiMode = static_cast<int16_t>(kSXIEnable.get(RegMap::Pending, maps));
}

double ebRateFormula(int16_t code, double resistance)
{
    if (resistance == 0)
        throw rt::RuntimeError::standard(rt::errDivisionByZero, QStringLiteral("ebRateFormula"));
    return (code / 96.0 + 1.0) * (86.4 / resistance);
}
