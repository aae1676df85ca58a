// Run Simulator: the board and path checks, "RegMapFile.txt" and "SimParmFile.txt" in the simulator folder,
// the run of "main.exe" with its console text mirrored into the window, and the closing summary.

#include "board/board_flags.h"
#include "board/console_run.h"
#include "board/hourglass.h"
#include "board/regmap_file.h"
#include "board/system_clock.h"
#include "board/utility.h"
#include "boardui/board_attach.h"
#include "boardui/console_runner.h"
#include "boardui/external_programs.h"
#include "boardui/form_names.h"
#include "modulation/console_output.h"
#include "modulation/frm_simulator_setup.h"
#include "platform/os/files.h"
#include "platform/os/program_folder.h"
#include "platform/ui/colors.h"
#include "platform/ui/controls_textbox.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"

using simsetup::FileBox;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kFirstText = QStringLiteral("Running Simulator...") + kCrLf;
const QString kStopText = QStringLiteral("Simulation run time");
const QString kRuntimeMissing = QStringLiteral("Error - Matlab 7.3 Runtime Not Installed");

// The Control window's system clock in Hz for the parameter file ("." always), or nothing when the box does
// not hold a number above 0.
std::optional<QString> clockLine()
{
    if (!systemClock().usable())
        return std::nullopt;
    return simParmClockHz(SysClockText());
}

} // namespace

void frmSimulatorSetup::appendToConsole(const QString& text)
{
    txtSimulatorConsoleOut.setText(txtSimulatorConsoleOut.Text() + text);
}

bool frmSimulatorSetup::GetOutputErrors(int16_t& errors, int16_t& warnings) const
{
    mvg::countConsoleProblems(txtSimulatorConsoleOut.Text(), programOutput_, errors, warnings);
    return errors + warnings > 0;
}

bool frmSimulatorSetup::stopRunToClose(int unloadMode)
{
    // The main window's close is never refused: the run is stopped without a question.
    if (unloadMode != ui::vbFormMDIForm &&
        ui::MsgBox(QStringLiteral("The simulator is running.") + kCrLf +
                       QStringLiteral("Do you want to stop it and close this window?"),
                   ui::vbYesNo | ui::vbQuestion, QStringLiteral("Busy")) != ui::vbYes)
        return false;
    if (activeRun_)
        activeRun_->stop();
    appendToConsole(kCrLf + QStringLiteral("Simulation Stopped!"));
    txtSimulatorConsoleOut.setSelStart(static_cast<int>(txtSimulatorConsoleOut.Text().size()));
    return true;
}

void frmSimulatorSetup::cmdRunSimulator_Click()
{
    if (eitherWindowBusy())
        return;
    if (lblRegMapSel.Caption() == QStringLiteral("0") && !gbBoardConnected) {
        ui::MsgBox(QStringLiteral("Evaluation board not connected!") + kCrLf + kCrLf +
                       QStringLiteral("To use the current DUT settings you must have an") + kCrLf +
                       QStringLiteral("evaluation board connected."),
                   ui::vbCritical, QStringLiteral("Operation Aborted!"));
        return;
    }
    const auto [opMode, sxi] = dutModes();

    std::vector<FileBox> checked = simsetup::dataBoxesFor(opMode, sxi);
    checked.push_back(simsetup::AuxControl);
    bool allValid = true;
    for (FileBox which : checked) {
        ui::TextBox& box = fileBox(which);
        const bool valid = ValidatePath(box.Text());
        box.setBackColor(valid ? ui::colors::vbWindowBackground : ui::colors::vbRed);
        allValid = allValid && valid;
    }
    if (!allValid)
        return;
    for (int box = 0; box < simsetup::kFileBoxCount; ++box)
        fileBox(static_cast<FileBox>(box)).setBackColor(ui::colors::vbWindowBackground);

    if (!writeRunFiles(opMode, sxi))
        return;
    runSimulator();
}

bool frmSimulatorSetup::writeRunFiles(int opMode, bool sxi)
{
    // A clock the simulator cannot use stops the run before anything is written.
    const std::optional<QString> clockHz = clockLine();
    if (!clockHz) {
        ui::MsgBox(QStringLiteral("The System Clock is not a valid number!") + kCrLf +
                       QStringLiteral("Enter a system clock above 0 MHz in the Control window."),
                   ui::vbExclamation, QStringLiteral("Operation Aborted!"));
        return false;
    }
    const QString folder = simsetup::simulatorFolder(os::programFolder());
    // The simulator must never run on an older or partial register map: the writer says why it stopped.
    if (!ebWriteRegMapFile(folder + QStringLiteral("/RegMapFile.txt"),
                           lblRegMapSel.Caption() != QStringLiteral("0")))
        return false;
    if (!IsLoaded())
        return false;

    simsetup::FileTexts texts;
    for (int box = 0; box < simsetup::kFileBoxCount; ++box)
        texts[static_cast<size_t>(box)] = fileBox(static_cast<FileBox>(box)).Text();
    const QByteArray bytes = simsetup::composeSimParmFile(texts, opMode, sxi, *clockHz);
    const QString path = folder + QStringLiteral("/SimParmFile.txt");
    bool written = false;
    {
        HourglassPointer hourglass;
        written = os::writeWholeFile(path, bytes);
    }
    if (!written)
        ui::MsgBox(QStringLiteral("The file could not be written:") + kCrLf + path, ui::vbExclamation,
                   QStringLiteral("Operation Aborted!"));
    return written;
}

void frmSimulatorSetup::runSimulator()
{
    Busy = true;
    ebSetSimFormsBusy(true);
    cmdCloseAllPlotWindows.setEnabled(false);
    const QString folder = simsetup::simulatorFolder(os::programFolder());
    // The program file itself runs, with no arguments.
    ConsoleRun run(mvg::consoleWatchTexts({QStringLiteral("DAC")}));
    activeRun_ = &run;
    // Cleared however the wait ends, the end of the program included.
    const struct ActiveRun {
        ConsoleRun*& slot;
        ~ActiveRun() { slot = nullptr; }
    } active{activeRun_};
    programOutput_ = {};
    RunConsoleProgram(board::simulatorProgramPath(), {}, txtSimulatorConsoleOut,
                      static_cast<int16_t>(chkShowConsole.Value()), QStringLiteral("DDS Simulator Console"),
                      kFirstText, kStopText, folder, &run);
    if (IsLoaded() && !run.stopped()) {
        if (!run.startFailed())
            programOutput_ =
                mvg::programOutput(kFirstText.size(), txtSimulatorConsoleOut.Text().size(), run.output());
        // Judged on all the simulator wrote, not only on the part the box shows; a simulator that could not
        // be started says so instead.
        if (!run.startFailed() && !run.output().found(mvg::kFirstOwnText))
            appendToConsole(kCrLf + kRuntimeMissing);
        int16_t errors = 0;
        int16_t warnings = 0;
        GetOutputErrors(errors, warnings);
        if (run.startFailed() && errors == 0)
            errors = 1;
        if (errors + warnings > 0)
            appendToConsole(kCrLf + QStringLiteral("Simulation Completed:  ") + QStringLiteral("Errors = ") +
                            QString::number(errors) + QStringLiteral("  Warnings = ") +
                            QString::number(warnings));
        else
            appendToConsole(kCrLf + QStringLiteral("Simulation Completed Without Errors!"));
        txtSimulatorConsoleOut.setSelStart(static_cast<int>(txtSimulatorConsoleOut.Text().size()));
    }
    DoEventsN(2);
    Busy = false;
    ebSetSimFormsBusy(false);
    cmdCloseAllPlotWindows.setEnabled(true);
}
