#include "controls_test_support.h"

#include "platform/os/os_test_doubles.h"
#include "platform/ui/controls_button.h"
#include "platform/ui/controls_textbox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

using controls_test::EventLog;
using controls_test::HostForm;
using controls_test::showActive;

namespace {

TEST(TextBoxChange, CodeFiresChangeOnlyWhenTheTextDiffers)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtValue"));
    int changes = 0;
    txt.Change = [&] { ++changes; };

    txt.setText(QStringLiteral("12.5"));
    txt.setText(QStringLiteral("12.5"));
    EXPECT_EQ(changes, 1);
    txt.setText(QString());
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(txt.Text(), QString());
}

TEST(TextBoxChange, EachUserEditFiresChangeOnce)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtValue"));
    showActive(form);
    QStringList seen;
    txt.Change = [&] { seen << txt.Text(); };

    QTest::keyClicks(txt.widget(), QStringLiteral("42"));
    QTest::keyClick(txt.widget(), Qt::Key_Backspace);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("4"), QStringLiteral("42"), QStringLiteral("4")}));
}

TEST(TextBoxChange, ChangeHandlerThatRewritesTheTextSeesEachStepOnce)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtValue"));
    showActive(form);
    QStringList seen;
    txt.Change = [&] {
        seen << txt.Text();
        if (txt.Text() == QStringLiteral("x"))
            txt.setText(QStringLiteral("X"));
    };
    QTest::keyClick(txt.widget(), Qt::Key_X);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("x"), QStringLiteral("X")}));
    EXPECT_EQ(static_cast<QLineEdit*>(txt.widget())->text(), QStringLiteral("X"));
}

struct KeyRewriteCase {
    const char* name;
    int rewriteFrom; // the KeyPress handler turns this code into `rewriteTo`
    int rewriteTo;
    QString typed;
    QString expected;
};

class TextBoxKeyPress : public ::testing::TestWithParam<KeyRewriteCase> {};

