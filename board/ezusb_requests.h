#pragma once

// The board driver's requests on an open device handle, with the buffer layouts the driver expects and
// the checks of its answers: device descriptor, pipe information, bulk transfers, vendor and string
// requests. The USB object opens and closes the handle around them.

#include "platform/usb/usb_driver.h"

#include <QString>

#include <cstdint>

namespace ezusbreq {

inline constexpr int kMaxPipes = 17; // pipe records in the pipe-information buffer

// The device-descriptor request: the identifiers read as signed 16-bit numbers (both 0 and ok false when
// the request fails).
struct DescriptorIds {
    int32_t vendor = 0;
    int32_t product = 0;
    bool ok = false;
    bool truncated = false; // the request succeeded with fewer bytes than a device descriptor has
};
DescriptorIds readDescriptorIds(intptr_t handle);

// The pipe-information request into a usb::kPipeInfoSize buffer. False also for an answer shorter than the
// pipe records it announces.
bool readPipeInfo(intptr_t handle, uint8_t* buffer);
// Layout of a pipe-information answer: the pipe count, then one record per pipe with its endpoint address.
inline constexpr uint32_t kPipeCountOffset = 12;
inline constexpr uint32_t kPipeRecordsStart = 16;
inline constexpr uint32_t kPipeRecordSize = 20;
inline constexpr uint32_t kEndpointOffset = 2; // within a pipe record
inline constexpr uint8_t kFirstInEndpoint = 0x81;

// The pipe count of a pipe-information answer, and a pipe's endpoint address in it.
inline uint32_t pipeCount(const uint8_t* info)
{
    const uint8_t* at = info + kPipeCountOffset;
    return uint32_t{at[0]} | (uint32_t{at[1]} << 8) | (uint32_t{at[2]} << 16) | (uint32_t{at[3]} << 24);
}
inline uint8_t pipeEndpoint(const uint8_t* info, int32_t pipe)
{
    return info[kPipeRecordsStart + kPipeRecordSize * static_cast<uint32_t>(pipe) + kEndpointOffset];
}
// Whether an endpoint address is an IN endpoint (the host reads it).
inline bool isInEndpoint(uint8_t endpoint)
{
    return endpoint >= kFirstInEndpoint;
}
// Whether a pipe may move data in the direction its endpoint says: commands and serial or FIFO data go
// out (pipes 0 and 3), replies and read-back words come in (pipes 1 and 5). Pipe information that says
// otherwise describes another device.
inline bool pipeDirectionFits(int32_t pipe, bool read)
{
    switch (pipe) {
    case 0:
    case 3:
        return !read;
    case 1:
    case 5:
        return read;
    default:
        return true;
    }
}

// The bulk request: 1 only when the driver moved exactly `length` bytes; `length` comes back as the count
// moved, never more than asked.
int32_t bulkMove(intptr_t handle, int32_t pipe, bool read, uint8_t* buffer, int32_t& length);

// A vendor-type request to the device; the bytes returned, 0 when the request fails.
int32_t vendorRequest(intptr_t handle, uint8_t request, uint16_t value, uint16_t index, uint8_t direction,
                      uint8_t* buffer, uint32_t asked);

// String descriptor `descriptorIndex` (language 1033) as plain text: true and `text` set on success.
bool stringDescriptor(intptr_t handle, uint8_t descriptorIndex, QString& text);

} // namespace ezusbreq
