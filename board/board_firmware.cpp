// The board firmware's commands and pipes, every transfer through BulkXfer of the USB object.

#include "board/board_firmware.h"

#include "board/board_lines.h"
#include "board/cls_ezusb.h"
#include "board/message_sink.h"
#include "board/num_base.h"
#include "platform/usb/firmware_commands.h"

#include <array>

namespace fw = usb::firmware;

QString BoardFirmware::GetFirmWareVersion()
{
    std::array<uint8_t, fw::replyLength(fw::GetFirmwareVersion)> reply = {};
    if (!query({fw::GetFirmwareVersion}, reply, "Error: Unable to get firmware revision."))
        return QString();
    return QString::number(reply[0]) + cbaseDecimalSep() + QString::number(reply[1]);
}

bool BoardFirmware::SetPortAValue(uint8_t value)
{
    return command({fw::SetPortA, value}, "Error: Unable to set PortA value.");
}

namespace {

constexpr const char* kGetPortAFailure = "Error: Unable to get PortA value.";
constexpr const char* kGetPortBFailure = "Error: Unable to get PortB value.";
constexpr const char* kGetPortCFailure = "Error: Unable to get PortC value.";
constexpr const char* kGetPortDFailure = "Error: Unable to get PortD value.";
constexpr const char* kGetPortEFailure = "Error: Unable to get PortE value.";

} // namespace

uint8_t BoardFirmware::GetPortAValue()
{
    return queryByte({fw::GetPortA}, kGetPortAFailure);
}

void BoardFirmware::SetRdBackMode(bool on)
{
    command({fw::SetReadBackMode, static_cast<uint8_t>(on ? 1 : 0)}, "Error: Setting single readback mode.");
}

bool BoardFirmware::SetCtlValues(uint8_t value)
{
    uint8_t reply = 0;
    if (!query({fw::SetCtlLines, value}, {&reply, 1}, "Error: Unable to set CTL Line values."))
        return false;
    return reply == value;
}

std::optional<uint8_t> BoardFirmware::GetCtlValues()
{
    uint8_t reply = 0;
    if (!query({fw::GetCtlLines}, {&reply, 1}, "Error: Unable to get CTL Line values."))
        return std::nullopt;
    return reply;
}

void BoardFirmware::SetRdBackByteCnt(int32_t words)
{
    command({fw::SetReadBackCount, static_cast<uint8_t>((words / 256) & 0xFF),
             static_cast<uint8_t>(words & 0xFF)},
            "Error: Unable to set Read Back Count.");
}

void BoardFirmware::ResetFirmware()
{
    command({fw::ResetFirmware}, "Error: Resetting evaluation board.");
}

uint8_t BoardFirmware::GetPortBValue()
{
    return queryByte({fw::GetPortB}, kGetPortBFailure);
}

bool BoardFirmware::SetPortBValue(uint8_t value)
{
    return command({fw::SetPortB, value}, "Error setting PortB value.");
}

uint8_t BoardFirmware::GetPortDValue()
{
    return queryByte({fw::GetPortD}, kGetPortDFailure);
}

bool BoardFirmware::SetPortDValue(uint8_t value)
{
    return command({fw::SetPortD, value}, "Error: Unable to set PortD value.");
}

int32_t BoardFirmware::SetHostID(int32_t id)
{
    const auto v = static_cast<uint32_t>(id);
    const bool ok = command({fw::SetHostId, static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
                             static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)},
                            "Error: Unable to set the HostID.");
    return ok ? 1 : 0;
}

bool BoardFirmware::SetLEDBlink(uint8_t value)
{
    return queryAcknowledged({fw::LedBlink, value}, "Error: Could not set LED Blink value.");
}

bool BoardFirmware::SetAutoCSBMode(uint8_t value)
{
    return queryAcknowledged({fw::SetAutoCsbMode, value}, "Error: Setting AutoCSBMode.");
}

bool BoardFirmware::SetAutoCSBMaskVal(uint8_t value)
{
    return queryAcknowledged({fw::SetAutoCsbMask, value}, "Error: Setting AutoCSBMask Value.");
}

bool BoardFirmware::SetPortCValue(uint8_t value)
{
    return command({fw::SetPortC, value}, "Error: Unable to set PortC value.");
}

uint8_t BoardFirmware::GetPortCValue()
{
    return queryByte({fw::GetPortC}, kGetPortCFailure);
}

bool BoardFirmware::SetPortEValue(uint8_t value)
{
    return command({fw::SetPortE, value}, "Error: Unable to set PortE value.");
}

