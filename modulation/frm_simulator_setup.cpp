#include "modulation/frm_simulator_setup.h"

#include "board/globals.h"
#include "board/utility.h"
#include "boardui/board_attach.h"
#include "boardui/external_programs.h"
#include "boardui/form_names.h"
#include "modulation/frm_qamvg.h"
#include "platform/os/program_folder.h"
#include "platform/os/shell_open.h"
#include "platform/os/sounds.h"
#include "platform/ui/app.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"
#include "widgets/common_dialog.h"

using simsetup::FileBox;

namespace {

const QString kDataFilter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
// The open dialog's flag: the chosen file's folder must exist.
constexpr int32_t kPathMustExist = 0x800;

} // namespace

frmSimulatorSetup::frmSimulatorSetup() : ui::Form(FormName)
{
    setMdiChild(true);
    setCaption(QStringLiteral("Simulator Setup"));
    fraRegMapOptions.setCaption(QStringLiteral("Register Map Options"));
    optRegMapOptions(0).setCaption(QStringLiteral("Use Current DUT Settings"));
    optRegMapOptions(0).setToolTipText(QStringLiteral("Evluation board must be connected !"));
    optRegMapOptions(1).setCaption(QStringLiteral("Use Current Software Settings"));
    lblRegMapSel.setCaption(QStringLiteral("1"));
    lblRegMapSel.setVisible(false);
    fraAuxCtrlFile.setCaption(QStringLiteral("Auxiliary Control File"));
    cmdSelectAuxCtrlFile.setCaption(QStringLiteral("..."));
    cmdEditCtrlFile.setCaption(QStringLiteral("Edit Auxiliary Control File"));
    fraIQBaseBandDf.setCaption(QStringLiteral("I/Q Base Band Data File"));
    cmdSelectIQBBDataFile.setCaption(QStringLiteral("..."));
    fraIterpDacDatafile.setCaption(QStringLiteral("Data File"));
    cmdSelectInterpDACDF.setCaption(QStringLiteral("..."));
    fraSarvexDataFiles.setCaption(QStringLiteral("Sarvex Data Files"));
    lblIBSBBDataFile.setCaption(QStringLiteral("I Bitstream Base Band Data File:"));
    cmdIBSBBdataFile.setCaption(QStringLiteral("..."));
    lblQBSBBDataFile.setCaption(QStringLiteral("Q Bitstream Base Band Data File:"));
    cmdQBSBBdataFile.setCaption(QStringLiteral("..."));
    cmdRunSimulator.setCaption(QStringLiteral("Run Simulator"));
    cmdRunSimulator.setToolTipText(QStringLiteral("Run the simulator"));
    cmdCloseAllPlotWindows.setCaption(QStringLiteral("Close All Plot Windows"));
    chkShowConsole.setCaption(QStringLiteral("Show Console Window"));
    txtSimulatorConsoleOut.setLocked(true);
    lblMinWidth.setVisible(false);
    lblMinHeight.setVisible(false);

    optRegMapOptions.on(&ui::OptionButton::Click,
                        [this](int index) { lblRegMapSel.setCaption(QString::number(index)); });
    ui::bind(txtAuxCtrlFilePath.Change, this, &frmSimulatorSetup::ValidateFilePaths);
    ui::bind(cmdEditCtrlFile.Click, this, &frmSimulatorSetup::cmdEditCtrlFile_Click);
    cmdSelectAuxCtrlFile.Click = [this] {
        selectFile(
            simsetup::AuxControl, QStringLiteral("Select Auxiliary Control File"),
            QStringLiteral("Auxiliary Control File (*.ac)|*.ac|Text Files (*.txt)|*.txt|All Files (*.*)|*.*"),
            QStringLiteral("acf"));
    };
    cmdSelectIQBBDataFile.Click = [this] {
        selectFile(simsetup::IQBaseBand, QStringLiteral("Select I/Q Base Band Data File"), kDataFilter,
                   QStringLiteral("txt"));
    };
    cmdSelectInterpDACDF.Click = [this] {
        selectFile(simsetup::InterpDAC, QStringLiteral("Select Simulation Data File"), kDataFilter,
                   QStringLiteral("txt"));
    };
    cmdIBSBBdataFile.Click = [this] {
        selectFile(simsetup::ISarvex, QStringLiteral("Select I Base Bit Stream Data File"), kDataFilter,
                   QStringLiteral("txt"));
    };
    cmdQBSBBdataFile.Click = [this] {
        selectFile(simsetup::QSarvex, QStringLiteral("Select Q Base Bit Stream Data File"), kDataFilter,
                   QStringLiteral("txt"));
    };
    ui::bind(cmdRunSimulator.Click, this, &frmSimulatorSetup::cmdRunSimulator_Click);
    ui::bind(cmdCloseAllPlotWindows.Click, this, &frmSimulatorSetup::cmdCloseAllPlotWindows_Click);

    registerProc(formnames::RefreshFormVals, [this] { RefreshFormVals(); });
    registerProc(formnames::SetMode, [this] { SetMode(); });
}

ui::TextBox& frmSimulatorSetup::fileBox(FileBox box)
{
    switch (box) {
    case simsetup::AuxControl:
        return txtAuxCtrlFilePath;
    case simsetup::IQBaseBand:
        return txtIQBaseBBDataFilePath;
    case simsetup::InterpDAC:
        return txtInterpDACDataFilePath;
    case simsetup::ISarvex:
        return txtIBSBBDataFilePath;
    case simsetup::QSarvex:
        break;
    }
    return txtQBSBBDataFilePath;
}

