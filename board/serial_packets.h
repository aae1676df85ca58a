#pragma once

// The chip's serial port as the board firmware clocks it: every serial bit travels as one 16-bit
// little-endian wire word (the bit, then 0) on the data pipe, and the chip's answer comes back one wire word
// per clocked bit on the read-back pipe (SDIO sampled in bit 0, SDO in bit 1). Here are the instruction byte,
// the wire words of instructions, bit strings and RAM words, the decoding of read-back words, and the one
// packet loop each way that register transfers and RAM transfers share. Wire buffers are filled in place,
// once per transfer; the loops send or read slices of them.

#include <QChar>
#include <QString>

#include <cstdint>
#include <functional>
#include <span>

class BoardFirmware;

namespace serialwire {

inline constexpr int kWireWordBytes = 2;
inline constexpr int kInstructionBits = 8;
inline constexpr int kRamWordBits = 32;
// The most wire words one read-back request may ask for.
inline constexpr int kMaxReadBackWords = 256;

// Read/write bit, (count - 1) in two bits of two's complement, five address bits.
constexpr uint8_t instructionByte(bool read, int16_t addr, int16_t count)
{
    return static_cast<uint8_t>((read ? 0x80 : 0) | (((count - 1) & 3) << 5) | (addr & 0x1F));
}

// The eight instruction bits as wire words: most significant first, or reversed.
void putInstruction(uint8_t* wire, uint8_t instruction, bool lsbFirst);
// A checked "0"/"1" string as wire words, in its own order or reversed.
void putBits(uint8_t* wire, const QString& bits, bool reverse);
// One bit value (0/1) per element as wire words.
void putBitValues(uint8_t* wire, std::span<const uint8_t> bits);
// One RAM word as 32 wire words: bit 31 first, or bit 0 first when reversed.
void putWord(uint8_t* wire, uint32_t word, bool reverse);

// True when the text is exactly `width` characters, each "0" or "1": anything else would leave the chip's
// serial port in the middle of a cycle.
bool isBitString(const QString& value, int width);

// The line a read-back word's bit is taken from: SDO (bit 1) in 3-wire mode, SDIO (bit 0) in 2-wire mode.
constexpr uint8_t readBackMask(bool threeWire)
{
    return threeWire ? 0x02 : 0x01;
}
// Sampled read-back bytes as "1"/"0" characters in arrival order.
void takeBits(std::span<const uint8_t> sampled, uint8_t mask, QChar* out);
// 32 sampled read-back bytes as one RAM word: the first sample is bit 31, or bit 0 when least significant
// bit first.
uint32_t takeWord(const uint8_t* sampled, uint8_t mask, bool lsbFirst);

// Called before each packet with the wire words already moved (0 first).
using PacketStart = std::function<void(int wordsDone)>;
// Called after each read-back packet with its samples and the position of its first word.
using PacketSamples = std::function<void(std::span<const uint8_t> sampled, int firstWord)>;

// Sends whole wire words on the data pipe in packets of at most `packetWords`; stops at the first packet
// that fails. True when every packet went through.
bool sendPackets(BoardFirmware& firmware, std::span<const uint8_t> wire, int packetWords,
                 const PacketStart& onPacket = {});

// One read-back request: reads buf.size() wire words and leaves each word's low byte in buf. 0, -2 on a
// failed read, -1 without traffic for more than kMaxReadBackWords words.
int16_t readBackPacket(BoardFirmware& firmware, std::span<uint8_t> buf);

// Reads `words` wire words in packets of at most `packetWords` (at most kMaxReadBackWords); stops at the
// first packet that fails. True when every packet arrived.
bool receivePackets(BoardFirmware& firmware, int words, int packetWords, const PacketStart& onPacket,
                    const PacketSamples& onSamples);

} // namespace serialwire
