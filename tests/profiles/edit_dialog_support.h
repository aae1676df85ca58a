#pragma once

// Driving the edit dialogs as a user does: a caller's window with a value box, the dialog answered through
// the modal hook, keys typed through the boxes' key filters.

#include "platform/ui/controls_button.h"
#include "platform/ui/controls_textbox.h"
#include "platform/ui/form.h"
#include "platform/ui/forms.h"
#include "platform/ui/test_doubles.h"

#include "common/user_input.h"

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
    regtest::type(box, keys);
}

using regtest::clickInto;
using regtest::paste;
using regtest::retype;

} // namespace edit_dialog_test
