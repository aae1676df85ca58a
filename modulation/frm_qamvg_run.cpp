// Generate: the tab's parameter file, a run of its generator with the console text mirrored into the
// window, and the report from the generator's error file and console text.

#include "board/console_run.h"
#include "board/utility.h"
#include "boardui/console_runner.h"
#include "boardui/external_programs.h"
#include "modulation/console_output.h"
#include "modulation/frm_qamvg.h"
#include "modulation/frm_simulator_setup.h"
#include "modulation/generator_report.h"
#include "platform/ui/app.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"

#include <QFile>

namespace {

using mvg::Generator;

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

void frmQAMVG::appendToConsole(const QString& text)
{
    txtConsoleOutput.setText(txtConsoleOutput.Text() + text);
}

void frmQAMVG::generate(Generator generator)
{
    if (Busy)
        return;
    if (const frmSimulatorSetup* simulator = ui::loadedForm<frmSimulatorSetup>();
        simulator && simulator->Busy)
        return;
    Busy = true;
    ebSetSimFormsBusy(true);

    const mvg::GeneratorFiles& paths = files(generator);
    const QString folder = mvg::GetTargetRootPath(paths.program);
    // A generator must never run on the parameters of an earlier run.
    if (!writeParamFile(generator, paths.parameterFile) || !FileExists(paths.program)) {
        endRun(generator);
        return;
    }
    // The previous run's error file must not judge this one.
    const QString errorFile = folder + mvg::kErrorFileName;
    QFile::remove(errorFile);
    programOutput_ = {};

    const mvg::RunTexts parts = mvg::runTextsOf(generator);
    // The program file itself runs, with no arguments: its name is never read as a command.
    ConsoleRun run(mvg::consoleWatchTexts({parts.progressText}));
    activeRun_ = &run;
    // Cleared however the wait ends, the end of the program included.
    const struct ActiveRun {
        ConsoleRun*& slot;
        ~ActiveRun() { slot = nullptr; }
    } active{activeRun_};
    RunConsoleProgram(paths.program, {}, txtConsoleOutput, 0, parts.consoleTitle, mvg::kGeneratingText,
                      mvg::kGeneratorStopText, folder, &run);
    if (!IsLoaded() || run.stopped()) {
        endRun(generator);
        return;
    }
    if (!run.startFailed())
        programOutput_ =
            mvg::programOutput(mvg::kGeneratingText.size(), txtConsoleOutput.Text().size(), run.output());

    bool noErrors = true;
    if (run.startFailed()) {
        // Nothing ran: no runtime to miss and no error file to wait for; the failure itself is the error.
        noErrors = false;
    } else {
        // Judged on all the program wrote, not only on the part the box shows.
        if (!run.output().found(mvg::kFirstOwnText))
            appendToConsole(kCrLf + mvg::kRuntimeMissingText + kCrLf);
        const bool errorFileWritten = ErrorFileWritten(errorFile);
        // A window closed during the wait said the run was stopped: nothing follows that.
        if (!IsLoaded()) {
            endRun(generator);
            return;
        }
        if (!errorFileWritten) {
            appendToConsole(QStringLiteral("Error File Not Accessable!") + kCrLf);
        } else {
            QStringList errorLines;
            CheckErrorFile(errorFile, errorLines, noErrors);
            if (!noErrors) {
                for (const QString& line : errorLines)
                    appendToConsole(line + kCrLf);
            }
        }
    }

    int16_t errors = 0;
    int16_t warnings = 0;
    bool any = false;
    GetOutputErrors(errors, warnings, any);
    appendToConsole(mvg::runSummary(errors, warnings, noErrors));
    txtConsoleOutput.setSelStart(static_cast<int>(txtConsoleOutput.Text().size()));
    endRun(generator);
}

bool frmQAMVG::stopRunToClose(int unloadMode)
{
    // The main window's close is never refused: the run is stopped without a question.
    if (unloadMode != ui::vbFormMDIForm &&
        ui::MsgBox(QStringLiteral("A vector generator is running.") + kCrLf +
                       QStringLiteral("Do you want to stop it and close this window?"),
                   ui::vbYesNo | ui::vbQuestion, QStringLiteral("Busy")) != ui::vbYes)
        return false;
    if (activeRun_)
        activeRun_->stop();
    appendToConsole(kCrLf + QStringLiteral("Data Generation Stopped!"));
    txtConsoleOutput.setSelStart(static_cast<int>(txtConsoleOutput.Text().size()));
    return true;
}

void frmQAMVG::endRun(Generator generator)
{
    DoEventsN(2);
    Busy = false;
    ebSetSimFormsBusy(false);
    if (generator == Generator::Qam)
        cmdGenerateQAMData.setEnabled(true);
}

bool frmQAMVG::ErrorFileWritten(const QString& path)
{
    return mvg::waitForErrorFile(path, [this] {
        Pause(1.0);
        return IsLoaded();
    });
}

void frmQAMVG::CheckErrorFile(const QString& path, QStringList& errorLines, bool& noErrors)
{
    mvg::ErrorReport report = mvg::readErrorFile(path);
    noErrors = report.noErrors;
    errorLines = std::move(report.errorLines);
}

void frmQAMVG::GetOutputErrors(int16_t& errors, int16_t& warnings, bool& any) const
{
    mvg::countConsoleProblems(txtConsoleOutput.Text(), programOutput_, errors, warnings);
    any = errors + warnings > 0;
}
