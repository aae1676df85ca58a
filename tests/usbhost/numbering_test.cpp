// Which number a real board gets and keeps, and which boards the driver serves at all.

#include "usbhost_support.h"

#include "platform/usb/usb_driver.h"

using namespace usbhosttest;

namespace {

QString nameOf(int n)
{
    return QStringLiteral("\\\\.\\Ezssp-%1").arg(n);
}

bool opens(usb::DeviceDriver& d, const QString& path)
{
    const intptr_t handle = d.open(path);
    if (handle == usb::kInvalidHandle) {
        return false;
    }
    d.close(handle);
    return true;
}

// The product identifier byte pair the driver reports for a number, or 0 when nothing answers there.
uint16_t productAt(usb::DeviceDriver& d, int n)
{
    const intptr_t handle = d.open(nameOf(n));
    if (handle == usb::kInvalidHandle) {
        return 0;
    }
    uint8_t descriptor[usb::kDeviceDescriptorBufferSize] = {};
    uint32_t returned = 0;
    const bool ok = d.ioControl(handle, usb::kRequestDeviceDescriptor, descriptor, sizeof descriptor,
                                descriptor, sizeof descriptor, returned);
    d.close(handle);
    return ok && returned == 18 ? static_cast<uint16_t>(descriptor[10] | (descriptor[11] << 8)) : 0;
}

usb::BoardOptions withProduct(uint16_t product)
{
    usb::BoardOptions options;
    options.productId = product;
    options.vendorId = usb::kDevKitVendorId;
    return options;
}

} // namespace

class Numbering : public UsbHostTest {};

TEST_F(Numbering, BoardsKeepTheirNumberAndANewBoardTakesTheLowestFree)
{
    const int first = plug();
    EXPECT_TRUE(opens(*driver, nameOf(0)));
    const int second = plug();
    EXPECT_TRUE(opens(*driver, nameOf(1)));
    EXPECT_EQ(driver->boardCount(), 2);
    bus().board(second).setHostId(22);

    unplug(first);
    EXPECT_FALSE(opens(*driver, nameOf(0)));
    EXPECT_TRUE(opens(*driver, nameOf(1)));
    plug();
    EXPECT_TRUE(opens(*driver, nameOf(0)));
    EXPECT_TRUE(opens(*driver, nameOf(1)));
    EXPECT_EQ(driver->boardCount(), 2);

    // The board that stayed is still number 1: its stored host identifier answers there.
    goEZUSB().GetDevices();
    int32_t hostId = 0;
    goEZUSB().GetHostID(1, hostId);
    EXPECT_EQ(hostId, 22);
    goEZUSB().GetHostID(0, hostId);
    EXPECT_EQ(hostId, 0);
}

TEST_F(Numbering, BothBaseNamesNameOneTableAndOtherNamesNothing)
{
    plug();
    const struct {
        const char* path;
        bool opens;
    } cases[] = {
        {"\\\\.\\Ezssp-0", true},  {"\\\\.\\Ezusb-0", true},  {"Ezssp-0", true},
        {"\\\\.\\EZSSP-0", true},  {"\\\\.\\Ezssp-1", false}, {"\\\\.\\Ezssp-9", false},
        {"\\\\.\\Other-0", false}, {"\\\\.\\Ezssp-", false},  {"\\\\.\\Ezssp-00", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(opens(*driver, QString::fromLatin1(c.path)), c.opens) << c.path;
    }
}

TEST_F(Numbering, OnlyBoardAndDevelopmentKitIdentifiersAreServedAndATenthBoardIsNot)
{
    plug(withProduct(usb::kDevKitProductId));
    usb::BoardOptions stranger;
    stranger.vendorId = 0x1234;
    stranger.productId = 0x5678;
    plug(stranger);
    EXPECT_EQ(productAt(*driver, 0), usb::kDevKitProductId);
    EXPECT_EQ(productAt(*driver, 1), 0) << "a device with other identifiers is not a board";
    for (int n = 1; n < 9; ++n) {
        plug();
    }
    EXPECT_TRUE(opens(*driver, nameOf(8)));
    EXPECT_EQ(driver->boardCount(), 9);
    plug();
    EXPECT_EQ(driver->boardCount(), 9) << "a tenth board is not served";
}