void frmSimulatorSetup::Form_Load()
{
    // The option buttons have their group once the window is laid out.
    optRegMapOptions(1).setValue(true);
    lblRegMapSel.setCaption(QStringLiteral("1"));
    GetIniSettings();
    if (const frmQAMVG* generator = ui::loadedForm<frmQAMVG>())
        ebSetSimFormsBusy(generator->Busy);
    RefreshFormVals();
}

void frmSimulatorSetup::Form_QueryUnload(int& cancel, int unloadMode)
{
    // A simulator that hangs must not keep the window, nor the program, open: the user may stop it.
    if (Busy && !stopRunToClose(unloadMode))
        cancel = 1;
}

void frmSimulatorSetup::Form_Unload(int& cancel)
{
    (void)cancel;
    SaveIniSettings();
}

void frmSimulatorSetup::GetIniSettings()
{
    const simsetup::FileTexts texts = simsetup::readIniSettings(os::programFolder());
    for (int box = 0; box < simsetup::kFileBoxCount; ++box)
        fileBox(static_cast<FileBox>(box)).setText(texts[static_cast<size_t>(box)]);
}

void frmSimulatorSetup::SaveIniSettings()
{
    simsetup::FileTexts texts;
    for (int box = 0; box < simsetup::kFileBoxCount; ++box)
        texts[static_cast<size_t>(box)] = fileBox(static_cast<FileBox>(box)).Text();
    if (!simsetup::writeIniSettings(os::programFolder(), texts))
        ui::MsgBox(QStringLiteral("The simulator settings could not be saved in:") + QStringLiteral("\r\n") +
                       os::programFolder() + QStringLiteral("/SimulatorSetup.ini"),
                   ui::vbExclamation, QStringLiteral("Error!"));
}

bool frmSimulatorSetup::ValidatePath(const QString& path) const
{
    return !path.isEmpty() && FileExists(simsetup::withSimulatorFolder(path, os::programFolder()));
}

void frmSimulatorSetup::ValidateFilePaths()
{
    cmdEditCtrlFile.setEnabled(ValidatePath(txtAuxCtrlFilePath.Text()));
}

frmSimulatorSetup::DutModes frmSimulatorSetup::dutModes()
{
    int16_t opMode = 0;
    int16_t ramEnable = 0;
    int16_t rampEnable = 0;
    int16_t sxiMode = 0;
    ebGetDUTModes(opMode, ramEnable, rampEnable, sxiMode);
    return {opMode, sxiMode == 1};
}

void frmSimulatorSetup::RefreshFormVals()
{
    const auto [opMode, sxi] = dutModes();
    const bool singleTone = opMode == 1;
    fraIQBaseBandDf.setVisible(singleTone || (opMode == 0 && !sxi));
    fraIQBaseBandDf.setEnabled(!singleTone);
    txtIQBaseBBDataFilePath.setEnabled(!singleTone);
    cmdSelectIQBBDataFile.setEnabled(!singleTone);
    fraIterpDacDatafile.setVisible(opMode >= 2);
    fraSarvexDataFiles.setVisible(opMode == 0 && sxi);
    fraAuxCtrlFile.setVisible(true);
    ValidateFilePaths();
    SetMode();
}

void frmSimulatorSetup::SetMode()
{
    // The simulator runs without a console window of its own (its text shows in this window), so there
    // is none to show in any run mode: the box is not offered.
    chkShowConsole.setVisible(false);
}

void frmSimulatorSetup::selectFile(FileBox which, const QString& title, const QString& filter,
                                   const QString& extension)
{
    ui::TextBox& box = fileBox(which);
    const QString simulatorFolder = simsetup::simulatorFolder(os::programFolder()) + QLatin1Char('/');
    QString initialFolder = GetPathFromFileName(box.Text());
    if (initialFolder.isEmpty())
        initialFolder = simulatorFolder;
    cCommonDialog dialog;
    QString fileName = box.Text();
    QString fileTitle;
    bool readOnly = false;
    QString dialogFilter = filter;
    int32_t filterIndex = 1;
    int32_t flags = kPathMustExist;
    const bool chosen =
        dialog.VBGetOpenFileName(fileName, fileTitle, true, false, readOnly, false, dialogFilter, filterIndex,
                                 initialFolder, title, extension, static_cast<int32_t>(hWnd()), flags);
    if (which == simsetup::AuxControl)
        ui::DoEvents();
    if (!IsLoaded())
        return;
    if (chosen) {
        // Exact comparison: a folder that differs in letter case is another folder here.
        box.setText(mvg::sameFolder(GetPathFromFileName(fileName), simulatorFolder)
                        ? GetFileNameFromPath(fileName)
                        : fileName);
    }
    if (which == simsetup::AuxControl)
        ValidateFilePaths();
}

void frmSimulatorSetup::cmdEditCtrlFile_Click()
{
    ShellOpenEx(GetWindowsDir() + QStringLiteral("\\notepad.exe"), QString(),
                simsetup::withSimulatorFolder(txtAuxCtrlFilePath.Text(), os::programFolder()), 1);
}

bool frmSimulatorSetup::eitherWindowBusy() const
{
    const frmQAMVG* generator = ui::loadedForm<frmQAMVG>();
    return Busy || (generator && generator->Busy);
}

void frmSimulatorSetup::cmdCloseAllPlotWindows_Click()
{
    // Closing the plot windows ends the programs of ours that still run: never the one a run waits for.
    if (eitherWindowBusy()) {
        os::playSystemSound(QStringLiteral("SystemDefault"));
        return;
    }
    cmdCloseAllPlotWindows.setEnabled(false);
    cmdRunSimulator.setEnabled(false);
    ebCloseFigureWindows();
    if (!IsLoaded())
        return;
    cmdCloseAllPlotWindows.setEnabled(true);
    // Run Simulator comes back only when no numerical program runs; the busy state's end enables it.
    cmdRunSimulator.setEnabled(!eitherWindowBusy());
}
