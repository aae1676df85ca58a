#pragma once

// clsEZUSB: the system's only way to the evaluation board. It finds the boards that the board driver
// exposes as device files ("Ezssp-0" to "Ezssp-8", or "Ezusb-0" to "Ezusb-8" after UseEZUSBDriver), keeps
// the name of the one board the system works with (DriverName, empty while none is selected), moves bytes
// over the board's bulk pipes, and reads and writes the two firmware values that belong to the transport:
// the firmware version and the host identifier with which one running copy claims a board.
//
// No device handle is kept: every operation opens the device file through usb::driver(), asks what it
// needs and closes it again, so an unplugged board simply fails its next call. Results follow the classic
// convention: 1 = success, 0 = failure (plus the special values documented per member). Message boxes
// appear only while VerboseIO is on, except the read-only property messages.
//
// All calls come from the one GUI thread.

#include "board/ezusb_requests.h"
#include "platform/usb/firmware_commands.h"
#include "platform/usb/usb_driver.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>

// Identifiers as start-up stores them in VendorID and ProductID: a descriptor identifier is read as a
// signed 16-bit number, so the board's product identifier (0x8000 or above) is kept as a negative number.
inline constexpr int32_t kEvalBoardVendorID = static_cast<int16_t>(usb::kBoardVendorId);
inline constexpr int32_t kEvalBoardProductID = static_cast<int16_t>(usb::kBoardProductId);
// The USB microcontroller maker's development kit ("-CYDEV").
inline constexpr int32_t kDevKitVendorID = static_cast<int16_t>(usb::kDevKitVendorId);
inline constexpr int32_t kDevKitProductID = static_cast<int16_t>(usb::kDevKitProductId);

class clsEZUSB {
public:
    static constexpr int kMaxDevices = 9;                 // device names base-0 to base-8
    static constexpr int kMaxPipes = ezusbreq::kMaxPipes; // pipe records in the pipe-information buffer
    static constexpr int kCommandPipe = usb::firmware::kCommandPipe; // firmware commands (out)
    static constexpr int kReplyPipe = usb::firmware::kReplyPipe;     // firmware replies (in)

    // Creation: VendorID = the board maker's vendor identifier, ProductID 0, no device listed, base name
    // "Ezssp", then USBDriverInstalled(). Nothing is sent to any board.
    clsEZUSB();
    // Releases this copy's claim: when a board is selected, still present and listed, and its firmware
    // version is 0.3 or more (or cannot be read: a board that stopped answering), host identifier 0 is
    // written to it once.
    ~clsEZUSB();
    clsEZUSB(const clsEZUSB&) = delete;
    clsEZUSB& operator=(const clsEZUSB&) = delete;

    // --- plain properties ---
    bool VerboseIO() const { return verboseIO_; }
    void setVerboseIO(bool on) { verboseIO_ = on; }
    bool USBDriverIsInstalled() const { return driverIsInstalled_; }
    void setUSBDriverIsInstalled(bool installed) { driverIsInstalled_ = installed; }
    int32_t VendorID() const { return vendorID_; }
    void setVendorID(int32_t id) { vendorID_ = id; }
    int32_t ProductID() const { return productID_; }
    void setProductID(int32_t id) { productID_ = id; }

    // --- read-only properties: setting shows "Sorry, this is a read only property!" (information icon,
    // title "Can not set property value!") and changes nothing ---
    const QString& DriverName() const { return driverName_; }
    // True while a board is selected (DriverName names one): the one test of it every caller uses.
    bool BoardSelected() const { return !driverName_.isEmpty(); }
    void setDriverName(const QString& ignored);
    int16_t DeviceCount() const { return deviceCount_; }
    void setDeviceCount(int16_t ignored);

    // The driver base name in use: "Ezssp", or "Ezusb" after UseEZUSBDriver.
    const QString& driverBaseName() const { return baseName_; }

    // --- device list ---
    // The device name at a list index; "" when the index is not within 0 .. DeviceCount-1.
    QString GetDriverName(int16_t index) const;
    // The list index (0 .. DeviceCount-1) of a device name; -1 when it is not listed.
    int16_t GetDeviceIndex(const QString& name) const;
    // Enumerates base-0 .. base-8: a board counts when its descriptor's vendor AND product identifiers equal
    // VendorID and ProductID (signed 16-bit rule). Names that cannot be opened, and devices whose
    // descriptor cannot be read, are skipped. Sets DeviceCount and returns it.
    int16_t GetDevices();
    // Selects the board at a list index and claims it with hostId (see the member's comment in the .cpp).
    // Returns 1 on success; 0 and DriverName unchanged when index is outside the list; 0 with DriverName
    // already changed when the claim could not be written. `flag` is accepted and has no effect.
    int16_t SelectDevice(int16_t index, int32_t hostId = 0, bool flag = false);
    // GetDevices, then true when DriverName is one of the listed devices. The USB watch calls it every
    // 300 ms.
    bool IsConnected();
    // Whether the selected board answers its requests (false for a board that is plugged in but stopped
    // answering, and when no board is selected). No device I/O.
    bool IsAnswering();

    // --- transfers ---
    // Opens the device path "\\.\" & name; returns the handle (close it with usb::driver().close), or
    // usb::kInvalidHandle (-1) when the device cannot be opened.
    intptr_t OpenDriver(const QString& name);

