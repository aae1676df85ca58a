#include "shell/register_windows.h"

#include "shell/frm_about.h"
#include "shell/frm_control.h"
#include "shell/frm_graphics.h"
#include "shell/frm_io_interface.h"
#include "shell/frm_splash.h"
#include "shell/frm_usb_select.h"
#include "shell/frm_working_hard.h"
#include "shell/mdi_main.h"

#include "platform/ui/forms.h"

#include <memory>

namespace {

template <typename T> void registerWindow()
{
    ui::Forms::registerFactory(T::FormName, [] { return std::make_unique<T>(); });
}

} // namespace

void RegisterShellWindows()
{
    registerWindow<mdiMain>();
    registerWindow<frmSplash>();
    registerWindow<frmUSBSelect>();
    registerWindow<frmAbout>();
    registerWindow<frmIOInterface>();
    registerWindow<frmWorkingHard>();
    registerWindow<frmGraphics>();
    // Its own registration: until it loads, its clock plan gives the system clock.
    registerControlWindow();
}
