#include "controls_test_support.h"

#include "platform/ui/controls_button.h"
#include "platform/ui/controls_frame.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using controls_test::HostForm;
using controls_test::showActive;
using controls_test::userClick;
using controls_test::userClickBox;

namespace {

TEST(CommandButton, UserClickSpaceAndEnterEachFireClickOnce)
{
    HostForm form;
    ui::CommandButton cmdLoad(&form, QStringLiteral("cmdLoad"));
    cmdLoad.setCaption(QStringLiteral("LOAD"));
    showActive(form);
    int clicks = 0;
    cmdLoad.Click = [&] { ++clicks; };
    userClick(cmdLoad.widget());
    EXPECT_EQ(clicks, 1);
    QTest::keyClick(cmdLoad.widget(), Qt::Key_Space);
    EXPECT_EQ(clicks, 2);
    QTest::keyClick(cmdLoad.widget(), Qt::Key_Return);
    EXPECT_EQ(clicks, 3);
}

TEST(CommandButton, PressHelperRespectsEnabledAndVisible)
{
    HostForm form;
    ui::CommandButton cmdOK(&form, QStringLiteral("cmdOK"));
    int clicks = 0;
    cmdOK.Click = [&] { ++clicks; };
    EXPECT_TRUE(cmdOK.click());
    cmdOK.setEnabled(false);
    EXPECT_FALSE(cmdOK.click());
    cmdOK.setEnabled(true);
    cmdOK.setVisible(false);
    EXPECT_FALSE(cmdOK.click());
    EXPECT_EQ(clicks, 1);
}

TEST(CommandButton, OnlyOneDefaultAndOneCancelPerForm)
{
    HostForm form;
    ui::CommandButton cmdA(&form, QStringLiteral("cmdA"));
    ui::CommandButton cmdB(&form, QStringLiteral("cmdB"));
    cmdA.setDefault(true);
    cmdB.setDefault(true);
    cmdA.setCancel(true);
    EXPECT_FALSE(cmdA.Default());
    EXPECT_TRUE(cmdB.Default());
    EXPECT_TRUE(cmdA.Cancel());
    EXPECT_FALSE(cmdB.Cancel());
}

struct CheckCase {
    const char* name;
    int start;
    int set;
    int expectedValue;
    int expectedClicks;
    Qt::CheckState shown;
};

class CheckBoxValue : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckBoxValue, SettingValueFiresClickOnlyWhenItChanges)
{
    const CheckCase& c = GetParam();
    HostForm form;
    ui::CheckBox chk(&form, QStringLiteral("chkEnableRAM"));
    chk.setValue(c.start);
    int clicks = 0;
    chk.Click = [&] { ++clicks; };
    chk.setValue(c.set);
    EXPECT_EQ(chk.Value(), c.expectedValue);
    EXPECT_EQ(clicks, c.expectedClicks);
    EXPECT_EQ(static_cast<QCheckBox*>(chk.widget())->checkState(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckBoxValue,
                         ::testing::Values(CheckCase{"OffToOn", 0, 1, 1, 1, Qt::Checked},
                                           CheckCase{"OnToOn", 1, 1, 1, 0, Qt::Checked},
                                           CheckCase{"OnToOff", 1, 0, 0, 1, Qt::Unchecked},
                                           CheckCase{"OffToGrayed", 0, 2, 2, 1, Qt::PartiallyChecked},
                                           CheckCase{"OutOfRangeRefused", 1, 5, 1, 0, Qt::Checked}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckBoxUser, ClicksToggleAndFireOnceGrayedBecomesChecked)
{
    HostForm form;
    ui::CheckBox chk(&form, QStringLiteral("chkAutoIOUd"));
    chk.setValue(2);
    showActive(form);
    std::vector<int> seen;
    chk.Click = [&] { seen.push_back(chk.Value()); };
    userClickBox(chk.widget());
    userClickBox(chk.widget());
    QTest::keyClick(chk.widget(), Qt::Key_Space);
    EXPECT_EQ(seen, (std::vector<int>{1, 0, 1}));
}

TEST(CheckBoxUser, HandlerThatResetsTheValueIsNotCalledTwice)
{
    HostForm form;
    ui::CheckBox chk(&form, QStringLiteral("chkOnce"));
    showActive(form);
    int clicks = 0;
    chk.Click = [&] {
        ++clicks;
        chk.setValue(0); // refuses the change: one more Click, for the change back
    };
    userClickBox(chk.widget());
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(chk.Value(), 0);
    EXPECT_EQ(static_cast<QCheckBox*>(chk.widget())->checkState(), Qt::Unchecked);
}

// Two frames of two option buttons each, as the I/O window has them.
struct OptionForm : HostForm {
    ui::Frame fraSerialIOMode{this, QStringLiteral("fraSerialIOMode")};
    ui::Frame fraDataFormat{this, QStringLiteral("fraDataFormat")};
    ui::OptionButton opt2Wire{this, QStringLiteral("opt2Wire3Wire"), 0};
    ui::OptionButton opt3Wire{this, QStringLiteral("opt2Wire3Wire"), 1};
    ui::OptionButton optMSB{this, QStringLiteral("optMSBLSB"), 0};
    ui::OptionButton optLSB{this, QStringLiteral("optMSBLSB"), 1};

protected:
    void buildUi(QWidget* window) override
    {
        auto* layout = new QVBoxLayout(window);
        layout->addWidget(fraSerialIOMode.widget());
        layout->addWidget(fraDataFormat.widget());
        auto* first = new QVBoxLayout(fraSerialIOMode.container());
        first->addWidget(opt2Wire.widget());
        first->addWidget(opt3Wire.widget());
        auto* second = new QVBoxLayout(fraDataFormat.container());
        second->addWidget(optMSB.widget());
        second->addWidget(optLSB.widget());
    }
};

TEST(OptionButton, TurningOneOnTurnsItsFrameSiblingsOffSilently)
{
    OptionForm form;
    form.Load();
    form.opt2Wire.setValue(true);
    form.optLSB.setValue(true);
    QStringList clicks;
    form.opt2Wire.Click = [&] { clicks << QStringLiteral("2wire"); };
    form.opt3Wire.Click = [&] { clicks << QStringLiteral("3wire"); };
    form.optMSB.Click = [&] { clicks << QStringLiteral("msb"); };

    form.opt3Wire.setValue(true);
    EXPECT_FALSE(form.opt2Wire.Value());
    EXPECT_TRUE(form.opt3Wire.Value());
    EXPECT_TRUE(form.optLSB.Value()) << "the other frame is another group";
    EXPECT_FALSE(static_cast<QRadioButton*>(form.opt2Wire.widget())->isChecked());
    EXPECT_EQ(clicks, QStringList{QStringLiteral("3wire")});
}

TEST(OptionButton, SettingTrueFiresClickEvenWhenAlreadyOn)
{
    OptionForm form;
    form.Load();
    int clicks = 0;
    form.optMSB.Click = [&] { ++clicks; };
    form.optMSB.setValue(true);
    form.optMSB.setValue(true);
    EXPECT_EQ(clicks, 2);
    form.optMSB.setValue(false);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(form.optMSB.Value());
}

TEST(OptionButton, UserClickFiresOnlyWhenTurningOn)
{
    OptionForm form;
    showActive(form);
    form.opt2Wire.setValue(true);
    QStringList clicks;
    form.opt2Wire.Click = [&] { clicks << QStringLiteral("2wire"); };
    form.opt3Wire.Click = [&] { clicks << QStringLiteral("3wire"); };
    userClickBox(form.opt3Wire.widget());
    userClickBox(form.opt3Wire.widget()); // already on: stays on, no Click
    EXPECT_TRUE(form.opt3Wire.Value());
    EXPECT_FALSE(form.opt2Wire.Value());
    EXPECT_TRUE(static_cast<QRadioButton*>(form.opt3Wire.widget())->isChecked());
    EXPECT_EQ(clicks, QStringList{QStringLiteral("3wire")});
    userClickBox(form.opt2Wire.widget());
    EXPECT_EQ(clicks, (QStringList{QStringLiteral("3wire"), QStringLiteral("2wire")}));
    EXPECT_FALSE(form.opt3Wire.Value());
}

} // namespace
