// Every child window of the main window lies wholly inside the MDI area of a 1600 x 1000 screen: opened
// alone or after all the others, in every run mode the user meets (0, 3, 4, 5), on either silicon
// revision, and after a run-mode change has grown or shrunk the windows that are open.

#include "common/register_window_fixture.h"

#include "board/run_mode.h"
#include "boardui/form_names.h"
#include "debug/register_windows.h"
#include "modulation/register_windows.h"
#include "profiles/register_windows.h"
#include "sweep/register_windows.h"

#include "platform/ui/forms.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

// The windows the View menu, the toolbar and the I/O menu open, in the View menu's order.
const QString* const kChildWindows[] = {
    &formnames::frmControl,     &formnames::frmProfile,     &formnames::frmFreqAndSweep,
    &formnames::frmQDUCRSR,     &formnames::frmFIFOControl, &formnames::frmMultiChipSync,
    &formnames::frmRAMDebug,    &formnames::frmGPIO,        &formnames::frmADC,
    &formnames::frmWatchDogTmr, &formnames::frmDebug,       &formnames::frmFIFODebug,
    &formnames::frmRegMapVals,  &formnames::frmQAMVG,       &formnames::frmSimulatorSetup,
    &formnames::frmIOInterface,
};
constexpr int16_t kRunModes[] = {0, 3, 4, 5};

class WindowsInView : public regtest::RegisterWindowTest {
protected:
    WindowsInView()
    {
        RegisterProfilesWindows();
        RegisterSweepWindows();
        RegisterDebugWindows();
        RegisterModulationWindows();
        // A maximised main window on a 1600 x 1000 screen, less a window manager's title bar.
        mdi->Move(0, 0, 1600, 970);
        mdi->Show();
    }
    void plugRevision(int16_t rev)
    {
        usb::BoardOptions options;
        options.chip.revision = rev == 3 ? usb::ChipRevision::Rev3 : usb::ChipRevision::Rev2;
        plugBoard(options);
        useRevision(rev);
    }
    static void setRunMode(int16_t mode)
    {
        giRunMode = mode;
        SetModeAllForms();
        settle();
    }
    static void settle()
    {
        for (int k = 0; k < 3; ++k)
            QCoreApplication::processEvents();
    }
    // Empty when the window lies wholly inside the area, else what lies beyond.
    std::string outside(const QString& name) const
    {
        const ui::Form* form = ui::Forms::find(name);
        if (!form || !form->frameWidget())
            return name.toStdString() + " not loaded";
        if (!form->isMdiChild())
            return {};
        const QRect area = mdi->mdiArea()->viewport()->rect();
        const QRect frame = form->frameWidget()->geometry();
        if (area.contains(frame))
            return {};
        return name.toStdString() + " at (" + std::to_string(frame.left()) + ", " +
               std::to_string(frame.top()) + ") size " + std::to_string(frame.width()) + " x " +
               std::to_string(frame.height()) + " beyond the area " + std::to_string(area.width()) + " x " +
               std::to_string(area.height());
    }
    void expectAllOpenInside(const std::string& when) const
    {
        for (const QString* name : kChildWindows)
            EXPECT_EQ(outside(*name), "") << when;
    }
};

TEST_F(WindowsInView, EveryWindowAloneOrAfterAllOthersInEveryRunModeAndRevision)
{
    for (const int16_t rev : {int16_t{2}, int16_t{3}}) {
        plugRevision(rev);
        for (const int16_t mode : kRunModes) {
            const std::string trace =
                "revision " + std::to_string(rev) + ", run mode " + std::to_string(mode);
            setRunMode(mode);
            for (const QString* name : kChildWindows) {
                if (*name == formnames::frmControl)
                    continue; // the fixture keeps it loaded
                ASSERT_TRUE(ui::Forms::showByName(*name)) << name->toStdString();
                settle();
                EXPECT_EQ(outside(*name), "") << trace << ", opened alone";
                ui::Forms::find(*name)->Unload();
            }
            for (const QString* name : kChildWindows) {
                ASSERT_TRUE(ui::Forms::showByName(*name)) << name->toStdString();
                settle();
                EXPECT_EQ(outside(*name), "") << trace << ", opened after the others";
            }
            // The About window's keyword switches the mode with every window open.
            for (const int16_t next : kRunModes) {
                if (next == mode)
                    continue;
                setRunMode(next);
                expectAllOpenInside(trace + ", switched to run mode " + std::to_string(next));
                setRunMode(mode);
                expectAllOpenInside(trace + ", switched back from run mode " + std::to_string(next));
            }
            for (const QString* name : kChildWindows)
                if (*name != formnames::frmControl)
                    ui::Forms::find(*name)->Unload();
        }
        drv.detach(0);
    }
}

} // namespace
