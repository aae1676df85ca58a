#pragma once

#include <QString>

namespace os {

// The program folder: the folder of the executable (no trailing "/"). "startup.log", the INI files and the
// "Simulator" folder live there. Tests set their own.
QString programFolder();
void setProgramFolder(const QString& folder); // an empty text goes back to the executable's folder

// The executable's file name without its folder ("tessaron"), and without its extension.
QString executableName();
QString executableBaseName();

} // namespace os
