#pragma once

// The device-file driver of the evaluation board's USB microcontroller, as the USB object sees it: open a
// device by name, make driver requests on the handle, close it. The board and chip behind it are the
// emulated ones of this folder unless a test installs a driver of its own.

#include <QString>

#include <cstdint>
#include <memory>

namespace usb {

// Request codes of the driver (device I/O control codes).
inline constexpr uint32_t kRequestPipeInfo = 0x222000;         // in/out: 356-byte interface record
inline constexpr uint32_t kRequestDeviceDescriptor = 0x222004; // out: 147-byte buffer, descriptor first
inline constexpr uint32_t kRequestStringDescriptor = 0x222044; // in: index u8, language u16 LE
inline constexpr uint32_t kRequestBulkRead = 0x22204E;         // in: pipe number u32 LE; out: the data
inline constexpr uint32_t kRequestBulkWrite = 0x222051;        // in: pipe number u32 LE; out: the data
inline constexpr uint32_t kRequestVendor = 0x222059;           // in: 10-byte vendor request record

// Buffer sizes the USB object uses for its requests.
inline constexpr uint32_t kPipeInfoSize = 356;
inline constexpr uint32_t kDeviceDescriptorBufferSize = 147;

// Identifiers of the evaluation board and of the microcontroller maker's development kit ("-CYDEV").
// The board's product identifier is above 0x7FFF on purpose: the USB object reads descriptor identifiers
// as signed 16-bit numbers, and the start-up code stores the board's product identifier that way.
inline constexpr uint16_t kBoardVendorId = 0x7A47;
inline constexpr uint16_t kBoardProductId = 0xB470;
inline constexpr uint16_t kDevKitVendorId = 0x0547;
inline constexpr uint16_t kDevKitProductId = 0x1002;

// Driver base names: "Ezssp" by default, "Ezusb" after UseEZUSBDriver.
inline const QString kDefaultBaseName = QStringLiteral("Ezssp");
inline const QString kDevKitBaseName = QStringLiteral("Ezusb");

inline constexpr intptr_t kInvalidHandle = -1;

class DeviceDriver {
public:
    virtual ~DeviceDriver() = default;

    // Opens a device path such as "\\\\.\\Ezssp-0" (read and write, existing device only).
    // Returns kInvalidHandle (-1) when no such device can be opened.
    virtual intptr_t open(const QString& path) = 0;

    // One driver request on an open handle. Returns true for success. bytesReturned receives the count
    // of bytes the request produced (bulk requests: bytes moved).
    virtual bool ioControl(intptr_t handle, uint32_t code, const void* in, uint32_t inLen, void* out,
                           uint32_t outLen, uint32_t& bytesReturned) = 0;

    virtual void close(intptr_t handle) = 0;

    // Whether the driver file "<base>.sys" is installed.
    virtual bool driverInstalled(const QString& baseName) const = 0;

    // Whether the board at a device path answers its requests: false for a board that is plugged in but
    // stopped answering (its requests then fail at once until it is back in step), and for no board.
    virtual bool answering(const QString& path)
    {
        const intptr_t handle = open(path);
        if (handle == kInvalidHandle) {
            return false;
        }
        close(handle);
        return true;
    }

    // Whether another running copy of the program holds the board at a device path: a request of this copy
    // waited a whole claim wait for it in vain, and this copy's requests to it fail until a try gets it.
    // Makes no device I/O. No other copy can hold an emulated board.
    virtual bool heldByAnotherCopy(const QString& /*path*/) { return false; }
    // One try, without waiting, to take back a board another copy held: true when the try got it (this copy
    // then holds it as for the request of a user action); false when it was refused, and for a board that
    // no other copy held.
    virtual bool tryToTakeBoard(const QString& /*path*/) { return false; }
};

class EmulatedDriver;

// Whether TESSARON_BOARDS asks for the real boards on USB (unset or empty) rather than emulated ones.
bool realBoardsWanted();

// What kind of board the program talks to, as the start-up line on the standard error says it ("Boards:
// emulated, not real (TESSARON_BOARDS=demo)."), set by whoever installs the process-wide driver.
QString boardKind();
void setBoardKind(const QString& kind);

// The process-wide driver: the one installed with setDriver, else the default emulated driver.
DeviceDriver& driver();

// Installs a driver the caller keeps alive (not owned); nullptr goes back to the default emulated driver.
void setDriver(DeviceDriver* replacement);

// The default emulated driver, created on first use with the boards that TESSARON_BOARDS names ("demo":
// one board at Ezssp-0, silicon revision 3, high speed, FIFO present; "none": no board; unset: none, the
// real boards being another driver's).
EmulatedDriver& defaultEmulatedDriver();

// Installs a fresh emulated driver (no boards, trace on) for the lifetime of the object and puts the
// previously installed driver back afterwards. Meant for tests.
class ScopedEmulatedDriver {
public:
    ScopedEmulatedDriver();
    ~ScopedEmulatedDriver();
    ScopedEmulatedDriver(const ScopedEmulatedDriver&) = delete;
    ScopedEmulatedDriver& operator=(const ScopedEmulatedDriver&) = delete;

    EmulatedDriver& operator*() { return *emulated_; }
    EmulatedDriver* operator->() { return emulated_.get(); }
    EmulatedDriver& get() { return *emulated_; }

private:
    std::unique_ptr<EmulatedDriver> emulated_;
    DeviceDriver* previous_; // not owned
};

} // namespace usb
