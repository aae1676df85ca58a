// The ticks of the main window's View and I/O menus follow what the forms registry reports of each
// window: loading ticks (or activating, for some), the close box unticks, and an unload by code unticks
// only the windows whose tick means "loaded".

#include "common/register_window_fixture.h"

#include "debug/register_windows.h"
#include "profiles/register_windows.h"
#include "sweep/register_windows.h"

#include "platform/ui/forms.h"

namespace {

class ViewMarks : public regtest::RegisterWindowTest {
protected:
    ViewMarks()
    {
        RegisterProfilesWindows();
        RegisterSweepWindows();
        RegisterDebugWindows();
        mdi->Show();
    }
};

TEST_F(ViewMarks, EveryEntryFollowsItsWindow)
{
    struct Case {
        ui::Menu mdiMain::*entry;
        const char* window;
        bool tickedByLoading; // loading the window without its entry ticks it
        bool codeUnloadUnticks;
    } cases[] = {
        {&mdiMain::mnuViewProfiles, "frmProfile", true, false},
        {&mdiMain::mnuViewFreqNSwp, "frmFreqAndSweep", false, false},
        {&mdiMain::mnuViewQDRSR, "frmQDUCRSR", true, false},
        {&mdiMain::mnuViewFIFOControl, "frmFIFOControl", true, true},
        {&mdiMain::mnuViewMultiChipSync, "frmMultiChipSync", true, false},
        {&mdiMain::mnuViewRAMDebug, "frmRAMDebug", true, true},
        {&mdiMain::mnuViewGPIO, "frmGPIO", false, true},
        {&mdiMain::mnuViewADC, "frmADC", false, true},
        {&mdiMain::mnuViewWDT, "frmWatchDogTmr", false, true},
        {&mdiMain::mnuViewDebugWnd, "frmDebug", true, true},
        {&mdiMain::mnuViewFIFODebugwnd, "frmFIFODebug", true, true},
        {&mdiMain::mnuViewRegDebug, "frmDebug", false, true},
        {&mdiMain::mnuViewRegMap, "frmRegMapVals", true, true},
        {&mdiMain::mnuIODUTIO, "frmIOInterface", false, false},
    };
    giRunMode = 5;
    mdi->SetMode();
    for (const Case& c : cases) {
        const QString name = QString::fromLatin1(c.window);
        SCOPED_TRACE(c.window);
        ui::Menu& entry = mdi->*c.entry;
        entry.setChecked(false);
        ui::Form* form = ui::Forms::load(name);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(entry.Checked(), c.tickedByLoading) << "loaded";

        entry.choose();
        EXPECT_TRUE(entry.Checked()) << "chosen";
        EXPECT_TRUE(form->Visible());

        form->Unload(ui::vbFormControlMenu);
        EXPECT_FALSE(entry.Checked()) << "closed from the close box";

        entry.choose();
        form = ui::Forms::find(name);
        ASSERT_NE(form, nullptr);
        ASSERT_TRUE(entry.Checked());
        EXPECT_TRUE(form->Unload(ui::vbFormCode));
        EXPECT_EQ(entry.Checked(), !c.codeUnloadUnticks) << "unloaded by code";
    }
}

TEST_F(ViewMarks, TheControlWindowStaysLoadedWhenItsCloseBoxUnticksIt)
{
    ASSERT_TRUE(mdi->mnuViewControl.Checked()) << "loaded with the main window";
    EXPECT_FALSE(control->Unload(ui::vbFormControlMenu));
    EXPECT_TRUE(control->IsLoaded());
    EXPECT_FALSE(mdi->mnuViewControl.Checked());
    mdi->mnuViewControl.choose();
    EXPECT_TRUE(mdi->mnuViewControl.Checked());
}

TEST_F(ViewMarks, TheKitReadsAutoAsTheMainWindowPublishesIt)
{
    setAutoIOUpdate(true);
    EXPECT_TRUE(regwin::autoIOUpdate());
    setAutoIOUpdate(false);
    EXPECT_FALSE(regwin::autoIOUpdate());
    // The user's click on the box publishes too.
    mdi->chkAutoIOUd.click();
    EXPECT_TRUE(regwin::autoIOUpdate());
}

} // namespace
