#pragma once

// Utility: waits that keep the windows running, file and folder tests, path splitting,
// opening documents through the desktop, and engineering / SI number formatting.

#include <QString>
#include <cstdint>

// Waits `seconds` on the process clock, letting the window system process its queue on every turn (timers
// and other windows run, and may re-enter the caller) unless `noYield` is set. A wait that crosses midnight
// still ends: the rest is measured from the new day's clock.
void Pause(double seconds, bool noYield = false);

// Lets the window system process its queue n times; nothing for n < 1.
void DoEventsN(int n);

// An existing file (a link to one counts); false for folders, the empty text and wildcards.
bool FileExists(const QString& path);
// An existing folder; false for files and the empty text.
bool DirExists(const QString& path);
// The text after the last "\" or "/"; the whole text when there is none.
QString GetFileNameFromPath(const QString& path);
// The text up to and including the last "\" or "/"; empty when there is none.
QString GetPathFromFileName(const QString& path);

QString ReverseString(const QString& text);

// There is no system folder with the classic viewers here: the program folder stands in for it (callers
// append "\notepad.exe", which the desktop service maps to the text viewer).
QString GetWindowsDir();

// Opens a document through the desktop. Show index: 0 hidden, 1 normal, 2 minimised, 3 maximised,
// 4 shown without activation, 6 minimised without activation; 5 and anything outside 0-6 show a message
// and give false. True when the desktop accepted the request.
bool ShellOpenEx(const QString& file, const QString& folder, const QString& parameters, int showIndex);
// Tells the user that nothing on this computer could show `what` (a file or a tool), when a view the
// user asked for could not be opened.
void TellNoViewer(const QString& what);

// One token of sign characters and hexadecimal digits, with blanks and tabs around it allowed.
bool IsValidHexString(const QString& text);

// Engineering notation: the value scaled into [1, 1000) and formatted with `format`, then "e", the
// exponent's sign ("+" above 1) and the exponent as two digits: 1500 with "0.000" gives "1.500e+03",
// 0.0000047 gives "4.700e-06", 1 gives "1.000e00". Zero gives the formatted zero and "e+00"; infinities and
// NaN give "Inf", "-Inf" and "NaN".
QString FormatEng(double value, const QString& format);
// "4.700E-06" -> "4.700 u": the exponent (0 when there is no "E") becomes an SI prefix from f to G; an
// exponent outside that table stays in the text ("1.000E+12 ").
QString EngToSIPrefix(const QString& engText);
// The value scaled as in FormatEng, formatted, then " " and the SI prefix (y ... Y, the micro sign for
// 10^-6). An exponent beyond 10^+-24 is written as "e" and the exponent before the blank.
QString FormatSI(double value, const QString& format);
