// A modal window and the windows it blocks are minimised and restored as one, whatever kind of modal window
// it is: a form shown modally, a message box, a file dialog.

#include "platform/ui/app.h"
#include "platform/ui/dialog_service.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/test_doubles.h"

#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QTimer>
#include <QWindow>
#include <QWindowStateChangeEvent>
#include <gtest/gtest.h>

#include <functional>

namespace {

class ModalForm : public ui::Form {
public:
    static inline const QString FormName = QStringLiteral("frmModalMinimise");
    ModalForm() : Form(FormName) {}
};

using WhileShown = std::function<void(QWidget& modal)>;

void showModalForm(const WhileShown& whileShown)
{
    ui::testing::onModal<ModalForm>([whileShown](ModalForm& form) {
        whileShown(*form.widget());
        form.Hide();
    });
    ui::form<ModalForm>().Show(1);
}

// The desktop's own message box or file dialog, answered once it shows.
void whenTheQtDialogShows(const WhileShown& whileShown)
{
    QTimer::singleShot(0, [whileShown] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        whileShown(*dialog);
        dialog->done(0);
    });
}

void showMessageBox(const WhileShown& whileShown)
{
    ui::setMessageBoxService(nullptr);
    whenTheQtDialogShows(whileShown);
    ui::MsgBox(QStringLiteral("Waiting"), ui::vbOKOnly, QStringLiteral("Minimise me"));
    ui::setMessageBoxService(&ui::testing::messageBoxes());
}

void showFileDialog(const WhileShown& whileShown)
{
    ui::DialogService* scripted = &ui::dialogService();
    ui::setDialogService(nullptr);
    whenTheQtDialogShows(whileShown);
    ui::FileDialogRequest request;
    request.title = QStringLiteral("Load Setup File");
    ui::dialogService().openFile(request);
    ui::setDialogService(scripted);
}

// The window system's report, the program's answer to it and the window system's reports of that answer.
void settle()
{
    for (int round = 0; round < 3; ++round)
        ui::DoEvents();
}

// The user minimises or restores a window through the window manager: the window system changes it and
// reports the change, which the program did not ask for.
void minimise(QWidget& window)
{
    window.windowHandle()->setWindowStates(window.windowHandle()->windowStates() | Qt::WindowMinimized);
    settle();
}

void restore(QWidget& window)
{
    window.windowHandle()->setWindowStates(window.windowHandle()->windowStates() & ~Qt::WindowMinimized);
    settle();
}

// While one lives, the window system does not report the state changes of `window`: a window manager that
// never reports a state the program asked for (the window was in it already, or the manager refused it).
class ReportsHeldBack : public QObject {
public:
    explicit ReportsHeldBack(QWindow& window) : window_(&window) { qApp->installEventFilter(this); }
    ~ReportsHeldBack() override { qApp->removeEventFilter(this); }
    ReportsHeldBack(const ReportsHeldBack&) = delete;
    ReportsHeldBack& operator=(const ReportsHeldBack&) = delete;

protected:
    // Installed last, it sees the reports before the program's own filters do.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return watched == window_ && event->type() == QEvent::WindowStateChange && event->spontaneous();
    }

private:
    QWindow* window_;
};

} // namespace

TEST(ModalMinimise, TheBlockedWindowGoesWithTheDialogAndBothComeBackWithEitherOfThem)
{
    struct Kind {
        const char* what;
        void (*show)(const WhileShown&);
    } kinds[] = {{"a form shown modally", showModalForm},
                 {"a message box", showMessageBox},
                 {"a file dialog", showFileDialog}};
    QMainWindow main;
    main.setGeometry(100, 80, 900, 700);
    main.show();
    for (const Kind& kind : kinds) {
        for (const bool throughTheDialog : {false, true}) {
            SCOPED_TRACE(std::string(kind.what) + (throughTheDialog ? ", back through the dialog" : ""));
            bool ran = false;
            kind.show([&](QWidget& modal) {
                ran = true;
                minimise(modal);
                EXPECT_TRUE(main.isMinimized()) << "the window it blocks went with it";
                EXPECT_TRUE(modal.isMinimized());
                restore(throughTheDialog ? modal : main);
                EXPECT_FALSE(main.isMinimized());
                EXPECT_FALSE(modal.isMinimized()) << "the dialog is back with the window";
                EXPECT_TRUE(modal.isVisible());
            });
            EXPECT_TRUE(ran);
            EXPECT_FALSE(main.isMinimized());
        }
    }
}

