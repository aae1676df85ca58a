#include "modulation_fixture.h"

#include "modulation/program_settings.h"

#include <functional>

namespace {

using modtest::readAll;
using modtest::writeFile;

const QByteArray kSimulatorOk =
    "pwd > cwd.txt\necho 'DAC output written'\necho 'Simulation run time 0.5 s'\n";

class Simulator : public modtest::ModulationTest {
protected:
    Simulator()
    {
        standIn(modtest::kSimulator, kSimulatorOk);
        for (const char* name : {"DefaultAuxControlFile.ac", "iq.txt", "i.txt", "q.txt", "dac.txt"})
            writeFile(path(QStringLiteral("Simulator/") + QLatin1String(name)), "data\r\n");
    }
    void setSxi(bool on) { setPendingField(regBit(0x01, 31), on ? 1 : 0); }
    frmSimulatorSetup& openWithBoxes()
    {
        frmSimulatorSetup& window = openSimulator();
        window.txtIQBaseBBDataFilePath.setText(QStringLiteral("iq.txt"));
        window.txtIBSBBDataFilePath.setText(path(QStringLiteral("Simulator/i.txt")));
        window.txtQBSBBDataFilePath.setText(QStringLiteral("q.txt"));
        window.txtInterpDACDataFilePath.setText(QStringLiteral("dac.txt"));
        return window;
    }
    QByteArray parmFile() const { return readAll(path(QStringLiteral("Simulator/SimParmFile.txt"))); }
};

struct ModeCase {
    int opMode;
    bool sxi;
    QByteArray dataLines;
    bool iqShown, iqEnabled, dacShown, sarvexShown;
};

TEST_F(Simulator, TheParameterFileAndTheShownFramesFollowTheOperatingModeAndSxi)
{
    const QByteArray aux = path(QStringLiteral("Simulator/DefaultAuxControlFile.ac")).toLocal8Bit() + "\r\n";
    const QByteArray sxiFiles = path(QStringLiteral("Simulator/i.txt")).toLocal8Bit() + "\r\nq.txt\r\n";
    const ModeCase cases[] = {
        {0, false, "iq.txt\r\n", true, true, false, false},
        {0, true, sxiFiles, false, true, false, true},
        {1, false, "", true, false, false, false},
        {1, true, "", true, false, false, false},
        {2, false, "dac.txt\r\n", false, true, true, false},
        {3, true, "dac.txt\r\n", false, true, true, false},
    };
    rt::ScopedNumberLocale comma(QChar(u','));
    setClock(QStringLiteral("1000,5"));
    for (const bool board : {false, true}) {
        if (board)
            plugBoard();
        for (const ModeCase& c : cases) {
            setOperatingMode(c.opMode);
            setSxi(c.sxi);
            frmSimulatorSetup& window = openWithBoxes();
            window.RefreshFormVals();
            EXPECT_EQ(window.fraIQBaseBandDf.Visible(), c.iqShown) << c.opMode << c.sxi;
            EXPECT_EQ(window.txtIQBaseBBDataFilePath.Enabled(), c.iqEnabled) << c.opMode << c.sxi;
            EXPECT_EQ(window.fraIterpDacDatafile.Visible(), c.dacShown) << c.opMode << c.sxi;
            EXPECT_EQ(window.fraSarvexDataFiles.Visible(), c.sarvexShown) << c.opMode << c.sxi;
            QFile::remove(path(QStringLiteral("Simulator/SimParmFile.txt")));
            window.cmdRunSimulator.click();
            EXPECT_EQ(parmFile(), "RegMapFile.txt\r\n" + aux + c.dataLines + "1000500000.000\r\n")
                << c.opMode << c.sxi << board;
            EXPECT_EQ(readAll(path(QStringLiteral("Simulator/RegMapFile.txt"))).count("\r\n"), 31);
            EXPECT_TRUE(window.txtSimulatorConsoleOut.Text().endsWith(
                QStringLiteral("\r\nSimulation Completed Without Errors!")));
            closeWindows();
        }
    }
}

TEST_F(Simulator, TheDataFramesFollowTheControlWindowsOperatingModeAndSxiSwitch)
{
    frmSimulatorSetup& window = openSimulator();
    control->lstOppMode.setListIndex(1);
    EXPECT_TRUE(window.fraIQBaseBandDf.Visible());
    EXPECT_FALSE(window.cmdSelectIQBBDataFile.Enabled());
    control->lstOppMode.setListIndex(2);
    EXPECT_TRUE(window.fraIterpDacDatafile.Visible());
    EXPECT_FALSE(window.fraIQBaseBandDf.Visible());
    control->lstOppMode.setListIndex(0);
    control->chkActivateSXIMode.setValue(1);
    EXPECT_TRUE(window.fraSarvexDataFiles.Visible());
    EXPECT_FALSE(window.fraIQBaseBandDf.Visible());
    control->chkActivateSXIMode.setValue(0);
    EXPECT_FALSE(window.fraSarvexDataFiles.Visible());
    EXPECT_TRUE(window.fraIQBaseBandDf.Visible());
    EXPECT_TRUE(window.cmdSelectIQBBDataFile.Enabled());
}

TEST_F(Simulator, TheRegisterMapComesFromTheWrittenMapOrTheChip)
{
    setWritten(0x02, 0x12345678);
    frmSimulatorSetup& window = openWithBoxes();
    window.cmdRunSimulator.click();
    // The simulator runs in its own folder.
    EXPECT_EQ(QDir(QString::fromLocal8Bit(readAll(path(QStringLiteral("Simulator/cwd.txt")))).trimmed())
                  .canonicalPath(),
              QDir(path(QStringLiteral("Simulator"))).canonicalPath());
    const QList<QByteArray> lines = readAll(path(QStringLiteral("Simulator/RegMapFile.txt"))).split('\n');
    EXPECT_EQ(lines[2], testbits::bits(0x12345678, 32).toLatin1() + "\r");

    // The chip's settings need a board.
    window.optRegMapOptions(0).click();
    EXPECT_EQ(window.lblRegMapSel.Caption(), QStringLiteral("0"));
    QFile::remove(path(QStringLiteral("Simulator/SimParmFile.txt")));
    ui::testing::messageBoxes().expect(
        QStringLiteral("Evaluation board not connected!\r\n\r\nTo use the current DUT settings you must have "
                       "an\r\nevaluation board connected."),
        ui::vbOK);
    window.cmdRunSimulator.click();
    ASSERT_EQ(ui::testing::messageBoxes().shown.size(), 1u);
    EXPECT_EQ(ui::testing::messageBoxes().shown[0].title, QStringLiteral("Operation Aborted!"));
    EXPECT_EQ(parmFile(), "<missing>");

    // With a board the file shows the chip, not the written map.
    plugBoard();
    ASSERT_EQ(bd().USBSerialLoadPKT(0x07, testbits::bits(0xA5A5F00F, 32)), 0);
    bd().StrobeREGUD();
    setWritten(0x07, 0);
    window.cmdRunSimulator.click();
    const QList<QByteArray> chipLines = readAll(path(QStringLiteral("Simulator/RegMapFile.txt"))).split('\n');
    EXPECT_EQ(chipLines[7], testbits::bits(0xA5A5F00F, 32).toLatin1() + "\r");
    EXPECT_EQ(parmFile().count("\r\n"), 4);
}

TEST_F(Simulator, FailingPathsTurnRedAndNothingIsWrittenOrRun)
{
    setOperatingMode(0);
    setSxi(true);
    frmSimulatorSetup& window = openWithBoxes();
    window.txtQBSBBDataFilePath.setText(QString());
    window.txtAuxCtrlFilePath.setText(QStringLiteral("missing.ac"));
    window.cmdRunSimulator.click();
    EXPECT_EQ(window.txtIBSBBDataFilePath.BackColor(), ui::colors::vbWindowBackground);
    EXPECT_EQ(window.txtQBSBBDataFilePath.BackColor(), ui::colors::vbRed);
    EXPECT_EQ(window.txtAuxCtrlFilePath.BackColor(), ui::colors::vbRed);
    EXPECT_FALSE(window.cmdEditCtrlFile.Enabled());
    EXPECT_EQ(parmFile(), "<missing>");
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Simulator/cwd.txt"))));
}

struct RefusedRun {
    const char* what;
    std::function<void(frmSimulatorSetup&)> arrange;
    QString title;
    QString message;
};

TEST_F(Simulator, ABadClockOrARegisterMapThatCannotBeHadWholeStopsTheRunWithAMessage)
{
    const QString regMap = path(QStringLiteral("Simulator/RegMapFile.txt"));
    const QString aborted = QStringLiteral("Operation Aborted!");
    const QString badClock =
        QStringLiteral("The System Clock is not a valid number!\r\nEnter a system clock above 0 "
                       "MHz in the Control window.");
    const QString error = QStringLiteral("Error!");
    const RefusedRun cases[] = {
        {"clock not a number", [this](frmSimulatorSetup&) { setClock(QStringLiteral("abc")); }, aborted,
         badClock},
        {"clock 0", [this](frmSimulatorSetup&) { setClock(QStringLiteral("0")); }, aborted, badClock},
        {"register 07H incomplete",
         [this](frmSimulatorSetup&) { bd().SetRegMapValue(1, 0x07, QStringLiteral("101")); }, error,
         QStringLiteral("Register 07H is incomplete!\r\n") + regMap + QStringLiteral(" was not written.")},
        {"chip read-back fails",
         [this](frmSimulatorSetup& window) {
             plugBoard();
             window.optRegMapOptions(0).click();
             drv.failTransfer(0, 5, 4);
         },
         error,
         QStringLiteral("Register 03H could not be read from the evaluation board!\r\n") + regMap +
             QStringLiteral(" was not written.")},
        {"file cannot be written",
         [regMap](frmSimulatorSetup&) {
             QFile::remove(regMap);
             QDir().mkpath(regMap);
         },
         error, QStringLiteral("The file could not be written:\r\n") + regMap},
    };
    const std::vector<ui::testing::MessageBoxRecord>& shown = ui::testing::messageBoxes().shown;
    for (const RefusedRun& c : cases) {
        setClock(QStringLiteral("1000"));
        writeFile(regMap, "old\r\n");
        frmSimulatorSetup& window = openWithBoxes();
        c.arrange(window);
        const size_t before = shown.size();
        ui::testing::messageBoxes().expect(c.message, ui::vbOK);
        window.cmdRunSimulator.click();
        ASSERT_EQ(shown.size(), before + 1) << c.what;
        EXPECT_EQ(shown.back().title, c.title) << c.what;
        // The simulator never runs on an old register map.
        if (QFileInfo(regMap).isFile()) {
            EXPECT_EQ(readAll(regMap), "old\r\n") << c.what;
        }
        EXPECT_EQ(parmFile(), "<missing>") << c.what;
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("Simulator/cwd.txt")))) << c.what;
        EXPECT_EQ(window.txtSimulatorConsoleOut.Text(), QString()) << c.what;
        EXPECT_TRUE(window.cmdRunSimulator.Enabled()) << c.what;
        closeWindows();
        QDir(regMap).removeRecursively();
        bd().SetRegMapValue(1, 0x07, QString(32, QLatin1Char('0')));
    }
}

