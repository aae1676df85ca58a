#include "profiles/register_windows.h"

#include "profiles/frm_edit_out_freq.h"
#include "profiles/frm_edit_phase_offset1.h"
#include "profiles/frm_profile.h"

#include "platform/ui/forms.h"

namespace {

template <typename T> void registerWindow()
{
    ui::Forms::registerFactory(T::FormName, [] { return std::make_unique<T>(); });
}

} // namespace

void RegisterProfilesWindows()
{
    registerWindow<frmProfile>();
    registerWindow<frmEditOutFreq>();
    registerWindow<frmEditPhaseOffset1>();
}
