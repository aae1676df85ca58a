// When a modal window closes, the keyboard goes back to the window under it only while the program has the
// keyboard and no other window of the program has taken it.

#include "platform/ui/app.h"
#include "platform/ui/forms.h"
#include "platform/ui/modal_focus_return.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/test_doubles.h"

#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

namespace {

class ModalForm : public ui::Form {
public:
    static inline const QString FormName = QStringLiteral("frmModalFocusReturn");
    ModalForm() : Form(FormName) {}
};

void settle()
{
    for (int round = 0; round < 3; ++round)
        ui::DoEvents();
}

// The offscreen window system never gives the keyboard to another program: while one lives, it has.
class AnotherProgramActive {
public:
    AnotherProgramActive() { ui::detail::ModalFocusReturn::setProgramActiveOverride(false); }
    ~AnotherProgramActive() { ui::detail::ModalFocusReturn::setProgramActiveOverride(std::nullopt); }
    AnotherProgramActive(const AnotherProgramActive&) = delete;
    AnotherProgramActive& operator=(const AnotherProgramActive&) = delete;
};

std::string nameOf(const QWidget* window)
{
    return window ? window->windowTitle().toStdString() : "no window of the program";
}

struct Windows {
    QMainWindow main;
    QWidget other; // a window the modal window does not own
    Windows()
    {
        main.setWindowTitle(QStringLiteral("main"));
        other.setWindowTitle(QStringLiteral("other"));
        main.show();
        main.activateWindow();
        settle();
    }
};

// Shows the modal form over the main window; `whileShown` runs with the form active, `closing` with the
// form closed in the same handler, before any event runs.
void showAndClose(const std::function<void()>& whileShown, const std::function<void()>& closing)
{
    ui::testing::onModal<ModalForm>([&](ModalForm& form) {
        form.widget()->activateWindow();
        settle();
        ASSERT_EQ(QApplication::activeWindow(), form.widget());
        whileShown();
        form.Hide();
        closing();
    });
    ui::form<ModalForm>().Show(1);
    settle();
}

} // namespace

TEST(ModalFocusReturn, TheKeyboardStaysWhereTheUserOrTheProgramPutIt)
{
    struct Case {
        const char* what;
        std::function<void(Windows&, std::optional<AnotherProgramActive>&)> whileShown;
        std::function<void(Windows&)> closing;
        std::function<const QWidget*(Windows&)> keyboardWith;
    } cases[] = {
        {"nothing else happens: the window under it gets the keyboard back", [](auto&, auto&) {},
         [](auto&) {}, [](Windows& windows) { return &windows.main; }},
        {"the user went to another program: the program takes nothing",
         [](auto&, std::optional<AnotherProgramActive>& elsewhere) { elsewhere.emplace(); }, [](auto&) {},
         [](Windows&) -> const QWidget* { return nullptr; }},
        {"another window of the program has the keyboard: it keeps it",
         [](Windows& windows, auto&) {
             windows.other.show();
             windows.other.activateWindow();
             settle();
             ASSERT_EQ(QApplication::activeWindow(), &windows.other);
         },
         [](auto&) {}, [](Windows& windows) { return &windows.other; }},
        {"the program shows a window as the modal window closes: the new window keeps the keyboard",
         [](auto&, auto&) {}, [](Windows& windows) { windows.other.show(); },
         [](Windows& windows) { return &windows.other; }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        Windows windows;
        std::optional<AnotherProgramActive> elsewhere;
        showAndClose([&] { test.whileShown(windows, elsewhere); }, [&] { test.closing(windows); });
        const QWidget* expected = test.keyboardWith(windows);
        EXPECT_EQ(QApplication::activeWindow(), expected)
            << nameOf(QApplication::activeWindow()) << " has the keyboard, not " << nameOf(expected);
    }
}

// A message box the program shows as the modal window closes waits for its answer with the keyboard: the
// window under the closed modal window takes no keys while the box is up.
TEST(ModalFocusReturn, AMessageBoxShownAsTheModalWindowClosesKeepsTheKeyboard)
{
    Windows windows;
    bool answered = false;
    showAndClose([] {},
                 [&] {
                     ui::setMessageBoxService(nullptr);
                     QTimer::singleShot(0, [&] {
                         auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                         ASSERT_NE(box, nullptr);
                         settle();
                         EXPECT_EQ(QApplication::activeWindow(), box)
                             << nameOf(QApplication::activeWindow()) << " has the keyboard";
                         answered = true;
                         box->done(0);
                     });
                     ui::MsgBox(QStringLiteral("Saved."), ui::vbOKOnly, QStringLiteral("After the dialog"));
                     ui::setMessageBoxService(&ui::testing::messageBoxes());
                 });
    EXPECT_TRUE(answered);
    EXPECT_EQ(QApplication::activeWindow(), &windows.main) << "back under the box, the window has it again";
}
