#pragma once

// The desktop's system-information tool, where this platform has one: the first of the known tools found
// on the search path.

#include <QString>
#include <QStringList>

// The tools looked for, in order.
QStringList sysInfoToolNames();
// The full file name of the tool, or empty when none is installed.
QString findSysInfoTool();
