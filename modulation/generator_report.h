#pragma once

// What a generator run says, apart from the window: the texts of each generator's console, the error file
// the generator leaves in its folder, and the closing line of the console box.

#include "modulation/param_files.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

namespace mvg {

inline const QString kErrorFileName = QStringLiteral("Error_file.txt");
// The console box's first line while a generator runs.
inline const QString kGeneratingText = QStringLiteral("*** Please Wait Generating Data ***\r\n");
// Printed when the generator has shown its results; it may go on running with its plot windows.
inline const QString kGeneratorStopText = QStringLiteral("Simulation run time:");
inline const QString kRuntimeMissingText = QStringLiteral("Error - Matlab 7.3 Runtime Not Installed");
// How long the error file is waited for: this many reads, a second apart.
constexpr int kErrorFileTries = 180;

// A generator's console title and the progress text its runs print first.
struct RunTexts {
    QString consoleTitle;
    QString progressText;
};
RunTexts runTextsOf(Generator generator);

// The error file read: noErrors when its first line is "0"; otherwise the trimmed lines after the first, up
// to the first empty one. A file that cannot be read reports errors without lines.
struct ErrorReport {
    bool noErrors = false;
    QStringList errorLines;
};
ErrorReport parseErrorFile(const std::optional<QByteArray>& bytes);
ErrorReport readErrorFile(const QString& path);

// Waits for the error file: true when its first line holds text; false at once for a blank first line, or
// after kErrorFileTries failed reads with `pause` between them. `pause` waits a second and says whether
// to go on (false: the window went, the wait ends unanswered).
bool waitForErrorFile(const QString& path, const std::function<bool()>& pause);

// The console box's closing line for a run's counts. A run whose error file reported errors, or whose
// program could not start, counts at least one error whatever words its lines use.
QString runSummary(int16_t errors, int16_t warnings, bool noErrors);

} // namespace mvg
