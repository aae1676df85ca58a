#pragma once

// What the usbfs node of one board on the mocked bus answers: the claims of the open files, resets, URBs and
// their reaping, as the kernel would, with the emulated board behind the endpoints. The bus plugs and unplugs
// the boards and says how they misbehave.

// glib names a structure member "signals", which Qt defines as a keyword: glib's headers come first.
#include <umockdev.h>

#include "mock_usb_bus.h"

#include <linux/usbdevice_fs.h>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>

namespace usbmock {

// The emulated board's pipes in descriptor order.
inline constexpr uint8_t kEndpoints[usb::kPipeCount] = {0x01, 0x81, 0x02, 0x04, 0x86, 0x88};

struct MockUsbBus::Device {
    struct Urb {
        UMockdevIoctlData* data = nullptr; // the client's URB record, kept from its submit to its reap
        UMockdevIoctlClient* client = nullptr;
        int status = 0;
        int actual = 0;
    };

    int address = 0;
    QString syspath;
    QString node;
    std::unique_ptr<usb::EmulatedBoard> board;
    UMockdevIoctlBase* handler = nullptr;
    bool removed = false;
    bool served = false; // its ioctl handler is attached

    mutable std::mutex mutex;
    bool gone = false;
    std::set<UMockdevIoctlClient*> claimers;
    std::deque<Urb> pending; // IN URBs the board cannot answer yet (NAKed)
    std::deque<Urb> done;    // answered, waiting to be reaped
    int unplugCountdown = 0;
    std::set<uint8_t> stalls;
    std::map<uint8_t, std::deque<QByteArray>> endpointData; // answers waiting in an IN endpoint
    std::set<uint8_t> late;                                 // endpoints whose next answer comes late
    std::set<uint8_t> lateAfterReset;                       // ... and only after the next reset
    std::map<uint8_t, std::deque<QByteArray>> afterReset;   // answers the firmware sends after a reset
    std::map<uint8_t, int> reshape;                         // the next answer's length, by endpoint
    std::map<uint8_t, int> failures;                        // the next URB's error, by endpoint
    bool silent = false;
    bool failReset = false;
    bool waitingCopyAtNextReset = false;
    UMockdevIoctlClient* lastRefused = nullptr; // the open file last refused the interface
    BoardTraffic traffic;

    long ioctl(UMockdevIoctlClient* client, int& error);
    long submit(UMockdevIoctlClient* client, UMockdevIoctlData* arg, int& error);
    void bulk(usbdevfs_urb& urb, uint8_t* buffer, Urb& record, bool& answered);
    // A URB failed on the bus after the board took it: what the firmware makes of it goes out all the same.
    void failedButTaken(const usbdevfs_urb& urb, int pipe, uint8_t* buffer, uint32_t length);
    void control(usbdevfs_urb& urb, uint8_t* buffer, Urb& record);
    Device() = default;
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;
    ~Device()
    {
        for (auto* queue : {&pending, &done}) {
            for (Urb& urb : *queue) {
                umockdev_ioctl_data_unref(urb.data);
            }
        }
        if (handler != nullptr) {
            g_object_unref(handler);
        }
    }

    void failPending()
    {
        for (Urb& urb : pending) {
            urb.status = -ESHUTDOWN;
            done.push_back(urb);
        }
        pending.clear();
    }
};

// The signals of a node's ioctl handler; `self` is the Device.
gboolean onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self);
void onClientVanished(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self);

} // namespace usbmock
