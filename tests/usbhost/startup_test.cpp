// The program's start-up and a Profiles LOAD over libusb: the same start-up log as over the emulated
// driver, and the same bytes on the same pipes; a second running copy on the same bus, also one that holds
// the board through an action while this copy starts; a board that does not answer.

#include "other_copy.h"
#include "usbhost_support.h"

#include "app/board_driver_hookup.h"

#include "board/board_flags.h"
#include "board/evalbd.h"
#include "board/globals.h"
#include "shell/frm_splash.h"
#include "shell/frm_usb_select.h"
#include "shell/mdi_main.h"
#include "shell/startup.h"

#include "platform/ui/forms.h"
#include "platform/ui/test_doubles.h"
#include "platform/usb/firmware_commands.h"
#include "platform/usb/usb_driver.h"
#include "profiles/frm_profile.h"
#include "profiles/register_windows.h"
#include "shell/register_windows.h"
#include "shell/startup_fixture.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>
#include <optional>

using namespace usbhosttest;

namespace {

class StartUpOverLibusb : public shelltest::ShellTest {
protected:
    StartUpOverLibusb()
    {
        // The windows start-up opens by name, as app/ makes them known.
        RegisterShellWindows();
        RegisterProfilesWindows();
        bus().unplugAll();
        EXPECT_TRUE(settle());
        usb::setDriver(libusb.get());
        tellOfTheProgramsWaits(libusb.get());
    }
    ~StartUpOverLibusb() override
    {
        // The windows go while the board is still there.
        ui::Forms::discardAll();
        usb::setDriver(&drv);
        tellOfTheProgramsWaits(nullptr);
        libusb.reset();
        bus().unplugAll();
        EXPECT_TRUE(settle());
    }

    std::unique_ptr<usbhost::LibusbDriver> libusb =
        std::make_unique<usbhost::LibusbDriver>(servedIds(), context());
};

// Counts the paint events of the splash window and its boxes.
class SplashPaints : public QObject {
public:
    SplashPaints() { QCoreApplication::instance()->installEventFilter(this); }
    ~SplashPaints() override { QCoreApplication::instance()->removeEventFilter(this); }
    SplashPaints(const SplashPaints&) = delete;
    SplashPaints& operator=(const SplashPaints&) = delete;

    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const frmSplash* splash = ui::loadedForm<frmSplash>();
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && splash != nullptr && widget != nullptr &&
            widget->window() == splash->widget())
            ++count;
        return false;
    }
};

// Another running copy (a second driver on the same bus) holds the one board, as through one of its long
// actions, while this copy starts; it lets go `letGoAfterMs` into start-up on the program's clock (never when
// empty). What this copy's start-up did meanwhile, second by second.
class StartUpWhileAnotherCopyHoldsTheBoard : public StartUpOverLibusb {
protected:
    void startWhileHeld(std::optional<int> letGoAfterMs)
    {
        libusb->setTimeout(
            40); // the first request's claim wait, shortened; the rest runs on the program's clock
        other.setTimeout(40);
        number = bus().plug(boardWith(usb::ChipRevision::Rev2));
        ASSERT_TRUE(settle());
        QByteArray hostId(4, '\0');
        ASSERT_TRUE(askBoard(other, usb::firmware::GetHostId, hostId))
            << "the other copy's action has the board";

        ui::VirtualClock& clock = ui::testing::clock();
        const int64_t start = clock.now();
        const int attemptsBefore = bus().traffic(number).claimAttempts;
        // Each second: the claims tried in it; the splash asked to paint again, as the window system asks.
        const ui::VirtualClock::TimerId seconds = clock.startTimer(1000, [&] {
            attemptsBySecond.push_back(bus().traffic(number).claimAttempts);
            paintsBySecond.push_back(paints.count);
            if (const frmSplash* splash = ui::loadedForm<frmSplash>())
                splash->widget()->update();
        });
        attemptsBySecond.push_back(attemptsBefore);
        paintsBySecond.push_back(paints.count);
        ui::VirtualClock::TimerId letGo = 0;
        if (letGoAfterMs) {
            letGo = clock.startTimer(*letGoAfterMs, [&] {
                other.programWaitsForItsUser();
                clock.stopTimer(letGo);
            });
        }
        ASSERT_TRUE(runMain());
        clock.stopTimer(seconds);
        clock.stopTimer(letGo);
        startUpMs = clock.now() - start;
        attempts = bus().traffic(number).claimAttempts - attemptsBefore;
    }

