// What the driver does when a request cannot be served: no traffic for a request it can refuse itself, a
// prompt failure for a board that does not answer, stalls cleared, unreadable nodes reported once, boards
// that leave in the middle of a transfer let go of at once, and a board another running copy holds.

#include "usbhost_support.h"

#include "board/evalbd.h"
#include "common/bit_strings.h"
#include "platform/usb/usb_driver.h"

#include <chrono>
#include <sys/fsuid.h>
#include <unistd.h>

using namespace usbhosttest;

namespace {

bool bulk(usb::DeviceDriver& d, uint32_t code, uint32_t pipe, QByteArray& data)
{
    const intptr_t handle = d.open(QStringLiteral("\\\\.\\Ezssp-0"));
    if (handle == usb::kInvalidHandle) {
        return false;
    }
    const uint8_t number[4] = {static_cast<uint8_t>(pipe), 0, 0, 0};
    uint32_t moved = 0;
    const bool ok = d.ioControl(handle, code, number, sizeof number, data.data(),
                                static_cast<uint32_t>(data.size()), moved);
    d.close(handle);
    return ok && moved == static_cast<uint32_t>(data.size());
}

bool write(usb::DeviceDriver& d, uint32_t pipe, QByteArray data)
{
    return bulk(d, usb::kRequestBulkWrite, pipe, data);
}

bool read(usb::DeviceDriver& d, uint32_t pipe, QByteArray& data)
{
    return bulk(d, usb::kRequestBulkRead, pipe, data);
}

const QByteArray kFirmwareVersion(1, '\0'); // command 0

} // namespace

class Failures : public UsbHostTest {};

TEST_F(Failures, RequestsTheDriverRefusesMoveNothing)
{
    const int number = plug();
    driver->setTimeout(50);
    const struct {
        const char* what;
        uint32_t code;
        uint32_t pipe;
    } cases[] = {
        {"write on the pipe count", usb::kRequestBulkWrite, 6},
        {"read past the pipe count", usb::kRequestBulkRead, 40},
        {"read on an out pipe", usb::kRequestBulkRead, 0},
        {"write on an in pipe", usb::kRequestBulkWrite, 1},
    };
    for (const auto& c : cases) {
        QByteArray data(2, '\0');
        EXPECT_FALSE(bulk(*driver, c.code, c.pipe, data)) << c.what;
    }
    EXPECT_EQ(bus().traffic(number).bulkUrbs, 0);
    EXPECT_EQ(bus().claims(number), 0) << "nothing claimed for refused requests";
}

TEST_F(Failures, AReadTheBoardNeverAnswersFailsAndTheBoardStillWorks)
{
    const int number = plug();
    driver->setTimeout(30);
    QByteArray reply(2, '\0');
    EXPECT_FALSE(read(*driver, 1, reply)) << "no command asked for a reply";
    EXPECT_EQ(bus().pendingUrbs(number), 0) << "the unanswered read was given up";
    ASSERT_TRUE(write(*driver, 0, kFirmwareVersion));
    ASSERT_TRUE(read(*driver, 1, reply));
    EXPECT_EQ(reply, QByteArray::fromHex("0003"));
}

TEST_F(Failures, AStalledEndpointIsClearedAndTheNextTransferWorks)
{
    const int number = plug();
    bus().stallNext(number, 0x01);
    EXPECT_FALSE(write(*driver, 0, kFirmwareVersion));
    EXPECT_EQ(bus().traffic(number).clearedHalts, std::vector<uint8_t>{0x01});
    ASSERT_TRUE(write(*driver, 0, kFirmwareVersion));
    QByteArray reply(2, '\0');
    EXPECT_TRUE(read(*driver, 1, reply));
}

TEST_F(Failures, ANodeWithoutPermissionIsReportedOnceAndIsNoBoard)
{
    QStringList reports;
    driver->setPermissionReporter([&](const QString& text) { reports.append(text); });
    const int number = bus().plug();
    bus().denyAccess(number);
    ASSERT_TRUE(settle());
    // Root may open any file: look at the node as an ordinary user would.
    const uid_t previous = static_cast<uid_t>(setfsuid(getuid() == 0 ? 65534 : getuid()));
    const int16_t found = goEZUSB().GetDevices();
    goEZUSB().GetDevices();
    setfsuid(previous);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(driver->boardCount(), 0);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].contains(bus().node(number))) << reports[0].toStdString();
    EXPECT_TRUE(reports[0].contains(QStringLiteral("install-udev-rules.sh")));
}

