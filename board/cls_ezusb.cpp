// clsEZUSB: creation and destruction, properties, the device list, enumeration and selection, the
// transfers and requests on the device files (their buffer layouts are ezusb_requests.h), and the firmware
// values of the transport. Each firmware value addresses a board by its list index; an index outside the
// list addresses no board at all (an empty name would otherwise mean the selected board).

#include "board/cls_ezusb.h"

#include "board/cls_ezusb_version.h"
#include "board/ezusb_requests.h"
#include "board/message_sink.h"
#include "platform/usb/firmware_commands.h"

#include <array>

namespace {

const QString kReadOnlyText = QStringLiteral("Sorry, this is a read only property!");
const QString kReadOnlyTitle = QStringLiteral("Can not set property value!");

// Firmware 0.3 brought the host identifier commands; older boards have nothing to release.
constexpr double kFirstVersionWithHostID = 0.3;

} // namespace

namespace fw = usb::firmware;

clsEZUSB::clsEZUSB() : baseName_(usb::kDefaultBaseName)
{
    RebuildDeviceNames();
    USBDriverInstalled();
}

clsEZUSB::~clsEZUSB()
{
    if (!releaseClaimOnDestruction_ || (driverName_.isEmpty() && !selected_)) {
        return;
    }
    // Give the board back to other running copies, but only a board that is still here and can keep a
    // host identifier. The version text is compared as a number: "0.10" counts as 0.1, below 0.3.
    if (!IsConnected()) {
        return;
    }
    const int16_t index = GetDeviceIndex(driverName_);
    if (index < 0) {
        return;
    }
    // The version request is also the one attempt to bring a board that stopped answering back in step.
    // Only a board that answered it is given back: one that did not would not take the write either.
    const std::optional<double> version = ezusbVersionNumber(GetFirmWareVersion(index), DecimalSepPriv());
    if (version && *version >= kFirstVersionWithHostID) {
        SetHostID(index, 0);
    }
}

void clsEZUSB::setDriverName(const QString&)
{
    boardmsg::MsgBox(kReadOnlyText, boardmsg::vbInformation, kReadOnlyTitle);
}

void clsEZUSB::setDeviceCount(int16_t)
{
    boardmsg::MsgBox(kReadOnlyText, boardmsg::vbInformation, kReadOnlyTitle);
}

void clsEZUSB::RebuildDeviceNames()
{
    for (int n = 0; n < kMaxDevices; ++n) {
        deviceNames_[n] = baseName_ + QLatin1Char('-') + QString::number(n);
        devicePaths_[n] = QStringLiteral("\\\\.\\") + deviceNames_[n];
    }
}

void clsEZUSB::UseEZUSBDriver()
{
    baseName_ = usb::kDevKitBaseName;
    RebuildDeviceNames();
}

bool clsEZUSB::USBDriverInstalled()
{
    driverIsInstalled_ = usb::driver().driverInstalled(baseName_);
    return driverIsInstalled_;
}

QString clsEZUSB::GetDriverName(int16_t index) const
{
    return ValidIndex(index) ? deviceList_[index] : QString();
}

int16_t clsEZUSB::GetDeviceIndex(const QString& name) const
{
    for (int16_t i = 0; i < deviceCount_; ++i) {
        if (deviceList_[i] == name) {
            return i;
        }
    }
    return -1;
}

int16_t clsEZUSB::GetDevices()
{
    usb::DeviceDriver& driver = usb::driver();
    int16_t count = 0;
    for (int n = 0; n < kMaxDevices; ++n) {
        const intptr_t handle = driver.open(devicePaths_[n]);
        if (handle == usb::kInvalidHandle) {
            continue;
        }
        // A device whose descriptor cannot be read is passed over; the boards after it are still found,
        // so that a selected board behind a faulty one does not look unplugged.
        const ezusbreq::DescriptorIds ids = ezusbreq::readDescriptorIds(handle);
        if (ids.ok && ids.product == productID_ && ids.vendor == vendorID_) {
            deviceList_[count] = deviceNames_[n];
            ++count;
        }
        driver.close(handle);
    }
    deviceCount_ = count;
    return count;
}

bool clsEZUSB::IsConnected()
{
    GetDevices();
    return !driverName_.isEmpty() && GetDeviceIndex(driverName_) >= 0;
}

bool clsEZUSB::IsAnswering()
{
    return !driverName_.isEmpty() && usb::driver().answering(QStringLiteral("\\\\.\\") + driverName_);
}