    // The claims tried in each whole second of the wait after its first (which holds the first request's
    // claim wait, on the real clock).
    std::vector<int> attemptsPerSecond() const
    {
        std::vector<int> perSecond;
        for (size_t second = 2; second < attemptsBySecond.size(); ++second)
            perSecond.push_back(attemptsBySecond[second] - attemptsBySecond[second - 1]);
        return perSecond;
    }

    usbhost::LibusbDriver other{servedIds(), context()};
    SplashPaints paints;
    int number = 0;
    std::vector<int> attemptsBySecond;
    std::vector<int> paintsBySecond;
    int64_t startUpMs = 0;
    int attempts = 0;
};

} // namespace

TEST_F(StartUpOverLibusb, WritesTheSameLogAndLoadsTheSameBytesAsOverTheEmulatedDriver)
{
    const int number = bus().plug(boardWith(usb::ChipRevision::Rev3));
    ASSERT_TRUE(settle());
    ASSERT_TRUE(runMain());
    EXPECT_EQ(logBody(), shelltest::oneBoardLines().mid(1));
    EXPECT_EQ(bus().board(number).hostId(), ourHostId()) << "the board is claimed by this copy";
    EXPECT_EQ(bus().traffic(number).claimAttempts, 1) << "its interface once, for the whole start-up";

    frmProfile* profiles = ui::loadedForm<frmProfile>();
    ASSERT_NE(profiles, nullptr);
    bus().clearTraffic(number);
    profiles->cmdLoad.click();
    const usbmock::BoardTraffic overLibusb = bus().traffic(number);
    ASSERT_FALSE(overLibusb.out[3].isEmpty());

    // The same LOAD through the emulated driver, with an emulated board in the same state.
    drv.attach(0, boardWith(usb::ChipRevision::Rev3));
    usb::setDriver(&drv);
    drv.clearTrace();
    profiles->cmdLoad.click();
    for (int pipe = 0; pipe < usb::kPipeCount; ++pipe) {
        SCOPED_TRACE(pipe);
        QList<QByteArray> moved = overLibusb.out[pipe];
        moved += overLibusb.in[pipe];
        EXPECT_EQ(moved, drv.transfers(0, pipe));
    }
}

TEST_F(StartUpOverLibusb, ASecondCopyTakesTheFreeBoardAndNeitherCopySeesAFailedTransfer)
{
    const int plugged[] = {bus().plug(boardWith(usb::ChipRevision::Rev3)),
                           bus().plug(boardWith(usb::ChipRevision::Rev3))};
    ASSERT_TRUE(settle());
    // Boards are numbered by their address, and the bus gives addresses round: the lower one is Ezssp-0.
    const int first = std::min(plugged[0], plugged[1]);
    const int second = std::max(plugged[0], plugged[1]);
    OtherCopy other;
    ASSERT_TRUE(other.start(0x5151, 0)) << other.output().toStdString();

    ASSERT_TRUE(runMain());
    waitForTheUser(); // start-up is over: the program is in its event loop
    EXPECT_EQ(goEZUSB().DriverName(), QStringLiteral("Ezssp-1"))
        << "the board the other copy holds is not free";
    EXPECT_FALSE(logBody().join(QLatin1Char('\n')).contains(QLatin1String("Using Evaluation Board")))
        << "of several boards the free one is taken silently";
    EXPECT_EQ(bus().board(first).hostId(), 0x5151u);
    EXPECT_EQ(bus().board(second).hostId(), ourHostId());

    // Both copies watch and read their boards for many watch periods.
    mdiMain& main = ui::form<mdiMain>();
    const QString register02 = goEvalBd->USBSerialReadPKT(0x02);
    ASSERT_FALSE(register02.isEmpty());
    int failures = 0;
    for (int period = 0; period < 20; ++period) {
        main.tmrUSBCheck_Timer();
        failures += gbBoardConnected ? 0 : 1;
        failures += goEvalBd->USBSerialReadPKT(0x02) == register02 ? 0 : 1;
        waitForTheUser();
    }
    EXPECT_EQ(bus().board(first).hostId(), 0x5151u);
    EXPECT_EQ(bus().board(second).hostId(), ourHostId());
    ASSERT_TRUE(other.stop(20)) << other.output().toStdString();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(other.failures(), 0) << other.output().toStdString();
    EXPECT_GE(other.periods(), 20);
    EXPECT_EQ(bus().board(first).hostId(), 0u) << "the other copy gave its board back when it ended";
}

