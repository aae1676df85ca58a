#include "debug/register_windows.h"

void RegisterDebugWindows()
{
}