TEST_P(TextBoxKeyPress, HandlerRewritesOrDropsTheKeyBeforeTheBoxSeesIt)
{
    const KeyRewriteCase& c = GetParam();
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtValue"));
    showActive(form);
    txt.KeyPress = [&](int& key) {
        if (key == c.rewriteFrom)
            key = c.rewriteTo;
    };
    QTest::keyClicks(txt.widget(), c.typed);
    EXPECT_EQ(txt.Text(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBoxKeyPress,
    ::testing::Values(KeyRewriteCase{"DropLetter", 'e', 0, QStringLiteral("1e5"), QStringLiteral("15")},
                      KeyRewriteCase{"UpperCase", 'a', 'A', QStringLiteral("0xa"), QStringLiteral("0xA")},
                      KeyRewriteCase{"CommaToPoint", ',', '.', QStringLiteral("1,5"), QStringLiteral("1.5")},
                      KeyRewriteCase{"DigitToBackspace", '9', 8, QStringLiteral("129"), QStringLiteral("1")},
                      KeyRewriteCase{"Untouched", 'z', 0, QStringLiteral("abc"), QStringLiteral("abc")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextBoxKeyPressCodes, ControlKeysArriveWithTheirClassicCodes)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtValue"));
    showActive(form);
    std::vector<int> codes;
    txt.KeyPress = [&](int& key) { codes.push_back(key); };
    QTest::keyClick(txt.widget(), Qt::Key_A);
    QTest::keyClick(txt.widget(), Qt::Key_Backspace);
    QTest::keyClick(txt.widget(), Qt::Key_Return);
    QTest::keyClick(txt.widget(), Qt::Key_Escape);
    QTest::keyClick(txt.widget(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(txt.widget(), Qt::Key_Left); // moves the caret: no character, no KeyPress
    QTest::keyClick(txt.widget(), Qt::Key_Delete);
    EXPECT_EQ(codes, (std::vector<int>{'a', 8, 13, 27, 22}));
}

TEST(TextBoxKeyPressCodes, DroppedPasteKeyPastesNothing)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtValue"));
    showActive(form);
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    txt.KeyPress = [](int& key) {
        if (key == 22)
            key = 0;
    };
    QTest::keyClick(txt.widget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(txt.Text(), QString());
}

TEST(TextBoxEnter, SwallowedEnterRunsTheHandlerAndNothingElse)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtValue"));
    ui::CommandButton cmdOK(&form, QStringLiteral("cmdOK"));
    cmdOK.setDefault(true);
    showActive(form);
    int clicks = 0;
    int validations = 0;
    cmdOK.Click = [&] { ++clicks; };
    txt.KeyPress = [&](int& key) {
        if (key == 13) {
            ++validations;
            key = 0;
        }
    };
    QTest::keyClick(txt.widget(), Qt::Key_Return);
    EXPECT_EQ(validations, 1);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(os::testing::soundRecorder().played.isEmpty());
}

TEST(TextBoxEnter, EnterPressesTheDefaultButtonOrBeeps)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtValue"));
    ui::CommandButton cmdOK(&form, QStringLiteral("cmdOK"));
    showActive(form);
    int clicks = 0;
    cmdOK.Click = [&] { ++clicks; };

    QTest::keyClick(txt.widget(), Qt::Key_Return);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(os::testing::soundRecorder().played.size(), 1);

    cmdOK.setDefault(true);
    QTest::keyClick(txt.widget(), Qt::Key_Return);
    EXPECT_EQ(clicks, 1);

    cmdOK.setEnabled(false); // a disabled default button is not pressed
    QTest::keyClick(txt.widget(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicks, 1);
}

TEST(TextBoxEnter, EscapePressesTheCancelButton)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtValue"));
    ui::CommandButton cmdCancel(&form, QStringLiteral("cmdCancel"));
    cmdCancel.setCancel(true);
    showActive(form);
    int clicks = 0;
    cmdCancel.Click = [&] { ++clicks; };
    QTest::keyClick(txt.widget(), Qt::Key_Escape);
    EXPECT_EQ(clicks, 1);
}

TEST(TextBoxMaxLength, TypingStopsAtTheLimit)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtCCI"));
    txt.setMaxLength(2);
    showActive(form);
    int changes = 0;
    txt.Change = [&] { ++changes; };
    QTest::keyClicks(txt.widget(), QStringLiteral("1234"));
    EXPECT_EQ(txt.Text(), QStringLiteral("12"));
    EXPECT_EQ(changes, 2);
}

TEST(TextBoxMaxLength, TypingOverASelectionIsAllowedAtTheLimit)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtCCI"));
    txt.setMaxLength(2);
    txt.setText(QStringLiteral("12"));
    showActive(form);
    txt.setSelStart(0);
    txt.setSelLength(2);
    QTest::keyClick(txt.widget(), Qt::Key_7);
    EXPECT_EQ(txt.Text(), QStringLiteral("7"));
}

TEST(TextBoxMaxLength, PasteIsCutToTheRoomLeft)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtAddr"));
    txt.setMaxLength(4);
    txt.setText(QStringLiteral("12"));
    showActive(form);
    txt.setSelStart(1); // caret between 1 and 2
    int changes = 0;
    txt.Change = [&] { ++changes; };
    QGuiApplication::clipboard()->setText(QStringLiteral("abcdef"));
    QTest::keyClick(txt.widget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(txt.Text(), QStringLiteral("1ab2"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(txt.SelStart(), 3);
}

TEST(TextBoxMaxLength, CodeMaySetLongerTextAndLoweringTheLimitKeepsIt)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtOutFreq"));
    txt.setMaxLength(3);
    txt.setText(QStringLiteral("100.000000"));
    txt.setMaxLength(2);
    EXPECT_EQ(txt.Text(), QStringLiteral("100.000000"));
    showActive(form);
    txt.setSelStart(10);
    QTest::keyClick(txt.widget(), Qt::Key_5); // no room: refused
    EXPECT_EQ(txt.Text(), QStringLiteral("100.000000"));
    QTest::keyClick(txt.widget(), Qt::Key_Backspace); // deleting is always allowed
    EXPECT_EQ(txt.Text(), QStringLiteral("100.00000"));
}

TEST(TextBoxSelection, SelStartSelLengthAndSelTextWorkTogether)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtValue"));
    txt.setText(QStringLiteral("359.995"));
    EXPECT_EQ(txt.SelStart(), 0); // text set in code puts the caret in front
    txt.setSelStart(0);
    txt.setSelLength(static_cast<int>(txt.Text().size())); // select all
    EXPECT_EQ(txt.SelLength(), 7);
    EXPECT_EQ(txt.SelText(), QStringLiteral("359.995"));
    txt.setSelStart(4);
    txt.setSelLength(2);
    EXPECT_EQ(txt.SelText(), QStringLiteral("99"));
    int changes = 0;
    txt.Change = [&] { ++changes; };
    txt.setSelText(QStringLiteral("00"));
    EXPECT_EQ(txt.Text(), QStringLiteral("359.005"));
    EXPECT_EQ(changes, 1);
    txt.setSelStart(100); // beyond the end: at the end
    EXPECT_EQ(txt.SelStart(), 7);
    EXPECT_EQ(txt.SelLength(), 0);
}

TEST(TextBoxLocked, LockedBoxFiresKeyPressButKeepsItsText)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtReadOnly"));
    txt.setText(QStringLiteral("fixed"));
    txt.setLocked(true);
    showActive(form);
    int keys = 0;
    txt.KeyPress = [&](int&) { ++keys; };
    QTest::keyClicks(txt.widget(), QStringLiteral("ab"));
    EXPECT_EQ(keys, 2);
    EXPECT_EQ(txt.Text(), QStringLiteral("fixed"));
}

