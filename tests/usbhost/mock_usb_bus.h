#pragma once

// A USB bus under umockdev with emulated evaluation boards on it: each board is a usbfs device node whose
// ioctls (claims, URBs, halts) the emulated board answers, so the real libusb code runs against it. One
// bus per test program, made before anything asks whether it runs under umockdev.

#include "platform/usb/emulated_board.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace usbmock {

// What the bus saw of one board.
// NOLINTNEXTLINE(bugprone-reserved-identifier): the compiler's own copy of the pipe arrays names its index.
struct BoardTraffic {
    QList<QByteArray> out[usb::kPipeCount]; // each completed bulk OUT URB's bytes, by pipe
    QList<QByteArray> in[usb::kPipeCount];  // each completed bulk IN URB's bytes, by pipe
    int bulkUrbs = 0;
    int controlUrbs = 0;
    int vendorRequests = 0;
    std::vector<uint8_t> clearedHalts; // endpoint addresses
    int resets = 0;
    int resetsOverAClaim = 0; // resets asked for while another open file held the interface
    int claimAttempts = 0;    // interface claims asked for, by any open file
};

class MockUsbBus {
public:
    MockUsbBus();
    ~MockUsbBus();
    MockUsbBus(const MockUsbBus&) = delete;
    MockUsbBus& operator=(const MockUsbBus&) = delete;

    // Whether the program runs under umockdev-wrapper (ask only after making the bus).
    static bool active();

    // Plugs a board; returns its plug number (the USB device address, 2-127, not used again before the
    // other addresses have had their turn).
    int plug(const usb::BoardOptions& options = {});
    // Unplugs a board: its pending URBs fail, every later ioctl on its node fails, the removal is announced.
    void unplug(int plugNumber);
    void unplugAll();
    // The board leaves while its nth bulk URB from now is being answered (that URB and the rest fail).
    void unplugAtUrb(int plugNumber, int nth);
    // The next bulk URB on an endpoint stalls.
    void stallNext(int plugNumber, uint8_t endpoint);
    // Makes the node of a board unopenable for this user from now on (before the driver first sees it).
    void denyAccess(int plugNumber);
    // Plugs a board whose node this user may not open yet, until allowAccess (a udev rule that comes late).
    int plugRefused(const usb::BoardOptions& options = {});
    // Makes the node openable again.
    void allowAccess(int plugNumber);
    // umockdev keeps an ioctl connection for every open of a node that was refused, in a table of fifty
    // for the whole program: this lets go of those kept so far (a test's few), so that a long run of tests
    // does not fill the table.
    static void forgetRefusedOpens();
    // The board answers the next IN request on an endpoint too late: the request is given up, and the
    // answer waits in the endpoint for the next request there (until a reset empties the endpoints).
    void answerLate(int plugNumber, uint8_t endpoint);
    // The board answers the next IN request on an endpoint only after the next reset: its firmware was
    // still making the answer when the reset came, and sends it afterwards.
    void answerAfterReset(int plugNumber, uint8_t endpoint);
    // The next answer on an IN endpoint is cut or padded (with 0x5A) to `length` bytes.
    void reshapeNextAnswer(int plugNumber, uint8_t endpoint, int length);
    // At the next reset, the open file last refused the interface takes it: a copy waiting for the board
    // claims it again while the reset has it free, before the resetting copy can.
    void letAWaitingCopyInAtNextReset(int plugNumber);
    // The next reset fails with an I/O error. The kernel has unbound every open file from the interface by
    // then (a copy waiting for it may take it, as at any reset); the endpoints are not emptied.
    void failNextReset(int plugNumber);
    // The next bulk URB on an endpoint ends with the error `error` (EPROTO: an I/O error on the bus; EPIPE:
    // a halt) although the firmware took it: a command's reply is sent all the same, and an answer asked
    // for stays in the endpoint for the next request there.
    void failNextTransfer(int plugNumber, uint8_t endpoint, int error);
    // A silent board enumerates but its firmware answers nothing: IN requests wait for ever and OUT data
    // never reaches the firmware, until it answers again.
    void setSilent(int plugNumber, bool silent);

    bool plugged(int plugNumber) const;
    int pluggedCount() const;
    // The board behind a plug number; touch it only while no transfer is in flight.
    usb::EmulatedBoard& board(int plugNumber);
    BoardTraffic traffic(int plugNumber) const;
    void clearTraffic(int plugNumber);
    // Open files that hold the board's interface claimed, and pending (unanswered) URBs.
    int claims(int plugNumber) const;
    int pendingUrbs(int plugNumber) const;
    // Answers that wait in the board's IN endpoints for a request to take them.
    int waitingAnswers(int plugNumber) const;
    QString node(int plugNumber) const;

    struct Device; // one plugged board with its node's state

private:
    Device* device(int plugNumber) const;
    int freeAddress();
    int plugWith(const usb::BoardOptions& options, bool served);
    void serve(Device& device);
    void openToEveryone();
    QByteArray nodePath(const Device& device) const; // the node's file in the bed
    void remove(Device& device);

    struct Testbed;
    std::unique_ptr<Testbed> testbed_;
    std::vector<std::unique_ptr<Device>> devices_;
    int nextAddress_ = 2;
};

} // namespace usbmock
