// clsEZUSB: driver requests on the device files (descriptor, pipe information, bulk transfers, vendor and
// string requests). Every operation opens the device itself and closes it before returning.

#include "board/cls_ezusb.h"

#include "board/message_sink.h"

#include <algorithm>
#include <array>

namespace {

constexpr uint32_t kPipeRecordsStart = 16;
constexpr uint32_t kPipeRecordSize = 20;
constexpr uint32_t kPipeCountOffset = 12;
constexpr uint32_t kEndpointOffset = 2; // within a pipe record
constexpr uint8_t kFirstInEndpoint = 0x81;
constexpr uint32_t kDeviceDescriptorLength = 18; // bytes of a USB device descriptor
constexpr uint32_t kStringBufferSize = 255;
constexpr uint16_t kLanguageEnglishUS = 1033;
constexpr uint8_t kVendorRequestType = 2;

static_assert(kPipeRecordsStart + kPipeRecordSize * clsEZUSB::kMaxPipes == usb::kPipeInfoSize);

uint32_t u32At(const uint8_t* at)
{
    return uint32_t{at[0]} | (uint32_t{at[1]} << 8) | (uint32_t{at[2]} << 16) | (uint32_t{at[3]} << 24);
}

int32_t signed16At(const uint8_t* at)
{
    return static_cast<int16_t>(static_cast<uint16_t>(at[0] | (at[1] << 8)));
}

// The direction each pipe of the board's firmware works in: commands and serial or FIFO data go out,
// replies and read-back words come in. Pipe information that says otherwise describes another device.
enum class PipeRole { Any, Out, In };

PipeRole roleOf(int32_t pipe)
{
    switch (pipe) {
    case clsEZUSB::kCommandPipe:
    case 3:
        return PipeRole::Out;
    case clsEZUSB::kReplyPipe:
    case 5:
        return PipeRole::In;
    default:
        return PipeRole::Any;
    }
}

} // namespace

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

clsEZUSB::DescriptorIds clsEZUSB::ReadDescriptorIds(intptr_t handle)
{
    std::array<uint8_t, usb::kDeviceDescriptorBufferSize> descriptor{};
    uint32_t returned = 0;
    DescriptorIds ids;
    const bool answered = usb::driver().ioControl(handle, usb::kRequestDeviceDescriptor, descriptor.data(),
                                                  static_cast<uint32_t>(descriptor.size()), descriptor.data(),
                                                  static_cast<uint32_t>(descriptor.size()), returned);
    // A descriptor cut short is no descriptor: its identifiers may be missing or stale.
    ids.truncated = answered && returned < kDeviceDescriptorLength;
    ids.ok = answered && !ids.truncated;
    if (ids.ok) {
        ids.vendor = signed16At(&descriptor[8]);
        ids.product = signed16At(&descriptor[10]);
    }
    return ids;
}

int32_t clsEZUSB::GetPipeInfo(uint8_t* buffer, const QString& name, intptr_t handle)
{
    usb::DeviceDriver& driver = usb::driver();
    const bool ownHandle = handle == usb::kInvalidHandle;
    if (ownHandle) {
        handle = OpenDriver(name.isEmpty() ? driverName_ : name);
        if (handle == usb::kInvalidHandle) {
            return 0;
        }
    }
    uint32_t returned = 0;
    bool ok = driver.ioControl(handle, usb::kRequestPipeInfo, buffer, usb::kPipeInfoSize, buffer,
                               usb::kPipeInfoSize, returned);
    // The answer must hold the pipe count and every pipe record it announces (as many as the buffer has).
    if (ok) {
        ok = returned >= kPipeRecordsStart && returned <= usb::kPipeInfoSize;
    }
    if (ok) {
        const uint32_t announced = std::min<uint32_t>(u32At(&buffer[kPipeCountOffset]), kMaxPipes);
        ok = returned >= kPipeRecordsStart + kPipeRecordSize * announced;
    }
    if (ownHandle) {
        driver.close(handle);
    }
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
    const DescriptorIds ids = ReadDescriptorIds(handle);
    // One matching identifier is enough here; enumeration is the strict check.
    if (ids.truncated || (ids.product != productID_ && ids.vendor != vendorID_)) {
        ShowTransportError(QStringLiteral("Error at PID/VID"));
    } else {
        std::array<uint8_t, usb::kPipeInfoSize> info{};
        if (GetPipeInfo(info.data(), QString(), handle) != 1) {
            ShowTransportError(QStringLiteral("Error at caller's pipe"));
        } else {
            const uint32_t pipeCount = u32At(&info[kPipeCountOffset]);
            if (pipe < 0 || static_cast<uint32_t>(pipe) >= pipeCount || pipe >= kMaxPipes) {
                ShowTransportError(QStringLiteral("Error Illegal Pipe"));
            } else {
                const uint8_t endpoint = info[kPipeRecordsStart + kPipeRecordSize * pipe + kEndpointOffset];
                const bool read = endpoint >= kFirstInEndpoint;
                const PipeRole role = roleOf(pipe);
                if ((role == PipeRole::Out && read) || (role == PipeRole::In && !read)) {
                    // Reading a command pipe or writing the reply pipe would pass a buffer of zeros off as
                    // an answer, or send a reply buffer as data.
                    ShowTransportError(QStringLiteral("Error at caller's pipe"));
                } else {
                    result = Move(handle, pipe, read, buffer, length);
                }
            }
        }
    }
    driver.close(handle);
    return result;
}