// The clock is read as every window reads it: a Control window that is not loaded is loaded for it, so
// the run goes ahead instead of blaming the clock.
TEST_F(Simulator, RunsWhenTheControlWindowIsNotLoaded)
{
    frmSimulatorSetup& window = openWithBoxes();
    ASSERT_TRUE(control->Unload(ui::vbFormCode));
    control = nullptr;
    ASSERT_FALSE(ui::Forms::isLoaded(QStringLiteral("frmControl")));
    const size_t before = ui::testing::messageBoxes().shown.size();
    QFile::remove(path(QStringLiteral("Simulator/SimParmFile.txt")));
    window.cmdRunSimulator.click();
    EXPECT_EQ(ui::testing::messageBoxes().shown.size(), before) << "no message: the clock is a number";
    // The clock is the one the Control window's plan gives; reading it loads no window.
    EXPECT_FALSE(ui::Forms::isLoaded(QStringLiteral("frmControl")));
    EXPECT_TRUE(parmFile().endsWith("000.000\r\n")) << parmFile().toStdString();
    EXPECT_TRUE(window.txtSimulatorConsoleOut.Text().endsWith(
        QStringLiteral("\r\nSimulation Completed Without Errors!")));
}

TEST_F(Simulator, TheSummaryCountsTheConsolesWordsAndAMissingRuntime)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"echo 'DAC ok'; echo 'Warning: x'; echo 'no warnings'; exit 4\n",
         QStringLiteral("\r\nSimulation Completed:  Errors = 0  Warnings = 2")},
        {"echo 'nothing useful'\n", QStringLiteral("\r\nError - Matlab 7.3 Runtime Not Installed\r\n"
                                                   "Simulation Completed:  Errors = 1  Warnings = 0")},
        {"", QStringLiteral("Running Simulator...\r\n\r\nError - Matlab 7.3 Runtime Not Installed\r\n"
                            "Simulation Completed:  Errors = 1  Warnings = 0")},
    };
    for (const auto& [body, ending] : cases) {
        standIn(modtest::kSimulator, body);
        frmSimulatorSetup& window = openWithBoxes();
        window.cmdRunSimulator.click();
        EXPECT_TRUE(window.txtSimulatorConsoleOut.Text().endsWith(ending))
            << window.txtSimulatorConsoleOut.Text().toStdString();
        closeWindows();
    }
}

