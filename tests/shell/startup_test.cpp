// Start-up against emulated boards: the status lines and the log, the board choice, the board traffic,
// the command line, the locale reads, and the end of the program.

#include "startup_fixture.h"

#include "board/evalbd.h"
#include "board/globals.h"
#include "platform/os/program_folder.h"
#include "platform/runtime/locale_info.h"
#include "platform/ui/forms.h"
#include "platform/ui/test_doubles.h"
#include "platform/usb/emulated_board.h"
#include "shell/app_info.h"
#include "shell/frm_splash.h"
#include "shell/frm_usb_select.h"
#include "shell/mdi_main.h"
#include "shell/startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

using namespace shelltest;

namespace {

constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kRed = 0x0000FF;

class StartUp : public ShellTest {};

TEST_F(StartUp, OneRevisionThreeBoard)
{
    plug(0, boardWith(usb::ChipRevision::Rev3));
    ASSERT_TRUE(runMain());

    EXPECT_EQ(splashLines(), oneBoardLines());
    EXPECT_EQ(splashColour(), kGreen);
    const QStringList log = logLines();
    ASSERT_EQ(log.size(), 3 + oneBoardLines().size() - 1);
    EXPECT_EQ(log[0], QStringLiteral("ZR4470 Evaluation Software Startup Log File"));
    EXPECT_TRUE(log[1].startsWith(QStringLiteral("Created: "))) << log[1].toStdString();
    EXPECT_EQ(log[2], QString());
    EXPECT_EQ(logBody(), oneBoardLines().mid(1)) << "every line but the first";

    mdiMain& main = mainWindow();
    EXPECT_TRUE(main.Visible());
    EXPECT_EQ(main.WindowState(), ui::vbMaximized);
    EXPECT_TRUE(main.Caption().startsWith(kApplicationTitle));
    EXPECT_EQ(goEvalBd, main.EvalBd.get());
    EXPECT_EQ(goEvalBd->SiliconRev(), 3);
    EXPECT_EQ(goEZUSB().DriverName(), QStringLiteral("Ezssp-0"));
    EXPECT_EQ(drv.board(0)->hostId(), ourHostId()) << "the board is claimed by this copy";
    EXPECT_NE(ourHostId(), 0u);
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
}

TEST_F(StartUp, BoardTrafficInOrder)
{
    usb::EmulatedBoard& board = plug(0, boardWith(usb::ChipRevision::Rev3));
    ASSERT_TRUE(runMain());

    const QList<QByteArray> commands = drv.transfers(0, 0);
    const QList<int> codes = commandCodes(0);
    // Selection (firmware version, claim), port buffers read and the lamp set to blink, CSB sent with
    // port A and REGUD_EN with port E, then the first reset pulse (with REGUD_EN sent again on the rise).
    const QList<int> opening = {0, 13, 11, 2, 6, 9, 19, 21, 15, 1, 20, 1, 20, 1};
    ASSERT_GE(codes.size(), opening.size());
    EXPECT_EQ(codes.mid(0, opening.size()), opening);
    EXPECT_EQ(static_cast<uint8_t>(commands[9][1]) & usb::kPortACsb, usb::kPortACsb) << "CSB high";
    EXPECT_EQ(static_cast<uint8_t>(commands[10][1]) & 0x80, 0x80) << "REGUD_EN set";

    // Two reset pulses: before the chip is asked for its revision and after it answered.
    QList<int> resetRises;
    for (int k = 0; k < commands.size(); ++k)
        if (commands[k].size() == 2 && commands[k][0] == 1 &&
            (static_cast<uint8_t>(commands[k][1]) & usb::kPortAReset))
            resetRises << k;
    ASSERT_EQ(resetRises.size(), 2);
    EXPECT_EQ(resetRises[0], 11);
    const int second = resetRises[1];
    EXPECT_TRUE(codes.mid(12, second - 12).contains(7)) << "the read-back of the identification register";
    ASSERT_GE(codes.size(), second + 3);
    EXPECT_EQ(codes.mid(second, 3), (QList<int>{1, 20, 1}));
    EXPECT_EQ(static_cast<uint8_t>(commands[second + 2][1]) & usb::kPortAReset, 0);
    EXPECT_FALSE(drv.transfers(0, 5).isEmpty());
    EXPECT_EQ(board.portA() & usb::kPortAReset, 0) << "reset released at the end";
    EXPECT_TRUE(drv.violationTexts().isEmpty()) << drv.violationTexts().join('\n').toStdString();
}

struct RevisionCase {
    usb::ChipRevision revision;
    const char* line;
    int16_t siliconRev;
    uint32_t colour;
};

class StartUpRevision : public ShellTest, public ::testing::WithParamInterface<RevisionCase> {};

TEST_P(StartUpRevision, ReportsTheChipAndLaysTheMapOut)
{
    const RevisionCase& c = GetParam();
    plug(0, boardWith(c.revision));
    ASSERT_TRUE(runMain());
    EXPECT_EQ(splashLines(), oneBoardLines(QString::fromLatin1(c.line)));
    EXPECT_EQ(logBody(), oneBoardLines(QString::fromLatin1(c.line)).mid(1));
    EXPECT_EQ(splashColour(), c.colour);
    ASSERT_NE(goEvalBd, nullptr);
    EXPECT_EQ(goEvalBd->SiliconRev(), c.siliconRev);
    // Revisions 1 and 2 keep their identification register at 0x17; the revision 3 layout has the
    // watchdog there and the identification register at 0x1F.
    const bool revisionThreeLayout = c.siliconRev != 2;
    EXPECT_EQ(goEvalBd->GetRegLength(0x1F) == 40, revisionThreeLayout);
}

INSTANTIATE_TEST_SUITE_P(
    Chips, StartUpRevision,
    ::testing::Values(RevisionCase{usb::ChipRevision::Rev1, "   Silicon Revision:  SR1 or SR2", 2, kGreen},
                      RevisionCase{usb::ChipRevision::Rev2, "   Silicon Revision:  SR1 or SR2", 2, kGreen},
                      RevisionCase{usb::ChipRevision::Rev3, "   Silicon Revision:  SR3", 3, kGreen},
                      RevisionCase{usb::ChipRevision::None, "   Error - DUT not detected!", 0, kRed}));

TEST_F(StartUp, NoBoardTurnsTheTextRedAndSkipsTheBoardSteps)
{
    ASSERT_TRUE(runMain());
    const QStringList expected = {QStringLiteral("Initializing USB I/0 Interface..."),
                                  QStringLiteral("Checking for USB Drivers..."),
                                  QStringLiteral("   USB Driver Found."),
                                  QStringLiteral("Searching for Evaluation Board..."),
                                  QStringLiteral("   No Evaluation Boards Attached."),
                                  QString(),
                                  QStringLiteral("Loading Main Window..."),
                                  QStringLiteral("Loading Control Window..."),
                                  QStringLiteral("Loading Profile Window..."),
                                  QString(),
                                  QStringLiteral("Software Ready!")};
    EXPECT_EQ(splashLines(), expected);
    EXPECT_EQ(logBody(), expected.mid(1));
    EXPECT_EQ(splashColour(), kRed);
    EXPECT_TRUE(goEZUSB().DriverName().isEmpty());
    EXPECT_EQ(goEvalBd, mainWindow().EvalBd.get()) << "windows work on the register maps alone";
}

TEST_F(StartUp, NoDriverSkipsTheBoardSearch)
{
    plug(0);
    drv.setDriverInstalled(usb::kDefaultBaseName, false);
    ASSERT_TRUE(runMain());
    const QStringList expected = {QStringLiteral("Initializing USB I/0 Interface..."),
                                  QStringLiteral("Checking for USB Drivers..."),
                                  QStringLiteral("   Error - USB Driver Not Found."),
                                  QString(),
                                  QStringLiteral("Loading Main Window..."),
                                  QStringLiteral("Loading Control Window..."),
                                  QStringLiteral("Loading Profile Window..."),
                                  QString(),
                                  QStringLiteral("Software Ready!")};
    EXPECT_EQ(splashLines(), expected);
    EXPECT_EQ(splashColour(), kGreen) << "a missing driver does not turn the text red";
    EXPECT_EQ(drv.count(usb::RequestKind::DeviceDescriptor), 0) << "no board was looked for";
    EXPECT_EQ(goEZUSB().DeviceCount(), 0);
    EXPECT_EQ(drv.board(0)->hostId(), 0u);
}

TEST_F(StartUp, SingleBoardClaimedByAnotherCopyIsTakenOver)
{
    plug(0, boardWith(usb::ChipRevision::Rev3, 4242));
    ASSERT_TRUE(runMain());
    EXPECT_EQ(splashLines(), oneBoardLines());
    EXPECT_EQ(drv.board(0)->hostId(), ourHostId());
}

TEST_F(StartUp, OfSeveralBoardsTheFirstFreeIsSelectedSilently)
{
    plug(0, boardWith(usb::ChipRevision::Rev3, 4242));
    plug(1, boardWith(usb::ChipRevision::Rev3));
    ASSERT_TRUE(runMain());
    EXPECT_EQ(goEZUSB().DriverName(), QStringLiteral("Ezssp-1"));
    EXPECT_EQ(drv.board(0)->hostId(), 4242u) << "the other copy keeps its board";
    EXPECT_EQ(drv.board(1)->hostId(), ourHostId());
    EXPECT_TRUE(ui::testing::modalShows().isEmpty());
    QStringList expected = oneBoardLines();
    expected.removeAt(4); // no line names the board
    EXPECT_EQ(splashLines(), expected);
    EXPECT_TRUE(drv.transfers(0, 5).isEmpty()) << "the claimed board's chip is left alone";
    EXPECT_FALSE(drv.transfers(1, 5).isEmpty());
}

TEST_F(StartUp, AllBoardsClaimedAsksTheUser)
{
    plug(0, boardWith(usb::ChipRevision::Rev3, 4242));
    plug(1, boardWith(usb::ChipRevision::Rev2, 777));
    QString caption;
    QString prompt;
    QStringList rows;
    ui::testing::onModal<frmUSBSelect>([&](frmUSBSelect& dialog) {
        caption = dialog.Caption();
        prompt = dialog.lblMessage.Caption();
        for (int i = 1; i <= dialog.lvuUSBDevices.ItemCount(); ++i) {
            const ui::ListItem* row = dialog.lvuUSBDevices.item(i);
            rows << row->Text() + '|' + row->SubItems(1) + '|' + row->SubItems(2);
        }
        clickRow(dialog, 2);
        dialog.cmdOK.click();
    });
    ASSERT_TRUE(runMain());
    EXPECT_EQ(caption, QStringLiteral("Select USB Device"));
    EXPECT_EQ(prompt, QStringLiteral("Select an evalution board."));
    EXPECT_EQ(rows, (QStringList{"Ezssp-0|0.3|4242", "Ezssp-1|0.3|777"}));
    EXPECT_EQ(goEZUSB().DriverName(), QStringLiteral("Ezssp-1"));
    EXPECT_EQ(drv.board(1)->hostId(), ourHostId()) << "the claim passes to this copy";
    EXPECT_EQ(drv.board(0)->hostId(), 4242u);
    QStringList expected = oneBoardLines(QStringLiteral("   Silicon Revision:  SR1 or SR2"));
    expected.removeAt(4);
    EXPECT_EQ(splashLines(), expected);
    EXPECT_FALSE(ui::Forms::isLoaded(frmUSBSelect::FormName)) << "the dialog is unloaded";
}

TEST_F(StartUp, CancelInTheBoardChoiceEndsTheProgram)
{
    plug(0, boardWith(usb::ChipRevision::Rev3, 4242));
    plug(1, boardWith(usb::ChipRevision::Rev3, 777));
    ui::testing::onModal<frmUSBSelect>([](frmUSBSelect& dialog) { dialog.cmdCancel.click(); });
    EXPECT_FALSE(runMain());
    EXPECT_EQ(endCode, 0);
    EXPECT_EQ(ui::testing::endedWith(), 0);
    EXPECT_EQ(ui::testing::modalShows(), QStringList{frmUSBSelect::FormName});
    EXPECT_FALSE(ui::Forms::isLoaded(frmSplash::FormName)) << "the splash and its log close";
    EXPECT_EQ(logBody(), oneBoardLines().mid(1, 3));
    EXPECT_EQ(drv.board(0)->hostId(), 4242u);
    EXPECT_EQ(drv.board(1)->hostId(), 777u);
    EXPECT_EQ(goEvalBd, nullptr);
}

TEST_F(StartUp, ASplashClosedDuringTheBoardChoiceIsNotBroughtBack)
{
    plug(0, boardWith(usb::ChipRevision::Rev3, 4242));
    plug(1, boardWith(usb::ChipRevision::Rev3, 777));
    ui::testing::onModal<frmUSBSelect>([](frmUSBSelect& dialog) {
        ui::loadedForm<frmSplash>()->imgSkin.Click();
        clickRow(dialog, 1);
        dialog.cmdOK.click();
    });
    ASSERT_TRUE(runMain());
    EXPECT_FALSE(ui::Forms::isLoaded(frmSplash::FormName));
    EXPECT_EQ(logBody(), oneBoardLines().mid(1, 3)) << "the log closed with the splash";
    EXPECT_EQ(goEZUSB().DriverName(), QStringLiteral("Ezssp-0"));
    EXPECT_EQ(goEvalBd->SiliconRev(), 3) << "start-up went on";
}

TEST_F(StartUp, LogThatCannotBeCreatedIsSkipped)
{
    plug(0);
    os::setProgramFolder(QDir(os::programFolder()).filePath(QStringLiteral("no/such/folder")));
    ASSERT_TRUE(runMain());
    EXPECT_EQ(splashLines(), oneBoardLines());
    EXPECT_TRUE(logLines().isEmpty());
}

// "startup.log" made something else before start-up; removed again however the test ends.
struct StartupLogAs {
    QByteArray path = QFile::encodeName(QDir(os::programFolder()).filePath(QStringLiteral("startup.log")));
    ~StartupLogAs() { ::unlink(path.constData()); }
};

TEST_F(StartUp, ALogThatIsANamedPipeIsNotWaitedForAndStartUpGoesOn)
{
    plug(0);
    StartupLogAs log;
    // Nobody reads the pipe: opening it to write would wait for ever.
    ASSERT_EQ(::mkfifo(log.path.constData(), 0666), 0);
    ASSERT_TRUE(runMain());
    EXPECT_EQ(splashLines(), oneBoardLines());
    struct stat info = {};
    ASSERT_EQ(::lstat(log.path.constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "left as it was";
}

TEST_F(StartUp, ALogThatIsALinkNeverEmptiesItsTargetAndStartUpGoesOn)
{
    plug(0);
    StartupLogAs log;
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString target = elsewhere.filePath(QStringLiteral("notes.txt"));
    {
        QFile notes(target);
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
        notes.write("the user's notes\n");
    }
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), log.path.constData()), 0);
    ASSERT_TRUE(runMain());
    EXPECT_EQ(splashLines(), oneBoardLines());
    QFile notes(target);
    ASSERT_TRUE(notes.open(QIODevice::ReadOnly));
    EXPECT_EQ(notes.readAll(), QByteArray("the user's notes\n")) << "nothing is written through the link";
    EXPECT_TRUE(QFileInfo(QFile::decodeName(log.path)).isSymLink()) << "left as it was";
}

