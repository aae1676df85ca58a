#include "controls_test_support.h"

#include "platform/ui/controls_button.h"
#include "platform/ui/controls_textbox.h"
#include "platform/ui/mdi_form.h"

#include <QLineEdit>

#include <gtest/gtest.h>

using controls_test::EventLog;
using controls_test::HostForm;
using controls_test::showActive;
using controls_test::userClick;

namespace {

// Two boxes and a button, every focus event logged.
struct FocusForm {
    HostForm form;
    ui::TextBox txtA{&form, QStringLiteral("txtA")};
    ui::TextBox txtB{&form, QStringLiteral("txtB")};
    ui::CommandButton cmdGo{&form, QStringLiteral("cmdGo")};
    EventLog log;
    bool cancelA = false;

    FocusForm()
    {
        txtA.GotFocus = [this] { log.add(QStringLiteral("A.GotFocus")); };
        txtA.LostFocus = [this] { log.add(QStringLiteral("A.LostFocus")); };
        txtA.Validate = [this](bool& cancel) {
            log.add(QStringLiteral("A.Validate"));
            cancel = cancelA;
        };
        txtB.GotFocus = [this] { log.add(QStringLiteral("B.GotFocus")); };
        txtB.LostFocus = [this] { log.add(QStringLiteral("B.LostFocus")); };
        cmdGo.GotFocus = [this] { log.add(QStringLiteral("Go.GotFocus")); };
        cmdGo.Click = [this] { log.add(QStringLiteral("Go.Click")); };
        showActive(form);
        txtA.SetFocus();
        log.entries.clear();
    }
};

TEST(ControlFocus, TabRunsValidateThenLostFocusThenGotFocus)
{
    FocusForm f;
    ASSERT_TRUE(f.txtA.hasFocus());
    QTest::keyClick(f.txtA.widget(), Qt::Key_Tab);
    EXPECT_TRUE(f.txtB.hasFocus());
    EXPECT_EQ(f.log.joined(), QStringLiteral("A.Validate A.LostFocus B.GotFocus"));
}

TEST(ControlFocus, CancelKeepsTheFocusAndTheTargetSeesNothing)
{
    FocusForm f;
    f.cancelA = true;
    QTest::keyClick(f.txtA.widget(), Qt::Key_Tab);
    EXPECT_TRUE(f.txtA.hasFocus());
    f.txtB.SetFocus(); // code moving the focus is validated too
    EXPECT_TRUE(f.txtA.hasFocus());
    EXPECT_EQ(f.log.joined(), QStringLiteral("A.Validate A.Validate"));

    f.cancelA = false;
    f.txtB.SetFocus();
    EXPECT_TRUE(f.txtB.hasFocus());
    EXPECT_EQ(f.log.entries.mid(2).join(QLatin1Char(' ')),
              QStringLiteral("A.Validate A.LostFocus B.GotFocus"));
}

TEST(ControlFocus, CancelledMoveByMouseDoesNotClickTheButton)
{
    FocusForm f;
    f.cancelA = true;
    userClick(f.cmdGo.widget());
    EXPECT_TRUE(f.txtA.hasFocus());
    EXPECT_EQ(f.log.joined(), QStringLiteral("A.Validate"));

    f.cancelA = false;
    userClick(f.cmdGo.widget());
    EXPECT_EQ(f.log.entries.mid(1).join(QLatin1Char(' ')),
              QStringLiteral("A.Validate A.LostFocus Go.GotFocus Go.Click"));
}

TEST(ControlFocus, TargetWithoutCausesValidationSkipsValidate)
{
    FocusForm f;
    f.cancelA = true;
    f.cmdGo.setCausesValidation(false); // a Cancel button must work with a bad entry in the box
    userClick(f.cmdGo.widget());
    EXPECT_EQ(f.log.joined(), QStringLiteral("A.LostFocus Go.GotFocus Go.Click"));
}

TEST(ControlFocus, ValidateThatMovesTheFocusItselfWins)
{
    FocusForm f;
    f.txtA.Validate = [&f](bool&) {
        f.log.add(QStringLiteral("A.Validate"));
        f.cmdGo.SetFocus(); // "the Load button takes the focus" after a validation
    };
    QTest::keyClick(f.txtA.widget(), Qt::Key_Tab);
    EXPECT_TRUE(f.cmdGo.hasFocus());
    EXPECT_EQ(f.log.joined(), QStringLiteral("A.Validate A.LostFocus Go.GotFocus"));
}

TEST(ControlFocus, TabSkipsAControlWithoutTabStop)
{
    FocusForm f;
    f.txtB.setTabStop(false);
    QTest::keyClick(f.txtA.widget(), Qt::Key_Tab);
    EXPECT_TRUE(f.cmdGo.hasFocus());
    userClick(f.txtB.widget()); // a click still reaches it
    EXPECT_TRUE(f.txtB.hasFocus());
}

TEST(ControlFocus, ReturningToTheWindowFiresNothing)
{
    FocusForm f;
    HostForm other;
    ui::TextBox txtOther(&other, QStringLiteral("txtOther"));
    showActive(other);
    showActive(f.form);
    EXPECT_TRUE(f.txtA.hasFocus());
    EXPECT_TRUE(f.log.entries.isEmpty()) << f.log.joined().toStdString();
}

} // namespace

