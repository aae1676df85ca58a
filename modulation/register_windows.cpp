#include "modulation/register_windows.h"

#include "modulation/frm_qamvg.h"
#include "modulation/frm_simulator_setup.h"
#include "platform/ui/forms.h"

void RegisterModulationWindows()
{
    ui::Forms::registerFactory(frmQAMVG::FormName, [] { return std::make_unique<frmQAMVG>(); });
    ui::Forms::registerFactory(frmSimulatorSetup::FormName,
                               [] { return std::make_unique<frmSimulatorSetup>(); });
}
