#pragma once

// Start-up against emulated boards: a fresh emulated driver (boards attached by each test), the USB object
// put back afterwards, every window discarded and the process state reset after each test.

#include "board/cls_ezusb.h"
#include "platform/ui/form.h"
#include "platform/usb/emulated_driver.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

#include <gtest/gtest.h>

#include <functional>

class mdiMain;
class frmSplash;
class frmUSBSelect;

#include <ostream>

// Readable values in the tests' failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << '{';
    for (const QString& text : list)
        *out << " \"" << text.toStdString() << '"';
    *out << " }";
}

namespace shelltest {

// The status lines of a start-up with one revision-3 board at Ezssp-0, first line included.
QStringList oneBoardLines(const QString& revisionLine = QStringLiteral("   Silicon Revision:  SR3"));

// A user's click on a row (from 1) of the board selection dialog's device list.
void clickRow(frmUSBSelect& dialog, int row);

// What a user's left click on the middle of a widget and a key press on a widget deliver.
void sendClick(QWidget* widget);
void sendKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// A form that only records the procedures called on it (RefreshFormVals, SetMode), by name.
class RecordingForm : public ui::Form {
public:
    RecordingForm(QString name, QStringList& calls);
};

class ShellTest : public ::testing::Test {
protected:
    usb::ScopedEmulatedDriver scoped;
    usb::EmulatedDriver& drv = scoped.get();
    ScopedEZUSB ezusb;

    ShellTest();
    ~ShellTest() override;

    static usb::BoardOptions boardWith(usb::ChipRevision revision, uint32_t hostId = 0);
    usb::EmulatedBoard& plug(int slot, const usb::BoardOptions& options = {});

    // Runs start-up; false when the program ended on the way (the end's exit code in endCode).
    bool runMain(const QString& commandLine = QString());
    int endCode = -1;

    // The splash's status lines while it is loaded (empty when it is not).
    static QStringList splashLines();
    static uint32_t splashColour();
    // "startup.log" of the program folder, split at its line ends; the last (empty) piece dropped.
    static QStringList logLines();
    // The log's lines after its three head lines.
    static QStringList logBody();
    static mdiMain& mainWindow();
    // This copy's host identifier.
    static uint32_t ourHostId();

    // First bytes of the commands sent to the board of a slot, in order.
    QList<int> commandCodes(int slot) const;
};

} // namespace shelltest