TEST(ModalMinimise, AMinimisedBlockedWindowLeavesTheDialogShownAndTheDialogComesBackWithIt)
{
    QMainWindow main;
    main.show();
    showModalForm([&main](QWidget& modal) {
        minimise(main);
        EXPECT_FALSE(modal.isMinimized()) << "the dialog stays to be answered";
        minimise(modal);
        EXPECT_TRUE(modal.isMinimized()) << "the whole program is minimised";
        restore(main);
        EXPECT_FALSE(modal.isMinimized());
        minimise(main);
    });
    EXPECT_TRUE(main.isMinimized()) << "the user's own minimising of the window stands";
}

// A maximised window minimised with the dialog comes back maximised, whichever window the user brings back.
TEST(ModalMinimise, AMaximisedWindowComesBackMaximised)
{
    QMainWindow main;
    main.showMaximized();
    settle();
    for (const bool throughTheDialog : {false, true}) {
        SCOPED_TRACE(throughTheDialog ? "back through the dialog" : "back through the window");
        showModalForm([&](QWidget& modal) {
            minimise(modal);
            ASSERT_TRUE(main.isMinimized());
            restore(throughTheDialog ? modal : main);
            EXPECT_FALSE(modal.isMinimized());
            EXPECT_EQ(main.windowState() & ~Qt::WindowActive, Qt::WindowMaximized);
            EXPECT_EQ(main.windowHandle()->windowStates(), Qt::WindowMaximized);
        });
    }
}

// What the program does to its windows' states itself is not the user's minimising or restoring.
TEST(ModalMinimise, TheProgramsOwnStateChangesAreNotTheUsers)
{
    QMainWindow main;
    main.show();
    QMainWindow other;
    other.show();
    settle();
    showModalForm([&](QWidget& modal) {
        modal.setWindowState(modal.windowState() | Qt::WindowMinimized);
        settle();
        EXPECT_FALSE(main.isMinimized()) << "the program minimised the dialog, not the user";
        modal.setWindowState(modal.windowState() & ~Qt::WindowMinimized);
        settle();
        // The user minimises the program through the dialog; the program then shows one window itself.
        minimise(modal);
        ASSERT_TRUE(main.isMinimized());
        ASSERT_TRUE(other.isMinimized());
        other.setWindowState(other.windowState() & ~Qt::WindowMinimized);
        settle();
        EXPECT_TRUE(main.isMinimized()) << "the program's restoring of one window is not the user's";
        EXPECT_TRUE(modal.isMinimized());
        restore(main);
        EXPECT_FALSE(modal.isMinimized());
    });
}

// The report of a state the program asked for comes within a moment or not at all: a late one is still the
// program's, and once the moment has passed without it, the user's minimising counts again.
TEST(ModalMinimise, AStateTheProgramAskedForIsAwaitedForAMomentOnly)
{
    QMainWindow main;
    main.show();
    settle();
    showModalForm([&](QWidget& modal) {
        modal.setWindowState(modal.windowState() | Qt::WindowMinimized);
        ui::testing::clock().advance(1000); // the window system reports a second later
        settle();
        EXPECT_FALSE(main.isMinimized()) << "the late report of the program's minimising is not the user's";
        {
            const ReportsHeldBack neverReported(*modal.windowHandle());
            modal.setWindowState(modal.windowState() & ~Qt::WindowMinimized);
            settle();
        }
        ui::testing::clock().advance(10'000);
        minimise(modal);
        EXPECT_TRUE(main.isMinimized()) << "the user minimised the dialog, ten seconds after the program's "
                                           "restoring that the window system never reported";
        restore(main);
        EXPECT_FALSE(modal.isMinimized());
        EXPECT_FALSE(main.isMinimized());
    });
}

// When a modal window that has the keyboard closes, the window it was shown over gets the keyboard back.
TEST(ModalMinimise, TheKeyboardGoesBackToTheWindowUnderAClosedModalWindow)
{
    QMainWindow main;
    main.show();
    main.activateWindow();
    settle();
    ASSERT_EQ(QApplication::activeWindow(), &main);
    struct Kind {
        const char* what;
        void (*show)(const WhileShown&);
    } kinds[] = {{"a form shown modally", showModalForm}, {"a message box", showMessageBox}};
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.what);
        kind.show([](QWidget& modal) {
            modal.activateWindow();
            settle();
            EXPECT_EQ(QApplication::activeWindow(), &modal);
        });
        settle();
        EXPECT_EQ(QApplication::activeWindow(), &main);
    }
}