TEST_F(StartUpOverLibusb, TheSelectionDialogShowsTheBoardAnotherCopyHoldsAsClaimed)
{
    bus().plug(boardWith(usb::ChipRevision::Rev3));
    ASSERT_TRUE(settle());
    OtherCopy other;
    ASSERT_TRUE(other.start(0x5151, 0)) << other.output().toStdString();

    ASSERT_EQ(goEZUSB().GetDevices(), 1);
    frmUSBSelect& dialog = ui::form<frmUSBSelect>();
    dialog.Load();
    ui::ListItem* row = dialog.lvuUSBDevices.item(1);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->SubItems(1), QStringLiteral("0.3")) << "its real firmware revision";
    EXPECT_EQ(row->SubItems(2), QString::number(0x5151)) << "claimed by the other copy";
    dialog.Unload();
    waitForTheUser(); // the dialog's own event loop would have run
    ASSERT_TRUE(other.stop(5)) << other.output().toStdString();
    EXPECT_EQ(other.failures(), 0) << other.output().toStdString();
}

// A board that does not answer: start-up goes on quickly, the lamp says so at every tick and after the
// board selection dialog is left (by Cancel or by its close box), and turns green when the board answers.
TEST_F(StartUpOverLibusb, ASilentBoardStartsQuicklyAndTheLampSaysItDoesNotAnswer)
{
    libusb->setTimeout(40);
    libusb->setProbeTimeout(20);
    libusb->setProbeInterval(60000);
    const int number = bus().plug(boardWith(usb::ChipRevision::Rev3));
    ASSERT_TRUE(settle());
    bus().setSilent(number, true);
    ASSERT_TRUE(runMain());
    ASSERT_FALSE(logBody().isEmpty());
    EXPECT_EQ(logBody().last(), QStringLiteral("Software Ready!"));
    EXPECT_LE(bus().traffic(number).bulkUrbs, 4) << "one request waited for, the others failed at once";

    mdiMain& main = ui::form<mdiMain>();
    const auto expectNotAnswering = [&main](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_TRUE(gbBoardConnected) << "it is still plugged in";
        EXPECT_EQ(main.lblUSBStat.Caption(), QStringLiteral("Ezssp-0 Not Answering!"));
        EXPECT_EQ(main.lblUSBStat.BackColor(), glClrDkYellow) << "not the lamp of a board that is fine";
    };
    for (int period = 0; period < 3; ++period) {
        main.tmrUSBCheck_Timer();
        expectNotAnswering("a tick");
    }
    EXPECT_LE(bus().traffic(number).bulkUrbs, 4);

    const std::pair<const char*, void (*)(frmUSBSelect&)> leavings[] = {
        {"Cancel", [](frmUSBSelect& dialog) { dialog.cmdCancel.click(); }},
        {"the close box", [](frmUSBSelect& dialog) { dialog.Unload(ui::vbFormControlMenu); }}};
    for (const auto& [how, leave] : leavings) {
        SCOPED_TRACE(how);
        ui::testing::onModal<frmUSBSelect>([leave = leave](frmUSBSelect& dialog) {
            const ui::ListItem* row = dialog.lvuUSBDevices.item(1);
            ASSERT_NE(row, nullptr);
            EXPECT_EQ(row->Text(), QStringLiteral("Ezssp-0"));
            EXPECT_EQ(row->SubItems(1), QStringLiteral("0")) << "its version could not be asked";
            EXPECT_EQ(row->SubItems(2), QStringLiteral("NA"));
            leave(dialog);
        });
        main.mnuIOSelectEvalBd.choose();
        EXPECT_EQ(goEZUSB().DriverName(), QStringLiteral("Ezssp-0"));
        expectNotAnswering("the dialog left");
        main.tmrUSBCheck_Timer();
        expectNotAnswering("the next tick");
    }

    // It answers again: the watch's status read tries it and the lamp says so.
    bus().setSilent(number, false);
    libusb->setProbeInterval(0);
    main.tmrUSBCheck_Timer();
    EXPECT_EQ(main.lblUSBStat.Caption(), QStringLiteral("Ezssp-0"));
    EXPECT_EQ(main.lblUSBStat.BackColor(), glClrDkGreen);
}