TEST_F(Simulator, TheFileChoicesSurviveInTheIniFileLongPathsWhole)
{
    frmSimulatorSetup& window = openSimulator();
    EXPECT_EQ(window.txtAuxCtrlFilePath.Text(), path(QStringLiteral("Simulator/DefaultAuxControlFile.ac")));
    EXPECT_TRUE(window.cmdEditCtrlFile.Enabled());
    window.cmdEditCtrlFile.click();
    ASSERT_EQ(os::testing::shellRecorder().requests.size(), 1u);
    EXPECT_EQ(os::testing::shellRecorder().requests[0].kind, os::OpenKind::TextViewer);
    EXPECT_EQ(os::testing::shellRecorder().requests[0].target, window.txtAuxCtrlFilePath.Text());
    for (const int mode : {0, 1, 2, 3, 4, 5}) {
        giRunMode = static_cast<int16_t>(mode);
        window.SetMode();
        EXPECT_FALSE(window.chkShowConsole.Visible()) << "no console window to show, run mode " << mode;
    }
    giRunMode = 0;
    EXPECT_EQ(window.lblRegMapSel.Caption(), QStringLiteral("1"));
    const QString longPath =
        QStringLiteral("/data/") + QString(250, QLatin1Char('d')) + QStringLiteral("/x y.txt");
    window.txtIQBaseBBDataFilePath.setText(longPath);
    window.txtQBSBBDataFilePath.setText(QStringLiteral("q.txt"));
    ASSERT_TRUE(window.Unload());
    frmSimulatorSetup& again = openSimulator();
    EXPECT_EQ(again.txtIQBaseBBDataFilePath.Text(), longPath);
    EXPECT_EQ(again.txtQBSBBDataFilePath.Text(), QStringLiteral("q.txt"));
    EXPECT_EQ(again.txtInterpDACDataFilePath.Text(), QString());
}

