#include "modulation/register_windows.h"

void RegisterModulationWindows()
{
}
