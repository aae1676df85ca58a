// The program as it starts for a user (start-up, the main window, the windows opened by name), with a line
// of commands on its standard input that opens its modal windows and the text box window, and answers
// where its windows are, so that a script can act as the user from outside with the X tools.
//
// Commands (one a line; each answer is one line on the standard output):
//   main                the main window's X window id once it is shown, else 0
//   windows             how many windows of the program are shown (menus aside)
//   modal               the X window id of the modal window that answers now, else 0
//   open <kind>         opens a modal window; kinds: about, select, edit, msgbox, file, edit-msgbox
//                       (a message box over the output-frequency dialog), over-window (the output-frequency
//                       dialog of a value box in a window of its own, opened over that window once it is
//                       active, so that it belongs to that window and not to the main window); answers
//                       "opened <kind>"
//   target              the X window id of the value box's window of over-window, else 0
//   hide-target         hides that window; answers "hidden"
//   close               closes the modal window that answers now; answers "closed"
//   boxes               shows the text box window and another window beside it; answers
//                       "boxes <X window id> <the other's X window id>"
//   where <box> <n>     the screen point of the caret place before character n of "plain" or "value"
//   text <box>          the box's text between brackets
//   popup               the caption of the menu shown now, or "none"
//   quit                ends the program as File > Exit does

#include "app/program_preparation.h"
#include "boardui/text_selection.h"
#include "platform/ui/app.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"
#include "profiles/frm_edit_out_freq.h"
#include "shell/mdi_main.h"
#include "shell/startup.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <iostream>
#include <string>

namespace {

// A window with a plain text box and a value box, as the program's windows have them.
class frmTextBoxes : public ui::Form {
public:
    static inline const QString FormName = QStringLiteral("frmTextBoxes");
    frmTextBoxes() : Form(FormName)
    {
        setCaption(QStringLiteral("Text Boxes"));
        txtPlain.Move(20, 20, 240, 28);
        txtValue.Move(20, 70, 240, 28);
        ui::bind(txtValue.GotFocus, this, &frmTextBoxes::txtValue_GotFocus);
    }

