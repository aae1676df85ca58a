// The board firmware's commands: one bulk write of 1-5 bytes on pipe 0, the reply (when there is one) read
// from pipe 1 only after the command went through.

#include "board/evalbd.h"

#include "board/cls_ezusb.h"
#include "board/num_base.h"
#include "platform/usb/firmware_commands.h"

namespace fw = usb::firmware;

QString cZR4470XEvalBd::GetFirmWareVersion()
{
    uint8_t reply[2] = {};
    if (!query({fw::GetFirmwareVersion}, reply, 2, "Error: Unable to get firmware revision."))
        return QString();
    return QString::number(reply[0]) + cbaseDecimalSep() + QString::number(reply[1]);
}

bool cZR4470XEvalBd::SetPortAValue(uint8_t value)
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

uint8_t cZR4470XEvalBd::GetPortAValue()
{
    return queryByte({fw::GetPortA}, kGetPortAFailure);
}

void cZR4470XEvalBd::SetRdBackMode(bool on)
{
    command({fw::SetReadBackMode, static_cast<uint8_t>(on ? 1 : 0)}, "Error: Setting single readback mode.");
}

bool cZR4470XEvalBd::SetCtlValues(uint8_t value)
{
    uint8_t reply = 0;
    if (!query({fw::SetCtlLines, value}, &reply, 1, "Error: Unable to set CTL Line values."))
        return false;
    return reply == value;
}

std::optional<uint8_t> cZR4470XEvalBd::GetCtlValues()
{
    uint8_t reply = 0;
    if (!query({fw::GetCtlLines}, &reply, 1, "Error: Unable to get CTL Line values."))
        return std::nullopt;
    return reply;
}

void cZR4470XEvalBd::SetRdBackByteCnt(int32_t words)
{
    command({fw::SetReadBackCount, static_cast<uint8_t>((words / 256) & 0xFF),
             static_cast<uint8_t>(words & 0xFF)},
            "Error: Unable to set Read Back Count.");
}

void cZR4470XEvalBd::ResetFirmware()
{
    command({fw::ResetFirmware}, "Error: Resetting evaluation board.");
}

uint8_t cZR4470XEvalBd::GetPortBValue()
{
    return queryByte({fw::GetPortB}, kGetPortBFailure);
}

bool cZR4470XEvalBd::SetPortBValue(uint8_t value)
{
    return command({fw::SetPortB, value}, "Error setting PortB value.");
}

uint8_t cZR4470XEvalBd::GetPortDValue()
{
    return queryByte({fw::GetPortD}, kGetPortDFailure);
}

bool cZR4470XEvalBd::SetPortDValue(uint8_t value)
{
    return command({fw::SetPortD, value}, "Error: Unable to set PortD value.");
}

int32_t cZR4470XEvalBd::SetHostID(int32_t id)
{
    const auto v = static_cast<uint32_t>(id);
    const bool ok = command({fw::SetHostId, static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
                             static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)},
                            "Error: Unable to set the HostID.");
    return ok ? 1 : 0;
}

bool cZR4470XEvalBd::SetLEDBlink(uint8_t value)
{
    return queryAcknowledged({fw::LedBlink, value}, "Error: Could not set LED Blink value.");
}

bool cZR4470XEvalBd::SetAutoCSBMode(uint8_t value)
{
    return queryAcknowledged({fw::SetAutoCsbMode, value}, "Error: Setting AutoCSBMode.");
}

bool cZR4470XEvalBd::SetAutoCSBMaskVal(uint8_t value)
{
    return queryAcknowledged({fw::SetAutoCsbMask, value}, "Error: Setting AutoCSBMask Value.");
}

bool cZR4470XEvalBd::SetPortCValue(uint8_t value)
{
    return command({fw::SetPortC, value}, "Error: Unable to set PortC value.");
}

uint8_t cZR4470XEvalBd::GetPortCValue()
{
    return queryByte({fw::GetPortC}, kGetPortCFailure);
}

bool cZR4470XEvalBd::SetPortEValue(uint8_t value)
{
    return command({fw::SetPortE, value}, "Error: Unable to set PortE value.");
}

uint8_t cZR4470XEvalBd::GetPortEValue()
{
    return queryByte({fw::GetPortE}, kGetPortEFailure);
}

std::optional<uint8_t> cZR4470XEvalBd::IsHighSpeed()
{
    uint8_t reply = 0;
    if (!query({fw::IsHighSpeed}, &reply, 1, "Error: Unable to return HighSpeed value."))
        return std::nullopt;
    return reply;
}

uint8_t cZR4470XEvalBd::GetRDYValues()
{
    return readReadyLines().value_or(0);
}

std::optional<uint8_t> cZR4470XEvalBd::readReadyLines()
{
    uint8_t reply = 0;
    if (!query({fw::GetReadyLines}, &reply, 1, "Error: Unable to get RDY Line Vals."))
        return std::nullopt;
    return reply;
}

int cZR4470XEvalBd::packetBits()
{
    // A failed speed query counts as full speed: the small packets work at both speeds.
    return IsHighSpeed().value_or(0) != 0 ? 256 : 32;
}

bool cZR4470XEvalBd::FlashUSBStatus()
{
    if (goEZUSB().BoardSelected())
        flashUSBStatus_ = SetLEDBlink(2);
    return flashUSBStatus_;
}

void cZR4470XEvalBd::setFlashUSBStatus(bool flash)
{
    flashUSBStatus_ = flash;
    if (goEZUSB().BoardSelected())
        SetLEDBlink(flash ? 1 : 0);
}

std::optional<uint8_t> cZR4470XEvalBd::FetchPortValue(int16_t port)
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

std::optional<uint8_t> cZR4470XEvalBd::queryReply(std::initializer_list<uint8_t> bytes,
                                                  const char* failureText)
{
    uint8_t reply = 0;
    if (!query(bytes, &reply, 1, failureText))
        return std::nullopt;
    return reply;
}

uint8_t cZR4470XEvalBd::queryByte(std::initializer_list<uint8_t> bytes, const char* failureText)
{
    return queryReply(bytes, failureText).value_or(0);
}

bool cZR4470XEvalBd::queryAcknowledged(std::initializer_list<uint8_t> bytes, const char* failureText)
{
    uint8_t reply = 0;
    return query(bytes, &reply, 1, failureText) && reply != 0;
}
