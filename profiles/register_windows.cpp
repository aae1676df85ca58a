#include "profiles/register_windows.h"

#include "profiles/frm_edit_osf.h"
#include "profiles/frm_edit_out_freq.h"
#include "profiles/frm_edit_phase_offset1.h"
#include "profiles/frm_edit_ram_addr_rr.h"
#include "profiles/frm_profile.h"
#include "profiles/frm_qducrsr.h"
#include "profiles/frm_ram_debug.h"

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
    registerWindow<frmEditOSF>();
    registerWindow<frmEditOSF_QM>();
    registerWindow<frmEditRAMAddrRR>();
    registerWindow<frmQDUCRSR>();
    registerWindow<frmRAMDebug>();
}