    ui::TextBox txtPlain{this, QStringLiteral("txtPlain")};
    ui::TextBox txtValue{this, QStringLiteral("txtValue")};

private:
    void txtValue_GotFocus() { SelectAllText(txtValue); }
};

// Another window beside it, for the user to switch to without covering it.
class frmElsewhere : public ui::Form {
public:
    static inline const QString FormName = QStringLiteral("frmElsewhere");
    frmElsewhere() : Form(FormName) { setCaption(QStringLiteral("Elsewhere")); }
};

// The box whose value the output-frequency dialog edits, in a window that is shown for over-window.
class frmEditTarget : public ui::Form {
public:
    static inline const QString FormName = QStringLiteral("frmEditTarget");
    frmEditTarget() : Form(FormName) { setCaption(QStringLiteral("Value Box")); }
    ui::TextBox txtFreq{this, QStringLiteral("txtFreq")};
};

void answer(const QString& line)
{
    std::cout << line.toStdString() << std::endl;
}

QString windowId(const QWidget* widget)
{
    return widget && widget->isVisible() ? QString::number(widget->window()->winId()) : QStringLiteral("0");
}

QAction* entryIn(const QList<QAction*>& entries, const QString& caption)
{
    for (QAction* entry : entries) {
        if (entry->text() == caption)
            return entry;
        if (QAction* inner = entry->menu() ? entryIn(entry->menu()->actions(), caption) : nullptr)
            return inner;
    }
    return nullptr;
}

// The main window's menu entry of that caption, as a click on it runs it.
void runMenuEntry(const QString& caption)
{
    const mdiMain* main = ui::loadedForm<mdiMain>();
    if (!main)
        return;
    for (const QMenuBar* bar : main->frameWidget()->findChildren<QMenuBar*>())
        if (QAction* entry = entryIn(bar->actions(), caption)) {
            entry->trigger();
            return;
        }
}

void showEditDialog()
{
    frmEditTarget& target = ui::form<frmEditTarget>();
    target.Load();
    target.txtFreq.Tag = QStringLiteral("1073741824");
    target.txtFreq.setText(QStringLiteral("250.000000"));
    ui::form<frmEditOutFreq>().ShowEditDialog(target.txtFreq, QStringLiteral("Output Frequency"),
                                              profiles::EditValue(QStringLiteral("1000")), 32);
}

// Runs `then` once `window` is the active window (as the window system reports it), or after about five
// seconds without.
void whenActive(const QWidget* window, int triesLeft, const std::function<void()>& then)
{
    if (QApplication::activeWindow() == window || triesLeft <= 0) {
        then();
        return;
    }
    QTimer::singleShot(20, [window, triesLeft, then] { whenActive(window, triesLeft - 1, then); });
}

// The dialog of a value box in a window other than the main window: a dialog shown over the active window
// belongs to that window.
void showEditDialogOverItsWindow()
{
    frmEditTarget& target = ui::form<frmEditTarget>();
    if (!target.Visible()) {
        target.Show();
        target.Move(500, 260, 420, 160);
    }
    target.SetFocus();
    whenActive(target.widget(), 250, [] { showEditDialog(); });
}

void open(const QString& kind)
{
    if (kind == QLatin1String("about"))
        runMenuEntry(QStringLiteral("&About"));
    else if (kind == QLatin1String("select"))
        runMenuEntry(QStringLiteral("&Select Eval Board..."));
    else if (kind == QLatin1String("file"))
        runMenuEntry(QStringLiteral("&Load Setup..."));
    else if (kind == QLatin1String("msgbox"))
        ui::MsgBox(QStringLiteral("A message to answer."), ui::vbOKOnly, QStringLiteral("Message"));
    else if (kind == QLatin1String("edit"))
        showEditDialog();
    else if (kind == QLatin1String("edit-msgbox")) {
        QTimer::singleShot(0, [] {
            ui::MsgBox(QStringLiteral("A message over the dialog."), ui::vbOKOnly, QStringLiteral("Message"));
        });
        showEditDialog();
    } else if (kind == QLatin1String("over-window")) {
        showEditDialogOverItsWindow();
    }
}

ui::TextBox* boxNamed(const QString& name)
{
    frmTextBoxes* boxes = ui::loadedForm<frmTextBoxes>();
    if (!boxes)
        return nullptr;
    return name == QLatin1String("plain") ? &boxes->txtPlain : &boxes->txtValue;
}

// The screen point between characters n - 1 and n of a single-line box's text (left aligned, not scrolled).
QString caretPlace(const ui::TextBox& box, int n)
{
    const auto* line = qobject_cast<const QLineEdit*>(box.widget());
    if (!line)
        return QStringLiteral("0 0");
    const QRect inside = line->contentsRect().marginsRemoved(line->textMargins());
    const int x = inside.left() + 2 + line->fontMetrics().horizontalAdvance(line->text().left(n));
    const QPoint at = line->mapToGlobal(QPoint(x, line->height() / 2));
    return QStringLiteral("%1 %2").arg(at.x()).arg(at.y());
}

void runCommand(const QString& line)
{
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString command = words.value(0);
    if (command == QLatin1String("main")) {
        const mdiMain* main = ui::loadedForm<mdiMain>();
        answer(windowId(main ? main->frameWidget() : nullptr));
    } else if (command == QLatin1String("windows")) {
        int shown = 0;
        for (const QWidget* window : QApplication::topLevelWidgets())
            shown += window->isVisible() && window->windowType() != Qt::Popup ? 1 : 0;
        answer(QString::number(shown));
    } else if (command == QLatin1String("modal")) {
        answer(windowId(QApplication::activeModalWidget()));
    } else if (command == QLatin1String("open")) {
        // Outside the reading of the command: the modal window's loop runs until it closes.
        const QString kind = words.value(1);
        QTimer::singleShot(0, [kind] { open(kind); });
        answer(QStringLiteral("opened ") + kind);
    } else if (command == QLatin1String("target")) {
        const frmEditTarget* target = ui::loadedForm<frmEditTarget>();
        answer(windowId(target ? target->frameWidget() : nullptr));
    } else if (command == QLatin1String("hide-target")) {
        if (frmEditTarget* target = ui::loadedForm<frmEditTarget>())
            target->Hide();
        answer(QStringLiteral("hidden"));
    } else if (command == QLatin1String("close")) {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
        answer(QStringLiteral("closed"));
    } else if (command == QLatin1String("boxes")) {
        frmElsewhere& elsewhere = ui::form<frmElsewhere>();
        elsewhere.Show();
        elsewhere.Move(900, 300, 300, 130);
        frmTextBoxes& boxes = ui::form<frmTextBoxes>();
        boxes.Show();
        boxes.Move(200, 300, 300, 130);
        answer(QStringLiteral("boxes ") + windowId(boxes.frameWidget()) + QLatin1Char(' ') +
               windowId(elsewhere.frameWidget()));
    } else if (command == QLatin1String("where")) {
        const ui::TextBox* box = boxNamed(words.value(1));
        answer(box ? caretPlace(*box, words.value(2).toInt()) : QStringLiteral("0 0"));
    } else if (command == QLatin1String("text")) {
        const ui::TextBox* box = boxNamed(words.value(1));
        answer(QStringLiteral("[") + (box ? box->Text() : QString()) + QStringLiteral("]"));
    } else if (command == QLatin1String("popup")) {
        const auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        answer(menu ? menu->title() : QStringLiteral("none"));
    } else if (command == QLatin1String("quit")) {
        answer(QStringLiteral("quitting"));
        QTimer::singleShot(0, [] { EndProgram(); });
    } else {
        answer(QStringLiteral("unknown ") + command);
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    QApplication app(argc, argv);
    prepareProgram();

    QSocketNotifier commands(fileno(stdin), QSocketNotifier::Read);
    QObject::connect(&commands, &QSocketNotifier::activated, [&commands] {
        // Every line read in, also those the stream took in with the first.
        do {
            std::string line;
            if (!std::getline(std::cin, line)) {
                commands.setEnabled(false);
                QTimer::singleShot(0, [] { EndProgram(); });
                return;
            }
            runCommand(QString::fromStdString(line));
        } while (std::cin.rdbuf()->in_avail() > 0);
    });
    Main();
    return QApplication::exec();
}
