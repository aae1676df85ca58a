#pragma once

// The driver for real evaluation boards: libusb-1.0 behind usb::DeviceDriver. It serves the USB devices
// with the board's identifiers or the development kit's, numbered 0-8 in one table that both base names
// ("Ezssp-n", "Ezusb-n") name, and answers the driver requests with the record layouts the USB object
// reads. Pipe i is endpoint i of interface 0 in descriptor order.
//
// A board is opened when it appears and closed as soon as it leaves. Its interface is claimed for bulk
// transfers and stays claimed while this copy keeps talking to it; it is released when the copy turns to
// another board or opens the board without moving data (the 300 ms watch does), so a board this copy has
// not selected stays free for another running copy. Looking for boards makes no device I/O.

#include "platform/usb/board_ids.h"
#include "platform/usb/usb_driver.h"
#include "platform/usbhost/slot_table.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

struct libusb_context;
struct libusb_device;
struct libusb_device_handle;

namespace usbhost {

class LibusbDriver final : public usb::DeviceDriver {
public:
    // Called once per run with the text of a board this user may not open (its node and how to grant access).
    using PermissionReporter = std::function<void(const QString& text)>;

    // context: a libusb context the caller keeps alive, or nullptr for one of the driver's own.
    explicit LibusbDriver(std::vector<usb::UsbIds> served, libusb_context* context = nullptr);
    ~LibusbDriver() override;
    LibusbDriver(const LibusbDriver&) = delete;
    LibusbDriver& operator=(const LibusbDriver&) = delete;

    // Whether libusb could be started; without it the driver serves no board.
    bool usable() const { return context_ != nullptr; }

    // --- usb::DeviceDriver ---
    intptr_t open(const QString& path) override;
    bool ioControl(intptr_t handle, uint32_t code, const void* in, uint32_t inLen, void* out, uint32_t outLen,
                   uint32_t& bytesReturned) override;
    void close(intptr_t handle) override;
    bool driverInstalled(const QString& baseName) const override;

    void setPermissionReporter(PermissionReporter reporter) { reporter_ = std::move(reporter); }
    // Time a bulk or control transfer may take before it fails (milliseconds, about 1 s by default).
    void setTimeout(unsigned milliseconds) { timeoutMs_ = milliseconds; }

    // --- state, for tests and benchmarks ---
    int boardCount() const;
    int openBoardCount() const;    // libusb handles held
    int claimedBoardCount() const; // interfaces claimed
    int openRequestHandles() const { return static_cast<int>(handles_.size()); }

    // The permission text for a device node.
    static QString permissionText(const QString& node);

private:
    struct Endpoint {
        uint8_t address = 0;
        uint16_t maxPacket = 0;
        uint8_t attributes = 0;
    };
    struct Board {
        libusb_device* device = nullptr; // one reference held
        libusb_device_handle* handle = nullptr;
        bool claimed = false;
        std::vector<Endpoint> endpoints;
    };
    struct RequestHandle {
        int slot = -1;
        libusb_device* device = nullptr; // the board the handle was opened on (not owned)
        bool movedData = false;
    };

    void refresh();
    bool served(uint16_t vendor, uint16_t product) const;
    void adopt(libusb_device* device, std::vector<QString>& denied);
    void release(int slot);
    void forget(libusb_device* device);
    bool claim(int slot);
    void unclaim(int slot);
    Board* boardOf(const RequestHandle& request);
    bool bulk(int slot, bool read, const void* in, uint32_t inLen, uint8_t* data, uint32_t length,
              uint32_t& bytesReturned);
    bool vendor(int slot, const void* in, uint32_t inLen, uint8_t* data, uint32_t length,
                uint32_t& bytesReturned);
    bool stringDescriptor(int slot, const void* in, uint32_t inLen, uint8_t* data, uint32_t length,
                          uint32_t& bytesReturned);
    bool failed(int slot, int error);

    std::vector<usb::UsbIds> served_;
    libusb_context* context_ = nullptr;
    bool ownContext_ = false;
    SlotTable slots_;
    std::array<Board, kSlotCount> boards_{};
    std::vector<libusb_device*> refused_; // boards not to open again while plugged (one reference each)
    std::map<intptr_t, RequestHandle> handles_;
    intptr_t nextHandle_ = 1;
    PermissionReporter reporter_;
    bool permissionReported_ = false;
    unsigned timeoutMs_ = 1000;
    int refreshing_ = 0;
};

} // namespace usbhost
