// Port buffers and board lines: one buffered byte per port; a line set changes only its bit, the caller
// sends the whole port. Sending port A also watches the chip's master reset line.

#include "board/evalbd.h"

namespace {

bool validPort(int16_t port)
{
    return port >= kPortD && port <= kPortE;
}

} // namespace

void cZR4470XEvalBd::setBufferBit(int port, int bit, int32_t value)
{
    const auto mask = static_cast<int16_t>(1 << bit);
    if (value != 0)
        portBuff_[port] = static_cast<int16_t>(portBuff_[port] | mask);
    else
        portBuff_[port] = static_cast<int16_t>(portBuff_[port] & ~mask);
}

int16_t cZR4470XEvalBd::USBGetPortBuffVal(int16_t port) const
{
    return validPort(port) ? portBuff_[port] : int16_t{0};
}

void cZR4470XEvalBd::USBSetPortBuffVal(int16_t port, int32_t value)
{
    // A port is eight lines: anything above is cut off rather than wrapped into a wrong command byte.
    if (validPort(port))
        portBuff_[port] = static_cast<int16_t>(value & 0xFF);
}

int16_t cZR4470XEvalBd::USBGetPortBuffBitVal(int16_t port, int16_t bit) const
{
    if (!validPort(port) || bit < 0 || bit > 7)
        return 0;
    return bufferBit(port, bit);
}

void cZR4470XEvalBd::USBSetPortBuffBitVal(int16_t port, int16_t bit, int32_t value)
{
    if (validPort(port) && bit >= 0 && bit <= 7)
        setBufferBit(port, bit, value);
}

void cZR4470XEvalBd::USBWritePortBuffVal(int16_t port, std::optional<int32_t> value)
{
    if (!validPort(port))
        return;
    if (value)
        USBSetPortBuffVal(port, *value);
    const auto byte = static_cast<uint8_t>(portBuff_[port] & 0xFF);
    switch (port) {
    case kPortD:
        SetPortDValue(byte);
        break;
    case kPortA:
        SetPortAValue(byte);
        resetWatch();
        break;
    case kPortCtl:
        SetCtlValues(byte);
        break;
    case kPortB:
        break; // read only
    case kPortC:
        SetPortCValue(byte);
        break;
    case kPortE:
        SetPortEValue(byte);
        break;
    default:
        break;
    }
}

void cZR4470XEvalBd::USBReadPortBuffVal(int16_t port)
{
    switch (port) {
    case kPortD:
        portBuff_[port] = GetPortDValue();
        break;
    case kPortA:
        portBuff_[port] = GetPortAValue();
        break;
    case kPortCtl:
        portBuff_[port] = GetCtlValues().value_or(0);
        break;
    case kPortB:
        portBuff_[port] = GetPortBValue();
        break;
    case kPortC:
        portBuff_[port] = GetPortCValue();
        break;
    case kPortE:
        portBuff_[port] = GetPortEValue();
        break;
    default:
        break;
    }
}

void cZR4470XEvalBd::InitIOBuffs()
{
    for (int16_t port : {kPortD, kPortA, kPortCtl, kPortB, kPortC, kPortE})
        USBReadPortBuffVal(port);
    flashUSBStatus_ = SetLEDBlink(2);
    lastResetLevel_ = Reset();
}

void cZR4470XEvalBd::resetWatch()
{
    if (Reset() == 1 && lastResetLevel_ == 0) {
        lastResetLevel_ = 1;
        raise({EvalBdEventRecord::RESETAsserted});
        ResetRegMap(2);
        // After a reset the chip expects the board to drive its I/O update pin.
        setREGUD_EN(1);
        USBWritePortBuffVal(kPortE);
    }
    if (Reset() == 0 && lastResetLevel_ == 1) {
        lastResetLevel_ = 0;
        raise({EvalBdEventRecord::AfterRESET});
        raise({EvalBdEventRecord::RESETReleased});
        ResetRegMap(2);
    }
}

void cZR4470XEvalBd::StrobeReset()
{
    if (Reset() == 1) {
        setReset(0);
        USBWritePortBuffVal(kPortA);
    }
    setReset(1);
    USBWritePortBuffVal(kPortA);
    setReset(0);
    USBWritePortBuffVal(kPortA);
}

void cZR4470XEvalBd::StrobeREGUD()
{
    if (REGUD() == 1) {
        setREGUD(0);
        USBWritePortBuffVal(kPortE);
    }
    setREGUD(1);
    USBWritePortBuffVal(kPortE);
    setREGUD(0);
    USBWritePortBuffVal(kPortE);
}

void cZR4470XEvalBd::ioResetPulse()
{
    setIO_RESET(1);
    USBWritePortBuffVal(kPortA);
    setIO_RESET(0);
    USBWritePortBuffVal(kPortA);
}

int16_t cZR4470XEvalBd::ActiveProfile()
{
    return static_cast<int16_t>(P2() * 4 + P1() * 2 + P0());
}

void cZR4470XEvalBd::setActiveProfile(int16_t profile)
{
    setSelectedProfile(profile);
}

int16_t cZR4470XEvalBd::SelectedProfile() const
{
    return static_cast<int16_t>(portBuff_[kPortE] & 7);
}

void cZR4470XEvalBd::setSelectedProfile(int16_t profile)
{
    // A number outside 0-7 leaves the pins as they are; port E is sent either way.
    if (profile >= 0 && profile <= 7) {
        setP0(profile & 1);
        setP1(profile & 2);
        setP2(profile & 4);
    }
    USBWritePortBuffVal(kPortE);
}

int16_t cZR4470XEvalBd::SDIO()
{
    return static_cast<int16_t>(GetPortBValue() & 1);
}

int16_t cZR4470XEvalBd::SDO()
{
    return static_cast<int16_t>((GetPortBValue() >> 1) & 1);
}

int16_t cZR4470XEvalBd::FIFO_PAF()
{
    return static_cast<int16_t>(GetRDYValues() & 1);
}

int16_t cZR4470XEvalBd::FIFO_PAE()
{
    return static_cast<int16_t>((GetRDYValues() >> 1) & 1);
}