uint8_t BoardFirmware::GetPortEValue()
{
    return queryByte({fw::GetPortE}, kGetPortEFailure);
}

std::optional<uint8_t> BoardFirmware::IsHighSpeed()
{
    uint8_t reply = 0;
    if (!query({fw::IsHighSpeed}, {&reply, 1}, "Error: Unable to return HighSpeed value."))
        return std::nullopt;
    return reply;
}

std::optional<uint8_t> BoardFirmware::readyLines()
{
    uint8_t reply = 0;
    if (!query({fw::GetReadyLines}, {&reply, 1}, "Error: Unable to get RDY Line Vals."))
        return std::nullopt;
    return reply;
}

int BoardFirmware::packetBits()
{
    // A failed speed query counts as full speed: the small packets work at both speeds.
    return IsHighSpeed().value_or(0) != 0 ? 256 : 32;
}

std::optional<uint8_t> BoardFirmware::fetchPort(int16_t port)
{
    switch (port) {
    case kPortD:
        return queryReply({fw::GetPortD}, kGetPortDFailure);
    case kPortA:
        return queryReply({fw::GetPortA}, kGetPortAFailure);
    case kPortCtl:
        return GetCtlValues();
    case kPortB:
        return queryReply({fw::GetPortB}, kGetPortBFailure);
    case kPortC:
        return queryReply({fw::GetPortC}, kGetPortCFailure);
    case kPortE:
        return queryReply({fw::GetPortE}, kGetPortEFailure);
    default:
        return std::nullopt;
    }
}

std::optional<uint8_t> BoardFirmware::queryReply(std::initializer_list<uint8_t> bytes,
                                                 const char* failureText)
{
    uint8_t reply = 0;
    if (!query(bytes, {&reply, 1}, failureText))
        return std::nullopt;
    return reply;
}

uint8_t BoardFirmware::queryByte(std::initializer_list<uint8_t> bytes, const char* failureText)
{
    return queryReply(bytes, failureText).value_or(0);
}

bool BoardFirmware::queryAcknowledged(std::initializer_list<uint8_t> bytes, const char* failureText)
{
    uint8_t reply = 0;
    return query(bytes, {&reply, 1}, failureText) && reply != 0;
}

bool BoardFirmware::receive(int pipe, uint8_t* data, int32_t length)
{
    return bulk(pipe, data, length);
}

bool BoardFirmware::bulk(int pipe, uint8_t* data, int32_t length)
{
    int32_t moved = length;
    if (goEZUSB().BulkXfer(pipe, data, moved) != 1)
        return false;
    // Only the whole buffer counts: a reply cut short leaves part of it unfilled, a packet cut short leaves
    // the firmware or the chip in the middle of a command or a serial cycle.
    return moved == length;
}

bool BoardFirmware::send(int pipe, const uint8_t* data, int32_t length)
{
    // Bulk writes only read the buffer.
    return bulk(pipe, const_cast<uint8_t*>(data), length);
}

void BoardFirmware::reportFailure(const char* text) const
{
    if (verboseErrors_ && text != nullptr)
        boardmsg::MsgBox(QString::fromLatin1(text), boardmsg::vbOKOnly);
}

bool BoardFirmware::sendCommand(std::initializer_list<uint8_t> bytes)
{
    // The bytes are the command's whole write: its code and the arguments the firmware's table gives it.
    std::array<uint8_t, fw::kLongestCommand> buffer = {};
    if (bytes.size() == 0 || bytes.size() != static_cast<size_t>(fw::commandLength(*bytes.begin())))
        return false;
    int32_t n = 0;
    for (uint8_t b : bytes)
        buffer[n++] = b;
    return send(fw::kCommandPipe, buffer.data(), n);
}

bool BoardFirmware::command(std::initializer_list<uint8_t> bytes, const char* failureText)
{
    if (sendCommand(bytes))
        return true;
    reportFailure(failureText);
    return false;
}

bool BoardFirmware::query(std::initializer_list<uint8_t> bytes, std::span<uint8_t> reply,
                          const char* failureText)
{
    // The reply has the length the firmware's table gives the command; it is read only after the command went
    // through: the firmware has none pending otherwise.
    const auto replyLength = static_cast<size_t>(bytes.size() > 0 ? fw::replyLength(*bytes.begin()) : 0);
    if (replyLength > 0 && replyLength <= reply.size() && sendCommand(bytes) &&
        receive(fw::kReplyPipe, reply.data(), static_cast<int32_t>(replyLength)))
        return true;
    reportFailure(failureText);
    return false;
}
