// The main window's commands: run modes, View entries, toolbar, setup files through the menu, board
// selection, the window its dialogs are tied to and the ways the program ends.

#include "main_window_fixture.h"

#include "board/board_flags.h"
#include "board/evalbd.h"
#include "board/globals.h"
#include "board/setup_file.h"
#include "boardui/form_names.h"
#include "shell/frm_usb_select.h"
#include "shell/startup.h"
#include "widgets/progress_global.h"

#include "platform/os/program_folder.h"
#include "platform/ui/app.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/test_doubles.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <functional>

using namespace mainwindowtest;

namespace {

class Commands : public MainWindowTest {};

TEST_F(Commands, RunModesSetCaptionAndViewEntries)
{
    struct Case {
        int16_t mode;
        const char* suffix;
        bool fifoDebug, regDebug, adc, wdt;
    };
    const Case cases[] = {
        {0, "", false, false, false, false},
        {1, " - Debug Mode ", true, false, false, false},
        {2, " - Engineering Mode", false, false, false, false},
        {3, " - ZEL Full Engineering Mode", true, true, false, false},
        {4, " - *", false, false, false, false},
        {5, " - **", false, false, true, true},
    };
    ui::setApplicationTitle("ZR4470 Evaluation Software");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        giRunMode = c.mode;
        mdi->SetMode();
        EXPECT_EQ(mdi->Caption(), QString("ZR4470 Evaluation Software") + c.suffix);
        EXPECT_EQ(mdi->mnuViewFIFODebugwnd.Visible(), c.fifoDebug);
        EXPECT_EQ(mdi->mnuViewRegDebug.Visible(), c.regDebug);
        EXPECT_EQ(mdi->mnuViewADC.Visible(), c.adc);
        EXPECT_EQ(mdi->mnuViewWDT.Visible(), c.wdt);
        EXPECT_TRUE(mdi->mnuViewRegMap.Visible());
        EXPECT_TRUE(mdi->mnuViewControl.Visible());
    }
    // Any other mode changes nothing.
    giRunMode = 9;
    ui::Forms::callIfLoaded("mdiMain", "SetMode");
    EXPECT_EQ(mdi->Caption(), "ZR4470 Evaluation Software - **");
    EXPECT_TRUE(mdi->mnuViewADC.Visible());
}

TEST_F(Commands, ViewEntriesShowTheirWindowOrDoNothingWithoutOne)
{
    StandIn regMap("frmRegMapVals", {});
    StandIn debug("frmDebug", {});
    regMap.Load();
    debug.Load();
    regMap.setWindowState(ui::vbMinimized);
    mdi->mnuViewRegMap.choose();
    EXPECT_TRUE(regMap.Visible());
    EXPECT_EQ(regMap.WindowState(), ui::vbNormal);
    EXPECT_TRUE(mdi->mnuViewRegMap.Checked());

    giRunMode = 3;
    mdi->SetMode();
    mdi->mnuViewRegDebug.choose();
    EXPECT_TRUE(debug.Visible()) << "Register Debug Window opens the register debug window";
    EXPECT_TRUE(mdi->mnuViewRegDebug.Checked());

    // No such window in this program: nothing opens, nothing is checked.
    mdi->mnuViewGPIO.choose();
    EXPECT_FALSE(mdi->mnuViewGPIO.Checked());
    EXPECT_FALSE(ui::Forms::isLoaded("frmGPIO"));
}

