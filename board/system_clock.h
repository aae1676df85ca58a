#pragma once

// The system clock as every window reads it: the text (MHz) of the Control window's clock box, asked
// afresh at each use. A Control window that is not loaded is loaded first, as reading one of its controls
// always did; "" only when the program has no Control window. What a caller accepts as a usable clock
// (a number above 0, in its own number rules) stays the caller's.

#include <QString>

QString SysClockText();