    // One bulk transfer on the selected board (deviceName empty) or on the named board. The direction comes
    // from the pipe's endpoint address (below 0x81: write the buffer; otherwise read into it). `buffer` must
    // hold at least `length` bytes; on return `length` holds the count the driver reports as moved.
    // Returns 1 on success, 0 on failure (no such device, a device descriptor cut short, neither identifier
    // matches, pipe information unavailable or cut short, pipe outside the device's pipes, a pipe whose
    // direction contradicts its role (0 and 3 out, 1 and 5 in), the transfer failed, or the driver moved
    // another count of bytes than asked). `length` never comes back larger than it went in. A negative
    // length fails without traffic.
    int32_t BulkXfer(int32_t pipe, uint8_t* buffer, int32_t& length, const QString& deviceName = QString());
    // The same with a byte array; a length larger than buffer.size() fails without traffic.
    int32_t BulkXfer(int32_t pipe, QByteArray& buffer, int32_t& length,
                     const QString& deviceName = QString());

    // One vendor request on the selected board (a vendor-type request to the device); the reply goes into
    // buffer (at least `length` bytes) and the count returned into length (0 when the board cannot be
    // opened or the request fails). Nothing in the system calls it.
    void VendorRequest(uint8_t request, uint16_t value, uint16_t index, uint8_t direction, uint8_t* buffer,
                       int32_t& length);

    // String descriptor `descriptorIndex` (language 1033) of the selected board as plain text. Returns the
    // request's result; on a failed request text = "ERROR"; 0 and text unchanged when the board cannot be
    // opened.
    int32_t GetStringDescription(uint8_t descriptorIndex, QString& text);

    // --- firmware values of the transport ---
    // Version text of the board at a list index: major, the locale's decimal separator, minor ("0.3",
    // "1.12", "0.10"); "0" when the command cannot be sent (also for an index outside the list), "" when
    // the reply cannot be read.
    QString GetFirmWareVersion(int16_t index);
    // Reads the host identifier of the board at a list index (most significant byte first; may be negative).
    // Returns 1 on success; 0 leaves hostId unchanged.
    int16_t GetHostID(int16_t index, int32_t& hostId);
    // Writes a host identifier (two's complement for negative values) to the board at a list index; 1/0.
    int32_t SetHostID(int16_t index, int32_t hostId);

    // --- driver ---
    // Whether the driver for the current base name is installed; stores the answer in USBDriverIsInstalled.
    bool USBDriverInstalled();
    // Switches the driver base name to "Ezusb" (device names Ezusb-0 .. Ezusb-8).
    void UseEZUSBDriver();

private:
    friend class EZUSBHolder;

    // The pipe-information request into a 356-byte buffer on the given handle, or on the named device (the
    // selected device when the name is empty); 1/0. An answer shorter than the pipe records it announces
    // fails.
    int32_t GetPipeInfo(uint8_t* buffer, const QString& name = QString(),
                        intptr_t handle = usb::kInvalidHandle);
    int32_t Transfer(int32_t pipe, uint8_t* buffer, int32_t& length, const QString& device);
    void ShowTransportError(const QString& text) const;
    QString DecimalSepPriv() const;
    void RebuildDeviceNames();
    bool ValidIndex(int16_t index) const { return index >= 0 && index < deviceCount_; }

    static int32_t BytesToLong(const uint8_t* mostSignificantFirst);
    static uint8_t GetByteOfValue(int32_t value, int byteNumber);

    int16_t deviceCount_ = 0;
    int32_t vendorID_ = kEvalBoardVendorID;
    int32_t productID_ = 0;
    std::array<QString, kMaxDevices> deviceList_;
    QString driverName_;
    bool selected_ = false;
    bool driverIsInstalled_ = false;
    bool verboseIO_ = false;
    QString baseName_;
    std::array<QString, kMaxDevices> deviceNames_; // base-n
    std::array<QString, kMaxDevices> devicePaths_; // "\\.\" & base-n
    bool releaseClaimOnDestruction_ = true;
};

// --- the one USB object ---

// The process's USB object. Created on first use; start-up and tests may replace it with ReplaceEZUSB.
clsEZUSB& goEZUSB();

// Installs `next` as the USB object and hands back the previous one (nullptr if none existed); with nullptr
// the next goEZUSB() call creates a fresh object. Destroying the returned object releases its claim, so
// shutdown calls ReplaceEZUSB(nullptr) while the application still runs. An object still installed when the
// process exits is destroyed without talking to the board (the driver may already be gone by then).
std::unique_ptr<clsEZUSB> ReplaceEZUSB(std::unique_ptr<clsEZUSB> next);

// For tests: installs a fresh USB object for the guard's lifetime (optionally with the board's own
// identifiers, as start-up sets them) and puts the previous one back afterwards. Declare it after the
// usb::ScopedEmulatedDriver it talks to, so that it is destroyed first.
class ScopedEZUSB {
public:
    explicit ScopedEZUSB(bool boardIdentifiers = true);
    ~ScopedEZUSB();
    ScopedEZUSB(const ScopedEZUSB&) = delete;
    ScopedEZUSB& operator=(const ScopedEZUSB&) = delete;

    clsEZUSB& operator*() { return goEZUSB(); }
    clsEZUSB* operator->() { return &goEZUSB(); }

private:
    std::unique_ptr<clsEZUSB> previous_;
};
