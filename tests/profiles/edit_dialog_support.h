#pragma once

// Driving the edit dialogs as a user does: a caller's window with a value box, the dialog answered through
// the modal hook, keys typed through the boxes' key filters.

#include "platform/ui/controls_button.h"
#include "platform/ui/controls_textbox.h"
#include "platform/ui/form.h"
#include "platform/ui/forms.h"
#include "platform/ui/test_doubles.h"

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>
#include <functional>

#include <gtest/gtest.h>

namespace edit_dialog_test {

// The window a dialog is opened from: one value box, as a profile field.
class CallerForm : public ui::Form {
public:
    CallerForm() : Form(QStringLiteral("frmCaller")) {}
    ui::TextBox txtField{this, QStringLiteral("txtField")};
};

// A test with the caller's window and its value box.
class CallerTest : public ::testing::Test {
protected:
    CallerForm caller;
    ui::TextBox& field = caller.txtField;
};

// Makes the dialog the active window, so that focus moves run the classic focus events.
inline void activate(ui::Form& form)
{
    QApplication::setActiveWindow(form.frameWidget()->window());
}

// Lets `answer` work in the next modal showing of `Dialog` (it presses OK or Cancel), the dialog active.
template <typename Dialog> void answerDialog(std::function<void(Dialog&)> answer)
{
    ui::testing::onModal<Dialog>([answer = std::move(answer)](Dialog& dialog) {
        activate(dialog);
        answer(dialog);
    });
}

// Presses a button as the user does: the focus first (leaving a view runs its entry), then the click.
inline void press(ui::CommandButton& button)
{
    button.SetFocus();
    button.click();
}

// Types `keys` into the box one key at a time ("\r" is Enter, "\b" Backspace), through its KeyPress.
inline void typeInto(ui::TextBox& box, const QString& keys)
{
    QWidget* target = box.widget();
    for (QChar c : keys) {
        int key = c.toUpper().unicode();
        if (c == QLatin1Char('\r'))
            key = Qt::Key_Return;
        else if (c == QLatin1Char('\b'))
            key = Qt::Key_Backspace;
        const QString text = c == QLatin1Char('\b') ? QString() : QString(c);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &release);
    }
}

// Gives the box the focus as a click does. Leaving the frequency or angle view sends the focus to OK
// (its entry step does), so a second click may be needed, as for the user.
inline void clickInto(ui::TextBox& box)
{
    box.SetFocus();
    if (!box.hasFocus())
        box.SetFocus();
}

// Puts the caret into the box with its whole text selected, then types.
inline void retype(ui::TextBox& box, const QString& keys)
{
    clickInto(box);
    box.setSelStart(0);
    box.setSelLength(static_cast<int>(box.Text().size()));
    typeInto(box, keys);
}

// Text that arrives without passing the key filters (pasted): the box's text replaced as an edit.
inline void paste(ui::TextBox& box, const QString& text)
{
    clickInto(box);
    box.setSelStart(0);
    box.setSelLength(static_cast<int>(box.Text().size()));
    box.setSelText(text);
}

} // namespace edit_dialog_test
