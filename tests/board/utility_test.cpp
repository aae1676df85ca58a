#include "board/utility.h"
#include "boardui/window_utility.h"

#include "platform/os/os_test_doubles.h"
#include "platform/ui/app.h"
#include "platform/ui/controls_label.h"
#include "platform/ui/controls_textbox.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/test_doubles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// ---- waits ----------------------------------------------------------------------------------------------

// Counts the ticks of a virtual timer while a test runs.
class TickCounter {
public:
    explicit TickCounter(int intervalMs)
        : id_(ui::testing::clock().startTimer(intervalMs, [this] { ++ticks; }))
    {
    }
    ~TickCounter() { ui::testing::clock().stopTimer(id_); }
    int ticks = 0;

private:
    ui::VirtualClock::TimerId id_;
};

TEST(UtilityPause, WaitsOnTheClockAndKeepsTimersRunning)
{
    ui::VirtualClock& clock = ui::testing::clock();
    TickCounter timer(100);
    const int64_t start = clock.now();
    Pause(0.55);
    const int64_t waited = clock.now() - start;
    EXPECT_GE(waited, 550);
    EXPECT_LT(waited, 550 + 2 * ui::kDoEventsVirtualStepMs);
    EXPECT_EQ(timer.ticks, 5);
}

TEST(UtilityPause, WithoutYieldingNoTimerRuns)
{
    ui::VirtualClock& clock = ui::testing::clock();
    TickCounter timer(100);
    const int64_t start = clock.now();
    Pause(0.55, true);
    const int64_t waited = clock.now() - start;
    EXPECT_GE(waited, 550);
    EXPECT_LT(waited, 560);
    EXPECT_EQ(timer.ticks, 0);
}

TEST(UtilityPause, ShortAndZeroWaits)
{
    ui::VirtualClock& clock = ui::testing::clock();
    int64_t start = clock.now();
    Pause(0);
    EXPECT_EQ(clock.now() - start, ui::kDoEventsVirtualStepMs); // one turn
    start = clock.now();
    Pause(0.01);
    EXPECT_GE(clock.now() - start, 10);
    EXPECT_LE(clock.now() - start, 15);
}

TEST(UtilityPause, EndsWhenStartedShortlyBeforeMidnight)
{
    for (bool noYield : {false, true}) {
        ui::VirtualClock& clock = ui::testing::clock();
        clock.setTimeOfDay(23, 59, 59, 800);
        const int64_t start = clock.now();
        Pause(0.55, noYield);
        const int64_t waited = clock.now() - start;
        // The rest is measured from the new day's clock: at most the time to midnight longer.
        EXPECT_GE(waited, 550) << noYield;
        EXPECT_LE(waited, 200 + 550 + 2 * ui::kDoEventsVirtualStepMs) << noYield;
        EXPECT_LT(clock.timeOfDayMs(), 1000) << noYield;
    }
}

TEST(UtilityDoEventsN, ProcessesTheQueueNTimes)
{
    ui::VirtualClock& clock = ui::testing::clock();
    const int64_t start = clock.now();
    DoEventsN(3);
    EXPECT_EQ(clock.now() - start, 3 * ui::kDoEventsVirtualStepMs);
    DoEventsN(0);
    DoEventsN(-2);
    EXPECT_EQ(clock.now() - start, 3 * ui::kDoEventsVirtualStepMs);
}

// ---- windows --------------------------------------------------------------------------------------------

class PlainForm : public ui::Form {
public:
    static inline const QString FormName = QStringLiteral("frmUtilityPlain");
    PlainForm() : Form(FormName) {}
};

class ValueForm : public ui::Form {
public:
    static inline const QString FormName = QStringLiteral("frmUtilityValue");
    ValueForm() : Form(FormName) {}
    ui::TextBox txtValue{this, "txtValue"};
    ui::Label lblUnit{this, "lblUnit"};
};

TEST(UtilityForms, IsLoadedComparesExactlyAndLoadsNothing)
{
    EXPECT_FALSE(ui::Forms::isLoaded(PlainForm::FormName));
    EXPECT_FALSE(ui::Forms::isLoaded(PlainForm::FormName));
    ui::form<PlainForm>();
    EXPECT_TRUE(ui::Forms::isLoaded("frmUtilityPlain"));
    EXPECT_FALSE(ui::Forms::isLoaded("FRMUTILITYPLAIN"));
    EXPECT_FALSE(ui::Forms::isLoaded(""));
}

TEST(UtilityForms, TopMostAndCloseButtonKeepThePlace)
{
    PlainForm& form = ui::form<PlainForm>();
    form.Show();
    form.Move(40, 50, 300, 200);
    SetTopMost(form, true);
    QWidget* frame = form.frameWidget();
    EXPECT_TRUE(frame->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(form.Width(), 300);
    EXPECT_EQ(form.Height(), 200);
    SetTopMost(form, false);
    EXPECT_FALSE(form.frameWidget()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    DisableCloseButton(form);
    EXPECT_FALSE(form.frameWidget()->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(form.frameWidget()->isVisible());
}

TEST(UtilityForms, PlainWidgetTweaks)
{
    QWidget window;
    window.setGeometry(30, 30, 240, 120);
    window.show();
    SetTopMost(&window, true);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.size(), QSize(240, 120));
    DisableCloseButton(&window);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowTitleHint));
    EXPECT_TRUE(window.isVisible());
    SetTopMost(static_cast<QWidget*>(nullptr), true); // nothing to do, no crash
}