// Selection claims the new board with the caller's host identifier and hands the previous board back (host
// identifier 0). The new name is kept even when the claim fails, so that the caller still talks to the
// board the user chose; the result 0 tells it that the claim is not in place.
int16_t clsEZUSB::SelectDevice(int16_t index, int32_t hostId, bool /*flag*/)
{
    const int16_t previous = GetDeviceIndex(driverName_);
    if (index < 0 || index > deviceCount_ - 1) {
        return 0;
    }
    driverName_ = deviceList_[index];
    selected_ = true;
    int16_t result = 1;

    const QString separator = DecimalSepPriv();
    const std::optional<double> version = ezusbVersionNumber(GetFirmWareVersion(index), separator);
    if (!version) {
        // The board took the version command but its reply could not be read: nothing can be claimed.
        return 0;
    }
    bool claimed = false;
    if (*version >= 0) {
        claimed = SetHostID(index, hostId) == 1;
        if (!claimed) {
            result = 0;
        }
    }
    if (*version < 0 || claimed) {
        if (previous != -1 && previous != index) {
            const std::optional<double> previousVersion =
                ezusbVersionNumber(GetFirmWareVersion(previous), separator);
            if (previousVersion && *previousVersion >= 0 && SetHostID(previous, 0) != 1) {
                result = 0;
            }
        }
    }
    return result;
}

QString clsEZUSB::DecimalSepPriv() const
{
    return ezusbDecimalSeparator();
}

int32_t clsEZUSB::BytesToLong(const uint8_t* mostSignificantFirst)
{
    const uint32_t value = (uint32_t{mostSignificantFirst[0]} << 24) |
                           (uint32_t{mostSignificantFirst[1]} << 16) |
                           (uint32_t{mostSignificantFirst[2]} << 8) | uint32_t{mostSignificantFirst[3]};
    return static_cast<int32_t>(value);
}

uint8_t clsEZUSB::GetByteOfValue(int32_t value, int byteNumber)
{
    if (byteNumber < 0 || byteNumber > 3) {
        return 0;
    }
    // Whole-number division rounding down, so negative values give their two's-complement bytes.
    return static_cast<uint8_t>((value >> (8 * byteNumber)) & 0xFF);
}

// ---- transfers and requests ----

void clsEZUSB::ShowTransportError(const QString& text) const
{
    if (verboseIO_) {
        boardmsg::MsgBox(text, boardmsg::vbOKOnly, QStringLiteral("Error"));
    }
}

intptr_t clsEZUSB::OpenDriver(const QString& name)
{
    for (int n = 0; n < kMaxDevices; ++n) {
        if (deviceNames_[n] == name) {
            return usb::driver().open(devicePaths_[n]);
        }
    }
    return usb::driver().open(QStringLiteral("\\\\.\\") + name);
}

int32_t clsEZUSB::GetPipeInfo(uint8_t* buffer, const QString& name, intptr_t handle)
{
    if (handle != usb::kInvalidHandle) {
        return ezusbreq::readPipeInfo(handle, buffer) ? 1 : 0;
    }
    handle = OpenDriver(name.isEmpty() ? driverName_ : name);
    if (handle == usb::kInvalidHandle) {
        return 0;
    }
    const bool ok = ezusbreq::readPipeInfo(handle, buffer);
    usb::driver().close(handle);
    return ok ? 1 : 0;
}

int32_t clsEZUSB::BulkXfer(int32_t pipe, uint8_t* buffer, int32_t& length, const QString& deviceName)
{
    return Transfer(pipe, buffer, length, deviceName.isEmpty() ? driverName_ : deviceName);
}

int32_t clsEZUSB::BulkXfer(int32_t pipe, QByteArray& buffer, int32_t& length, const QString& deviceName)
{
    if (length < 0 || length > buffer.size()) {
        return 0;
    }
    return Transfer(pipe, reinterpret_cast<uint8_t*>(buffer.data()), length,
                    deviceName.isEmpty() ? driverName_ : deviceName);
}

