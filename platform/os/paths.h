#pragma once

#include <QString>

namespace os {

// Paths here use "/". Texts built the classic way use "\" (the program folder & "\Simulator\main.exe"),
// so every helper below treats both as separators; a "\" is never part of one of our file names.

// "\" becomes "/" and runs of separators become one ("dir\\file" and "dir//file" both give "dir/file").
QString toNativePath(const QString& path);

// The text after the last separator; the whole text when there is none.
QString fileNameOf(const QString& path);
// The text up to and including the last separator; empty when there is none.
QString folderOf(const QString& path);

// Joins a folder and a path below it with exactly one "/" between them.
QString joinPath(const QString& folder, const QString& relative);

// A program path read from an INI file made usable here: "\Tovrindir\Tovrin.exe", "Simulator\main.exe"
// and ".\x.exe" lie below `baseFolder` (the classic files wrote them so); a path starting with "/" is
// absolute and stays as it is.
QString resolveProgramPath(const QString& pathFromIni, const QString& baseFolder);

} // namespace os