TEST_F(Commands, ToolbarStartsWithAutoCheckedAndDrivesTheBoardLines)
{
    EXPECT_EQ(mdi->chkAutoIOUd.Value(), 1);
    EXPECT_EQ(mdi->chkAutoIOUd.Caption(), "Auto");
    EXPECT_EQ(mdi->cmdToolBarBtn(0).ToolTipText(), " Load Setup File ");
    EXPECT_EQ(mdi->cmdToolBarBtn(2).Caption(), "RESET");
    // Without the outside programs their buttons stay disabled.
    EXPECT_FALSE(mdi->cmdToolBarBtn(4).Enabled());
    EXPECT_EQ(mdi->cmdToolBarBtn(4).ToolTipText(), "Simulator (Not Installed)");
    EXPECT_FALSE(mdi->cmdToolBarBtn(5).Enabled());
    EXPECT_EQ(mdi->cmdToolBarBtn(5).ToolTipText(), "Modulation Vector Generator (Not Installed)");

    plugAndSelect();
    StandIn control("frmControl", {"RefreshFormVals"});
    control.Load();
    mdi->cmdToolBarBtn_Click(2);
    EXPECT_EQ(journal(), QStringList({"frmControl.RefreshFormVals"}))
        << "a master reset refreshes the windows";
    const int before = bulkCount();
    mdi->cmdToolBarBtn_Click(3);
    EXPECT_GT(bulkCount(), before) << "I/O update pulse sent";
    mdi->cmdToolBarBtn_Click(4); // no simulator window in this program: nothing happens
    EXPECT_FALSE(ui::Forms::isLoaded("frmSimulatorSetup"));
}

TEST_F(Commands, SetupFilesThroughTheMenuReportTheirResultAndRefresh)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("menu.stp");
    // A Control window without a clock box keeps the program's real one (when built) out of this test.
    StandIn noClock("frmControl", {});
    StandIn control("frmProfile", {"RefreshFormVals"});
    noClock.Load();
    control.Load();
    auto& dialogs = ui::testing::dialogs();
    auto& boxes = ui::testing::messageBoxes();

    dialogs.answerSave(file);
    mdi->mnuFileSaveSetup.choose();
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_TRUE(boxes.shown.empty()) << "a good save says nothing";
    ASSERT_EQ(dialogs.save.requests.size(), 1u);
    const ui::FileDialogRequest& save = dialogs.save.requests[0];
    EXPECT_EQ(save.title, "Save Setup File");
    EXPECT_EQ(save.filter, "Setup Files (*.stp)|*.stp|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    EXPECT_EQ(save.defaultExtension.toUpper(), "STP");
    EXPECT_TRUE(save.overwritePrompt);
    EXPECT_EQ(save.initialFolder, os::programFolder());
    EXPECT_TRUE(gbDlgShown);

    dialogs.answerOpen(file);
    boxes.answer(ui::vbOK);
    mdi->mnuFileLoadSetup.choose();
    ASSERT_EQ(dialogs.open.requests.size(), 1u);
    EXPECT_EQ(dialogs.open.requests[0].title, "Load Setup File");
    EXPECT_TRUE(dialogs.open.requests[0].initialFolder.isEmpty())
        << "after a confirmed dialog: where it was left";
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].prompt, "Setup file load successful!");
    EXPECT_EQ(boxes.shown[0].title, "Setup File Loaded");
    EXPECT_EQ(boxes.shown[0].buttons, ui::vbInformation);
    EXPECT_EQ(journal(), QStringList({"frmProfile.RefreshFormVals"}));

    QFile(file).open(QIODevice::WriteOnly | QIODevice::Truncate);
    dialogs.answerOpen(file);
    boxes.answer(ui::vbOK);
    mdi->cmdToolBarBtn_Click(0);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].prompt, "File load error!");
    EXPECT_EQ(boxes.shown[1].title, "Invalid Setup File");
    EXPECT_EQ(boxes.shown[1].buttons, ui::vbExclamation);
    EXPECT_EQ(journal().size(), 2);
}

TEST_F(Commands, CancelledDialogsChangeNothing)
{
    ui::testing::dialogs().cancelOpen();
    mdi->mnuFileLoadSetup.choose();
    EXPECT_FALSE(gbDlgShown);
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
    ui::testing::dialogs().cancelSave();
    mdi->cmdToolBarBtn_Click(1);
    EXPECT_EQ(ui::testing::dialogs().save.requests.back().initialFolder, os::programFolder());
}

TEST_F(Commands, AttachedBoardWithoutChipStillRefreshes)
{
    QTemporaryDir dir;
    plugAndSelect(0, {.chip = {.revision = usb::ChipRevision::None}});
    goEvalBd->setSiliconRev(0);
    StandIn control("frmControl", {"RefreshFormVals"});
    control.Load();
    ui::testing::dialogs().answerOpen(dir.filePath("any.stp"));
    ui::testing::messageBoxes().answer(ui::vbOK);
    mdi->mnuFileLoadSetup.choose();
    ASSERT_EQ(ui::testing::messageBoxes().shown.size(), 1u);
    EXPECT_EQ(ui::testing::messageBoxes().shown[0].prompt, "Unable to load the setup file.");
    EXPECT_EQ(ui::testing::messageBoxes().shown[0].title, "DUT Not Detected!");
    EXPECT_EQ(journal(), QStringList({"frmControl.RefreshFormVals"}));
}

