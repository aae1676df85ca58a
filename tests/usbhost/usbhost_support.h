#pragma once

// What every libusb test shares: the one umockdev bus and libusb context of the program, and a fixture with
// a fresh real-board driver installed as the process-wide driver and a fresh USB object.

#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "mock_usb_bus.h"
#include "platform/usbhost/libusb_driver.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <cstdint>
#include <memory>

struct libusb_context;

namespace usbhosttest {

usbmock::MockUsbBus& bus();
libusb_context* context();

// Waits until libusb lists exactly the boards plugged into the bus (its hot-plug monitor runs on a thread of
// its own). False when it does not happen within a few seconds.
bool settle();

// The program goes back to its event loop and waits there for its user, as at the end of every user action:
// the loop runs until it is about to wait.
void waitForTheUser();

// One firmware command to board Ezssp-0 and its reply (of the reply's size) through a driver, as the USB
// object of another running copy makes them.
bool askBoard(usb::DeviceDriver& driver, uint8_t command, QByteArray& reply);

// The identifiers the driver serves in these tests: the built-in board's and the development kit's.
std::vector<usb::UsbIds> servedIds();

class UsbHostTest : public ::testing::Test {
protected:
    UsbHostTest();
    ~UsbHostTest() override;

    // Plugs a board and waits until libusb lists it.
    int plug(const usb::BoardOptions& options = {});
    void unplug(int plugNumber);
    // Plugs a board, finds and selects it through the USB object as host `hostId`.
    int plugAndSelect(const usb::BoardOptions& options = {}, int32_t hostId = 0x1234);

    std::unique_ptr<usbhost::LibusbDriver> driver;
    std::unique_ptr<ScopedEZUSB> ezusb;
};

// One board plugged and selected (host identifier 0x1234), the board object's buffers read from it.
class BoardTest : public UsbHostTest {
protected:
    void SetUp() override;
    void TearDown() override { goEvalBd = nullptr; }

    usb::EmulatedChip& chip() { return *bus().board(number).chip(); }

    std::unique_ptr<cZR4470XEvalBd> bd = std::make_unique<cZR4470XEvalBd>();
    int number = 0;
};

} // namespace usbhosttest
