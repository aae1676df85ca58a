#pragma once

// One run of a generator program: the program started in its own folder with its console text mirrored
// into the window's box, the error file it leaves there, and the report that closes the box.

#include "board/console_run.h"
#include "modulation/console_output.h"
#include "modulation/param_files.h"
#include "modulation/program_settings.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace ui {
class TextBox;
}

namespace mvg {

class GeneratorRun {
public:
    // `windowStays` says whether the window that holds `console` is still there; once it is not, the run
    // ends at the next wait without touching the box again.
    GeneratorRun(Generator generator, GeneratorFiles files, ui::TextBox& console,
                 std::function<bool()> windowStays);
    GeneratorRun(const GeneratorRun&) = delete;
    GeneratorRun& operator=(const GeneratorRun&) = delete;

    // Runs the program (its parameter file written, the program there) and reports in the box. False when
    // the run was stopped or the window went: nothing more is said then.
    bool run();
    // Ends the program from a handler that runs during the run's waits.
    void stop() { consoleRun_.stop(); }

    // Waits for the error file, a second between reads, while the window stays (waitForErrorFile).
    bool ErrorFileWritten(const QString& path);
    // Reads the error file (readErrorFile).
    void CheckErrorFile(const QString& path, QStringList& errorLines, bool& noErrors) const;
    // Counts "ERROR" and "WARNING" in the box, the program's part judged on all it wrote.
    void GetOutputErrors(int16_t& errors, int16_t& warnings, bool& any) const;

private:
    void append(const QString& text);

    Generator generator_;
    GeneratorFiles files_;
    ui::TextBox& console_;
    std::function<bool()> windowStays_;
    ConsoleRun consoleRun_;
    ProgramOutput programOutput_;
};

} // namespace mvg
