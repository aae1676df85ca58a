// Register fields on the maps they are given: two sets of maps stay apart, the layout decides which fields
// a register holds, and without a board object the fields of the program's maps hold nothing.

#include "board/chip_registers.h"
#include "board/evalbd.h"
#include "board/register_maps.h"

#include <gtest/gtest.h>

namespace {

TEST(RegisterMaps, FieldsWorkOnTheMapsTheyAreGiven)
{
    ASSERT_EQ(goEvalBd, nullptr);
    RegisterMaps rev3;
    rev3.init(3);
    RegisterMaps rev2;
    rev2.init(2);
    const RegisterField gpioHigh{kGPIOConfig, 15, 8};

    struct Case {
        const char* what;
        RegisterMaps& maps;
        RegisterField field;
        uint64_t value;
        bool stored;
    };
    const Case cases[] = {
        {"a mode into CFR1", rev3, kOperatingMode, 1, true},
        {"the internal I/O update bit of CFR2", rev2, kInternalIOUpdate, 1, true},
        {"a value wider than the field", rev3, kOperatingMode, 4, false},
        {"a field beyond the register's width on revision 1/2", rev2, gpioHigh, 0x5A, false},
        {"the same field on revision 3", rev3, gpioHigh, 0x5A, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RegisterMaps before = c.maps;
        EXPECT_EQ(c.field.exists(c.maps), c.stored || c.value > c.field.maxValue());
        EXPECT_EQ(c.field.set(c.value, RegMap::Pending, c.maps), c.stored);
        EXPECT_EQ(c.field.get(RegMap::Pending, c.maps), c.stored ? c.value : 0U);
        EXPECT_EQ(c.field.get(RegMap::Written, c.maps), 0U) << "the written map is left alone";
        EXPECT_EQ(c.field.differs(c.maps), c.stored);
        EXPECT_EQ(c.field.setBoth(c.value, c.maps), c.stored);
        EXPECT_FALSE(c.field.differs(c.maps));
        if (!c.stored) {
            EXPECT_EQ(c.maps.value(RegMap::Pending, c.field.addr),
                      before.value(RegMap::Pending, c.field.addr));
        }
        c.maps.reset(2);
    }
    // Each set of maps keeps its own values.
    kOperatingMode.set(2, RegMap::Pending, rev3);
    EXPECT_EQ(kOperatingMode.get(RegMap::Pending, rev2), 0U);

    // Without a board object the program's maps hold no field: nothing is read, nothing is kept.
    EXPECT_FALSE(kRAMEnable.set(1));
    EXPECT_EQ(kRAMEnable.get(), 0U);
    EXPECT_FALSE(kRAMEnable.exists());
    boardRegisterMaps().setValue(RegMap::Pending, kCFR1, QString(32, QLatin1Char('1')));
    EXPECT_EQ(kRAMEnable.get(), 0U);

    // With one, they are its maps.
    cZR4470XEvalBd bd;
    goEvalBd = &bd;
    EXPECT_TRUE(kRAMEnable.set(1));
    EXPECT_EQ(bd.GetRegMapBitValue(RegMap::Pending, kCFR1, 31), 1);
    EXPECT_EQ(bd.GetRegMapBitValue(RegMap::Written, kCFR1, 31), 0);
    goEvalBd = nullptr;
}

} // namespace
