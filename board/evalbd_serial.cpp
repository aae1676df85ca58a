// Serial register load and read-back: every chip-serial bit travels as one 16-bit wire word on pipe 3 (out)
// or pipe 5 (in), in packets of 256 bits at USB high speed and 32 at full speed.

#include "board/chip_registers.h"
#include "board/evalbd.h"
#include "board/evalbd_wire.h"
#include "platform/usb/firmware_commands.h"

#include "board/utility.h"

#include <algorithm>
#include <vector>

using namespace evalbd_detail;

namespace {

// The chip samples the profile pins for a read-back of the profile registers; the pins need this long.
constexpr double kProfileSettleSeconds = 0.55;

bool validAddress(int16_t addr)
{
    return addr >= 0 && addr < cZR4470XEvalBd::kRegisterCount;
}

uint8_t instructionByte(bool read, int16_t addr, int16_t count)
{
    // read/write bit, (count - 1) in two bits of two's complement, five address bits
    return static_cast<uint8_t>((read ? 0x80 : 0) | (((count - 1) & 3) << 5) | (addr & 0x1F));
}

} // namespace

QString cZR4470XEvalBd::BuildInstruct(bool read, int16_t addr, int16_t count) const
{
    return bitString(instructionByte(read, addr, count), kInstructionBits);
}

bool cZR4470XEvalBd::SPI_LSB_First() const
{
    const QString& cfr1 = writtenRegMap_[0];
    const qsizetype index = regLengthTable_[0] - 1;
    return index < cfr1.size() && cfr1[index] == QLatin1Char('1');
}

void cZR4470XEvalBd::setSPI_LSB_First(bool lsbFirst)
{
    SetRegMapBitValue(0, 0, 0, lsbFirst ? 1 : 0);
}

int16_t cZR4470XEvalBd::SPI_IOMode() const
{
    const QString& cfr1 = writtenRegMap_[0];
    const qsizetype index = regLengthTable_[0] - 2;
    return index >= 0 && index < cfr1.size() && cfr1[index] == QLatin1Char('1') ? 1 : 0;
}

void cZR4470XEvalBd::setSPI_IOMode(int32_t mode)
{
    SetRegMapBitValue(0, 0, 1, mode);
}

void cZR4470XEvalBd::USBInitiateSerialLoad()
{
    SetAutoCSBMode(0);
    if (SCLK() == 1) {
        setSCLK(0);
        USBWritePortBuffVal(kPortCtl);
    }
    setCSB(0);
    USBWritePortBuffVal(kPortA);
}

void cZR4470XEvalBd::USBTerminateSerialLoad()
{
    SetAutoCSBMode(1);
    setCSB(1);
    USBWritePortBuffVal(kPortA);
}

int16_t cZR4470XEvalBd::USBWriteSerialPkt16(std::span<const uint8_t> bits)
{
    if (!enabled_)
        return 0;
    std::vector<uint8_t> wire(bits.size() * kWireWordBytes, 0);
    for (size_t k = 0; k < bits.size(); ++k)
        wire[kWireWordBytes * k] = bits[k];
    return sendOut(usb::firmware::kDataPipe, wire.data(), static_cast<int32_t>(wire.size())) ? 0 : -1;
}

int16_t cZR4470XEvalBd::USBReadSerialPKT16(std::span<uint8_t> buf)
{
    const auto n = static_cast<int32_t>(buf.size());
    if (n > kMaxReadBackWords)
        return -1;
    if (n == 0)
        return 0;
    SetRdBackByteCnt(n);
    SetRdBackMode(true);
    SetRdBackMode(false);
    uint8_t raw[kMaxReadBackWords * kWireWordBytes];
    if (!transfer(usb::firmware::kReadBackPipe, raw, n * kWireWordBytes))
        return -2;
    for (int32_t k = 0; k < n; ++k)
        buf[k] = raw[kWireWordBytes * k];
    return 0;
}

bool cZR4470XEvalBd::readSerialBits(int count, int chunk, uint8_t mask, QChar* out)
{
    uint8_t sampled[kMaxReadBackWords];
    for (int done = 0; done < count;) {
        const int n = std::min(chunk, count - done);
        if (USBReadSerialPKT16(std::span<uint8_t>(sampled, n)) != 0)
            return false;
        for (int k = 0; k < n; ++k)
            out[done + k] = (sampled[k] & mask) != 0 ? QLatin1Char('1') : QLatin1Char('0');
        done += n;
    }
    return true;
}