TEST_F(StartUp, ProcessStateOfTheStartUpModule)
{
    rt::ScopedNumberLocale locale(QChar(','), QStringLiteral("-"));
    ASSERT_TRUE(runMain());
    EXPECT_EQ(gsDecimalSep, QStringLiteral(","));
    EXPECT_EQ(giDecimalSepCode, 44);
    EXPECT_EQ(gsNegativeSign, QStringLiteral("-"));
    EXPECT_EQ(giNegativeSignCode, 45);
    EXPECT_EQ(gsManifestPath,
              os::programFolder() + '/' + os::executableBaseName() + QStringLiteral(".exe.MANIFEST"));
}

struct CommandLineCase {
    const char* commandLine;
    bool devKitIds;
    const char* baseName;
    int runMode;
    const char* remaining;
};

class StartUpCommandLine : public ShellTest, public ::testing::WithParamInterface<CommandLineCase> {};

TEST_P(StartUpCommandLine, OptionsAndRunMode)
{
    const CommandLineCase& c = GetParam();
    ASSERT_TRUE(runMain(QString::fromLatin1(c.commandLine)));
    EXPECT_EQ(goEZUSB().VendorID(), c.devKitIds ? kDevKitVendorID : kEvalBoardVendorID);
    EXPECT_EQ(goEZUSB().ProductID(), c.devKitIds ? kDevKitProductID : kEvalBoardProductID);
    EXPECT_EQ(goEZUSB().driverBaseName(), QString::fromLatin1(c.baseName));
    EXPECT_EQ(giRunMode, c.runMode);
    EXPECT_EQ(gsCmdLine, QString::fromLatin1(c.remaining));
}

