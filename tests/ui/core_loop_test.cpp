#include "core_test_forms.h"

#include "platform/ui/app.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/test_doubles.h"
#include "platform/ui/timer.h"
#include "platform/ui/virtual_clock.h"

#include <QApplication>
#include <QCursor>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace coretest;

namespace {

class TimerForm : public JournalForm {
public:
    static inline const QString FormName = "frmTimers";
    TimerForm() : JournalForm(FormName)
    {
        tmrFast.Timer = [this] { ticks << "fast@" + QString::number(ui::clockMilliseconds() - start); };
        tmrSlow.Timer = [this] { ticks << "slow@" + QString::number(ui::clockMilliseconds() - start); };
    }
    ui::TimerControl tmrFast{this, "tmrFast", 100};
    ui::TimerControl tmrSlow{this, "tmrSlow", 250};
    ui::TimerControl tmrOff{this, "tmrOff", 0};
    QStringList ticks;
    int64_t start = ui::clockMilliseconds();
};

class DialogForm : public JournalForm {
public:
    static inline const QString FormName = "frmDialog";
    DialogForm() : JournalForm(FormName) {}
    int answer = 0;
};

class CoreLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::Forms::registerFactory(TimerForm::FormName, [] { return std::make_unique<TimerForm>(); });
        ui::Forms::registerFactory(DialogForm::FormName, [] { return std::make_unique<DialogForm>(); });
    }
};

} // namespace

TEST_F(CoreLoop, TimersFireInTimeOrderOnTheVirtualClock)
{
    TimerForm& form = ui::form<TimerForm>();
    form.start = ui::clockMilliseconds();
    ui::testing::clock().advance(520);
    EXPECT_EQ(form.ticks, QStringList({"fast@100", "fast@200", "slow@250", "fast@300", "fast@400", "fast@500",
                                       "slow@500"}));
}

TEST_F(CoreLoop, TimersRunOnlyWhileEnabledWithAnIntervalOnALoadedForm)
{
    TimerForm unloaded;
    ui::testing::clock().advance(1000);
    EXPECT_TRUE(unloaded.ticks.isEmpty());

    TimerForm& form = ui::form<TimerForm>();
    form.tmrSlow.setEnabled(false);
    form.tmrOff.Timer = [&form] { form.ticks << "off"; };
    ui::testing::clock().advance(150);
    form.tmrFast.setInterval(0);
    ui::testing::clock().advance(1000);
    EXPECT_EQ(form.ticks.size(), 1);
    EXPECT_FALSE(form.tmrFast.isRunning());

    // Setting the interval restarts the count from now.
    form.tmrFast.setInterval(100);
    form.start = ui::clockMilliseconds();
    ui::testing::clock().advance(99);
    EXPECT_EQ(form.ticks.size(), 1);
    ui::testing::clock().advance(1);
    EXPECT_EQ(form.ticks.last(), "fast@100");

    form.Unload();
    ui::testing::clock().advance(1000);
    EXPECT_EQ(form.ticks.size(), 2);
}

TEST_F(CoreLoop, WaitLoopOnTimerEndsWithoutRealWaiting)
{
    const double end = ui::Timer() + 0.55;
    int passes = 0;
    while (ui::Timer() < end)
        ui::DoEvents(), ++passes;
    EXPECT_NEAR(passes, 110, 1); // 5 ms of virtual time per DoEvents
    EXPECT_NEAR(ui::Timer(), 36000.55, 0.0051);
}

TEST_F(CoreLoop, ClockPassesMidnight)
{
    ui::testing::clock().setTimeOfDay(23, 59, 59, 990);
    EXPECT_NEAR(ui::Timer(), 86399.99, 1e-9);
    ui::DoEventsN(3);
    EXPECT_EQ(ui::clockMilliseconds(), 5);
}

TEST_F(CoreLoop, DoEventsRunsQueuedWorkAndMayBeReEntered)
{
    QStringList order;
    QTimer::singleShot(0, qApp, [&] {
        order << "outer";
        QTimer::singleShot(0, qApp, [&] { order << "inner"; });
        ui::DoEvents(); // re-entered from inside an event
        order << "outer done";
    });
    ui::DoEvents();
    EXPECT_EQ(order, QStringList({"outer", "inner", "outer done"}));
    ui::DoEventsN(0);
    ui::DoEventsN(-3);
}

