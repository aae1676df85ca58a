#include "controls_test_support.h"

#include "platform/ui/controls_scrollbar.h"

#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <gtest/gtest.h>

using controls_test::HostForm;
using controls_test::showActive;

namespace {

// A spin button as the windows make it: limits 1 and -1, resting at 0, and a Change handler that steps
// something and puts the bar back to rest.
struct Spin {
    HostForm form;
    ui::ScrollBar vsc{&form, QStringLiteral("vscDACControl")};
    std::vector<int> changes;
    int steps = 0;

    Spin()
    {
        vsc.setMin(1);
        vsc.setMax(-1);
        vsc.setValue(0);
        vsc.Change = [this] {
            changes.push_back(vsc.Value());
            if (vsc.Value() == 0)
                return;
            steps += vsc.Value();
            vsc.setValue(0);
        };
        showActive(form);
    }

    QPoint arrow(QStyle::SubControl which) const
    {
        auto* bar = static_cast<QScrollBar*>(vsc.widget());
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = bar->orientation();
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        option.subControls = QStyle::SC_All;
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, which, bar).center();
    }
};

TEST(SpinButton, UpArrowGivesPlusOneThenRestsAtZero)
{
    Spin spin;
    QTest::mouseClick(spin.vsc.widget(), Qt::LeftButton, Qt::NoModifier,
                      spin.arrow(QStyle::SC_ScrollBarSubLine));
    EXPECT_EQ(spin.changes, (std::vector<int>{1, 0}));
    EXPECT_EQ(spin.steps, 1);
    EXPECT_EQ(spin.vsc.Value(), 0);
    EXPECT_EQ(static_cast<QScrollBar*>(spin.vsc.widget())->value(), 0);
}

TEST(SpinButton, DownArrowGivesMinusOne)
{
    Spin spin;
    QTest::mouseClick(spin.vsc.widget(), Qt::LeftButton, Qt::NoModifier,
                      spin.arrow(QStyle::SC_ScrollBarAddLine));
    QTest::mouseClick(spin.vsc.widget(), Qt::LeftButton, Qt::NoModifier,
                      spin.arrow(QStyle::SC_ScrollBarAddLine));
    EXPECT_EQ(spin.changes, (std::vector<int>{-1, 0, -1, 0}));
    EXPECT_EQ(spin.steps, -2);
}

TEST(SpinButton, UpAndDownKeysStepLikeTheArrows)
{
    Spin spin;
    QTest::keyClick(spin.vsc.widget(), Qt::Key_Up);
    QTest::keyClick(spin.vsc.widget(), Qt::Key_Down);
    QTest::keyClick(spin.vsc.widget(), Qt::Key_Down);
    EXPECT_EQ(spin.changes, (std::vector<int>{1, 0, -1, 0, -1, 0}));
    EXPECT_EQ(spin.steps, -1);
}

TEST(SpinButton, StepHelpersAreTheArrowPresses)
{
    Spin spin;
    EXPECT_TRUE(spin.vsc.stepUp());
    EXPECT_TRUE(spin.vsc.stepDown());
    EXPECT_EQ(spin.changes, (std::vector<int>{1, 0, -1, 0}));
    spin.vsc.setEnabled(false);
    EXPECT_FALSE(spin.vsc.stepUp());
}

TEST(SpinButton, LimitsInEitherOrderGiveTheSameDirection)
{
    HostForm form;
    ui::ScrollBar vsc(&form, QStringLiteral("vscMultiplier"));
    vsc.setMin(-1);
    vsc.setMax(1);
    EXPECT_TRUE(vsc.stepUp());
    EXPECT_EQ(vsc.Value(), 1);
    EXPECT_FALSE(vsc.stepUp()) << "already at the upper limit";
}

struct ValueCase {
    const char* name;
    int start;
    int set;
    int expected;
    int changes;
};

class ScrollBarValue : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ScrollBarValue, SettingValueFiresChangeWhenItDiffers)
{
    const ValueCase& c = GetParam();
    HostForm form;
    ui::ScrollBar vsc(&form, QStringLiteral("vscValue"));
    vsc.setMin(0);
    vsc.setMax(100);
    vsc.setValue(c.start);
    int changes = 0;
    vsc.Change = [&] { ++changes; };
    vsc.setValue(c.set);
    EXPECT_EQ(vsc.Value(), c.expected);
    EXPECT_EQ(changes, c.changes);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScrollBarValue,
                         ::testing::Values(ValueCase{"Differs", 10, 20, 20, 1},
                                           ValueCase{"Same", 10, 10, 10, 0},
                                           ValueCase{"AboveMaxClamped", 10, 500, 100, 1},
                                           ValueCase{"BelowMinClamped", 0, -5, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScrollBarRange, NarrowingTheLimitsMovesTheValueAndFiresChange)
{
    HostForm form;
    ui::ScrollBar hsc(&form, QStringLiteral("hscPosition"), -1, Qt::Horizontal);
    hsc.setMax(50);
    hsc.setValue(40);
    int changes = 0;
    hsc.Change = [&] { ++changes; };
    hsc.setMax(30);
    EXPECT_EQ(hsc.Value(), 30);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(static_cast<QScrollBar*>(hsc.widget())->value(), 30) << "a horizontal bar grows to the right";
}

} // namespace