TEST(UtilitySplitValueUnit, SplitsAtTheFirstBlank)
{
    ValueForm& form = ui::form<ValueForm>();
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"4.700 mA", "4.700 ", "mA"},
        {"1.000 ", "1.000 ", ""},
        {"12 k Ohm", "12 ", "k Ohm"},
        {"12", "12", ""}, // no unit: the number stays in the value box
        {"", "", ""},
    };
    for (const auto& [text, value, unit] : cases) {
        form.lblUnit.setCaption("old");
        SplitValueUnit(text, form.txtValue, form.lblUnit);
        EXPECT_EQ(form.txtValue.Text(), value) << text;
        EXPECT_EQ(form.lblUnit.Caption(), unit) << text;
    }
}

// ---- files and paths ------------------------------------------------------------------------------------

TEST(UtilityFiles, FileAndFolderTests)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("setup.stp");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();

    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(QString(file).replace('/', '\\')));
    EXPECT_FALSE(FileExists(dir.path()));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(dir.filePath("*.stp")));
    EXPECT_FALSE(FileExists(dir.filePath("missing.stp")));

    EXPECT_TRUE(DirExists(dir.path()));
    EXPECT_TRUE(DirExists(dir.path() + "/"));
    EXPECT_FALSE(DirExists(file));
    EXPECT_FALSE(DirExists(""));
    EXPECT_FALSE(DirExists(dir.filePath("nothing")));
}

TEST(UtilityFiles, PathSplitting)
{
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"C:\\Setups\\board.stp", "board.stp", "C:\\Setups\\"},
        {"/home/user/board.stp", "board.stp", "/home/user/"},
        {"Simulator\\main.exe", "main.exe", "Simulator\\"},
        {"plain.txt", "plain.txt", ""},
        {"folder\\", "", "folder\\"},
        {"", "", ""},
    };
    for (const auto& [path, name, folder] : cases) {
        EXPECT_EQ(GetFileNameFromPath(path), name) << path;
        EXPECT_EQ(GetPathFromFileName(path), folder) << path;
    }
}

TEST(UtilityFiles, ReverseString)
{
    EXPECT_EQ(ReverseString("abc"), "cba");
    EXPECT_EQ(ReverseString(""), "");
    EXPECT_EQ(ReverseString("10110"), "01101");
    // A character outside the basic plane stays whole.
    const QString clef = QString::fromUcs4(U"\U0001D11E");
    EXPECT_EQ(ReverseString("a" + clef + "b"), "b" + clef + "a");
}

// ---- shell open -----------------------------------------------------------------------------------------

TEST(UtilityShellOpen, BadShowIndexShowsItsMessage)
{
    ui::testing::ScriptedMessageBoxes& boxes = ui::testing::messageBoxes();
    os::testing::RecordingShellService& shell = os::testing::shellRecorder();
    const std::pair<int, const char*> cases[] = {
        {5, "ShellOpenEx(): Bad Argument"},
        {7, "ShellOpen: Bad Argument"},
        {-1, "ShellOpen: Bad Argument"},
    };
    for (const auto& [index, message] : cases) {
        boxes.reset();
        boxes.answer(ui::vbOK);
        EXPECT_FALSE(ShellOpenEx("readme.txt", "", "", index)) << index;
        ASSERT_EQ(boxes.shown.size(), 1u) << index;
        EXPECT_EQ(boxes.shown[0].prompt, message);
        EXPECT_EQ(boxes.shown[0].buttons, ui::vbCritical);
        EXPECT_EQ(boxes.shown[0].title, ui::applicationTitle());
    }
    EXPECT_TRUE(shell.requests.empty());
}

TEST(UtilityShellOpen, ShowIndexMapsToWindowState)
{
    os::testing::RecordingShellService& shell = os::testing::shellRecorder();
    const std::pair<int, int> cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 8}, {6, 7}};
    for (const auto& [index, showCommand] : cases) {
        shell.requests.clear();
        EXPECT_TRUE(ShellOpenEx("manual.pdf", "/tmp/docs", "-x", index));
        ASSERT_EQ(shell.requests.size(), 1u);
        EXPECT_EQ(shell.requests[0].showCommand, showCommand) << index;
        EXPECT_EQ(shell.requests[0].target, "manual.pdf");
        EXPECT_EQ(shell.requests[0].folder, "/tmp/docs");
        EXPECT_EQ(shell.requests[0].parameters, "-x");
    }
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
}

TEST(UtilityShellOpen, FailureIsReportedAsFailure)
{
    os::testing::shellRecorder().result = false;
    EXPECT_FALSE(ShellOpenEx("manual.pdf", "", "", 1));
}

} // namespace
