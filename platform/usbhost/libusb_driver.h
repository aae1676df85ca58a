#pragma once

// The driver for real evaluation boards: libusb-1.0 behind usb::DeviceDriver. It serves the USB devices
// with the board's identifiers or the development kit's, numbered 0-8 in one table that both base names
// ("Ezssp-n", "Ezusb-n") name, and answers the driver requests with the record layouts the USB object
// reads. Pipe i is endpoint i of interface 0 in descriptor order.
//
// A board is opened when it appears and closed as soon as it leaves. Its interface is claimed for the
// requests of one user action: from its first transfer until the program waits for its user again (its
// event loop is about to wait, and the user-wait test, when one is set, says that this is not the event
// processing inside an action, such as a pause between two transfers), so another running copy finds it
// free between this copy's actions. A claim that another copy holds is tried again until the timeout.
// Looking for boards makes no device I/O; a board that could not be opened is tried again a few seconds
// later.
//
// A board whose reply does not belong to the request that reads it is out of step: a request that timed
// out (its answer may still come), or a reply of another length than the command owes (ReplyPairing).
// Until it is back in step its requests fail at once, without device I/O, and this copy keeps its claim,
// so that no late answer of this copy's reaches another copy's request (a board this copy leaves alone for
// two probe intervals is reset and let go). It is brought back by a reset
// (which empties its endpoints) and one short firmware-version request whose answer is known and is the
// last thing the board sends: a firmware that sends a late answer after the reset fails the proof. Tried
// by a firmware-version command, and by any request once the probe interval has passed since the last try.

#include "platform/usb/board_ids.h"
#include "platform/usb/usb_driver.h"
#include "platform/usbhost/reply_pairing.h"
#include "platform/usbhost/slot_table.h"

#include <QAbstractEventDispatcher>
#include <QPointer>
#include <QString>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QObject;

struct libusb_context;
struct libusb_device;
struct libusb_device_handle;

namespace usbhost {

class LibusbDriver final : public usb::DeviceDriver {
public:
    // Called once per run with the text of a board this user may not open (its node and how to grant access).
    using PermissionReporter = std::function<void(const QString& text)>;
    // Whether the program, its event loop being about to wait, waits for its user (its outermost loop, or a
    // modal window waiting for input) rather than for the end of a pause inside one of its actions.
    using UserWaitTest = std::function<bool()>;

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

    void setPermissionReporter(PermissionReporter reporter) { reporter_ = std::move(reporter); }
    // Without a test every wait of the event loop counts as waiting for the user.
    void setUserWaitTest(UserWaitTest test) { userWaitTest_ = std::move(test); }
    // Time a bulk or control transfer may take before it fails, and the time a claim another copy holds is
    // waited for (milliseconds, 1 s by default).
    void setTimeout(unsigned milliseconds) { timeoutMs_ = milliseconds; }
    // The timeout of the firmware-version request that checks an out-of-step board, and of the one read on
    // each reply pipe after it that must find nothing (200 ms by default).
    void setProbeTimeout(unsigned milliseconds) { probeTimeoutMs_ = milliseconds; }
    // How long an out-of-step board's requests fail at once before one of them tries it again (2 s).
    void setProbeInterval(unsigned milliseconds) { probeInterval_ = std::chrono::milliseconds(milliseconds); }
    // How long a board that could not be opened is left alone before it is opened again (3 s).
    void setReopenDelay(unsigned milliseconds) { reopenDelay_ = std::chrono::milliseconds(milliseconds); }
    // Lets go of every claim now (what waiting for the user does), but for a board out of step that this
    // copy still tries.
    void releaseClaims();
    // Resets every board out of step, so that an answer it still owed reaches no other copy once the
    // process has let go of it (the process is about to end).
    void resetBoardsOutOfStep();

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
    using Clock = std::chrono::steady_clock;
    struct Board {
        libusb_device* device = nullptr; // one reference held
        libusb_device_handle* handle = nullptr;
        bool claimed = false;
        std::vector<Endpoint> endpoints;
        std::optional<Clock::time_point> claimRefused; // another copy held it past the timeout
        bool outOfStep = false;
        Clock::time_point lastProbe{};
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
    void putOutOfStep(int slot);
    // Whether a request may go to the board: true when it is in step or was brought back now.
    bool inStep(int slot, bool versionCommand);
    bool resynchronise(int slot);
    // After the probe's answer: nothing more waits on the board's reply pipes.
    bool repliesDrained(const Board& board);
    void watchEventLoop();
    void eventLoopAboutToWait();
    bool isRefused(const libusb_device* device) const;

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
    std::chrono::milliseconds probeInterval_{2000};
    std::chrono::milliseconds reopenDelay_{3000};
    int refreshing_ = 0;
    UserWaitTest userWaitTest_;
    std::unique_ptr<QObject> releaseContext_; // the release at the event loop's waits dies with it
    QPointer<QAbstractEventDispatcher> watchedDispatcher_;
};

} // namespace usbhost
