// Generate: the tab's parameter file, a run of its generator with the console text mirrored into the
// window, and the report from the generator's error file and console text.

#include "board/console_run.h"
#include "board/utility.h"
#include "boardui/console_runner.h"
#include "boardui/external_programs.h"
#include "modulation/console_output.h"
#include "modulation/frm_qamvg.h"
#include "modulation/frm_simulator_setup.h"
#include "platform/ui/app.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"

#include "platform/os/files.h"

#include <QFile>

namespace {

using mvg::Generator;

const QString kCrLf = QStringLiteral("\r\n");
const QString kErrorFileName = QStringLiteral("Error_file.txt");
const QString kFirstText = QStringLiteral("*** Please Wait Generating Data ***") + kCrLf;
// Printed when the generator has shown its results; it may go on running with its plot windows.
const QString kStopText = QStringLiteral("Simulation run time:");
const QString kRuntimeMissing = QStringLiteral("Error - Matlab 7.3 Runtime Not Installed");
// How long the error file is waited for: this many reads, a second apart.
constexpr int kErrorFileTries = 180;

struct RunParts {
    QString consoleTitle;
    QString progressText;
};

RunParts partsOf(Generator generator)
{
    switch (generator) {
    case Generator::Qam:
        return {QStringLiteral("MVG Console"), QStringLiteral("Creating upsampled and filtered QAM data")};
    case Generator::Polar:
        return {QStringLiteral("QAM(Polar) VectGen Console"),
                QStringLiteral("Creating upsampled and filtered Polar QAM data")};
    case Generator::Gmsk:
        return {QStringLiteral("GMSK/EDGE VectGen Console"),
                QStringLiteral("Creating upsampled and filtered EDGE data")};
    case Generator::Sdpsk:
        break;
    }
    return {QStringLiteral("Sovanedir Console"),
            QStringLiteral("Creating upsampled and filtered SDPSK data")};
}

// The first line of a file, or nothing when the file cannot be opened or holds no line.
std::optional<QString> firstLine(const QString& path)
{
    QFile file(path);
    if (!os::openRegularFile(file))
        return std::nullopt;
    const QStringList lines = mvg::splitFileLines(file.read(qint64{64} * 1024));
    if (lines.isEmpty())
        return std::nullopt;
    return lines.front();
}

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
    const QString errorFile = folder + kErrorFileName;
    QFile::remove(errorFile);
    programOutput_ = {};

    const RunParts parts = partsOf(generator);
    // The program file itself runs, with no arguments: its name is never read as a command.
    ConsoleRun run(mvg::consoleWatchTexts({parts.progressText}));
    activeRun_ = &run;
    // Cleared however the wait ends, the end of the program included.
    const struct ActiveRun {
        ConsoleRun*& slot;
        ~ActiveRun() { slot = nullptr; }
    } active{activeRun_};
    RunConsoleProgram(paths.program, {}, txtConsoleOutput, 0, parts.consoleTitle, kFirstText, kStopText,
                      folder, &run);
    if (!IsLoaded() || run.stopped()) {
        endRun(generator);
        return;
    }
    if (!run.startFailed())
        programOutput_ = mvg::programOutput(kFirstText.size(), txtConsoleOutput.Text().size(), run.output());

    bool noErrors = true;
    if (run.startFailed()) {
        // Nothing ran: no runtime to miss and no error file to wait for; the failure itself is the error.
        noErrors = false;
    } else {
        // Judged on all the program wrote, not only on the part the box shows.
        if (!run.output().found(mvg::kFirstOwnText))
            appendToConsole(kCrLf + kRuntimeMissing + kCrLf);
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
    // An error file that reports errors, or a program that could not be started, is an error, whatever
    // words its lines use.
    if (!noErrors && errors == 0) {
        errors = 1;
        any = true;
    }
    if (any)
        appendToConsole(kCrLf + QStringLiteral("Data Generation Complete:  ") + QStringLiteral("Errors = ") +
                        QString::number(errors) + QStringLiteral("  Warnings = ") +
                        QString::number(warnings));
    else
        appendToConsole(kCrLf + QStringLiteral("Data Generation Completed without Errors!"));
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
    for (int failures = 0;;) {
        if (const std::optional<QString> line = firstLine(path))
            return !line->trimmed().isEmpty();
        if (++failures >= kErrorFileTries)
            return false;
        Pause(1.0);
        if (!IsLoaded())
            return false;
    }
}

void frmQAMVG::CheckErrorFile(const QString& path, QStringList& errorLines, bool& noErrors)
{
    // The error lines of a run fill a console box; a file far larger is no error file.
    const std::optional<QByteArray> bytes = os::readWholeFile(path, 1024 * 1024);
    if (!bytes) {
        noErrors = false;
        return;
    }
    const QStringList lines = mvg::splitFileLines(*bytes);
    if (!lines.isEmpty() && lines.front().trimmed() == QStringLiteral("0")) {
        noErrors = true;
        return;
    }
    noErrors = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            break;
        errorLines << lines[i].trimmed();
    }
}

void frmQAMVG::GetOutputErrors(int16_t& errors, int16_t& warnings, bool& any) const
{
    mvg::countConsoleProblems(txtConsoleOutput.Text(), programOutput_, errors, warnings);
    any = errors + warnings > 0;
}
