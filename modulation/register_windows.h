#pragma once

// Makes this library's windows known to the forms registry; app/ calls it before start-up.
void RegisterModulationWindows();