TEST_F(Commands, RefusedChipWritesHaveTheirOwnMessage)
{
    const auto message = mdiMain::setupLoadMessage(kSetupChipWriteFailed);
    EXPECT_FALSE(message.prompt.isEmpty());
    EXPECT_NE(message.prompt, mdiMain::setupLoadMessage(kSetupLoaded).prompt);
    EXPECT_EQ(message.flags, ui::vbExclamation);
    EXPECT_TRUE(mdiMain::setupLoadMessage(7).prompt.isEmpty());
}

TEST_F(Commands, SelectingAnotherBoardChangesOnlyTheIndicatorText)
{
    plugAndSelect(0);
    drv.attach(1);
    goEZUSB().GetDevices();
    mdi->tmrUSBCheck_Timer();
    ASSERT_EQ(mdi->lblUSBStat.Caption(), "Ezssp-0");
    const int16_t rev = goEvalBd->SiliconRev();
    ui::testing::onModal<frmUSBSelect>([](frmUSBSelect& dialog) {
        dialog.lvuUSBDevices.setSelectedItem(dialog.lvuUSBDevices.item(2));
        dialog.lvuUSBDevices_ItemClick(dialog.lvuUSBDevices.SelectedItem());
        dialog.cmdOK.click();
    });
    drv.clearTrace();
    mdi->mnuIOSelectEvalBd.choose();
    EXPECT_EQ(goEZUSB().DriverName(), "Ezssp-1");
    EXPECT_EQ(mdi->lblUSBStat.Caption(), "Ezssp-1");
    EXPECT_EQ(mdi->lblUSBStat.ForeColor(), 0x00FF00u);
    EXPECT_EQ(goEvalBd->SiliconRev(), rev);
    EXPECT_TRUE(drv.transfers(1, 3).isEmpty()) << "no serial traffic reaches the new board yet";
    EXPECT_TRUE(gbPrevConnected);
}

TEST_F(Commands, ClosingAsksEveryChildFirstThenEndsWithTheBoardObjectAlive)
{
    StandIn first("frmControl", {}, true);
    StandIn second("frmProfile", {}, true);
    first.Load();
    second.Load();
    bool watchRanDuringChildren = true;
    second.during = nullptr;
    cZR4470XEvalBd* board = mdi->EvalBd.get();
    ui::testing::messageBoxes().whileShown = nullptr;
    // Record the watch's state from inside the children's unload.
    struct Probe : StandIn {
        Probe(mdiMain* m, bool& ran) : StandIn("frmDebug", {}, true), mdi(m), ran(ran) {}
        void Form_QueryUnload(int& cancel, int mode) override
        {
            StandIn::Form_QueryUnload(cancel, mode);
            ran = mdi->tmrUSBCheck.Enabled();
        }
        mdiMain* mdi;
        bool& ran;
    } probe(mdi, watchRanDuringChildren);
    probe.Load();

    EXPECT_THROW(mdi->Unload(ui::vbFormControlMenu), ui::testing::ProcessEnded);
    EXPECT_EQ(journal(),
              QStringList({"frmControl:QueryUnload 4", "frmProfile:QueryUnload 4", "frmDebug:QueryUnload 4",
                           "frmControl:Unload", "frmProfile:Unload", "frmDebug:Unload"}));
    EXPECT_FALSE(watchRanDuringChildren) << "the watch stops before any child goes";
    EXPECT_EQ(mdi->EvalBd.get(), board) << "the board object lives until the end";
    EXPECT_EQ(goEvalBd, nullptr);
    EXPECT_EQ(ui::testing::endedWith(), 0);
}

