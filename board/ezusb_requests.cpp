#include "board/ezusb_requests.h"

#include <algorithm>
#include <array>

namespace ezusbreq {

namespace {

constexpr uint32_t kDeviceDescriptorLength = 18; // bytes of a USB device descriptor
constexpr uint32_t kStringBufferSize = 255;
constexpr uint16_t kLanguageEnglishUS = 1033;
constexpr uint8_t kVendorRequestType = 2;

static_assert(kPipeRecordsStart + kPipeRecordSize * kMaxPipes == usb::kPipeInfoSize);

int32_t signed16At(const uint8_t* at)
{
    return static_cast<int16_t>(static_cast<uint16_t>(at[0] | (at[1] << 8)));
}

} // namespace

DescriptorIds readDescriptorIds(intptr_t handle)
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

bool readPipeInfo(intptr_t handle, uint8_t* buffer)
{
    uint32_t returned = 0;
    bool ok = usb::driver().ioControl(handle, usb::kRequestPipeInfo, buffer, usb::kPipeInfoSize, buffer,
                                      usb::kPipeInfoSize, returned);
    // The answer must hold the pipe count and every pipe record it announces (as many as the buffer has).
    if (ok) {
        ok = returned >= kPipeRecordsStart && returned <= usb::kPipeInfoSize;
    }
    if (ok) {
        const uint32_t announced = std::min<uint32_t>(pipeCount(buffer), kMaxPipes);
        ok = returned >= kPipeRecordsStart + kPipeRecordSize * announced;
    }
    return ok;
}

int32_t bulkMove(intptr_t handle, int32_t pipe, bool read, uint8_t* buffer, int32_t& length)
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

int32_t vendorRequest(intptr_t handle, uint8_t request, uint16_t value, uint16_t index, uint8_t direction,
                      uint8_t* buffer, uint32_t asked)
{
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
    if (!usb::driver().ioControl(handle, usb::kRequestVendor, record, sizeof record, buffer, asked, returned))
        return 0;
    return static_cast<int32_t>(returned);
}

bool stringDescriptor(intptr_t handle, uint8_t descriptorIndex, QString& text)
{
    usb::DeviceDriver& driver = usb::driver();
    const uint8_t request[3] = {descriptorIndex, static_cast<uint8_t>(kLanguageEnglishUS & 0xFF),
                                static_cast<uint8_t>(kLanguageEnglishUS >> 8)};
    // First learn the descriptor's length from its first byte, then fetch exactly that much.
    std::array<uint8_t, kStringBufferSize> probe{};
    uint32_t returned = 0;
    if (!driver.ioControl(handle, usb::kRequestStringDescriptor, request, sizeof request, probe.data(),
                          kStringBufferSize, returned) ||
        returned < 1)
        return false;
    const uint32_t descriptorLength = probe[0];
    std::array<uint8_t, kStringBufferSize> descriptor{};
    if (!driver.ioControl(handle, usb::kRequestStringDescriptor, request, sizeof request, descriptor.data(),
                          descriptorLength, returned))
        return false;
    QString plain;
    for (uint32_t i = 2; i < returned && i < descriptorLength; ++i) {
        if (descriptor[i] != 0) {
            plain.append(QLatin1Char(static_cast<char>(descriptor[i])));
        }
    }
    text = plain;
    return true;
}

} // namespace ezusbreq