TEST_F(StartUpWhileAnotherCopyHoldsTheBoard, StartUpWaitsForItAndDetectsTheChipsTrueRevision)
{
    startWhileHeld(3000);
    EXPECT_EQ(logBody(), shelltest::oneBoardLines(QStringLiteral("   Silicon Revision:  SR1 or SR2")).mid(1))
        << "as it would start alone";
    EXPECT_EQ(splashColour(), glClrGreen);
    EXPECT_EQ(bus().board(number).hostId(), ourHostId()) << "claimed with this copy's host identifier";
    EXPECT_GE(startUpMs, 3000) << "it waited until the other copy let go";
    EXPECT_LT(startUpMs, 3500) << "and took the board soon after";
    for (const int tries : attemptsPerSecond())
        EXPECT_LE(tries, 10) << "tried at most ten times a second";
    ASSERT_GE(paintsBySecond.size(), 3u);
    EXPECT_GT(paintsBySecond[2], paintsBySecond[1]) << "the splash painted during the wait";

    // Later, a user action on the board while the other copy holds it: one claim wait, then it fails.
    waitForTheUser();
    QByteArray hostId(4, '\0');
    ASSERT_TRUE(askBoard(other, usb::firmware::GetHostId, hostId));
    const int64_t before = ui::testing::clock().now();
    const int attemptsBefore = bus().traffic(number).claimAttempts;
    EXPECT_EQ(goEvalBd->GetPortEValue(), 0);
    EXPECT_EQ(ui::testing::clock().now(), before) << "no wait of start-up's";
    EXPECT_LE(bus().traffic(number).claimAttempts - attemptsBefore, 10) << "one claim wait";
    other.programWaitsForItsUser();
}

TEST_F(StartUpWhileAnotherCopyHoldsTheBoard, HeldPastTheWaitStartUpEndsAsWithoutTheBoard)
{
    startWhileHeld(std::nullopt);
    EXPECT_EQ(logBody(), shelltest::oneBoardLines(QStringLiteral("   Error - DUT not detected!")).mid(1));
    EXPECT_EQ(splashColour(), glClrRed);
    EXPECT_EQ(bus().board(number).hostId(), 0u) << "never this copy's";
    EXPECT_GE(startUpMs, 9000) << "it waited about ten seconds with the first claim wait";
    EXPECT_LE(startUpMs, 10000);
    const std::vector<int> perSecond = attemptsPerSecond();
    for (const int tries : perSecond)
        EXPECT_LE(tries, 10) << "tried at most ten times a second";
    EXPECT_LE(attempts, 90 + 60) << "the wait's tries, the first claim wait's and one for each board step";
    EXPECT_EQ(bus().claims(number), 1) << "the other copy still holds it";
    other.programWaitsForItsUser();
}