TEST_F(Commands, AChildThatKeepsTheProgramOpenGetsTheWatchBack)
{
    struct Stubborn : StandIn {
        Stubborn() : StandIn("frmProfile", {}, true) {}
        void Form_QueryUnload(int& cancel, int mode) override
        {
            StandIn::Form_QueryUnload(cancel, mode);
            cancel = 1;
        }
    } child;
    child.Load();
    EXPECT_FALSE(mdi->Unload(ui::vbFormControlMenu));
    EXPECT_TRUE(mdi->IsLoaded());
    EXPECT_FALSE(ui::testing::endedWith());
    ui::DoEvents();
    EXPECT_TRUE(mdi->tmrUSBCheck.Enabled());
    EXPECT_TRUE(mdi->tmrUSBCheck.isRunning());
}

TEST_F(Commands, SizeGripOnlyInANormalWindow)
{
    mdi->Show();
    mdi->setWindowState(ui::vbMaximized);
    mdi->pbxStatusBar_Paint();
    EXPECT_FALSE(mdi->imgResizer.Visible());
    mdi->setWindowState(ui::vbNormal);
    mdi->pbxStatusBar_Paint();
    EXPECT_TRUE(mdi->imgResizer.Visible());
    // The status bar hosts the progress bar that the board module's procedures drive.
    EXPECT_EQ(goProgressBar().drawWidget(), mdi->pbxProgress.widget());
    EXPECT_EQ(goProgressBar().Max(), 80);
    EXPECT_TRUE(goProgressBar().ShowText());
}

TEST_F(Commands, ExitEndsAtOnceWithoutAskingTheWindows)
{
    StandIn child("frmControl", {}, true);
    child.Load();
    EXPECT_THROW(mdi->mnuFileExit_Click(), ui::testing::ProcessEnded);
    EXPECT_TRUE(journal().isEmpty());
    EXPECT_EQ(ui::testing::endedWith(), 0);
}

TEST_F(Commands, TheMainWindowHasOneHandleThatIsThisCopysIdentity)
{
    const auto pid = static_cast<uint32_t>(QCoreApplication::applicationPid());
    const ui::Form& asWindow = *mdi;
    EXPECT_EQ(asWindow.hWnd(), pid);
    EXPECT_EQ(mdi->hWnd(), pid);
    EXPECT_EQ(ui::Forms::fromHwnd(pid), mdi);
    // The setup file dialog is owned by the main window, found by that handle.
    ui::testing::dialogs().cancelOpen();
    mdi->mnuFileLoadSetup.choose();
    ASSERT_EQ(ui::testing::dialogs().open.requests.size(), 1u);
    EXPECT_EQ(ui::testing::dialogs().open.requests[0].ownerHwnd, pid);
    EXPECT_EQ(ui::Forms::fromHwnd(ui::testing::dialogs().open.requests[0].ownerHwnd), mdi);
}

} // namespace

// The window manager keeps a modal dialog with the window it is tied to (above it, minimised and restored
// with it): the program's dialogs are tied to the window they are shown over, the main window or another.
TEST_F(Commands, ModalDialogsAreTiedToTheWindowTheyAreShownOver)
{
    StandIn other(QStringLiteral("frmAnotherWindow"), {});
    mdi->Show();
    struct Case {
        const char* what;
        QString dialog;
        ui::Form* over;
        std::function<void()> open;
    } cases[] = {
        {"About from the Help menu", formnames::frmAbout, mdi, [this] { mdi->mnuHelpAbout.choose(); }},
        {"the board selection from the I/O menu", formnames::frmUSBSelect, mdi,
         [this] { mdi->mnuIOSelectEvalBd.choose(); }},
        {"About over another window of the program", formnames::frmAbout, &other,
         [] { ui::Forms::load(formnames::frmAbout)->Show(1); }},
    };
    for (const Case& shown : cases) {
        SCOPED_TRACE(shown.what);
        shown.over->Show();
        shown.over->SetFocus();
        ui::DoEvents();
        ASSERT_EQ(QApplication::activeWindow(), shown.over->widget());
        const QWindow* tiedTo = nullptr;
        ui::testing::onModal(shown.dialog, [&tiedTo](ui::Form& dialog) {
            tiedTo = dialog.widget()->windowHandle()->transientParent();
            dialog.Hide();
        });
        shown.open();
        EXPECT_EQ(tiedTo, shown.over->widget()->windowHandle());
    }
}