int32_t clsEZUSB::Transfer(int32_t pipe, uint8_t* buffer, int32_t& length, const QString& device)
{
    if (length < 0 || (buffer == nullptr && length > 0)) {
        return 0;
    }
    usb::DeviceDriver& driver = usb::driver();
    const intptr_t handle = OpenDriver(device);
    if (handle == usb::kInvalidHandle) {
        ShowTransportError(QStringLiteral("Error bad driver"));
        return 0;
    }
    int32_t result = 0;
    const ezusbreq::DescriptorIds ids = ezusbreq::readDescriptorIds(handle);
    // One matching identifier is enough here; enumeration is the strict check.
    if (ids.truncated || (ids.product != productID_ && ids.vendor != vendorID_)) {
        ShowTransportError(QStringLiteral("Error at PID/VID"));
    } else {
        std::array<uint8_t, usb::kPipeInfoSize> info{};
        if (!ezusbreq::readPipeInfo(handle, info.data())) {
            ShowTransportError(QStringLiteral("Error at caller's pipe"));
        } else if (pipe < 0 || static_cast<uint32_t>(pipe) >= ezusbreq::pipeCount(info.data()) ||
                   pipe >= kMaxPipes) {
            ShowTransportError(QStringLiteral("Error Illegal Pipe"));
        } else {
            const bool read = ezusbreq::isInEndpoint(ezusbreq::pipeEndpoint(info.data(), pipe));
            if (!ezusbreq::pipeDirectionFits(pipe, read)) {
                // Reading a command pipe or writing the reply pipe would pass a buffer of zeros off as an
                // answer, or send a reply buffer as data.
                ShowTransportError(QStringLiteral("Error at caller's pipe"));
            } else {
                result = ezusbreq::bulkMove(handle, pipe, read, buffer, length);
            }
        }
    }
    driver.close(handle);
    return result;
}

void clsEZUSB::VendorRequest(uint8_t request, uint16_t value, uint16_t index, uint8_t direction,
                             uint8_t* buffer, int32_t& length)
{
    const uint32_t asked = length > 0 && buffer != nullptr ? static_cast<uint32_t>(length) : 0;
    length = 0;
    const intptr_t handle = OpenDriver(driverName_);
    if (handle == usb::kInvalidHandle) {
        return;
    }
    length = ezusbreq::vendorRequest(handle, request, value, index, direction, buffer, asked);
    usb::driver().close(handle);
}

int32_t clsEZUSB::GetStringDescription(uint8_t descriptorIndex, QString& text)
{
    const intptr_t handle = OpenDriver(driverName_);
    if (handle == usb::kInvalidHandle) {
        return 0;
    }
    const bool ok = ezusbreq::stringDescriptor(handle, descriptorIndex, text);
    if (!ok) {
        text = QStringLiteral("ERROR");
    }
    usb::driver().close(handle);
    return ok ? 1 : 0;
}

// ---- firmware values of the transport ----

QString clsEZUSB::GetFirmWareVersion(int16_t index)
{
    if (!ValidIndex(index)) {
        return QStringLiteral("0");
    }
    const QString& name = deviceList_[index];
    std::array<uint8_t, fw::commandLength(fw::GetFirmwareVersion)> command = {fw::GetFirmwareVersion};
    int32_t length = command.size();
    if (Transfer(kCommandPipe, command.data(), length, name) != 1) {
        return QStringLiteral("0");
    }
    std::array<uint8_t, fw::replyLength(fw::GetFirmwareVersion)> reply = {};
    length = reply.size();
    if (Transfer(kReplyPipe, reply.data(), length, name) != 1) {
        return QString();
    }
    return ezusbVersionText(reply[0], reply[1], DecimalSepPriv());
}

int16_t clsEZUSB::GetHostID(int16_t index, int32_t& hostId)
{
    const QString name = GetDriverName(index);
    int32_t result = 0;
    if (!name.isEmpty()) {
        std::array<uint8_t, fw::commandLength(fw::GetHostId)> command = {fw::GetHostId};
        int32_t length = command.size();
        result = Transfer(kCommandPipe, command.data(), length, name);
        if (result == 1) {
            static_assert(fw::replyLength(fw::GetHostId) == sizeof(int32_t), "the identifier's four bytes");
            std::array<uint8_t, fw::replyLength(fw::GetHostId)> reply = {};
            length = reply.size();
            result = Transfer(kReplyPipe, reply.data(), length, name);
            if (result == 1) {
                hostId = BytesToLong(reply.data());
            }
        }
    }
    if (result != 1 && verboseIO_) {
        boardmsg::MsgBox(QStringLiteral("Error: Could not get the HostID for ") + name, boardmsg::vbOKOnly);
    }
    return static_cast<int16_t>(result);
}

int32_t clsEZUSB::SetHostID(int16_t index, int32_t hostId)
{
    const QString name = GetDriverName(index);
    int32_t result = 0;
    if (!name.isEmpty()) {
        std::array<uint8_t, fw::commandLength(fw::SetHostId)> command = {
            fw::SetHostId, GetByteOfValue(hostId, 3), GetByteOfValue(hostId, 2), GetByteOfValue(hostId, 1),
            GetByteOfValue(hostId, 0)};
        int32_t length = command.size();
        result = Transfer(kCommandPipe, command.data(), length, name);
    }
    if (result != 1 && verboseIO_) {
        boardmsg::MsgBox(QStringLiteral("Error: Could not set the Host ID."), boardmsg::vbOKOnly);
    }
    return result;
}