int16_t cZR4470XEvalBd::USBSerialLoadPKT(int16_t addr, const QString& value, bool noStore)
{
    if (!enabled_)
        return 0;
    if (!validAddress(addr))
        return -1;
    BusyScope busy(*this);
    if (!busy.acquired())
        return -1;
    // A value of another length or with other characters would leave the chip's serial port in the middle
    // of a cycle and corrupt the next transfer: refuse it before anything moves.
    const int width = regLengthTable_[addr];
    if (!isBitString(value, width))
        return -1;

    const int packet = packetBits();
    const bool lsbFirst = SPI_LSB_First();
    const int total = kInstructionBits + width;
    std::vector<uint8_t> wire(static_cast<size_t>(total) * kWireWordBytes);
    putInstruction(wire.data(), instructionByte(false, addr, 1), lsbFirst);
    putBits(wire.data() + kInstructionBits * kWireWordBytes, value, lsbFirst);

    USBInitiateSerialLoad();
    if (addr == 0x01) {
        // CFR2 bit 23: the chip makes its own I/O updates, so the board must stop driving the pin exactly
        // while that bit is set.
        const bool internalUpdate = value[8] == QLatin1Char('1');
        if (internalUpdate && REGUD_EN() == 1) {
            setREGUD_EN(0);
            USBWritePortBuffVal(kPortE);
        } else if (!internalUpdate && REGUD_EN() == 0) {
            setREGUD_EN(1);
            USBWritePortBuffVal(kPortE);
        }
    }
    bool ok = true;
    for (int done = 0; done < total && ok; done += packet) {
        const int n = std::min(packet, total - done);
        ok = sendOut(usb::firmware::kDataPipe, wire.data() + done * kWireWordBytes, n * kWireWordBytes);
    }
    USBTerminateSerialLoad();
    if (!ok)
        return -1;
    if (!noStore)
        writtenRegMap_[addr] = value;
    return 0;
}

QString cZR4470XEvalBd::USBSerialReadPKT(int16_t addr, bool noStore)
{
    if (!enabled_ || !validAddress(addr))
        return QString();
    BusyScope busy(*this);
    if (!busy.acquired())
        return QString();
    return readRegister(addr, noStore);
}

QString cZR4470XEvalBd::readRegister(int16_t addr, bool noStore)
{
    if (!enabled_)
        return QString();
    const int packet = packetBits();
    const bool profileRegister = addr >= kFirstProfileRegister && addr <= kLastProfileRegister;
    int16_t rememberedProfile = 0;
    if (profileRegister) {
        rememberedProfile = SelectedProfile();
        setSelectedProfile(static_cast<int16_t>(addr - kFirstProfileRegister));
        // Window events and timers run during this wait; the busy flag keeps them from starting another
        // transfer, and everything the read depends on is taken after it.
        Pause(kProfileSettleSeconds);
    }
    const int width = regLengthTable_[addr];
    const bool lsbFirst = SPI_LSB_First();
    const uint8_t mask = SPI_IOMode() == 1 ? 0x02 : 0x01;
    uint8_t instruction[kInstructionBits * kWireWordBytes];
    putInstruction(instruction, instructionByte(true, addr, 1), lsbFirst);

    QString bits(width, QLatin1Char('0'));
    USBInitiateSerialRead();
    bool ok = sendOut(usb::firmware::kDataPipe, instruction, sizeof instruction);
    if (ok)
        ok = readSerialBits(width, packet, mask, bits.data());
    USBTerminateSerialRead();
    // The pins go back to the profile they were on whether or not the read worked.
    if (profileRegister)
        setSelectedProfile(rememberedProfile);
    if (!ok)
        return QString();
    if (lsbFirst)
        bits = reversedText(bits);
    if (!noStore)
        writtenRegMap_[addr] = bits;
    return bits;
}

int16_t cZR4470XEvalBd::USBSerialLoad16(int16_t addr, const QString& value, bool noStore)
{
    if (!enabled_)
        return 0;
    BusyScope busy(*this);
    if (!busy.acquired())
        return -1;
    const bool writable = addr >= 0 && addr <= 28;
    if (writable && !isBitString(value, regLengthTable_[addr]))
        return -1;
    if (SCLK() == 0) {
        setSCLK(1);
        USBWritePortBuffVal(kPortCtl);
    }
    if (!writable)
        return -1;
    const int width = regLengthTable_[addr];
    const bool lsbFirst = SPI_LSB_First();
    const int total = kInstructionBits + width;
    std::vector<uint8_t> wire(static_cast<size_t>(total) * kWireWordBytes);
    putInstruction(wire.data(), instructionByte(false, addr, 0), lsbFirst);
    putBits(wire.data() + kInstructionBits * kWireWordBytes, value, lsbFirst);
    if (!sendOut(usb::firmware::kDataPipe, wire.data(), static_cast<int32_t>(wire.size())))
        return -1;
    if (!noStore)
        writtenRegMap_[addr] = value;
    return 0;
}
