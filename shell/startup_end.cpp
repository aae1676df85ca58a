// The end of the program and the small services of the start-up module that other windows call.

#include "shell/startup.h"

#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "boardui/external_programs.h"
#include "boardui/form_names.h"
#include "platform/os/child_process.h"
#include "platform/ui/app.h"
#include "platform/ui/forms.h"
#include "shell/frm_splash.h"

#include <memory>

namespace {

void unloadIfLoaded(const QString& name)
{
    if (ui::Form* form = ui::Forms::find(name))
        form->Unload();
}

// The windows that show each register, in the order they are refreshed.
std::vector<QString> windowsShowing(int16_t address)
{
    if (address == 0x00)
        return {formnames::frmControl, formnames::frmProfile, formnames::frmFreqAndSweep,
                formnames::frmIOInterface};
    if (address == 0x01)
        return {formnames::frmControl, formnames::frmProfile, formnames::frmFreqAndSweep};
    if (address >= 0x02 && address <= 0x04)
        return {formnames::frmControl};
    if (address == 0x05 || address == 0x06)
        return {formnames::frmQDUCRSR};
    if ((address >= 0x07 && address <= 0x09) || (address >= 0x0B && address <= 0x0D))
        return {formnames::frmFreqAndSweep};
    if (address == 0x0A)
        return {formnames::frmMultiChipSync};
    if (address >= 0x0E && address <= 0x15)
        return {formnames::frmProfile};
    if (address == 0x17)
        return {formnames::frmWatchDogTmr};
    if (address == 0x18 || address == 0x19)
        return {formnames::frmGPIO};
    if (address == 0x1A || address == 0x1B)
        return {formnames::frmADC};
    return {};
}

} // namespace

void EndProgram()
{
    goEvalBd = nullptr;
    // No program of ours outlives this one: the generators, the simulator and whatever they started are
    // asked to end and, after a short while, killed.
    os::endRunningChildren(kFigureWindowsCloseMs);
    unloadIfLoaded(formnames::frmDebug);
    unloadIfLoaded(frmSplash::FormName);
    // The board is handed back while the program still runs: destroying the USB object writes host
    // identifier 0 to the board it selected, so another running copy may take it.
    ReplaceEZUSB(nullptr);
    ui::EndProcess(0);
}

void RefreshFormsForRegister(int16_t address)
{
    for (const QString& name : windowsShowing(address))
        ui::Forms::callIfLoaded(name, formnames::RefreshFormVals);
}
