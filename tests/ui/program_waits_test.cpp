// What the program's waits tell the one listener below the window layer (the board driver, through app/):
// each wait of the event loop for the user, and the begin and end of the events an action lets run; a loop
// waiting inside an action's events is no wait for the user.

#include "platform/ui/app.h"

#include <QEventLoop>
#include <QStringList>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Runs a loop until it is about to wait, then ends it.
void runALoopUntilItWaits()
{
    QEventLoop loop;
    QTimer wake;
    wake.setSingleShot(true);
    QObject::connect(&wake, &QTimer::timeout, &loop, &QEventLoop::quit);
    wake.start(0);
    loop.exec();
}

class ProgramWaits : public ::testing::Test {
protected:
    ProgramWaits()
    {
        ui::setProgramWaitListener({[this] { heard << QStringLiteral("user"); },
                                    [this] { heard << QStringLiteral("begin"); },
                                    [this] { heard << QStringLiteral("end"); }});
    }
    ~ProgramWaits() override { ui::setProgramWaitListener({}); }

    QStringList heard;
};

} // namespace

TEST_F(ProgramWaits, TheListenerHearsTheWaitsForTheUserAndTheEventsOfActionsButNoWaitInsideThem)
{
    runALoopUntilItWaits();
    EXPECT_TRUE(heard.contains(QStringLiteral("user"))) << "the loop waits for the user";
    EXPECT_FALSE(heard.contains(QStringLiteral("begin")));

    // An action lets events run; what runs in them waits in a loop of its own.
    heard.clear();
    QTimer::singleShot(0, [] { runALoopUntilItWaits(); });
    ui::DoEvents();
    ASSERT_FALSE(heard.isEmpty());
    EXPECT_EQ(heard.first(), QStringLiteral("begin"));
    EXPECT_EQ(heard.last(), QStringLiteral("end"));
    EXPECT_EQ(heard.count(QStringLiteral("begin")), heard.count(QStringLiteral("end")));
    EXPECT_FALSE(heard.contains(QStringLiteral("user"))) << "a wait inside an action is not for the user";

    // Nobody listens any more.
    ui::setProgramWaitListener({});
    heard.clear();
    ui::DoEvents();
    runALoopUntilItWaits();
    EXPECT_TRUE(heard.isEmpty());
}
