#pragma once

// The chip's serial port as the board firmware clocks it: every serial bit travels as one 16-bit
// little-endian wire word (the bit, then 0) on the data pipe, and the chip's answer comes back one wire word
// per clocked bit on the read-back pipe (SDIO sampled in bit 0, SDO in bit 1). Here are the instruction byte,
// the wire words of instructions, bit strings and RAM words, the decoding of read-back words, and the one
// packet loop each way that register transfers and RAM transfers share. Wire buffers are filled in place,
// once per transfer; the loops send or read slices of them.

#include <QChar>
#include <QString>

#include "board/board_firmware.h"
#include "platform/usb/firmware_commands.h"

#include <algorithm>
#include <cstdint>
#include <span>

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
// One RAM word as 32 wire words: bit 31 first, or bit 0 first when reversed. Inline: it runs once per
// word of a whole-RAM transfer.
inline void putWord(uint8_t* wire, uint32_t word, bool reverse)
{
    for (int k = 0; k < kRamWordBits; ++k) {
        const int bit = reverse ? k : kRamWordBits - 1 - k;
        wire[kWireWordBytes * k] = static_cast<uint8_t>((word >> bit) & 1U);
        wire[kWireWordBytes * k + 1] = 0;
    }
}

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
// bit first. Inline: it runs once per word of a whole-RAM transfer.
inline uint32_t takeWord(const uint8_t* sampled, uint8_t mask, bool lsbFirst)
{
    uint32_t word = 0;
    if (lsbFirst) {
        for (int b = kRamWordBits - 1; b >= 0; --b)
            word = (word << 1) | ((sampled[b] & mask) != 0 ? 1U : 0U);
    } else {
        for (int b = 0; b < kRamWordBits; ++b)
            word = (word << 1) | ((sampled[b] & mask) != 0 ? 1U : 0U);
    }
    return word;
}

// One read-back request: reads buf.size() wire words and leaves each word's low byte in buf. 0, -2 on a
// failed read, -1 without traffic for more than kMaxReadBackWords words.
int16_t readBackPacket(BoardFirmware& firmware, std::span<uint8_t> buf);

// The packet loops are templates over their hooks so that a transfer's per-packet work (an event, the
// decoding of a block of words) is compiled into the loop.

// Sends whole wire words on the data pipe in packets of at most `packetWords`; stops at the first packet
// that fails. `onPacket(wordsDone)` runs before each packet with the wire words already sent (0 first).
// True when every packet went through.
template <typename OnPacket>
bool sendPackets(BoardFirmware& firmware, std::span<const uint8_t> wire, int packetWords, OnPacket&& onPacket)
{
    const int total = static_cast<int>(wire.size() / kWireWordBytes);
    for (int done = 0; done < total; done += packetWords) {
        const int n = std::min(packetWords, total - done);
        onPacket(done);
        if (!firmware.send(usb::firmware::kDataPipe, wire.data() + static_cast<size_t>(done) * kWireWordBytes,
                           n * kWireWordBytes))
            return false;
    }
    return true;
}

inline bool sendPackets(BoardFirmware& firmware, std::span<const uint8_t> wire, int packetWords)
{
    return sendPackets(firmware, wire, packetWords, [](int) {});
}

// Reads `words` wire words in packets of at most `packetWords` (at most kMaxReadBackWords); stops at the
// first packet that fails. `onPacket(wordsDone)` runs before each packet, `onSamples(sampled, firstWord)`
// after each packet that arrived, with its samples and the position of its first word. True when every
// packet arrived.
template <typename OnPacket, typename OnSamples>
bool receivePackets(BoardFirmware& firmware, int words, int packetWords, OnPacket&& onPacket,
                    OnSamples&& onSamples)
{
    uint8_t sampled[kMaxReadBackWords];
    const int chunk = std::min(packetWords, kMaxReadBackWords);
    for (int done = 0; done < words; done += chunk) {
        const int n = std::min(chunk, words - done);
        onPacket(done);
        const std::span<uint8_t> packet(sampled, static_cast<size_t>(n));
        if (readBackPacket(firmware, packet) != 0)
            return false;
        onSamples(std::span<const uint8_t>(packet), done);
    }
    return true;
}

} // namespace serialwire