TEST_F(Simulator, APickedFileDirectlyInTheSimulatorFolderIsKeptAsItsBareName)
{
    frmSimulatorSetup& window = openSimulator();
    const std::pair<QString, QString> picks[] = {
        {path(QStringLiteral("Simulator/iq.txt")), QStringLiteral("iq.txt")},
        {path(QStringLiteral("Simulator/sub/iq.txt")), path(QStringLiteral("Simulator/sub/iq.txt"))},
        {path(QStringLiteral("simulator/iq.txt")), path(QStringLiteral("simulator/iq.txt"))},
    };
    for (const auto& [picked, stored] : picks) {
        ui::testing::dialogs().answerOpen(picked);
        window.cmdSelectIQBBDataFile.click();
        EXPECT_EQ(window.txtIQBaseBBDataFilePath.Text(), stored);
    }
    ui::testing::dialogs().cancelOpen();
    window.cmdSelectIQBBDataFile.click();
    EXPECT_EQ(window.txtIQBaseBBDataFilePath.Text(), path(QStringLiteral("simulator/iq.txt")));
    EXPECT_EQ(ui::testing::dialogs().open.requests.back().title,
              QStringLiteral("Select I/Q Base Band Data File"));
}

TEST_F(Simulator, EveryFilePickerAsksForAnExistingFileWithItsTitleAndFilter)
{
    const QString text = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    const std::tuple<const char*, QString, QString, QString> pickers[] = {
        {"cmdSelectAuxCtrlFile", QStringLiteral("Select Auxiliary Control File"),
         QStringLiteral("Auxiliary Control File (*.ac)|*.ac|") + text, QStringLiteral("acf")},
        {"cmdSelectIQBBDataFile", QStringLiteral("Select I/Q Base Band Data File"), text,
         QStringLiteral("txt")},
        {"cmdSelectInterpDACDF", QStringLiteral("Select Simulation Data File"), text, QStringLiteral("txt")},
        {"cmdIBSBBdataFile", QStringLiteral("Select I Base Bit Stream Data File"), text,
         QStringLiteral("txt")},
        {"cmdQBSBBdataFile", QStringLiteral("Select Q Base Bit Stream Data File"), text,
         QStringLiteral("txt")},
    };
    frmSimulatorSetup& window = openSimulator();
    window.txtIBSBBDataFilePath.setText(QStringLiteral("i.txt"));
    window.txtQBSBBDataFilePath.setText(path(QStringLiteral("q/q.txt")));
    const QString boxes[] = {window.txtAuxCtrlFilePath.Text(), QString(), QString(), QStringLiteral("i.txt"),
                             path(QStringLiteral("q/q.txt"))};
    const QString folders[] = {path(QStringLiteral("Simulator/")), path(QStringLiteral("Simulator/")),
                               path(QStringLiteral("Simulator/")), path(QStringLiteral("Simulator/")),
                               path(QStringLiteral("q/"))};
    int at = 0;
    for (const auto& [button, title, filter, extension] : pickers) {
        ui::testing::dialogs().reset();
        ui::testing::dialogs().cancelOpen();
        dynamic_cast<ui::CommandButton&>(*window.control(QLatin1String(button))).Click();
        ASSERT_EQ(ui::testing::dialogs().open.requests.size(), 1u) << button;
        const ui::FileDialogRequest& request = ui::testing::dialogs().open.requests[0];
        EXPECT_EQ(request.title, title) << button;
        EXPECT_EQ(request.filter, filter) << button;
        EXPECT_EQ(request.defaultExtension, extension) << button;
        EXPECT_EQ(request.fileName, boxes[at]) << button;
        EXPECT_EQ(request.initialFolder, folders[at]) << button;
        EXPECT_TRUE(request.fileMustExist && request.pathMustExist) << button;
        EXPECT_FALSE(request.multiSelect || request.readOnlyChecked || request.hideReadOnly) << button;
        ++at;
    }
}

