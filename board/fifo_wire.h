#pragma once

// The board FIFO's data on the wire: each value as 4 bytes on the data pipe, in the plain layout (one 18-bit
// value each) or the SXI layout (16 FIFO words per I/Q sample pair, one bit of each sample per word).

#include <cstdint>
#include <span>

namespace fifowire {

inline constexpr int kValueBytes = 4;
inline constexpr int kHighSpeedPacketValues = 128;
inline constexpr int kFullSpeedPacketValues = 16;
inline constexpr int kSxiWordsPerPair = 16;

// One value: bits 0-7, bit 8, bits 9-16, bit 17 (two 9-bit half-words, low first). The sign bit is cleared
// first; only the low 18 bits travel.
inline void putValue(uint8_t* out, int32_t value)
{
    const uint32_t v = static_cast<uint32_t>(value) & 0x7FFFFFFFU;
    out[0] = static_cast<uint8_t>(v & 0xFFU);
    out[1] = static_cast<uint8_t>((v >> 8) & 1U);
    out[2] = static_cast<uint8_t>((v >> 9) & 0xFFU);
    out[3] = static_cast<uint8_t>((v >> 17) & 1U);
}

// Every value in order, kValueBytes each.
void putValues(uint8_t* out, std::span<const int32_t> values);

// The SXI words of the sample pairs (even index I, odd index Q; an unpaired last value is left out),
// kSxiWordsPerPair words of kValueBytes per pair. Word k (0-15) carries the I sample's bit in data bit 5 and
// the Q sample's bit in data bit 4, most significant bit first (least significant first when `reverseBits`);
// `offsetBinary` adds 32768 to each sample first.
void putSxiPairs(uint8_t* out, std::span<const int32_t> samples, bool reverseBits, bool offsetBinary);

} // namespace fifowire
