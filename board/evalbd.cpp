// The board object: creation and events, the two register maps, the port buffers and lines with the reset
// watch, the serial register transfers, the chip RAM and the silicon revision. The FIFO's loads are in
// evalbd_fifo.cpp.

#include "board/evalbd.h"

#include "board/chip_registers.h"
#include "board/cls_ezusb.h"
#include "board/message_sink.h"
#include "board/ram_words.h"
#include "board/register_field.h"
#include "board/transfer_guard.h"
#include "board/utility.h"
#include "platform/usb/firmware_commands.h"

#include <algorithm>
#include <vector>

using namespace serialwire;
using ramwords::bitsOfWord;
using ramwords::elementAt;
using ramwords::wordOfBits;

cZR4470XEvalBd* goEvalBd = nullptr;

RegisterMaps& boardRegisterMaps()
{
    if (goEvalBd != nullptr)
        return goEvalBd->regMaps();
    // No board object: maps with no layout hold no field, and whatever was stored into them goes.
    static RegisterMaps none;
    none = RegisterMaps();
    return none;
}

namespace {

bool validAddress(int16_t addr)
{
    return addr >= 0 && addr < cZR4470XEvalBd::kRegisterCount;
}

bool validPort(int16_t port)
{
    return port >= kPortD && port <= kPortE;
}

} // namespace

// ---- creation and events ----

cZR4470XEvalBd::cZR4470XEvalBd()
{
    // Nothing is sent to the board here: start-up fetches the real port levels with InitIOBuffs once a
    // board is selected.
    InitRegMap(3);
}

cZR4470XEvalBd::~cZR4470XEvalBd()
{
    if (goEvalBd == this)
        goEvalBd = nullptr;
}

void cZR4470XEvalBd::raise(const EvalBdEventRecord& r) const
{
    if (eventTap_)
        eventTap_(r);
    switch (r.kind) {
    case EvalBdEventRecord::RegMapReset:
        RegMapReset(r.first);
        break;
    case EvalBdEventRecord::AfterRESET:
        AfterRESET();
        break;
    case EvalBdEventRecord::RESETAsserted:
        RESETAsserted();
        break;
    case EvalBdEventRecord::RESETReleased:
        RESETReleased();
        break;
    case EvalBdEventRecord::FIFOLoadBegin:
        FIFOLoadBegin(r.first, static_cast<int16_t>(r.second));
        break;
    case EvalBdEventRecord::FIFOPacketSent:
        FIFOPacketSent(r.first);
        break;
    case EvalBdEventRecord::FIFOLoadFinished:
        FIFOLoadFinished(r.flag);
        break;
    case EvalBdEventRecord::RAMCOMBegin:
        RAMCOMBegin(r.first, static_cast<int16_t>(r.second), r.flag);
        break;
    case EvalBdEventRecord::RAMPacketXfered:
        RAMPacketXfered(r.first);
        break;
    case EvalBdEventRecord::RAMCOMFinished:
        RAMCOMFinished(r.flag);
        break;
    }
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

// ---- register maps ----

namespace {

const QString kBitMessage =
    QStringLiteral("The BIT being addressed does not exist in the addressed register location!");

} // namespace

void cZR4470XEvalBd::InitRegMap(int16_t rev)
{
    maps_.init(rev);
}

void cZR4470XEvalBd::ResetRegMap(int32_t mode)
{
    maps_.reset(mode);
    raise({EvalBdEventRecord::RegMapReset, mode});
}

int16_t cZR4470XEvalBd::GetRegMapBitValue(RegMap map, int16_t addr, int16_t bit)
{
    if (!validAddress(addr))
        return 0;
    if (!maps_.hasBit(addr, bit)) {
        boardmsg::MsgBox(kBitMessage, boardmsg::vbCritical,
                         QStringLiteral("clsZR4470EvBd.GetRegMapBitVal - Ivalid Parameter: BitNum"));
        return 0;
    }
    return maps_.bit(map, addr, bit) ? 1 : 0;
}

void cZR4470XEvalBd::SetRegMapBitValue(RegMap map, int16_t addr, int16_t bit, int32_t value)
{
    if (!validAddress(addr))
        return;
    if (!maps_.hasBit(addr, bit)) {
        boardmsg::MsgBox(kBitMessage, boardmsg::vbCritical,
                         QStringLiteral("clsZR4470EvBd.SetRegMapBitVal - Ivalid Parameter: BitNum"));
        return;
    }
    maps_.setBit(map, addr, bit, value != 0);
}

// ---- ports and lines ----

int16_t cZR4470XEvalBd::fetchLine(BoardLine which)
{
    const BoardLineEntry& entry = boardLine(which);
    if (entry.kind != LineKind::FreshRead)
        return line(which);
    const uint8_t lines = entry.port == kReadyLines ? GetRDYValues() : GetPortBValue();
    return lineLevel(lines, which);
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
    return static_cast<int16_t>((portBuff_[port] >> bit) & 1);
}

void cZR4470XEvalBd::USBSetPortBuffBitVal(int16_t port, int16_t bit, int32_t value)
{
    if (!validPort(port) || bit < 0 || bit > 7)
        return;
    const auto mask = static_cast<int16_t>(1 << bit);
    portBuff_[port] = static_cast<int16_t>(value != 0 ? portBuff_[port] | mask : portBuff_[port] & ~mask);
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
    case kPortC:
        SetPortCValue(byte);
        break;
    case kPortE:
        SetPortEValue(byte);
        break;
    default:
        break; // port B is read only
    }
}

