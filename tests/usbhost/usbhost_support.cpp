#include "usbhost_support.h"

#include "app/board_driver_hookup.h"
#include "platform/usb/firmware_commands.h"
#include "platform/usb/usb_driver.h"

#include <libusb.h>

#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <thread>

namespace usbhosttest {

usbmock::MockUsbBus& bus()
{
    static usbmock::MockUsbBus* const theBus = new usbmock::MockUsbBus; // lives until the program ends
    return *theBus;
}

libusb_context* context()
{
    static libusb_context* const theContext = [] {
        libusb_context* made = nullptr;
        return libusb_init(&made) == 0 ? made : nullptr;
    }();
    return theContext;
}

std::vector<usb::UsbIds> servedIds()
{
    return {usb::UsbIds{usb::kBoardVendorId, usb::kBoardProductId},
            usb::UsbIds{usb::kDevKitVendorId, usb::kDevKitProductId}};
}

bool askBoard(usb::DeviceDriver& driver, uint8_t command, QByteArray& reply)
{
    const intptr_t handle = driver.open(QStringLiteral("\\\\.\\Ezssp-0"));
    if (handle == usb::kInvalidHandle) {
        return false;
    }
    const uint8_t commandPipe[4] = {usb::firmware::kCommandPipe, 0, 0, 0};
    const uint8_t replyPipe[4] = {usb::firmware::kReplyPipe, 0, 0, 0};
    uint32_t moved = 0;
    const bool ok = driver.ioControl(handle, usb::kRequestBulkWrite, commandPipe, 4, &command, 1, moved) &&
                    driver.ioControl(handle, usb::kRequestBulkRead, replyPipe, 4, reply.data(),
                                     static_cast<uint32_t>(reply.size()), moved) &&
                    moved == static_cast<uint32_t>(reply.size());
    driver.close(handle);
    return ok;
}

namespace {

int listedBoards()
{
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context(), &list);
    int boards = 0;
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor d{};
        if (libusb_get_device_descriptor(list[i], &d) == 0 &&
            (d.idVendor == usb::kBoardVendorId || d.idVendor == usb::kDevKitVendorId ||
             d.idVendor == 0x1234)) {
            ++boards;
        }
    }
    if (count >= 0) {
        libusb_free_device_list(list, 1);
    }
    return boards;
}

} // namespace

bool settle()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (listedBoards() != bus().pluggedCount()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

void waitForTheUser()
{
    // A zero-time timer of its own (not a queued call) lets the loop reach its wait, and ends it at once.
    QEventLoop loop;
    QTimer wake;
    wake.setSingleShot(true);
    QObject::connect(&wake, &QTimer::timeout, &loop, &QEventLoop::quit);
    wake.start(0);
    loop.exec();
}

UsbHostTest::UsbHostTest()
{
    bus().unplugAll();
    EXPECT_TRUE(settle());
    driver = std::make_unique<usbhost::LibusbDriver>(servedIds(), context());
    usb::setDriver(driver.get());
    tellOfTheProgramsWaits(driver.get());
    ezusb = std::make_unique<ScopedEZUSB>();
}

UsbHostTest::~UsbHostTest()
{
    ezusb.reset();
    usb::setDriver(nullptr);
    tellOfTheProgramsWaits(nullptr);
    driver.reset();
    bus().unplugAll();
    EXPECT_TRUE(settle());
    bus().forgetRefusedOpens();
}

int UsbHostTest::plug(const usb::BoardOptions& options)
{
    const int number = bus().plug(options);
    EXPECT_TRUE(settle());
    return number;
}

void UsbHostTest::unplug(int plugNumber)
{
    bus().unplug(plugNumber);
    EXPECT_TRUE(settle());
}

int UsbHostTest::plugAndSelect(const usb::BoardOptions& options, int32_t hostId)
{
    const int number = plug(options);
    EXPECT_EQ(goEZUSB().GetDevices(), 1);
    EXPECT_EQ(goEZUSB().SelectDevice(0, hostId), 1);
    return number;
}

} // namespace usbhosttest

namespace usbhosttest {

void BoardTest::SetUp()
{
    number = plugAndSelect();
    goEvalBd = bd.get();
    bd->InitIOBuffs();
    bus().clearTraffic(number);
}

} // namespace usbhosttest