TEST_F(CoreLoop, AWaitingTurnRunsWhatIsQueuedAndSleepsOnlyWhenNothingIs)
{
    // On the real clock: a turn with work queued runs it and returns without sleeping its limit (a turn
    // that slept would hold the test for the full minute).
    ui::installVirtualClock(nullptr);
    QStringList order;
    QTimer::singleShot(0, qApp, [&] { order << "queued"; });
    ui::DoEventsWaiting(60'000);
    ui::installVirtualClock(&ui::testing::clock());
    EXPECT_EQ(order, QStringList({"queued"}));
    // On the virtual clock a turn is a DoEvents: the clock moves one step and nothing sleeps.
    const int64_t before = ui::testing::clock().now();
    ui::DoEventsWaiting(60'000);
    EXPECT_EQ(ui::testing::clock().now() - before, ui::kDoEventsVirtualStepMs);
}

TEST_F(CoreLoop, TimerHandlerThatWaitsDoesNotReEnterItselfButLetsOthersRun)
{
    TimerForm& form = ui::form<TimerForm>();
    int depth = 0;
    int maxDepth = 0;
    int slowTicks = 0;
    form.tmrFast.Timer = [&] {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        const double end = ui::Timer() + 0.3;
        while (ui::Timer() < end)
            ui::DoEvents();
        --depth;
    };
    form.tmrSlow.Timer = [&] { ++slowTicks; };
    ui::testing::clock().advance(1000);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_GE(slowTicks, 4);
}

TEST_F(CoreLoop, ModalShowIsAnsweredByTheHook)
{
    ui::testing::onModal<DialogForm>([](DialogForm& dialog) {
        dialog.answer = 6;
        dialog.Hide();
    });
    const int64_t before = ui::clockMilliseconds();
    DialogForm& dialog = ui::form<DialogForm>();
    dialog.Show(1);
    EXPECT_EQ(dialog.answer, 6);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(dialog.IsShownModal());
    EXPECT_EQ(ui::clockMilliseconds(), before); // no nested loop ran
    EXPECT_EQ(ui::testing::modalShows(), QStringList({"frmDialog"}));
}

TEST_F(CoreLoop, ModalShowBlocksWhileTimersRunAndEndsWhenATimerUnloadsIt)
{
    TimerForm& timers = ui::form<TimerForm>();
    timers.tmrSlow.Timer = [] {
        if (DialogForm* dialog = ui::loadedForm<DialogForm>())
            dialog->Unload();
    };
    DialogForm& dialog = ui::form<DialogForm>();
    const int64_t before = ui::clockMilliseconds();
    dialog.Show(1);
    EXPECT_FALSE(ui::Forms::isLoaded("frmDialog"));
    EXPECT_EQ(ui::clockMilliseconds() - before, 250);
    EXPECT_EQ(timers.ticks.filter("fast").size(), 2); // other timers kept running
    EXPECT_TRUE(ui::testing::unansweredModals().isEmpty());
}

TEST_F(CoreLoop, UnansweredModalShowGivesUpAndIsReported)
{
    DialogForm& dialog = ui::form<DialogForm>();
    dialog.Show(1);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_EQ(ui::testing::unansweredModals(), QStringList({"frmDialog"}));
    ui::testing::resetTestDoubles(); // the unanswered show was this test's subject, not an oversight
}

TEST_F(CoreLoop, EndProcessThrowsTheTestExceptionFromNestedLoops)
{
    TimerForm& timers = ui::form<TimerForm>();
    timers.tmrSlow.Timer = [] { ui::EndProcess(3); };
    try {
        ui::form<DialogForm>().Show(1);
        FAIL() << "EndProcess did not end the wait";
    } catch (const ui::testing::ProcessEnded& ended) {
        EXPECT_EQ(ended.exitCode, 3);
    }
    EXPECT_EQ(ui::testing::endedWith(), 3);
}

TEST_F(CoreLoop, MessageBoxesAreRecordedAndAnsweredFromTheScript)
{
    ui::testing::allowUnscriptedMessageBoxes(
        "the default answers of unscripted boxes are this test's subject");
    ui::setApplicationTitle("ZR4470 Evaluation Software");
    auto& boxes = ui::testing::messageBoxes();
    boxes.answer(ui::vbNo);
    EXPECT_EQ(ui::MsgBox("Save?", ui::vbYesNo | ui::vbQuestion), ui::vbNo);
    EXPECT_EQ(ui::MsgBox("Done", ui::vbOKOnly, "Setup File Loaded"), ui::vbOK);
    EXPECT_EQ(ui::MsgBox("Again?", ui::vbYesNoCancel | ui::vbDefaultButton2), ui::vbNo);
    EXPECT_EQ(ui::MsgBox("Fail", ui::vbAbortRetryIgnore | ui::vbDefaultButton3, ""), ui::vbIgnore);

    ASSERT_EQ(boxes.shown.size(), 4u);
    EXPECT_EQ(boxes.shown[0].title, "ZR4470 Evaluation Software");
    EXPECT_EQ(boxes.shown[0].buttons, ui::vbYesNo | ui::vbQuestion);
    EXPECT_TRUE(boxes.shown[0].scripted);
    EXPECT_EQ(boxes.shown[1].title, "Setup File Loaded");
    EXPECT_FALSE(boxes.shown[1].scripted);
    EXPECT_EQ(boxes.shown[3].title, "");
    EXPECT_EQ(boxes.unscriptedCount(), 3);
    EXPECT_EQ(boxes.prompts(), QStringList({"Save?", "Done", "Again?", "Fail"}));
}

TEST_F(CoreLoop, DefaultButtonResultsFollowTheFlags)
{
    struct Case {
        int flags;
        int result;
    };
    for (const Case& c :
         {Case{ui::vbOKOnly, ui::vbOK}, Case{ui::vbOKCancel | ui::vbDefaultButton2, ui::vbCancel},
          Case{ui::vbRetryCancel, ui::vbRetry}, Case{ui::vbYesNo | ui::vbDefaultButton3, ui::vbNo},
          Case{ui::vbAbortRetryIgnore | ui::vbDefaultButton2, ui::vbRetry}})
        EXPECT_EQ(ui::defaultButtonResult(c.flags), c.result) << c.flags;
}

TEST_F(CoreLoop, ScreenMousePointerIsOneSettingNotAStack)
{
    ui::setScreenMousePointer(ui::vbHourglass);
    ui::setScreenMousePointer(ui::vbArrowHourglass);
    EXPECT_EQ(ui::ScreenMousePointer(), 13);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
    ui::setScreenMousePointer(0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ui::ScreenMousePointer(), 0);

    // Even overrides stacked by someone else go with a single 0.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ui::setScreenMousePointer(ui::vbHourglass);
    ui::setScreenMousePointer(ui::vbDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(CoreLoop, RealModalLoopRunsUntilTheFormHidesAndKeepsUnloadedFormsAlive)
{
    // The program's own path: no virtual clock, a nested Qt event loop.
    ui::installVirtualClock(nullptr);
    struct Restore {
        ~Restore() { ui::installVirtualClock(&ui::testing::clock()); }
    } restore;
    const int aliveBefore = JournalForm::alive();
    DialogForm& dialog = ui::form<DialogForm>();
    bool otherFormAliveInsideLoop = false;
    QTimer::singleShot(0, qApp, [&] {
        ui::form<TimerForm>().Unload();
        QTimer::singleShot(0, qApp, [&] {
            // Still nested in the modal loop: the unloaded form was not destroyed.
            otherFormAliveInsideLoop = JournalForm::alive() == aliveBefore + 2;
            dialog.Hide();
        });
    });
    dialog.Show(1);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_TRUE(dialog.IsLoaded());
    EXPECT_FALSE(dialog.IsShownModal());
    EXPECT_TRUE(otherFormAliveInsideLoop);
    EXPECT_EQ(dialog.widget()->windowModality(), Qt::NonModal);
}

TEST_F(CoreLoop, WhatATestDidNotPlanForIsNamed)
{
    auto& boxes = ui::testing::messageBoxes();
    ui::MsgBox("Error: Unable to set PortA value.", ui::vbOKOnly, "USB");
    boxes.expect("Save changes?", ui::vbNo);
    EXPECT_EQ(ui::MsgBox("Discard changes?", ui::vbYesNo, "Setup"), ui::vbNo);
    boxes.answer({ui::vbYes, ui::vbNo});
    ui::testing::dialogs().answerSave("/tmp/unused.stp");
    ui::testing::onModal("frmNeverShown", [](ui::Form&) { ADD_FAILURE() << "the form was not shown"; });
    EXPECT_EQ(
        ui::testing::unplannedEvents(),
        // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): the long texts are literals split over lines.
        (QStringList{"unexpected message box: title \"USB\", text \"Error: Unable to set PortA value.\" (no "
                     "answer was queued)",
                     "a message box said \"Discard changes?\" (title \"Setup\") where \"Save changes?\" was "
                     "expected",
                     "2 answer(s) queued for message boxes were not used",
                     "1 answer(s) queued for save file dialogs were not used",
                     "the onModal answer for frmNeverShown never ran: the form was not shown modally"}));
    // Taken as planned once used, and an unscripted box allowed for this test only.
    boxes.mismatches.clear();
    boxes.answers.clear();
    ui::testing::dialogs().save.answers.clear();
    ui::testing::onModal("frmNeverShown", [](ui::Form&) {});
    ui::testing::allowUnscriptedMessageBoxes("checked above");
    EXPECT_EQ(ui::testing::unplannedEvents(),
              QStringList{"the onModal answer for frmNeverShown never ran: the form was not shown modally"});
    ui::testing::resetTestDoubles();
    EXPECT_TRUE(ui::testing::unplannedEvents().isEmpty());
}

TEST_F(CoreLoop, AModalDialogHasAFixedBorderWithoutMinimiseOrMaximiseAndOpensCentred)
{
    QMainWindow main;
    main.setGeometry(100, 80, 900, 700);
    main.show();
    struct Seen {
        Qt::WindowFlags flags;
        QSize minimum, maximum, size;
        QPoint centre;
    } seen;
    ui::testing::onModal<DialogForm>([&seen](DialogForm& dialog) {
        QWidget* window = dialog.widget();
        seen = {window->windowFlags(), window->minimumSize(), window->maximumSize(), window->size(),
                window->frameGeometry().center()};
        dialog.Hide();
    });
    ui::form<DialogForm>().Show(1);
    EXPECT_EQ(seen.flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_FALSE(seen.flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(seen.flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(seen.flags.testFlag(Qt::WindowTitleHint));
    EXPECT_EQ(seen.minimum, seen.size) << "a border the user cannot drag";
    EXPECT_EQ(seen.maximum, seen.size);
    // Centred over the main window rather than in the screen's corner, over its menu.
    const QPoint mainCentre = main.frameGeometry().center();
    EXPECT_LE(std::abs(seen.centre.x() - mainCentre.x()), 2);
    EXPECT_LE(std::abs(seen.centre.y() - mainCentre.y()), 2);
}

TEST_F(CoreLoop, ARealMessageBoxIsWideEnoughForItsTitle)
{
    // A window manager cuts a caption wider than its window ("No F...ifed"): the box grows to its title.
    const char* titles[] = {"No file specifed", "Couldn't connect to the Web!!!",
                            "A much longer title than the one-word prompt below could ever need"};
    ui::setMessageBoxService(nullptr);
    for (const char* title : titles) {
        int shownWidth = -1;
        Qt::WindowFlags flags;
        QTimer::singleShot(0, [&shownWidth, &flags] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
                    shownWidth = box->width();
                    flags = box->windowFlags();
                    box->done(0);
                }
            }
        });
        ui::MsgBox(QStringLiteral("Ok"), ui::vbOKOnly, QString::fromLatin1(title));
        EXPECT_GE(shownWidth, ui::widthForCaption(QString::fromLatin1(title))) << title;
        // A dialog's frame: a title and the close box, nothing to minimise or maximise.
        EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog) << title;
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint)) << title;
        EXPECT_FALSE(flags.testAnyFlags(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint))
            << title;
    }
    ui::setMessageBoxService(&ui::testing::messageBoxes());

    QFont caption = QApplication::font();
    caption.setBold(true);
    const QString title = QStringLiteral("No file specifed");
    EXPECT_GT(ui::widthForCaption(title), QFontMetrics(caption).horizontalAdvance(title))
        << "room for the frame's buttons beside the caption";
    EXPECT_GT(ui::widthForCaption(title + title), ui::widthForCaption(title));
}
