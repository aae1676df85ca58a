// The splash window: status lines and the log, the auto-close rule, closing by the user, the closing
// animation.

#include "startup_fixture.h"

#include "platform/os/program_folder.h"
#include "platform/ui/forms.h"
#include "platform/ui/test_doubles.h"
#include "shell/frm_splash.h"
#include "shell/mdi_main.h"
#include "shell/splash_effect.h"
#include "shell/startup_log.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTime>
#include <QWidget>

#include <functional>

using namespace shelltest;

namespace {

constexpr uint32_t kRed = 0x0000FF;

class Splash : public ShellTest {
protected:
    frmSplash& splash() { return ui::form<frmSplash>(); }
    bool splashLoaded() const { return ui::Forms::isLoaded(frmSplash::FormName); }
    void tick() { ui::testing::clock().advance(500); }
    // The window system delivers the activations that start-up asked for, in the order asked: the main
    // window's, then the splash's.
    static void desktopCatchesUp() { QCoreApplication::processEvents(); }
    // The window system makes a window of the program the active one: the user brought it to the front,
    // or the window system answers late an activation asked for earlier.
    static void windowSystemActivates(ui::Form& form)
    {
        QApplication::setActiveWindow(form.widget()->window());
    }
    // The user clicks into a window: the window system activates it, then hands it the press.
    static void userClicks(ui::Form& form)
    {
        windowSystemActivates(form);
        QWidget* target = form.widget();
        const QPointF at(5, 5);
        QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &release);
    }
    // Without a window manager a window is activated only once it is on the screen: the splash's
    // activation arrives first, the one asked for when start-up showed the main window only after start-up
    // armed the splash. The main window's active child becomes the active form.
    void mainWindowActivatedAfterTheSplash()
    {
        windowSystemActivates(ui::form<frmSplash>());
        windowSystemActivates(mainWindow());
        const ui::Form* active = ui::Forms::activeForm();
        ASSERT_NE(active, nullptr);
        ASSERT_NE(active, ui::loadedForm<frmSplash>());
    }
};

TEST_F(Splash, FirstLineStaysOutOfTheLogAndBlankLinesGoIn)
{
    frmSplash& s = splash();
    s.AddStatLine(QStringLiteral("first"));
    EXPECT_EQ(logLines().size(), 3) << "only the head lines";
    s.AddStatLine(QStringLiteral("second"));
    s.AddStatLine(QString());
    s.AddStatLine(QStringLiteral("   third"));
    EXPECT_EQ(s.txtStatus.Text(), QStringLiteral("first\r\nsecond\r\n\r\n   third"))
        << "never ends in a break";
    EXPECT_EQ(logBody(), (QStringList{"second", "", "   third"}));
}

TEST_F(Splash, LoadingShowsTitleAndVersionAndLoadsTheMainWindowHidden)
{
    frmSplash& s = splash();
    EXPECT_EQ(s.lblAppTitle.Caption(), QStringLiteral("ZR4470 Evaluation Software"));
    EXPECT_EQ(s.lblVersion.Caption(), QStringLiteral("Version 1.0.0"));
    ASSERT_NE(ui::loadedForm<mdiMain>(), nullptr);
    EXPECT_FALSE(ui::loadedForm<mdiMain>()->Visible());
    EXPECT_EQ(s.ownerForm(), ui::loadedForm<mdiMain>());
    const QStringList log = logLines();
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log[0], QStringLiteral("ZR4470 Evaluation Software Startup Log File"));
    EXPECT_EQ(log[2], QString());
}

TEST_F(Splash, CreatedLineHoldsDateAndTimeInShortFormats)
{
    const QLocale locale;
    EXPECT_EQ(StartupLog::createdLine(QDate(2026, 3, 4), QTime(9, 5, 7)),
              QStringLiteral("Created: ") + locale.toString(QDate(2026, 3, 4), QLocale::ShortFormat) +
                  QStringLiteral("  ") + locale.toString(QTime(9, 5, 7), QLocale::ShortFormat));
}

TEST_F(Splash, TheLogIsRewrittenAtEachStart)
{
    splash().AddStatLine(QStringLiteral("a"));
    splash().AddStatLine(QStringLiteral("old line"));
    splash().Unload();
    ui::Forms::destroyUnloaded();
    frmSplash& again = splash();
    again.AddStatLine(QStringLiteral("b"));
    EXPECT_EQ(logLines().size(), 3);
}