namespace {

// Two value boxes that select their whole text when they get the focus, as the value boxes of the chip's
// windows do.
struct SelectingForm {
    HostForm form;
    ui::TextBox txtFreq{&form, QStringLiteral("txtFreq")};
    ui::TextBox txtStep{&form, QStringLiteral("txtStep")};

    SelectingForm()
    {
        for (ui::TextBox* box : {&txtFreq, &txtStep}) {
            box->GotFocus = [box] {
                box->setSelStart(0);
                box->setSelLength(static_cast<int>(box->Text().size()));
            };
        }
        txtFreq.setText(QStringLiteral("0.00000605"));
        txtStep.setText(QStringLiteral("12"));
        showActive(form);
        txtStep.SetFocus();
    }
};

} // namespace

TEST(ControlFocus, AClickIntoABoxThatSelectsOnFocusKeepsItsWholeTextSelected)
{
    struct Case {
        const char* what;
        QPoint at; // where in the box the click lands (null: the middle)
    } cases[] = {{"middle", QPoint()}, {"left edge", QPoint(3, 8)}, {"far right", QPoint(-4, 8)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SelectingForm f;
        QWidget* box = f.txtFreq.widget();
        QPoint at = c.at;
        if (at.x() < 0)
            at.setX(box->width() + at.x());
        userClick(box, at);
        ASSERT_TRUE(f.txtFreq.hasFocus());
        EXPECT_EQ(f.txtFreq.SelStart(), 0);
        EXPECT_EQ(f.txtFreq.SelLength(), 10) << "the click does not put the caret under the mouse";
        QTest::keyClicks(box, QStringLiteral("600"));
        EXPECT_EQ(f.txtFreq.Text(), QStringLiteral("600")) << "typing replaces the value";
    }
}

TEST(ControlFocus, AClickIntoTheBoxThatHasTheFocusAlreadyPlacesTheCaret)
{
    SelectingForm f;
    QWidget* box = f.txtStep.widget();
    ASSERT_TRUE(f.txtStep.hasFocus());
    userClick(box, QPoint(box->width() - 3, box->height() / 2));
    EXPECT_EQ(f.txtStep.SelLength(), 0) << "a second click edits within the value";
    // Dragging across the box selects what the user drags over, not the whole text.
    userClick(f.txtFreq.widget());
    f.txtStep.SetFocus();
    QWidget* freq = f.txtFreq.widget();
    QTest::mousePress(freq, Qt::LeftButton, Qt::NoModifier, QPoint(3, freq->height() / 2));
    QMouseEvent drag(QEvent::MouseMove, QPointF(40, freq->height() / 2.0), freq->mapToGlobal(QPointF(40, 8)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(freq, &drag);
    QTest::mouseRelease(freq, Qt::LeftButton, Qt::NoModifier, QPoint(40, freq->height() / 2));
    EXPECT_GT(f.txtFreq.SelLength(), 0);
    EXPECT_LT(f.txtFreq.SelLength(), 10) << "the dragged part only";
}

namespace {

// A window with a value box that selects its whole text when it gets the focus; an MDI child of the frame
// that is loaded, or a window of its own.
class ValueWindow : public ui::Form {
public:
    ValueWindow(QString name, bool mdiChild) : Form(std::move(name))
    {
        setMdiChild(mdiChild);
        txtValue.GotFocus = [this] {
            txtValue.setSelStart(0);
            txtValue.setSelLength(static_cast<int>(txtValue.Text().size()));
        };
        txtValue.setText(QStringLiteral("900.00000"));
    }
    ui::TextBox txtValue{this, QStringLiteral("txtValue")};
};

// Two such windows, the first one's box with the focus and the second window active.
struct TwoValueWindows {
    explicit TwoValueWindows(bool mdi) : mdi(mdi)
    {
        if (mdi)
            showActive(frame);
        for (ValueWindow* window : {&first, &second}) {
            if (mdi)
                window->Show();
            else
                showActive(*window);
            window->txtValue.SetFocus();
        }
    }
    // The first window becomes the active one (the window system's answer to a click into it).
    void activateFirst() const
    {
        if (!mdi)
            QApplication::setActiveWindow(first.frameWidget()->window());
    }
    bool mdi;
    ui::MdiForm frame{QStringLiteral("frmValueFrame")};
    ValueWindow first{QStringLiteral("frmFirstValues"), mdi};
    ValueWindow second{QStringLiteral("frmSecondValues"), mdi};
};

} // namespace

// Coming back to a window by a click into its value box selects the box's whole text, as the click that
// moves the focus to it within the active window does, although the box kept its window's focus meanwhile:
// typing then replaces the value. A click after the user came back to the window another way edits within
// the value, as a click into the box that has the focus does.
TEST(ControlFocus, AClickThatBringsTheFocusBackFromAnotherWindowSelectsTheWholeText)
{
    struct Case {
        const char* what;
        bool mdi;
        bool cameBackBeforeTheClick;
        const char* typed;
    } cases[] = {{"an MDI child behind another", true, false, "700"},
                 {"a window the click activates", false, false, "700"},
                 {"a window the user came back to before the click", false, true, "907000.00000"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TwoValueWindows windows(c.mdi);
        ui::TextBox& box = windows.first.txtValue;
        ASSERT_FALSE(box.hasFocus());
        windows.activateFirst();
        auto* widget = qobject_cast<QLineEdit*>(box.widget());
        ASSERT_NE(widget, nullptr);
        QPoint at(0, widget->height() / 2); // between "90" and "0.00000"
        while (at.x() < widget->width() && widget->cursorPositionAt(at) != 2)
            at.rx()++;
        if (c.cameBackBeforeTheClick) {
            QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(widget, &move);
        }
        userClick(widget, at);
        ASSERT_TRUE(box.hasFocus());
        QTest::keyClicks(widget, QStringLiteral("700"));
        EXPECT_EQ(box.Text(), QString::fromLatin1(c.typed));
    }
}

// A selection the user made before leaving the window is not the click's that brings them back: a plain box
// puts the caret where the click is, a value box selects its whole text anew.
TEST(ControlFocus, AClickBackFromAnotherWindowPlacesTheCaretInAPlainBoxAndSelectsAValueBoxWhole)
{
    struct Case {
        const char* what;
        bool selectsOnFocus;
        const char* typed;
        const char* text;
    } cases[] = {{"a plain box", false, "7", "900.070000"}, {"a value box", true, "700", "700"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TwoValueWindows windows(false);
        ui::TextBox& box = windows.first.txtValue;
        if (!c.selectsOnFocus)
            box.GotFocus = [] {};
        // "90" of "900.00000" selected before the user went to the other window.
        box.setSelStart(0);
        box.setSelLength(2);
        windows.activateFirst();
        auto* widget = qobject_cast<QLineEdit*>(box.widget());
        ASSERT_NE(widget, nullptr);
        QPoint at(0, widget->height() / 2); // after "900.0"
        while (at.x() < widget->width() && widget->cursorPositionAt(at) != 5)
            at.rx()++;
        userClick(widget, at);
        ASSERT_TRUE(box.hasFocus());
        QTest::keyClicks(widget, QString::fromLatin1(c.typed));
        EXPECT_EQ(box.Text(), QString::fromLatin1(c.text));
    }
}