TEST_F(Failures, UnplugDuringAWholeRamDumpFailsAtOnceAndAReplugWorksAgain)
{
    int number = plugAndSelect();
    cZR4470XEvalBd bd;
    goEvalBd = &bd;
    bd.InitIOBuffs();
    bus().board(number).chip()->fillRam(0x12345678);
    bus().unplugAtUrb(number, 12);
    QStringList dump(1024, QStringLiteral("old"));
    EXPECT_FALSE(bd.USBSerialReadRAM(dump));
    EXPECT_EQ(driver->openBoardCount(), 0) << "the board that left is let go of at once";
    EXPECT_EQ(driver->claimedBoardCount(), 0);
    EXPECT_FALSE(goEZUSB().IsConnected()) << "the next poll sees the board gone";
    unplug(number);
    EXPECT_FALSE(goEZUSB().IsConnected());

    number = plug();
    EXPECT_EQ(goEZUSB().GetDevices(), 1);
    EXPECT_EQ(goEZUSB().SelectDevice(0, 0x1234), 1);
    bd.InitIOBuffs();
    EXPECT_EQ(bd.USBSerialLoadPKT(0x02, testbits::bits(0x1F3F4000, 32)), 0);
    EXPECT_EQ(bus().board(number).chip()->bufferRegister(0x02), 0x1F3F4000u);
    goEvalBd = nullptr;
}

TEST_F(Failures, ASecondRunningCopySeesTheHostIdentifierTaken)
{
    const int number = plugAndSelect({}, 0x1111);
    EXPECT_EQ(bus().claims(number), 1);

    // The second copy: a driver of its own (its own open file of the node) and a USB object of its own.
    usbhost::LibusbDriver second(servedIds(), context());
    second.setTimeout(50);
    clsEZUSB otherCopy;
    otherCopy.setVendorID(kEvalBoardVendorID);
    otherCopy.setProductID(kEvalBoardProductID);
    usb::setDriver(&second);
    ASSERT_EQ(otherCopy.GetDevices(), 1);
    int32_t hostId = 0;
    const auto waitStart = std::chrono::steady_clock::now();
    EXPECT_EQ(otherCopy.GetHostID(0, hostId), 0) << "the first copy is in the middle of talking to it";
    EXPECT_GE(std::chrono::steady_clock::now() - waitStart, std::chrono::milliseconds(50))
        << "its claim was waited for";
    // The same action's next request does not wait again while the claim is still held.
    bus().clearTraffic(number);
    EXPECT_EQ(otherCopy.GetHostID(0, hostId), 0);
    EXPECT_EQ(bus().traffic(number).claimAttempts, 1);

    // The first copy waits for its user: its board stays selected but is free between its actions.
    usb::setDriver(driver.get());
    waitForTheUser();
    EXPECT_EQ(bus().claims(number), 0);

    usb::setDriver(&second);
    EXPECT_EQ(otherCopy.GetHostID(0, hostId), 1);
    EXPECT_EQ(hostId, 0x1111) << "taken by the first copy";
    usb::setDriver(driver.get());
}

TEST_F(Failures, ABoardThatCouldNotBeOpenedIsTriedAgainAFewSecondsLater)
{
    QStringList reports;
    driver->setPermissionReporter([&](const QString& text) { reports.append(text); });
    driver->setReopenDelay(60000);
    bus().plug();
    const int late = bus().plugRefused(); // its udev rule comes a moment late
    ASSERT_TRUE(settle());
    // Root may open any file: look at the node as an ordinary user would.
    const auto looksAsAUser = [] {
        const uid_t previous = static_cast<uid_t>(setfsuid(getuid() == 0 ? 65534 : getuid()));
        const int16_t found = goEZUSB().GetDevices();
        setfsuid(previous);
        return found;
    };
    EXPECT_EQ(looksAsAUser(), 1);
    bus().allowAccess(late);
    EXPECT_EQ(looksAsAUser(), 1) << "not tried again at once";
    driver->setReopenDelay(0);
    EXPECT_EQ(looksAsAUser(), 2) << "tried again at a later look";
    EXPECT_EQ(reports.size(), 1) << "the permission message comes once";
    EXPECT_TRUE(reports.value(0).contains(bus().node(late)));
}
