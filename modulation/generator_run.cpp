#include "modulation/generator_run.h"

#include "board/utility.h"
#include "boardui/console_runner.h"
#include "modulation/generator_report.h"
#include "platform/ui/controls.h"

#include <QFile>
#include <utility>

namespace mvg {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

GeneratorRun::GeneratorRun(Generator generator, GeneratorFiles files, ui::TextBox& console,
                           std::function<bool()> windowStays)
    : generator_(generator), files_(std::move(files)), console_(console),
      windowStays_(std::move(windowStays)),
      consoleRun_(consoleWatchTexts({runTextsOf(generator).progressText}))
{
}

void GeneratorRun::append(const QString& text)
{
    console_.setText(console_.Text() + text);
}

bool GeneratorRun::run()
{
    const QString folder = GetTargetRootPath(files_.program);
    // The previous run's error file must not judge this one.
    const QString errorFile = folder + kErrorFileName;
    QFile::remove(errorFile);
    programOutput_ = {};

    // The program file itself runs, with no arguments: its name is never read as a command.
    RunConsoleProgram(files_.program, {}, console_, 0, runTextsOf(generator_).consoleTitle, kGeneratingText,
                      kGeneratorStopText, folder, &consoleRun_);
    if (!windowStays_() || consoleRun_.stopped())
        return false;

    bool noErrors = true;
    if (consoleRun_.startFailed()) {
        // Nothing ran: no runtime to miss and no error file to wait for; the failure itself is the error.
        noErrors = false;
    } else {
        programOutput_ = programOutput(kGeneratingText.size(), console_.Text().size(), consoleRun_.output());
        // Judged on all the program wrote, not only on the part the box shows.
        if (!consoleRun_.output().found(kFirstOwnText))
            append(kCrLf + kRuntimeMissingText + kCrLf);
        const bool errorFileWritten = ErrorFileWritten(errorFile);
        // A window closed during the wait said the run was stopped: nothing follows that.
        if (!windowStays_())
            return false;
        if (!errorFileWritten) {
            append(QStringLiteral("Error File Not Accessable!") + kCrLf);
        } else {
            QStringList errorLines;
            CheckErrorFile(errorFile, errorLines, noErrors);
            if (!noErrors) {
                for (const QString& line : errorLines)
                    append(line + kCrLf);
            }
        }
    }

    int16_t errors = 0;
    int16_t warnings = 0;
    bool any = false;
    GetOutputErrors(errors, warnings, any);
    append(runSummary(errors, warnings, noErrors));
    console_.setSelStart(static_cast<int>(console_.Text().size()));
    return true;
}

bool GeneratorRun::ErrorFileWritten(const QString& path)
{
    return waitForErrorFile(path, [this] {
        Pause(1.0);
        return windowStays_();
    });
}

void GeneratorRun::CheckErrorFile(const QString& path, QStringList& errorLines, bool& noErrors) const
{
    ErrorReport report = readErrorFile(path);
    noErrors = report.noErrors;
    errorLines = std::move(report.errorLines);
}

void GeneratorRun::GetOutputErrors(int16_t& errors, int16_t& warnings, bool& any) const
{
    countConsoleProblems(console_.Text(), programOutput_, errors, warnings);
    any = errors + warnings > 0;
}

} // namespace mvg
