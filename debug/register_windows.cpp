#include "debug/register_windows.h"

#include "debug/frm_debug.h"
#include "debug/frm_reg_map_vals.h"

#include "platform/ui/forms.h"

namespace {

template <typename T> void registerWindow()
{
    ui::Forms::registerFactory(T::FormName, [] { return std::make_unique<T>(); });
}

} // namespace

void RegisterDebugWindows()
{
    registerWindow<frmDebug>();
    registerWindow<frmRegMapVals>();
}
