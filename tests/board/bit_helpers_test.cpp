#include "board/bit_helpers.h"

#include "platform/runtime/runtime_error.h"

#include <gtest/gtest.h>

namespace {

TEST(BitHelpers, SetAndClearEachBit)
{
    for (int16_t bit = 0; bit < 8; ++bit) {
        const uint8_t mask = static_cast<uint8_t>(1u << bit);
        EXPECT_EQ(ebSetBit(0x00, bit, true), mask) << bit;
        EXPECT_EQ(ebSetBit(0xFF, bit, false), static_cast<uint8_t>(0xFF ^ mask)) << bit;
        EXPECT_EQ(ebSetBit(mask, bit, true), mask) << bit;  // already set
        EXPECT_EQ(ebSetBit(0x00, bit, false), 0x00) << bit; // already clear
        EXPECT_EQ(ebTestBit(mask, bit), 1) << bit;
        EXPECT_EQ(ebTestBit(static_cast<uint8_t>(~mask), bit), 0) << bit;
    }
    EXPECT_EQ(ebSetBit(0xFF, 0, false), 0xFE);
    EXPECT_EQ(ebSetBit(0x00, 7, true), 0x80);
    EXPECT_EQ(ebTestBit(0x80, 7), 1);
    EXPECT_EQ(ebTestBit(0x7F, 7), 0);
}

TEST(BitHelpers, BitNumberOutsideTheByteRaisesSubscriptOutOfRange)
{
    for (int16_t bit : {int16_t{-1}, int16_t{8}, int16_t{100}}) {
        try {
            ebSetBit(0, bit, true);
            ADD_FAILURE() << "no error for bit " << bit;
        } catch (const rt::RuntimeError& e) {
            EXPECT_EQ(e.number(), 9);
            EXPECT_EQ(e.source(), QStringLiteral("ebSetBit"));
        }
        EXPECT_THROW(ebTestBit(0xFF, bit), rt::RuntimeError);
    }
}

} // namespace
