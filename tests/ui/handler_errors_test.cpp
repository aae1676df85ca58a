// An error that leaves an event handler is shown in the classic error box where the event was dispatched;
// the program goes on.

#include "controls_test_support.h"

#include "platform/runtime/runtime_error.h"
#include "platform/ui/app.h"
#include "platform/ui/controls_button.h"
#include "platform/ui/test_doubles.h"
#include "platform/ui/timer.h"

#include <gtest/gtest.h>
#include <stdexcept>

using controls_test::HostForm;
using controls_test::showActive;
using controls_test::userClick;

namespace {

TEST(HandlerErrors, AnErrorInAHandlerIsShownWithNumberSourceAndDescriptionAndTheProgramGoesOn)
{
    HostForm form;
    ui::CommandButton cmdLoad(&form, QStringLiteral("cmdLoad"));
    ui::CommandButton cmdNext(&form, QStringLiteral("cmdNext"));
    showActive(form);
    ui::testing::messageBoxes().answer(ui::vbOK);
    cmdLoad.Click = [] { throw rt::RuntimeError(13, "Type mismatch", "frmControlsTest.cmdLoad_Click"); };
    int afterwards = 0;
    cmdNext.Click = [&] { ++afterwards; };

    userClick(cmdLoad.widget()); // through Qt's own dispatch: nothing may leave it
    userClick(cmdNext.widget());

    const auto& shown = ui::testing::messageBoxes().shown;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].prompt, "13 frmControlsTest.cmdLoad_Click Type mismatch");
    EXPECT_EQ(shown[0].buttons, ui::vbOKOnly | ui::vbCritical);
    EXPECT_EQ(afterwards, 1);
}

TEST(HandlerErrors, ErrorsOfTimersAndOtherExceptionsAreShownToo)
{
    HostForm form;
    ui::TimerControl tmrTick(&form, QStringLiteral("tmrTick"), 100);
    ui::CommandButton cmdArray(&form, QStringLiteral("cmdArray"));
    form.Load();
    int ticks = 0;
    tmrTick.Timer = [&] {
        if (++ticks == 1)
            throw std::runtime_error("port closed");
    };
    cmdArray.Click = [] { throw std::out_of_range("cmdArray(7)"); };
    ui::testing::messageBoxes().answer({ui::vbOK, ui::vbOK});

    while (ticks < 2)
        ui::DoEvents();            // the first tick's error does not stop the timer
    EXPECT_TRUE(cmdArray.click()); // an error fired from code ends in the handler, not in the caller

    EXPECT_EQ(ui::testing::messageBoxes().prompts(),
              (QStringList{"51  Internal error: port closed", "9  Subscript out of range: cmdArray(7)"}));
}

TEST(HandlerErrors, TheEndOfTheProgramPassesThrough)
{
    HostForm form;
    ui::CommandButton cmdExit(&form, QStringLiteral("cmdExit"));
    cmdExit.Click = [] { ui::EndProcess(0); };
    EXPECT_THROW(cmdExit.click(), ui::testing::ProcessEnded);
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
}

} // namespace