int32_t clsEZUSB::Move(intptr_t handle, int32_t pipe, bool read, uint8_t* buffer, int32_t& length)
{
    const uint8_t pipeNumber[4] = {static_cast<uint8_t>(pipe), static_cast<uint8_t>(pipe >> 8),
                                   static_cast<uint8_t>(pipe >> 16), static_cast<uint8_t>(pipe >> 24)};
    const uint32_t asked = static_cast<uint32_t>(length);
    uint32_t moved = 0;
    const bool ok = usb::driver().ioControl(handle, read ? usb::kRequestBulkRead : usb::kRequestBulkWrite,
                                            pipeNumber, sizeof pipeNumber, buffer, asked, moved);
    // The count handed back never claims more than the buffer the caller gave.
    length = static_cast<int32_t>(std::min(moved, asked));
    // Only the whole buffer counts: a read that fills part of it leaves the rest stale, a write that moved
    // part of it leaves the firmware or the chip in the middle of a command or a serial cycle, and a count
    // beyond what was asked is an answer that cannot be trusted either way.
    return ok && moved == asked ? 1 : 0;
}

void clsEZUSB::VendorRequest(uint8_t request, uint16_t value, uint16_t index, uint8_t direction,
                             uint8_t* buffer, int32_t& length)
{
    const uint32_t asked = length > 0 && buffer != nullptr ? static_cast<uint32_t>(length) : 0;
    length = 0;
    usb::DeviceDriver& driver = usb::driver();
    const intptr_t handle = OpenDriver(driverName_);
    if (handle == usb::kInvalidHandle) {
        return;
    }
    const uint8_t record[10] = {direction,
                                kVendorRequestType,
                                0, // recipient: the device
                                0,
                                request,
                                0,
                                static_cast<uint8_t>(value),
                                static_cast<uint8_t>(value >> 8),
                                static_cast<uint8_t>(index),
                                static_cast<uint8_t>(index >> 8)};
    uint32_t returned = 0;
    if (driver.ioControl(handle, usb::kRequestVendor, record, sizeof record, buffer, asked, returned)) {
        length = static_cast<int32_t>(returned);
    }
    driver.close(handle);
}

int32_t clsEZUSB::GetStringDescription(uint8_t descriptorIndex, QString& text)
{
    usb::DeviceDriver& driver = usb::driver();
    const intptr_t handle = OpenDriver(driverName_);
    if (handle == usb::kInvalidHandle) {
        return 0;
    }
    const uint8_t request[3] = {descriptorIndex, static_cast<uint8_t>(kLanguageEnglishUS & 0xFF),
                                static_cast<uint8_t>(kLanguageEnglishUS >> 8)};
    // First learn the descriptor's length from its first byte, then fetch exactly that much.
    std::array<uint8_t, kStringBufferSize> probe{};
    uint32_t returned = 0;
    int32_t result = 0;
    if (driver.ioControl(handle, usb::kRequestStringDescriptor, request, sizeof request, probe.data(),
                         kStringBufferSize, returned) &&
        returned >= 1) {
        const uint32_t descriptorLength = probe[0];
        std::array<uint8_t, kStringBufferSize> descriptor{};
        if (driver.ioControl(handle, usb::kRequestStringDescriptor, request, sizeof request,
                             descriptor.data(), descriptorLength, returned)) {
            result = 1;
            QString plain;
            for (uint32_t i = 2; i < returned && i < descriptorLength; ++i) {
                if (descriptor[i] != 0) {
                    plain.append(QLatin1Char(static_cast<char>(descriptor[i])));
                }
            }
            text = plain;
        }
    }
    if (result != 1) {
        text = QStringLiteral("ERROR");
    }
    driver.close(handle);
    return result;
}
