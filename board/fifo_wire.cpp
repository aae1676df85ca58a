#include "board/fifo_wire.h"

namespace fifowire {

namespace {

constexpr int kSxiBitI = 32; // data bit 5
constexpr int kSxiBitQ = 16; // data bit 4

// The k-th (1-based, most significant first) character of a 16-bit two's-complement string of `sample`,
// or of its reverse.
bool sampleBit(uint16_t sample, int k, bool reverseBits)
{
    const int bit = reverseBits ? k - 1 : 16 - k;
    return ((sample >> bit) & 1U) != 0;
}

uint16_t sxiSample(int32_t value, bool offsetBinary)
{
    const int64_t v = offsetBinary ? int64_t{value} + 32768 : int64_t{value};
    return static_cast<uint16_t>(static_cast<uint64_t>(v) & 0xFFFFU);
}

} // namespace

void putValues(uint8_t* out, std::span<const int32_t> values)
{
    for (size_t k = 0; k < values.size(); ++k)
        putValue(out + k * kValueBytes, values[k]);
}

void putSxiPairs(uint8_t* out, std::span<const int32_t> samples, bool reverseBits, bool offsetBinary)
{
    const size_t pairs = samples.size() / 2;
    for (size_t p = 0; p < pairs; ++p) {
        const uint16_t i = sxiSample(samples[2 * p], offsetBinary);
        const uint16_t q = sxiSample(samples[2 * p + 1], offsetBinary);
        uint8_t* pair = out + p * kSxiWordsPerPair * kValueBytes;
        for (int k = 1; k <= kSxiWordsPerPair; ++k) {
            const int value =
                (sampleBit(i, k, reverseBits) ? kSxiBitI : 0) + (sampleBit(q, k, reverseBits) ? kSxiBitQ : 0);
            uint8_t* word = pair + (k - 1) * kValueBytes;
            word[0] = static_cast<uint8_t>(value);
            word[1] = 0;
            word[2] = 0;
            word[3] = 0;
        }
    }
}

} // namespace fifowire
