// The board FIFO's wire layouts: plain 18-bit values as four bytes, and SXI sample pairs as sixteen words
// with the I bit in data bit 5 and the Q bit in data bit 4, in both bit orders and with offset binary.

#include "board/fifo_wire.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using fifowire::kSxiWordsPerPair;
using fifowire::kValueBytes;

TEST(FifoWire, PlainValuesTakeFourBytesOfNineBitHalves)
{
    struct Case {
        int32_t value;
        std::array<uint8_t, 4> wire;
    };
    const Case cases[] = {
        {0x00000, {0x00, 0x00, 0x00, 0x00}}, {0x3FFFF, {0xFF, 0x01, 0xFF, 0x01}},
        {-1, {0xFF, 0x01, 0xFF, 0x01}},      {0x000FF, {0xFF, 0x00, 0x00, 0x00}},
        {0x00100, {0x00, 0x01, 0x00, 0x00}}, {0x1FE00, {0x00, 0x00, 0xFF, 0x00}},
        {0x20000, {0x00, 0x00, 0x00, 0x01}}, {0x40000, {0x00, 0x00, 0x00, 0x00}}, // bit 18 does not travel
        {0x12345, {0x45, 0x01, 0x91, 0x00}},
    };
    std::vector<int32_t> values;
    std::vector<uint8_t> expected;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        std::array<uint8_t, 4> wire{0xEE, 0xEE, 0xEE, 0xEE};
        fifowire::putValue(wire.data(), c.value);
        EXPECT_EQ(wire, c.wire);
        values.push_back(c.value);
        expected.insert(expected.end(), c.wire.begin(), c.wire.end());
    }
    std::vector<uint8_t> all(values.size() * kValueBytes, 0xEE);
    fifowire::putValues(all.data(), values);
    EXPECT_EQ(all, expected) << "a packet is the values in order";
}

// The data byte of each of a pair's sixteen words, as I/Q digits: "3" both bits, "2" I only, "1" Q only.
std::string sxiDigits(std::vector<int32_t> samples, bool reverseBits, bool offsetBinary)
{
    std::vector<uint8_t> wire(samples.size() / 2 * kSxiWordsPerPair * kValueBytes, 0xEE);
    fifowire::putSxiPairs(wire.data(), samples, reverseBits, offsetBinary);
    std::string digits;
    for (size_t w = 0; w < wire.size(); w += kValueBytes) {
        EXPECT_EQ(wire[w] & ~0x30, 0) << "only data bits 5 and 4 carry samples";
        EXPECT_EQ(wire[w + 1] | wire[w + 2] | wire[w + 3], 0);
        digits += static_cast<char>('0' + ((wire[w] & 0x20) != 0 ? 2 : 0) + ((wire[w] & 0x10) != 0 ? 1 : 0));
    }
    return digits;
}

TEST(FifoWire, SxiPairsBitByBit)
{
    struct Case {
        std::vector<int32_t> samples;
        bool reverseBits;
        bool offsetBinary;
        const char* digits;
    };
    const Case cases[] = {
        {{0x8000, 0x0001}, false, false, "2000000000000001"},
        {{0x8000, 0x0001}, true, false, "1000000000000002"},
        {{-1, 0}, false, false, "2222222222222222"},
        {{-32768, 32767}, false, true, "1111111111111111"}, // offset binary: 0 and 0xFFFF
        {{0, 0}, false, true, "3000000000000000"},          // offset binary: both 0x8000
        {{0x00F0, 0x0F00}, false, false, "0000111122220000"},
        {{1, 2, 3}, false, false, "0000000000000012"}, // the unpaired last sample is left out
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.digits);
        EXPECT_EQ(sxiDigits(c.samples, c.reverseBits, c.offsetBinary), c.digits);
    }
}

} // namespace