TEST_F(Simulator, OnlyOneNumericalProgramRunsAndNeitherWindowClosesDuringARunUnlessTheUserStopsIt)
{
    standIn(modtest::kQamProgram,
            "while [ ! -f go ]; do sleep 0.02; done\n"
            "echo 'Creating upsampled and filtered QAM data'\nprintf '0\\r\\n' > Error_file.txt\n");
    frmQAMVG& generator = openGenerator();
    const QByteArray parameters = "before";
    bool checked = false;
    int timer = 0;
    timer = ui::testing::clock().startTimer(100, [&] {
        ui::testing::clock().stopTimer(timer);
        // A window that opens during the run takes over the busy state.
        frmSimulatorSetup& simulator = openWithBoxes();
        EXPECT_FALSE(simulator.cmdRunSimulator.Enabled());
        EXPECT_EQ(simulator.MousePointer(), ui::vbArrowHourglass);
        // Closing the plot windows neither ends the generator nor frees Run Simulator.
        simulator.cmdCloseAllPlotWindows_Click();
        EXPECT_FALSE(simulator.cmdRunSimulator.Enabled());
        EXPECT_EQ(os::runningChildCount(), 1);
        simulator.cmdRunSimulator_Click();
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("Simulator/cwd.txt"))));
        writeFile(path(QStringLiteral("Tovrindir/mod_parameters.txt")), parameters);
        ui::testing::messageBoxes().expect(
            QStringLiteral("A vector generator is running.\r\nDo you want to stop it and close this window?"),
            ui::vbNo);
        EXPECT_FALSE(generator.Unload());
        ASSERT_EQ(ui::testing::messageBoxes().shown.size(), 1u);
        EXPECT_EQ(ui::testing::messageBoxes().shown[0].title, QStringLiteral("Busy"));
        EXPECT_TRUE(generator.IsLoaded());
        EXPECT_EQ(readAll(path(QStringLiteral("Tovrindir/mod_parameters.txt"))), parameters);
        checked = true;
        writeFile(path(QStringLiteral("Tovrindir/go")), "");
    });
    generator.cmdGenerateQAMData.click();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(generator.txtConsoleOutput.Text().endsWith(QStringLiteral("Completed without Errors!")));
    EXPECT_FALSE(generator.Busy);
    EXPECT_TRUE(ui::loadedForm<frmSimulatorSetup>()->cmdRunSimulator.Enabled());
    EXPECT_TRUE(generator.cmdGenerateGMSKData.Enabled());
}