INSTANTIATE_TEST_SUITE_P(
    Options, StartUpCommandLine,
    ::testing::Values(CommandLineCase{"", false, "Ezssp", 0, ""},
                      CommandLineCase{"-cydev", true, "Ezusb", 0, ""},
                      CommandLineCase{"-DEVMODE", false, "Ezusb", 0, ""},
                      CommandLineCase{"-CYDEV -DEVMODE -torvask", true, "Ezusb", 2, "-TORVASK"},
                      CommandLineCase{"x -DevMode -Marblequintosh", false, "Ezusb", 3, "X-MARBLEQUINTOSH"},
                      CommandLineCase{"-QUILLFERN", false, "Ezssp", 1, "-QUILLFERN"},
                      CommandLineCase{"-torvask -wespil", false, "Ezssp", 5, "-TORVASK -WESPIL"},
                      CommandLineCase{"NOLKRAV", false, "Ezssp", 0, "NOLKRAV"}));

TEST_F(StartUp, DevelopmentKitBoardIsFoundWithItsOption)
{
    usb::BoardOptions kit;
    kit.vendorId = usb::kDevKitVendorId;
    kit.productId = usb::kDevKitProductId;
    kit.baseName = usb::kDevKitBaseName;
    plug(0, kit);
    ASSERT_TRUE(runMain(QStringLiteral("-CYDEV")));
    EXPECT_EQ(splashLines().value(4), QStringLiteral("   Using Evaluation Board - Ezusb-0."));
}

