#include "sweep/register_windows.h"

void RegisterSweepWindows()
{
}
