#include "sweep/register_windows.h"

#include "sweep/frm_freq_and_sweep.h"
#include "sweep/frm_multi_chip_sync.h"

#include "platform/ui/forms.h"

namespace {

template <typename T> void registerWindow()
{
    ui::Forms::registerFactory(T::FormName, [] { return std::make_unique<T>(); });
}

} // namespace

void RegisterSweepWindows()
{
    registerWindow<frmFreqAndSweep>();
    registerWindow<frmMultiChipSync>();
}