TEST_F(StartUp, RunModeShowsInTheMainWindow)
{
    ASSERT_TRUE(runMain(QStringLiteral("-QUILLFERN")));
    EXPECT_EQ(mainWindow().Caption(), kApplicationTitle + QStringLiteral(" - Debug Mode "));
}

TEST_F(StartUp, EndProgramGivesTheBoardBackAndClosesTheLog)
{
    plug(0);
    ASSERT_TRUE(runMain());
    ASSERT_EQ(drv.board(0)->hostId(), ourHostId());
    QStringList calls;
    RecordingForm debug(QStringLiteral("frmDebug"), calls);
    debug.Load();

    EXPECT_THROW(EndProgram(), ui::testing::ProcessEnded);
    EXPECT_EQ(ui::testing::endedWith(), 0);
    EXPECT_EQ(goEvalBd, nullptr);
    EXPECT_FALSE(debug.IsLoaded());
    EXPECT_FALSE(ui::Forms::isLoaded(frmSplash::FormName));
    EXPECT_EQ(drv.board(0)->hostId(), 0u) << "host identifier 0: free for other copies";
    EXPECT_EQ(logBody(), oneBoardLines().mid(1));
}

TEST_F(StartUp, RefreshFormsForRegisterCallsTheLoadedWindowsOfThatRegister)
{
    QStringList calls;
    std::vector<std::unique_ptr<RecordingForm>> windows;
    for (const char* name : {"frmControl", "frmProfile", "frmFreqAndSweep", "frmQDUCRSR", "frmMultiChipSync",
                             "frmWatchDogTmr", "frmGPIO", "frmADC"}) {
        windows.push_back(std::make_unique<RecordingForm>(QString::fromLatin1(name), calls));
        windows.back()->Load();
    }
    const auto refreshed = [&](int16_t address) {
        calls.clear();
        RefreshFormsForRegister(address);
        return calls.join(' ').remove(QStringLiteral(".RefreshFormVals"));
    };
    EXPECT_EQ(refreshed(0x00), QStringLiteral("frmControl frmProfile frmFreqAndSweep"));
    EXPECT_EQ(refreshed(0x01), QStringLiteral("frmControl frmProfile frmFreqAndSweep"));
    EXPECT_EQ(refreshed(0x03), QStringLiteral("frmControl"));
    EXPECT_EQ(refreshed(0x06), QStringLiteral("frmQDUCRSR"));
    EXPECT_EQ(refreshed(0x09), QStringLiteral("frmFreqAndSweep"));
    EXPECT_EQ(refreshed(0x0A), QStringLiteral("frmMultiChipSync"));
    EXPECT_EQ(refreshed(0x0B), QStringLiteral("frmFreqAndSweep"));
    EXPECT_EQ(refreshed(0x15), QStringLiteral("frmProfile"));
    EXPECT_EQ(refreshed(0x17), QStringLiteral("frmWatchDogTmr"));
    EXPECT_EQ(refreshed(0x19), QStringLiteral("frmGPIO"));
    EXPECT_EQ(refreshed(0x1A), QStringLiteral("frmADC"));
    EXPECT_EQ(refreshed(0x16), QString());
    EXPECT_EQ(refreshed(0x1C), QString());
    EXPECT_EQ(refreshed(-1), QString());

    windows[1]->Unload();
    const size_t loadedBefore = ui::Forms::loaded().size();
    EXPECT_EQ(refreshed(0x0E), QString()) << "a window that is not loaded is not created";
    EXPECT_EQ(ui::Forms::loaded().size(), loadedBefore);
}

} // namespace
