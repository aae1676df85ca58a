#pragma once

// The driver for real evaluation boards: libusb-1.0 behind usb::DeviceDriver. It serves the USB devices
// with the board's identifiers or the development kit's, numbered 0-8 in one table that both base names
// ("Ezssp-n", "Ezusb-n") name, and answers the driver requests with the record layouts the USB object
// reads. Pipe i is endpoint i of interface 0 in descriptor order.
//
// A board is opened when it appears and closed as soon as it leaves; a board that could not be opened is
// tried again a few seconds later. Looking for boards makes no device I/O. When this copy holds a board's
// interface, and how a board whose replies no longer pair with its requests is brought back (a reset, then
// one short firmware-version request whose answer is known and is the last thing the board sends), is
// BoardLinkSupervisor's to decide; this class does the device work. The program tells it when it waits for
// its user, when the events an action lets run begin and end, and when it ends.

#include "platform/usb/board_ids.h"
#include "platform/usb/usb_driver.h"
#include "platform/usbhost/board_link_supervisor.h"
#include "platform/usbhost/reply_pairing.h"
#include "platform/usbhost/slot_table.h"

#include <QString>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

struct libusb_context;
struct libusb_device;
struct libusb_device_handle;

namespace usbhost {

class LibusbDriver final : public usb::DeviceDriver, private BoardLinkSupervisor::Link {
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
    bool answering(const QString& path) override;
    bool heldByAnotherCopy(const QString& path) override;
    bool tryToTakeBoard(const QString& path) override;

    void setPermissionReporter(PermissionReporter reporter) { reporter_ = std::move(reporter); }
    // Time a bulk or control transfer may take before it fails, and the time a claim another copy holds is
    // waited for (milliseconds, 1 s by default).
    void setTimeout(unsigned milliseconds)
    {
        timeoutMs_ = milliseconds;
        timing_.claimWait = std::chrono::milliseconds(milliseconds);
    }
    // The timeout of the firmware-version request that checks an out-of-step board, and of the one read on
    // each reply pipe after it that must find nothing (200 ms by default).
    void setProbeTimeout(unsigned milliseconds) { probeTimeoutMs_ = milliseconds; }
    // How long an out-of-step board's requests fail at once before one of them tries it again (2 s).
    void setProbeInterval(unsigned milliseconds)
    {
        timing_.probeInterval = std::chrono::milliseconds(milliseconds);
    }
    // How long a board that could not be opened is left alone before it is opened again (3 s).
    void setReopenDelay(unsigned milliseconds) { reopenDelay_ = std::chrono::milliseconds(milliseconds); }
    // The program waits for its user: the claims go back, but for a board out of step that this copy still
    // tries. Without an event loop (a tool, a benchmark) a claim lasts until another board is claimed or
    // this is called.
    void programWaitsForItsUser() { supervisor_.programWaitsForItsUser(); }
    // An action lets queued events run (a DoEvents, a pause), and they have run: a claim taken by what ran
    // meanwhile goes back then, unless the action held it before.
    void actionEventsBegin() { supervisor_.actionEventsBegin(); }
    void actionEventsEnd() { supervisor_.actionEventsEnd(); }
    // The process ends: a board this copy holds out of step is reset, so that an answer it still owes this
    // copy reaches no other copy once the end lets go of it.
    void programEnds() { supervisor_.programEnds(); }

    // --- state, for tests and benchmarks ---
    // Where the board at a path stands with this copy.
    BoardLinkSupervisor::State linkState(const QString& path) const;
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
    using Clock = std::chrono::steady_clock;
    struct Board {
        libusb_device* device = nullptr; // one reference held
        libusb_device_handle* handle = nullptr;
        std::vector<Endpoint> endpoints;
        ReplyPairing replies;
    };
    struct Refused {
        libusb_device* device = nullptr; // one reference held
        Clock::time_point since{};
    };
    struct RequestHandle {
        int slot = -1;
        libusb_device* device = nullptr; // the board the handle was opened on (not owned)
    };

    void refresh();
    bool served(uint16_t vendor, uint16_t product) const;
    void adopt(libusb_device* device, std::vector<QString>& denied);
    // Opens a board for requests (a libusb error, or 0).
    static int openHandle(libusb_device* device, libusb_device_handle*& handle);
    // Closes the board's handle and opens a new one, whose claims reach the kernel (a libusb error, or 0).
    int renewHandle(int slot);
    // Lets go of a board that left, or of every board at the end.
    void drop(int slot);
    Board* boardOf(const RequestHandle& request);
    bool bulk(int slot, bool read, const void* in, uint32_t inLen, uint8_t* data, uint32_t length,
              uint32_t& bytesReturned);
    bool vendor(int slot, const void* in, uint32_t inLen, uint8_t* data, uint32_t length,
                uint32_t& bytesReturned);
    bool stringDescriptor(int slot, const void* in, uint32_t inLen, uint8_t* data, uint32_t length,
                          uint32_t& bytesReturned);
    bool failed(int slot, int error);
    // What a libusb result means to the supervisor; an unplugged board is dropped.
    BoardLinkSupervisor::Outcome outcomeOf(int slot, int result);
    // The board's endpoint of a pipe when it has the direction a pipe needs, else nullptr.
    static const Endpoint* endpointOf(const Board& board, int pipe, bool in);
    // After the probe's answer: nothing more waits on the board's reply pipes.
    BoardLinkSupervisor::Outcome repliesDrained(int slot);
    bool isRefused(const libusb_device* device) const;

    // --- BoardLinkSupervisor::Link ---
    BoardLinkSupervisor::Outcome claimInterface(int slot) override;
    void releaseInterface(int slot) override;
    BoardLinkSupervisor::Outcome resetBoard(int slot) override;
    BoardLinkSupervisor::Outcome proveBoard(int slot) override;

    std::vector<usb::UsbIds> served_;
    libusb_context* context_ = nullptr;
    bool ownContext_ = false;
    SlotTable slots_;
    std::array<Board, kSlotCount> boards_{};
    std::vector<Refused> refused_; // boards not to open again before the reopen delay has passed
    std::map<intptr_t, RequestHandle> handles_;
    intptr_t nextHandle_ = 1;
    PermissionReporter reporter_;
    bool permissionReported_ = false;
    unsigned timeoutMs_ = 1000;
    unsigned probeTimeoutMs_ = 200;
    std::chrono::milliseconds reopenDelay_{3000};
    int refreshing_ = 0;
    BoardLinkSupervisor::Timing timing_;
    BoardLinkSupervisor supervisor_{*this, timing_};
};

} // namespace usbhost