TEST(TextBoxMultiLine, LinesUseCrLfAndEnterStartsANewLine)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtStatus"), -1, true);
    txt.setText(QStringLiteral("Line 1\r\nLine 2"));
    EXPECT_EQ(static_cast<QPlainTextEdit*>(txt.widget())->toPlainText(), QStringLiteral("Line 1\nLine 2"));
    showActive(form);
    txt.setSelStart(static_cast<int>(txt.Text().size())); // the classic "scroll to the end"
    EXPECT_EQ(txt.SelStart(), 14);
    int changes = 0;
    txt.Change = [&] { ++changes; };
    QTest::keyClick(txt.widget(), Qt::Key_Return);
    QTest::keyClick(txt.widget(), Qt::Key_3);
    EXPECT_EQ(txt.Text(), QStringLiteral("Line 1\r\nLine 2\r\n3"));
    EXPECT_EQ(changes, 2);
}

TEST(TextBoxMultiLine, MaxLengthHoldsForTypingAndPasting)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtNotes"), -1, true);
    txt.setMaxLength(5);
    showActive(form);
    QTest::keyClicks(txt.widget(), QStringLiteral("abc"));
    QGuiApplication::clipboard()->setText(QStringLiteral("defgh"));
    QTest::keyClick(txt.widget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(txt.Text(), QStringLiteral("abcde"));
    QTest::keyClick(txt.widget(), Qt::Key_X);
    EXPECT_EQ(txt.Text(), QStringLiteral("abcde"));
}

TEST(TextBoxWidgetGone, PropertiesOutliveTheWindow)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtValue"));
    showActive(form);
    txt.setText(QStringLiteral("kept"));
    delete txt.widget(); // as when the window goes before the control
    EXPECT_EQ(txt.widget(), nullptr);
    int changes = 0;
    txt.Change = [&] { ++changes; };
    txt.setText(QStringLiteral("new"));
    EXPECT_EQ(txt.Text(), QStringLiteral("new"));
    EXPECT_EQ(changes, 1);
    txt.setVisible(false);
    txt.SetFocus();
    EXPECT_FALSE(txt.Visible());
}

} // namespace