TEST_F(Simulator, ASimulatorRunKeepsTheGeneratorsBackAndItsWindowOpenUnlessTheUserStopsIt)
{
    standIn(modtest::kSimulator, "while [ ! -f go ]; do sleep 0.02; done\necho 'DAC done'\n");
    standIn(modtest::kQamProgram, "echo started > started.txt\n");
    frmSimulatorSetup& simulator = openWithBoxes();
    frmQAMVG& generator = openGenerator();
    bool checked = false;
    int timer = 0;
    timer = ui::testing::clock().startTimer(100, [&] {
        ui::testing::clock().stopTimer(timer);
        EXPECT_FALSE(generator.cmdGenerateQAMData.Enabled());
        EXPECT_FALSE(simulator.cmdCloseAllPlotWindows.Enabled());
        generator.generate(mvg::Generator::Qam);
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("Tovrindir/started.txt"))));
        ui::testing::messageBoxes().expect(
            QStringLiteral("The simulator is running.\r\nDo you want to stop it and close this window?"),
            ui::vbNo);
        EXPECT_FALSE(simulator.Unload());
        ASSERT_EQ(ui::testing::messageBoxes().shown.size(), 1u);
        EXPECT_EQ(ui::testing::messageBoxes().shown[0].title, QStringLiteral("Busy"));
        // Closing the generator window leaves the simulator running.
        EXPECT_TRUE(generator.Unload());
        EXPECT_EQ(os::runningChildCount(), 1);
        checked = true;
        writeFile(path(QStringLiteral("Simulator/go")), "");
    });
    simulator.cmdRunSimulator.click();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(simulator.txtSimulatorConsoleOut.Text().endsWith(QStringLiteral("Without Errors!")));
    EXPECT_TRUE(simulator.cmdRunSimulator.Enabled());
    EXPECT_TRUE(simulator.cmdCloseAllPlotWindows.Enabled());
}

TEST_F(Simulator, TheToolbarOpensBothWindowsWhenTheirProgramsAreInstalled)
{
    for (const int button : {4, 5}) {
        mdi->cmdToolBarBtn(button).setEnabled(true);
        EXPECT_TRUE(mdi->cmdToolBarBtn(button).click());
    }
    ASSERT_NE(ui::loadedForm<frmSimulatorSetup>(), nullptr);
    ASSERT_NE(ui::loadedForm<frmQAMVG>(), nullptr);
    EXPECT_EQ(ui::loadedForm<frmQAMVG>()->Caption(), QStringLiteral("Modulation Vector Generator"));
    EXPECT_EQ(ui::loadedForm<frmSimulatorSetup>()->Caption(), QStringLiteral("Simulator Setup"));
}

} // namespace
