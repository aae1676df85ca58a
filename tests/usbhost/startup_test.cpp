// The program's start-up and a Profiles LOAD over libusb: the same start-up log as over the emulated
// driver, and the same bytes on the same pipes.

#include "usbhost_support.h"

#include "platform/ui/forms.h"
#include "platform/usb/usb_driver.h"
#include "profiles/frm_profile.h"
#include "profiles/register_windows.h"
#include "shell/register_windows.h"
#include "shell/startup_fixture.h"

using namespace usbhosttest;

namespace {

class StartUpOverLibusb : public shelltest::ShellTest {
protected:
    StartUpOverLibusb()
    {
        // The windows start-up opens by name, as app/ makes them known.
        RegisterShellWindows();
        RegisterProfilesWindows();
        bus().unplugAll();
        EXPECT_TRUE(settle());
        usb::setDriver(libusb.get());
    }
    ~StartUpOverLibusb() override
    {
        // The windows go while the board is still there.
        ui::Forms::discardAll();
        usb::setDriver(&drv);
        libusb.reset();
        bus().unplugAll();
        EXPECT_TRUE(settle());
    }

    std::unique_ptr<usbhost::LibusbDriver> libusb =
        std::make_unique<usbhost::LibusbDriver>(servedIds(), context());
};

} // namespace

TEST_F(StartUpOverLibusb, WritesTheSameLogAndLoadsTheSameBytesAsOverTheEmulatedDriver)
{
    const int number = bus().plug(boardWith(usb::ChipRevision::Rev3));
    ASSERT_TRUE(settle());
    ASSERT_TRUE(runMain());
    EXPECT_EQ(logBody(), shelltest::oneBoardLines().mid(1));
    EXPECT_EQ(bus().board(number).hostId(), ourHostId()) << "the board is claimed by this copy";

    frmProfile* profiles = ui::loadedForm<frmProfile>();
    ASSERT_NE(profiles, nullptr);
    bus().clearTraffic(number);
    profiles->cmdLoad.click();
    const usbmock::BoardTraffic overLibusb = bus().traffic(number);
    ASSERT_FALSE(overLibusb.out[3].isEmpty());

    // The same LOAD through the emulated driver, with an emulated board in the same state.
    drv.attach(0, boardWith(usb::ChipRevision::Rev3));
    usb::setDriver(&drv);
    drv.clearTrace();
    profiles->cmdLoad.click();
    for (int pipe = 0; pipe < usb::kPipeCount; ++pipe) {
        SCOPED_TRACE(pipe);
        QList<QByteArray> moved = overLibusb.out[pipe];
        moved += overLibusb.in[pipe];
        EXPECT_EQ(moved, drv.transfers(0, pipe));
    }
}
