#include "debug/register_windows.h"

#include "debug/frm_adc.h"
#include "debug/frm_debug.h"
#include "debug/frm_fifo_control.h"
#include "debug/frm_fifo_debug.h"
#include "debug/frm_gpio.h"
#include "debug/frm_reg_map_vals.h"
#include "debug/frm_watch_dog_tmr.h"

#include "platform/ui/forms.h"

namespace {

template <typename T> void registerWindow()
{
    ui::Forms::registerFactory(T::FormName, [] { return std::make_unique<T>(); });
}

} // namespace

void RegisterDebugWindows()
{
    registerWindow<frmFIFOControl>();
    registerWindow<frmFIFODebug>();
    registerWindow<frmWatchDogTmr>();
    registerWindow<frmADC>();
    registerWindow<frmGPIO>();
    registerWindow<frmDebug>();
    registerWindow<frmRegMapVals>();
}
