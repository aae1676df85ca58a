// The register layouts: every address's width and reset value on each silicon revision, as the chip's
// data sheet tables them.

#include "board/register_layout.h"

#include "common/bit_strings.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

using testbits::bits;

struct Row {
    int16_t addr;
    int16_t width12;
    int16_t width3;
    uint64_t default12;
    uint64_t default3;
};

const Row kLayout[] = {
    {0x00, 32, 32, 0, 0},
    {0x01, 32, 32, 0x00400820, 0x00400820},
    {0x02, 32, 32, 0x1F3F4000, 0x1F3F4000},
    {0x03, 32, 32, 0xFF, 0x7F7F},
    {0x04, 32, 32, 0xFFFFFFFF, 0xFFFFFFFF},
    {0x05, 48, 48, 0, 0},
    {0x06, 48, 48, 0, 0},
    {0x07, 32, 32, 0, 0},
    {0x08, 16, 16, 0, 0},
    {0x09, 32, 32, 0, 0},
    {0x0A, 32, 32, 0, 0},
    {0x0B, 64, 64, 0, 0},
    {0x0C, 64, 64, 0, 0},
    {0x0D, 32, 32, 0, 0},
    {0x0E, 64, 64, 0x08B5000000000000ULL, 0x08B5000000000000ULL},
    {0x0F, 64, 64, 0, 0},
    {0x10, 64, 64, 0, 0},
    {0x11, 64, 64, 0, 0},
    {0x12, 64, 64, 0, 0},
    {0x13, 64, 64, 0, 0},
    {0x14, 64, 64, 0, 0},
    {0x15, 64, 64, 0, 0},
    {0x16, 32, 32, 0, 0},
    {0x17, 40, 8, 0x100, 0xE0},
    {0x18, 8, 16, 0, 0},
    {0x19, 8, 16, 0, 0},
    {0x1A, 8, 8, 0, 0x01},
    {0x1B, 8, 16, 0, 0},
    {0x1C, 8, 8, 0, 0},
    {0x1D, 8, 8, 0, 0},
    {0x1E, 8, 8, 0, 0},
    {0x1F, 8, 40, 0, 0x100},
};

TEST(RegisterLayout, EveryAddressOnEveryRevision)
{
    ASSERT_EQ(std::size(kLayout), size_t{reglayout::kRegisterCount});
    // Revisions 1 and 2 share a layout; every other number, 0 included, has the revision 3 layout.
    for (const int16_t rev : std::initializer_list<int16_t>{0, 1, 2, 3, 4, -1}) {
        const bool layout12 = rev == 1 || rev == 2;
        for (const Row& row : kLayout) {
            SCOPED_TRACE(testing::Message() << "revision " << rev << ", address " << row.addr);
            const int16_t width = layout12 ? row.width12 : row.width3;
            EXPECT_EQ(reglayout::widthOn(rev, row.addr), width);
            EXPECT_EQ(reglayout::defaultOn(rev, row.addr),
                      bits(layout12 ? row.default12 : row.default3, width));
        }
    }
}

TEST(RegisterLayout, NothingOutsideTheMap)
{
    for (const int16_t addr : std::initializer_list<int16_t>{-1, 32, 33, 255}) {
        EXPECT_EQ(reglayout::widthOn(3, addr), 0) << addr;
        EXPECT_EQ(reglayout::widthOn(2, addr), 0) << addr;
        EXPECT_TRUE(reglayout::defaultOn(3, addr).isEmpty()) << addr;
    }
}

} // namespace