void cZR4470XEvalBd::USBReadPortBuffVal(int16_t port)
{
    // A failed fetch leaves 0 in the buffer, as the port queries answer it.
    if (validPort(port))
        portBuff_[port] = firmware_.fetchPort(port).value_or(0);
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

// ---- serial register transfers ----
//
// Every chip-serial bit travels as one 16-bit wire word on the data pipe (out) or the read-back pipe (in),
// in packets of 256 bits at USB high speed and 32 at full speed.

namespace {

// The chip samples the profile pins for a read-back of the profile registers; the pins need this long.
constexpr double kProfileSettleSeconds = 0.55;

} // namespace

QString cZR4470XEvalBd::BuildInstruct(bool read, int16_t addr, int16_t count) const
{
    return bitString(instructionByte(read, addr, count), kInstructionBits);
}

bool cZR4470XEvalBd::SPI_LSB_First() const
{
    const QString& cfr1 = maps_.value(RegMap::Written, kCFR1);
    const qsizetype index = maps_.width(kCFR1) - 1;
    return index < cfr1.size() && cfr1[index] == QLatin1Char('1');
}

void cZR4470XEvalBd::setSPI_LSB_First(bool lsbFirst)
{
    SetRegMapBitValue(RegMap::Pending, kCFR1, 0, lsbFirst ? 1 : 0);
}

int16_t cZR4470XEvalBd::SPI_IOMode() const
{
    const QString& cfr1 = maps_.value(RegMap::Written, kCFR1);
    const qsizetype index = maps_.width(kCFR1) - 2;
    return index >= 0 && index < cfr1.size() && cfr1[index] == QLatin1Char('1') ? 1 : 0;
}

void cZR4470XEvalBd::setSPI_IOMode(int32_t mode)
{
    SetRegMapBitValue(RegMap::Pending, kCFR1, 1, mode);
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
    std::vector<uint8_t> wire(bits.size() * kWireWordBytes);
    putBitValues(wire.data(), bits);
    return firmware_.send(usb::firmware::kDataPipe, wire.data(), static_cast<int32_t>(wire.size())) ? 0 : -1;
}

int16_t cZR4470XEvalBd::USBSerialLoadPKT(int16_t addr, const QString& value, bool noStore)
{
    if (!enabled_)
        return 0;
    if (!validAddress(addr))
        return -1;
    TransferGuard busy(busy_);
    if (!busy.acquired())
        return -1;
    // A value of another length or with other characters would leave the chip's serial port in the middle
    // of a cycle and corrupt the next transfer: refuse it before anything moves.
    const int width = maps_.width(addr);
    if (!isBitString(value, width))
        return -1;

    const int packet = firmware_.packetBits();
    const bool lsbFirst = SPI_LSB_First();
    const int total = kInstructionBits + width;
    std::vector<uint8_t> wire(static_cast<size_t>(total) * kWireWordBytes);
    putInstruction(wire.data(), instructionByte(false, addr, 1), lsbFirst);
    putBits(wire.data() + kInstructionBits * kWireWordBytes, value, lsbFirst);

    USBInitiateSerialLoad();
    if (addr == kInternalIOUpdate.addr) {
        // The chip makes its own I/O updates, so the board must stop driving the pin exactly while that bit
        // is set.
        const bool internalUpdate = kInternalIOUpdate.of(value) == 1;
        if (internalUpdate && REGUD_EN() == 1) {
            setREGUD_EN(0);
            USBWritePortBuffVal(kPortE);
        } else if (!internalUpdate && REGUD_EN() == 0) {
            setREGUD_EN(1);
            USBWritePortBuffVal(kPortE);
        }
    }
    const bool ok = sendPackets(firmware_, wire, packet);
    USBTerminateSerialLoad();
    if (!ok)
        return -1;
    if (!noStore)
        maps_.setValue(RegMap::Written, addr, value);
    return 0;
}

QString cZR4470XEvalBd::USBSerialReadPKT(int16_t addr, bool noStore)
{
    if (!enabled_ || !validAddress(addr))
        return QString();
    TransferGuard busy(busy_);
    if (!busy.acquired())
        return QString();
    return readRegister(addr, noStore);
}

QString cZR4470XEvalBd::readRegister(int16_t addr, bool noStore)
{
    if (!enabled_)
        return QString();
    const int packet = firmware_.packetBits();
    const bool profileRegister = addr >= kFirstProfileRegister && addr <= kLastProfileRegister;
    int16_t rememberedProfile = 0;
    if (profileRegister) {
        rememberedProfile = SelectedProfile();
        setSelectedProfile(static_cast<int16_t>(addr - kFirstProfileRegister));
        // Window events and timers run during this wait; the busy flag keeps them from starting another
        // transfer, and everything the read depends on is taken after it.
        Pause(kProfileSettleSeconds);
    }
    const int width = maps_.width(addr);
    const bool lsbFirst = SPI_LSB_First();
    const uint8_t mask = readBackMask(SPI_IOMode() == 1);
    uint8_t instruction[kInstructionBits * kWireWordBytes];
    putInstruction(instruction, instructionByte(true, addr, 1), lsbFirst);

    QString bits(width, QLatin1Char('0'));
    QChar* out = bits.data();
    USBInitiateSerialRead();
    const bool ok = sendPackets(firmware_, instruction, kInstructionBits) &&
                    receivePackets(
                        firmware_, width, packet, [](int) {},
                        [out, mask](std::span<const uint8_t> sampled, int first) {
                            takeBits(sampled, mask, out + first);
                        });
    USBTerminateSerialRead();
    // The pins go back to the profile they were on whether or not the read worked.
    if (profileRegister)
        setSelectedProfile(rememberedProfile);
    if (!ok)
        return QString();
    if (lsbFirst)
        std::reverse(bits.begin(), bits.end());
    if (!noStore)
        maps_.setValue(RegMap::Written, addr, bits);
    return bits;
}

int16_t cZR4470XEvalBd::USBSerialLoad16(int16_t addr, const QString& value, bool noStore)
{
    if (!enabled_)
        return 0;
    TransferGuard busy(busy_);
    if (!busy.acquired())
        return -1;
    const bool writable = addr >= 0 && addr <= 28;
    if (writable && !isBitString(value, maps_.width(addr)))
        return -1;
    if (SCLK() == 0) {
        setSCLK(1);
        USBWritePortBuffVal(kPortCtl);
    }
    if (!writable)
        return -1;
    const int width = maps_.width(addr);
    const bool lsbFirst = SPI_LSB_First();
    const int total = kInstructionBits + width;
    std::vector<uint8_t> wire(static_cast<size_t>(total) * kWireWordBytes);
    putInstruction(wire.data(), instructionByte(false, addr, 0), lsbFirst);
    putBits(wire.data() + kInstructionBits * kWireWordBytes, value, lsbFirst);
    if (!firmware_.send(usb::firmware::kDataPipe, wire.data(), static_cast<int32_t>(wire.size())))
        return -1;
    if (!noStore)
        maps_.setValue(RegMap::Written, addr, value);
    return 0;
}

// ---- chip RAM ----
//
// The chip RAM through register 0x16: the whole image is one serial transfer (chip select stays low from
// the instruction to the last word), in packets of 8 words at high speed and 1 word at full speed.
//
// Word order (ram_words.h): most significant bit first sends the array's last element first, each word as
// stored; least significant bit first sends element 0 first, each word reversed.
//
// The transfers work on the words as numbers; the bit-string forms convert at the edge, once per word.

namespace {

constexpr size_t kWireBytesPerWord = static_cast<size_t>(kRamWordBits) * kWireWordBytes;

} // namespace

bool cZR4470XEvalBd::USBSerialLoadRAM(const QStringList& words)
{
    if (!enabled_)
        return false;
    // A word of another length would shift every word after it: refuse the image before any traffic.
    for (const QString& word : words) {
        if (!isBitString(word, kRamWordBits))
            return false;
    }
    std::vector<uint32_t> values(static_cast<size_t>(words.size()));
    for (qsizetype k = 0; k < words.size(); ++k)
        values[static_cast<size_t>(k)] = wordOfBits(words[k]);
    return USBSerialLoadRAM(std::span<const uint32_t>(values));
}

bool cZR4470XEvalBd::USBSerialLoadRAM(std::span<const uint32_t> words)
{
    if (!enabled_)
        return false;
    TransferGuard busy(busy_);
    if (!busy.acquired())
        return false;
    const int count = static_cast<int>(words.size());
    if (count == 0)
        return false;

    const int wpp = firmware_.packetBits() / kRamWordBits;
    const bool lsbFirst = SPI_LSB_First();
    // The whole image, instruction first, built once; each packet is a slice of it.
    const size_t dataStart = static_cast<size_t>(kInstructionBits) * kWireWordBytes;
    std::vector<uint8_t> wire(dataStart + static_cast<size_t>(count) * kWireBytesPerWord);
    putInstruction(wire.data(), instructionByte(false, kRAMRegister, 1), lsbFirst);
    for (int p = 0; p < count; ++p) {
        putWord(wire.data() + dataStart + static_cast<size_t>(p) * kWireBytesPerWord,
                words[static_cast<size_t>(elementAt(p, count, lsbFirst))], lsbFirst);
    }

    raise({EvalBdEventRecord::RAMCOMBegin, count, wpp, false});
    USBInitiateSerialLoad();
    const std::span<const uint8_t> image(wire);
    const bool ok =
        sendPackets(firmware_, image.first(dataStart), kInstructionBits) &&
        sendPackets(firmware_, image.subspan(dataStart), wpp * kRamWordBits, [this](int wireWordsDone) {
            raise({EvalBdEventRecord::RAMPacketXfered, wireWordsDone / kRamWordBits});
        });
    USBTerminateSerialLoad();
    raise({EvalBdEventRecord::RAMCOMFinished, 0, 0, ok});
    return ok;
}

bool cZR4470XEvalBd::USBSerialReadRAM(QStringList& words)
{
    if (!enabled_)
        return false;
    const int count = static_cast<int>(words.size());
    std::vector<uint32_t> values(static_cast<size_t>(count));
    int reached = 0;
    bool lsbFirst = false;
    const bool ok = readRamWords(values, reached, lsbFirst);
    for (int p = 0; p < reached; ++p) {
        const int element = elementAt(p, count, lsbFirst);
        words[element] = bitsOfWord(values[static_cast<size_t>(element)]);
    }
    return ok;
}

bool cZR4470XEvalBd::USBSerialReadRAM(std::span<uint32_t> words)
{
    int reached = 0;
    bool lsbFirst = false;
    return readRamWords(words, reached, lsbFirst);
}

bool cZR4470XEvalBd::readRamWords(std::span<uint32_t> words, int& reached, bool& lsbFirst)
{
    reached = 0;
    if (!enabled_)
        return false;
    TransferGuard busy(busy_);
    if (!busy.acquired())
        return false;
    const int count = static_cast<int>(words.size());
    if (count == 0)
        return false;

    const int wpp = firmware_.packetBits() / kRamWordBits;
    const bool reverse = SPI_LSB_First();
    lsbFirst = reverse;
    const uint8_t mask = readBackMask(SPI_IOMode() == 1);
    uint8_t instruction[kInstructionBits * kWireWordBytes];
    putInstruction(instruction, instructionByte(true, kRAMRegister, 1), reverse);

    raise({EvalBdEventRecord::RAMCOMBegin, count, wpp, true});
    USBInitiateSerialRead();
    const auto onPacket = [this](int wireWordsDone) {
        raise({EvalBdEventRecord::RAMPacketXfered, wireWordsDone / kRamWordBits});
    };
    // Each block's bits go straight into its words: the first 32 into the block's first element, the first
    // bit sampled the word's top bit (its bottom bit when least significant bit first).
    const auto onSamples = [&](std::span<const uint8_t> sampled, int firstWireWord) {
        const int first = firstWireWord / kRamWordBits;
        const int n = static_cast<int>(sampled.size()) / kRamWordBits;
        for (int k = 0; k < n; ++k) {
            words[static_cast<size_t>(elementAt(first + k, count, reverse))] =
                takeWord(sampled.data() + k * kRamWordBits, mask, reverse);
        }
        reached = first + n;
    };
    const bool ok = sendPackets(firmware_, instruction, kInstructionBits) &&
                    receivePackets(firmware_, count * kRamWordBits, wpp * kRamWordBits, onPacket, onSamples);
    USBTerminateSerialRead();
    raise({EvalBdEventRecord::RAMCOMFinished, 0, 0, ok});
    return ok;
}

// ---- silicon revision ----

int16_t cZR4470XEvalBd::DetectSiliconRev()
{
    TransferGuard busy(busy_);
    if (!busy.acquired())
        return 0;
    const siliconrev::Probe probe{
        [this](int16_t addr) { return readRegister(addr, false); },
        [this] { ioResetPulse(); },
        [this](int16_t rev) { InitRegMap(rev); },
    };
    siliconRev_ = siliconrev::detect(probe);
    return siliconRev_;
}

int16_t cZR4470XEvalBd::DetectProduct(int16_t rev)
{
    TransferGuard busy(busy_);
    if (!busy.acquired())
        return productId_;
    const int16_t idRegister =
        rev == 1 || rev == 2 ? siliconrev::kRev12IdRegister : siliconrev::kRev3IdRegister;
    productId_ = siliconrev::productOf(readRegister(idRegister, false));
    return productId_;
}
