#pragma once

// frmSimulatorSetup: what the chip simulator is given (the register settings' source, an auxiliary control
// file and the data files of the chip's operating mode) and its run, with the simulator's console text
// mirrored into the window. The file choices are kept in "SimulatorSetup.ini".

#include "boardui/form_names.h"
#include "modulation/console_output.h"
#include "modulation/program_settings.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

#include <QString>
#include <cstdint>

class ConsoleRun;

class frmSimulatorSetup : public ui::Form {
public:
    static inline const QString& FormName = formnames::frmSimulatorSetup;
    frmSimulatorSetup();

    // True while the simulator runs; the generator window reads it when it loads.
    bool Busy = false;

    void cmdCloseAllPlotWindows_Click();
    void ValidateFilePaths();
    void RefreshFormVals();
    bool ValidatePath(const QString& path) const;
    bool GetOutputErrors(int16_t& errors, int16_t& warnings) const;
    void GetIniSettings();
    void SaveIniSettings();
    void SetMode();
    void cmdRunSimulator_Click();

    // The box of each INI key.
    ui::TextBox& fileBox(simsetup::FileBox box);

    ui::Frame fraRegMapOptions{this, QStringLiteral("fraRegMapOptions")};
    ui::ControlArray<ui::OptionButton> optRegMapOptions{this, QStringLiteral("optRegMapOptions"), 2};
    ui::Label lblRegMapSel{this, QStringLiteral("lblRegMapSel")};
    ui::Frame fraAuxCtrlFile{this, QStringLiteral("fraAuxCtrlFile")};
    ui::TextBox txtAuxCtrlFilePath{this, QStringLiteral("txtAuxCtrlFilePath")};
    ui::CommandButton cmdSelectAuxCtrlFile{this, QStringLiteral("cmdSelectAuxCtrlFile")};
    ui::CommandButton cmdEditCtrlFile{this, QStringLiteral("cmdEditCtrlFile")};
    ui::Frame fraIQBaseBandDf{this, QStringLiteral("fraIQBaseBandDf")};
    ui::TextBox txtIQBaseBBDataFilePath{this, QStringLiteral("txtIQBaseBBDataFilePath")};
    ui::CommandButton cmdSelectIQBBDataFile{this, QStringLiteral("cmdSelectIQBBDataFile")};
    ui::Frame fraIterpDacDatafile{this, QStringLiteral("fraIterpDacDatafile")};
    ui::TextBox txtInterpDACDataFilePath{this, QStringLiteral("txtInterpDACDataFilePath")};
    ui::CommandButton cmdSelectInterpDACDF{this, QStringLiteral("cmdSelectInterpDACDF")};
    ui::Frame fraSarvexDataFiles{this, QStringLiteral("fraSarvexDataFiles")};
    ui::Label lblIBSBBDataFile{this, QStringLiteral("lblIBSBBDataFile")};
    ui::TextBox txtIBSBBDataFilePath{this, QStringLiteral("txtIBSBBDataFilePath")};
    ui::CommandButton cmdIBSBBdataFile{this, QStringLiteral("cmdIBSBBdataFile")};
    ui::Label lblQBSBBDataFile{this, QStringLiteral("lblQBSBBDataFile")};
    ui::TextBox txtQBSBBDataFilePath{this, QStringLiteral("txtQBSBBDataFilePath")};
    ui::CommandButton cmdQBSBBdataFile{this, QStringLiteral("cmdQBSBBdataFile")};
    ui::CommandButton cmdRunSimulator{this, QStringLiteral("cmdRunSimulator")};
    ui::CommandButton cmdCloseAllPlotWindows{this, QStringLiteral("cmdCloseAllPlotWindows")};
    ui::CheckBox chkShowConsole{this, QStringLiteral("chkShowConsole")};
    ui::TextBox txtSimulatorConsoleOut{this, QStringLiteral("txtSimulatorConsoleOut"), -1, true};
    ui::Label lblMinWidth{this, QStringLiteral("lblMinWidth")};
    ui::Label lblMinHeight{this, QStringLiteral("lblMinHeight")};

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;
    void Form_Activate() override { RefreshFormVals(); }
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;

private:
    // The chip's operating mode as the board reports it, and whether its SXI data-port mode is on.
    struct DutModes {
        int16_t opMode = 0;
        bool sxi = false;
    };
    static DutModes dutModes();
    void selectFile(simsetup::FileBox box, const QString& title, const QString& filter,
                    const QString& extension);
    void cmdEditCtrlFile_Click();
    bool eitherWindowBusy() const;
    // The run after its checks: false when it could not start.
    bool writeRunFiles(int opMode, bool sxi);
    void runSimulator();
    void appendToConsole(const QString& text);
    // Closing the window (or the main window) during a run: false when the user keeps the run going.
    bool stopRunToClose(int unloadMode);

    // The run under way, while its program may run; the program's part of the console box.
    ConsoleRun* activeRun_ = nullptr;
    mvg::ProgramOutput programOutput_;
};