TEST_F(Splash, ClosingCompletesTheLogAndClosesOnlyIt)
{
    QFile other(QDir(os::programFolder()).filePath(QStringLiteral("other.txt")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    splash().AddStatLine(QStringLiteral("a"));
    splash().AddStatLine(QStringLiteral("b"));
    splash().Unload_Nice();
    EXPECT_FALSE(splashLoaded());
    EXPECT_EQ(logBody(), QStringList{"b"});
    EXPECT_TRUE(other.isOpen()) << "a file of another part of the program stays open";
    EXPECT_EQ(other.write("x", 1), 1);
}

TEST_F(Splash, CleanStartClosesAtTheSecondTickNotTheFirst)
{
    plug(0);
    ASSERT_TRUE(runMain());
    frmSplash* s = ui::loadedForm<frmSplash>();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(ui::Forms::activeForm(), s) << "start-up gives the splash the focus";
    tick();
    ASSERT_TRUE(splashLoaded());
    EXPECT_EQ(s->greenTicks(), 1);
    tick();
    EXPECT_FALSE(splashLoaded());
    EXPECT_EQ(logBody(), oneBoardLines().mid(1)) << "the log is complete";
    tick();
    EXPECT_FALSE(splashLoaded()) << "nothing brings it back";
}

TEST_F(Splash, ErrorKeepsItOpenUntilAnotherWindowIsActivated)
{
    ASSERT_TRUE(runMain()); // no board: red text
    desktopCatchesUp();
    ASSERT_EQ(splashColour(), kRed);
    for (int k = 0; k < 6; ++k)
        tick();
    ASSERT_TRUE(splashLoaded());
    EXPECT_EQ(ui::loadedForm<frmSplash>()->greenTicks(), 0);
    userClicks(mainWindow());
    tick();
    EXPECT_FALSE(splashLoaded());
}

TEST_F(Splash, ErrorStaysWhileAWindowManagerActivatesTheMainWindowOnItsOwn)
{
    ASSERT_TRUE(runMain()); // no board: red text
    desktopCatchesUp();
    // A window manager hands the focus back and forth while it maps the windows of start-up: the main
    // window, the splash above it, the main window again; no key or button is pressed.
    for (int k = 0; k < 3; ++k) {
        windowSystemActivates(mainWindow());
        tick();
        windowSystemActivates(ui::form<frmSplash>());
        windowSystemActivates(mainWindow());
        tick();
    }
    ASSERT_TRUE(splashLoaded()) << "the red lines stay until the user turns away from them";
    userClicks(mainWindow());
    tick();
    EXPECT_FALSE(splashLoaded()) << "a click into the main window closes it";
}

TEST_F(Splash, ErrorStaysWhenTheMainWindowsOwnActivationArrivesLate)
{
    ASSERT_TRUE(runMain()); // no board: red text
    mainWindowActivatedAfterTheSplash();
    for (int k = 0; k < 6; ++k)
        tick();
    ASSERT_TRUE(splashLoaded()) << "the main window's own activation is not the user's";
    // The user turns to another program and comes back to the main window.
    const ui::Form* active = ui::Forms::activeForm();
    QApplication::setActiveWindow(nullptr);
    userClicks(mainWindow());
    ASSERT_EQ(ui::Forms::activeForm(), active);
    tick();
    EXPECT_FALSE(splashLoaded()) << "the user activated the main window";
}

TEST_F(Splash, CleanStartClosesAtTheSecondTickWhenTheMainWindowsActivationArrivesLate)
{
    plug(0);
    ASSERT_TRUE(runMain());
    mainWindowActivatedAfterTheSplash();
    tick();
    ASSERT_TRUE(splashLoaded());
    EXPECT_EQ(ui::loadedForm<frmSplash>()->greenTicks(), 1);
    tick();
    EXPECT_FALSE(splashLoaded());
}

TEST_F(Splash, ErrorKeepsItOpenWhileNoWindowIsActive)
{
    ASSERT_TRUE(runMain()); // no board: red text
    desktopCatchesUp();
    // The focus goes to nowhere, as on a desktop without a window manager: the window that had it goes
    // and nothing is active in its place; the desktop reports that the program lost the focus.
    ui::Form passing(QStringLiteral("frmPassing"));
    passing.Show();
    passing.Unload();
    ASSERT_EQ(ui::Forms::activeForm(), nullptr);
    QApplication::setActiveWindow(nullptr);
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(ui::loadedForm<frmSplash>()->widget(), &deactivate);
    for (int k = 0; k < 4; ++k)
        tick();
    EXPECT_TRUE(splashLoaded()) << "no active window is not another window being active";
    userClicks(mainWindow());
    tick();
    EXPECT_FALSE(splashLoaded());
}

TEST_F(Splash, NotArmedBeforeStartUpEnds)
{
    splash().AddStatLine(QStringLiteral("x"));
    for (int k = 0; k < 4; ++k)
        tick();
    EXPECT_TRUE(splashLoaded());
}

TEST_F(Splash, UserClosesItByClickOrKey)
{
    const auto byLabelClick = [](frmSplash& s) { sendClick(s.lblVersion.widget()); };
    const auto bySkinClick = [](frmSplash& s) { sendClick(s.imgSkin.widget()); };
    const auto byKey = [](frmSplash& s) { sendKey(s.widget(), Qt::Key_Space); };
    using Closer = std::function<void(frmSplash&)>;
    for (const Closer& close : {Closer(byLabelClick), Closer(bySkinClick), Closer(byKey)}) {
        frmSplash& s = splash();
        s.Show();
        s.SetStatusTextColor(kRed);
        close(s);
        EXPECT_FALSE(splashLoaded());
        ui::Forms::destroyUnloaded();
    }
}

TEST_F(Splash, ClicksOnTheStatusTextDoNotCloseIt)
{
    frmSplash& s = splash();
    s.Show();
    sendClick(s.txtStatus.widget());
    EXPECT_TRUE(splashLoaded());
}

TEST_F(Splash, FurtherCloseRequestsAreIgnoredOnceClosingBegan)
{
    plug(0);
    ASSERT_TRUE(runMain());
    frmSplash* s = ui::loadedForm<frmSplash>();
    desktopCatchesUp();
    userClicks(mainWindow());
    int requestsDuringAnimation = 0;
    // A click arrives while the closing animation (started by the tick at 500 ms) lets events run.
    ui::VirtualClock& clock = ui::testing::clock();
    ui::VirtualClock::TimerId click = 0;
    click = clock.startTimer(502, [&] {
        clock.stopTimer(click);
        ++requestsDuringAnimation;
        EXPECT_TRUE(s->closing());
        s->imgSkin.Click();
        EXPECT_TRUE(s->IsLoaded()) << "the animation finishes first";
    });
    tick();
    clock.advance(100);
    EXPECT_EQ(requestsDuringAnimation, 1);
    EXPECT_FALSE(splashLoaded());
}

TEST_F(Splash, ClosingAnimationSteps)
{
    const std::vector<QPolygon> steps = splashClosingSteps(460, 300);
    // Height: counter 0..130 step 20 gives 7 steps; width: 0..210 gives 11.
    ASSERT_EQ(steps.size(), 18u);
    EXPECT_EQ(steps[0], QPolygon({QPoint(0, 20), QPoint(460, 20), QPoint(460, 280), QPoint(0, 280)}));
    EXPECT_EQ(steps[6], QPolygon({QPoint(0, 140), QPoint(460, 140), QPoint(460, 160), QPoint(0, 160)}));
    EXPECT_EQ(steps[7], QPolygon({QPoint(20, 140), QPoint(440, 140), QPoint(440, 160), QPoint(20, 160)}));
    EXPECT_EQ(steps[17], QPolygon({QPoint(220, 140), QPoint(240, 140), QPoint(240, 160), QPoint(220, 160)}));
    EXPECT_TRUE(splashClosingSteps(30, 30).empty()) << "too small to animate";
    EXPECT_EQ(splashClosingSteps(40, 100).size(), 3u)
        << "counters 0 and 20 over the height, 0 over the width";
}

TEST_F(Splash, AddLineAndClearStatusOnTheirBoxes)
{
    frmSplash& s = splash();
    ui::TextBox& box = s.txtStatus;
    frmSplash::AddLine(box, QStringLiteral("one"));
    frmSplash::AddLine(box, QStringLiteral("two"));
    EXPECT_EQ(box.Text(), QStringLiteral("one\r\ntwo"));
    EXPECT_EQ(logLines().size(), 3) << "AddLine does not log";
    s.ClearStatus();
    EXPECT_EQ(box.Text(), QStringLiteral("one\r\ntwo\r\n\r\n\r\n\r\n\r\n\r\n"));
}

} // namespace
