#include "board/serial_packets.h"

namespace serialwire {

void putInstruction(uint8_t* wire, uint8_t instruction, bool lsbFirst)
{
    for (int k = 0; k < kInstructionBits; ++k) {
        const int bit = lsbFirst ? k : kInstructionBits - 1 - k;
        wire[kWireWordBytes * k] = static_cast<uint8_t>((instruction >> bit) & 1U);
        wire[kWireWordBytes * k + 1] = 0;
    }
}

void putBits(uint8_t* wire, const QString& bits, bool reverse)
{
    const int n = static_cast<int>(bits.size());
    const QChar* in = bits.constData();
    for (int k = 0; k < n; ++k) {
        const QChar c = in[reverse ? n - 1 - k : k];
        wire[kWireWordBytes * k] = c == QLatin1Char('1') ? 1 : 0;
        wire[kWireWordBytes * k + 1] = 0;
    }
}

void putBitValues(uint8_t* wire, std::span<const uint8_t> bits)
{
    for (size_t k = 0; k < bits.size(); ++k) {
        wire[kWireWordBytes * k] = bits[k];
        wire[kWireWordBytes * k + 1] = 0;
    }
}

bool isBitString(const QString& value, int width)
{
    if (value.size() != width)
        return false;
    for (QChar c : value) {
        if (c != QLatin1Char('0') && c != QLatin1Char('1'))
            return false;
    }
    return true;
}

void takeBits(std::span<const uint8_t> sampled, uint8_t mask, QChar* out)
{
    for (size_t k = 0; k < sampled.size(); ++k)
        out[k] = (sampled[k] & mask) != 0 ? QLatin1Char('1') : QLatin1Char('0');
}

int16_t readBackPacket(BoardFirmware& firmware, std::span<uint8_t> buf)
{
    const auto n = static_cast<int32_t>(buf.size());
    if (n > kMaxReadBackWords)
        return -1;
    if (n == 0)
        return 0;
    firmware.SetRdBackByteCnt(n);
    firmware.SetRdBackMode(true);
    firmware.SetRdBackMode(false);
    uint8_t raw[kMaxReadBackWords * kWireWordBytes];
    if (!firmware.receive(usb::firmware::kReadBackPipe, raw, n * kWireWordBytes))
        return -2;
    for (int32_t k = 0; k < n; ++k)
        buf[k] = raw[kWireWordBytes * k];
    return 0;
}

} // namespace serialwire
