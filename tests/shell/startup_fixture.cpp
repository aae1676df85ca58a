#include "startup_fixture.h"

#include "board/board_flags.h"
#include "board/evalbd.h"
#include "board/globals.h"
#include "platform/os/program_folder.h"
#include "platform/ui/forms.h"
#include "platform/ui/test_doubles.h"
#include "shell/frm_splash.h"
#include "shell/frm_usb_select.h"
#include "shell/mdi_main.h"
#include "shell/startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace shelltest {

QStringList oneBoardLines(const QString& revisionLine)
{
    return {QStringLiteral("Initializing USB I/0 Interface..."),
            QStringLiteral("Checking for USB Drivers..."),
            QStringLiteral("   USB Driver Found."),
            QStringLiteral("Searching for Evaluation Board..."),
            QStringLiteral("   Using Evaluation Board - Ezssp-0."),
            QString(),
            QStringLiteral("Loading Main Window..."),
            QString(),
            QStringLiteral("Detecting DUT..."),
            revisionLine,
            QString(),
            QStringLiteral("Resetting Hardware and Software..."),
            QStringLiteral("Loading Control Window..."),
            QStringLiteral("Loading Profile Window..."),
            QString(),
            QStringLiteral("Software Ready!")};
}

void sendClick(QWidget* widget)
{
    // The click lands on the innermost widget under the middle, as a real one does.
    QPoint middle(widget->width() / 2, widget->height() / 2);
    if (QWidget* inner = widget->childAt(middle)) {
        middle = inner->mapFrom(widget, middle);
        widget = inner;
    }
    const QPointF local(middle);
    const QPointF global = widget->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

void sendKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    const QString text = key >= Qt::Key_A && key <= Qt::Key_Z && modifiers == Qt::NoModifier
                             ? QString(QChar(u'a' + (key - Qt::Key_A)))
                             : QString();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &release);
}

void clickRow(frmUSBSelect& dialog, int row)
{
    ui::ListItem* item = dialog.lvuUSBDevices.item(row);
    dialog.lvuUSBDevices.setSelectedItem(item);
    dialog.lvuUSBDevices.ItemClick(item);
    dialog.lvuUSBDevices.Click();
}

RecordingForm::RecordingForm(QString name, QStringList& calls) : Form(std::move(name))
{
    for (const char* proc : {"RefreshFormVals", "SetMode"}) {
        const QString procName = QString::fromLatin1(proc);
        registerProc(procName, [this, procName, &calls] { calls << Name() + QLatin1Char('.') + procName; });
    }
}

ShellTest::ShellTest()
{
    QFile::remove(QDir(os::programFolder()).filePath(QStringLiteral("startup.log")));
}

ShellTest::~ShellTest()
{
    // Windows go while the emulated boards are still there; then the process state starts afresh.
    ui::Forms::discardAll();
    goEvalBd = nullptr;
    giRunMode = 0;
    gsCmdLine.clear();
    gbDlgShown = false;
    gbBoardConnected = false;
    gbPrevConnected = false;
}

usb::BoardOptions ShellTest::boardWith(usb::ChipRevision revision, uint32_t hostId)
{
    usb::BoardOptions options;
    options.chip.revision = revision;
    options.hostId = hostId;
    return options;
}

usb::EmulatedBoard& ShellTest::plug(int slot, const usb::BoardOptions& options)
{
    return drv.attach(slot, options);
}

bool ShellTest::runMain(const QString& commandLine)
{
    try {
        Main(commandLine);
        return true;
    } catch (const ui::testing::ProcessEnded& ended) {
        endCode = ended.exitCode;
        return false;
    }
}

QStringList ShellTest::splashLines()
{
    const frmSplash* splash = ui::loadedForm<frmSplash>();
    if (splash == nullptr)
        return {};
    return splash->txtStatus.Text().split(QStringLiteral("\r\n"));
}

uint32_t ShellTest::splashColour()
{
    const frmSplash* splash = ui::loadedForm<frmSplash>();
    return splash != nullptr ? splash->txtStatus.ForeColor() : 0xFFFFFFFF;
}

QStringList ShellTest::logLines()
{
    QFile file(QDir(os::programFolder()).filePath(QStringLiteral("startup.log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList ShellTest::logBody()
{
    return logLines().mid(3);
}

mdiMain& ShellTest::mainWindow()
{
    return ui::form<mdiMain>();
}

uint32_t ShellTest::ourHostId()
{
    return mainWindow().hWnd();
}

QList<int> ShellTest::commandCodes(int slot) const
{
    QList<int> codes;
    for (const QByteArray& command : drv.transfers(slot, 0))
        codes << (command.isEmpty() ? -1 : static_cast<uint8_t>(command[0]));
    return codes;
}

} // namespace shelltest
