// The end of the program and the small services of the start-up module that other windows call.

#include "shell/startup.h"

#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "platform/ui/app.h"
#include "platform/ui/forms.h"
#include "shell/frm_about.h"
#include "shell/frm_io_interface.h"
#include "shell/frm_splash.h"
#include "shell/frm_usb_select.h"
#include "shell/frm_working_hard.h"

#include <memory>

namespace {

template <typename T> void registerWindow()
{
    ui::Forms::registerFactory(T::FormName, [] { return std::make_unique<T>(); });
}

void unloadIfLoaded(const QString& name)
{
    if (ui::Form* form = ui::Forms::find(name))
        form->Unload();
}

// The windows that show each register, in the order they are refreshed.
std::vector<const char*> windowsShowing(int16_t address)
{
    if (address == 0x00)
        return {"frmControl", "frmProfile", "frmFreqAndSweep", "frmIOInterface"};
    if (address == 0x01)
        return {"frmControl", "frmProfile", "frmFreqAndSweep"};
    if (address >= 0x02 && address <= 0x04)
        return {"frmControl"};
    if (address == 0x05 || address == 0x06)
        return {"frmQDUCRSR"};
    if ((address >= 0x07 && address <= 0x09) || (address >= 0x0B && address <= 0x0D))
        return {"frmFreqAndSweep"};
    if (address == 0x0A)
        return {"frmMultiChipSync"};
    if (address >= 0x0E && address <= 0x15)
        return {"frmProfile"};
    if (address == 0x17)
        return {"frmWatchDogTmr"};
    if (address == 0x18 || address == 0x19)
        return {"frmGPIO"};
    if (address == 0x1A || address == 0x1B)
        return {"frmADC"};
    return {};
}

} // namespace

void RegisterShellWindows()
{
    registerWindow<frmSplash>();
    registerWindow<frmUSBSelect>();
    registerWindow<frmAbout>();
    registerWindow<frmIOInterface>();
    registerWindow<frmWorkingHard>();
}

void EndProgram()
{
    goEvalBd = nullptr;
    unloadIfLoaded(QStringLiteral("frmDebug"));
    unloadIfLoaded(frmSplash::FormName);
    // The board is handed back while the program still runs: destroying the USB object writes host
    // identifier 0 to the board it selected, so another running copy may take it.
    ReplaceEZUSB(nullptr);
    ui::EndProcess(0);
}

void RefreshFormsForRegister(int16_t address)
{
    for (const char* name : windowsShowing(address))
        ui::Forms::callIfLoaded(QString::fromLatin1(name), QStringLiteral("RefreshFormVals"));
}
