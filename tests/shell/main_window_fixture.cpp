#include "main_window_fixture.h"

#include "board/board_flags.h"
#include "board/evalbd.h"
#include "board/globals.h"
#include "shell/startup.h"

#include "platform/ui/forms.h"
#include "platform/ui/test_doubles.h"

namespace mainwindowtest {

QStringList& journal()
{
    static QStringList entries;
    return entries;
}

StandIn::StandIn(const QString& name, const QStringList& procedures, bool mdiChild) : Form(name)
{
    setMdiChild(mdiChild);
    for (const QString& procedure : procedures)
        registerProc(procedure, [this, procedure] {
            journal() << Name() + "." + procedure;
            if (during)
                during();
        });
}

void StandIn::Form_QueryUnload(int& cancel, int unloadMode)
{
    (void)cancel;
    journal() << Name() + ":QueryUnload " + QString::number(unloadMode);
}

void StandIn::Form_Unload(int& cancel)
{
    (void)cancel;
    journal() << Name() + ":Unload";
}

MainWindowTest::MainWindowTest()
{
    journal().clear();
    gbBoardConnected = gbPrevConnected = gbHasFIFO = false;
    gbDlgShown = false;
    giRunMode = 0;
    RegisterShellWindows();
    mdi = &ui::form<mdiMain>();
}

MainWindowTest::~MainWindowTest()
{
    ui::Forms::discardAll();
    ui::Forms::destroyUnloaded();
    gbBoardConnected = gbPrevConnected = gbHasFIFO = false;
}

usb::EmulatedBoard& MainWindowTest::plugAndSelect(int slot, const usb::BoardOptions& options)
{
    usb::EmulatedBoard& board = drv.attach(slot, options);
    goEZUSB().GetDevices();
    const int16_t index = goEZUSB().GetDeviceIndex(QStringLiteral("Ezssp-%1").arg(slot));
    EXPECT_EQ(goEZUSB().SelectDevice(index, static_cast<int32_t>(mdi->hWnd())), 1);
    goEvalBd->InitIOBuffs();
    drv.clearTrace();
    return board;
}

void MainWindowTest::tick(int ticks)
{
    ui::testing::clock().advance(300 * ticks);
}

int MainWindowTest::bulkCount() const
{
    return drv.count(usb::RequestKind::BulkRead) + drv.count(usb::RequestKind::BulkWrite);
}

} // namespace mainwindowtest
