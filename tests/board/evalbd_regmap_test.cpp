// Register layout and defaults of both silicon revisions, the two maps, their reset and bit access.

#include "evalbd_fixture.h"

#include "platform/ui/test_doubles.h"
#include "platform/usb/emulated_chip.h"

using namespace evalbdtest;

namespace {

class RegMap : public EvalBdTest {};

// The program's layout must agree with the chip's own reset state, or maps and chip disagree after every
// reset. The identification register is the exception: the program's default is 0x100, the chip answers
// its identification pattern.
TEST_F(RegMap, LayoutAndDefaultsMatchTheChipOfEachRevision)
{
    struct Case {
        int16_t rev;
        usb::ChipRevision chip;
        int idRegister;
    } cases[] = {{3, usb::ChipRevision::Rev3, 0x1F},
                 {0, usb::ChipRevision::Rev3, 0x1F},
                 {2, usb::ChipRevision::Rev2, 0x17},
                 {1, usb::ChipRevision::Rev1, 0x17}};
    for (const Case& c : cases) {
        bd->InitRegMap(c.rev);
        for (int16_t a = 0; a < 32; ++a) {
            const int width = usb::EmulatedChip::registerWidth(c.chip, a);
            SCOPED_TRACE(testing::Message() << "rev " << c.rev << " address " << a);
            ASSERT_EQ(bd->GetRegLength(a), width);
            const uint64_t expected =
                a == c.idRegister ? 0x100 : usb::EmulatedChip::registerDefault(c.chip, a);
            EXPECT_EQ(bd->GetRegMapValue(0, a), bits(expected, width));
            EXPECT_EQ(bd->GetRegMapValue(1, a), bits(expected, width));
        }
    }
    bd->InitRegMap(3);
    EXPECT_EQ(bd->GetRegMapValue(1, 0x01), QStringLiteral("00000000010000000000100000100000"));
    EXPECT_EQ(bd->GetRegMapValue(0, 0x1F),
              QString(31, QLatin1Char('0')) + "1" + QString(8, QLatin1Char('0')));
    bd->InitRegMap(2);
    EXPECT_EQ(bd->GetRegMapValue(0, 0x17),
              QString(31, QLatin1Char('0')) + "1" + QString(8, QLatin1Char('0')));
    EXPECT_EQ(bd->GetRegMapValue(0, 0x1F), QStringLiteral("00000000"));
    EXPECT_TRUE(events.empty()) << "InitRegMap raises no event";
}

TEST_F(RegMap, LayoutChangeResetsBothMaps)
{
    bd->SetRegMapValue(0, 0x07, bits(0x12345678, 32));
    bd->SetRegMapValue(1, 0x07, bits(0x12345678, 32));
    bd->InitRegMap(2);
    EXPECT_EQ(bd->GetRegMapValue(0, 0x07), bits(0, 32));
    EXPECT_EQ(bd->GetRegMapValue(1, 0x07), bits(0, 32));
}

TEST_F(RegMap, ResetRegMapModesAndEvent)
{
    struct Case {
        int32_t mode;
        bool pendingReset;
        bool writtenReset;
    } cases[] = {{0, false, true}, {1, true, false}, {2, true, true}, {5, false, false}, {-1, false, false}};
    const QString changed = bits(0xABCD, 16);
    for (const Case& c : cases) {
        bd->SetRegMapValue(0, 0x08, changed);
        bd->SetRegMapValue(1, 0x08, changed);
        events.clear();
        bd->ResetRegMap(c.mode);
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(bd->GetRegMapValue(0, 0x08), c.pendingReset ? bits(0, 16) : changed);
        EXPECT_EQ(bd->GetRegMapValue(1, 0x08), c.writtenReset ? bits(0, 16) : changed);
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].kind, EvalBdEventRecord::RegMapReset);
        EXPECT_EQ(events[0].first, c.mode);
    }
}

TEST_F(RegMap, HandlerOfRegMapResetSeesTheMapsAlreadyReset)
{
    QString seen;
    bd->RegMapReset = [&](int32_t) { seen = bd->GetRegMapValue(0, 0x08); };
    bd->SetRegMapValue(0, 0x08, bits(1, 16));
    bd->ResetRegMap(2);
    EXPECT_EQ(seen, bits(0, 16));
}

TEST_F(RegMap, SelectorZeroIsPendingAnyOtherIsWritten)
{
    bd->SetRegMapValue(0, 0x08, bits(1, 16));
    bd->SetRegMapValue(7, 0x08, bits(2, 16));
    EXPECT_EQ(bd->GetRegMapValue(0, 0x08), bits(1, 16));
    EXPECT_EQ(bd->GetRegMapValue(1, 0x08), bits(2, 16));
    EXPECT_EQ(bd->GetRegMapValue(-3, 0x08), bits(2, 16));
    // SetRegMapValue stores whatever it is given.
    bd->SetRegMapValue(0, 0x08, QStringLiteral("xyz"));
    EXPECT_EQ(bd->GetRegMapValue(0, 0x08), QStringLiteral("xyz"));
}

TEST_F(RegMap, AddressesOutsideTheMapAreHarmless)
{
    for (int16_t a : {int16_t(-1), int16_t(32), int16_t(1000)}) {
        bd->SetRegMapValue(0, a, QStringLiteral("1"));
        EXPECT_EQ(bd->GetRegMapValue(0, a), QString());
        EXPECT_EQ(bd->GetRegLength(a), 0);
        bd->SetRegMapBitValue(0, a, 0, 1);
        EXPECT_EQ(bd->GetRegMapBitValue(0, a, 0), 0);
    }
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
}

TEST_F(RegMap, BitAccessCountsFromTheLeastSignificantBit)
{
    bd->SetRegMapBitValue(0, 0x08, 0, 1);
    EXPECT_EQ(bd->GetRegMapValue(0, 0x08), QStringLiteral("0000000000000001"));
    bd->SetRegMapBitValue(0, 0x08, 15, 1);
    EXPECT_EQ(bd->GetRegMapValue(0, 0x08), QStringLiteral("1000000000000001"));
    EXPECT_EQ(bd->GetRegMapBitValue(0, 0x08, 15), 1);
    EXPECT_EQ(bd->GetRegMapBitValue(0, 0x08, 14), 0);
    EXPECT_EQ(bd->GetRegMapBitValue(1, 0x08, 0), 0) << "the written map is another copy";
    bd->SetRegMapBitValue(0, 0x08, 0, 0);
    EXPECT_EQ(bd->GetRegMapValue(0, 0x08), QStringLiteral("1000000000000000"));
}

TEST_F(RegMap, AnyNonZeroBitValueStoresOne)
{
    for (int32_t v : {1, -1, 2, 255, 100000}) {
        bd->SetRegMapBitValue(0, 0x08, 3, 0);
        bd->SetRegMapBitValue(0, 0x08, 3, v);
        EXPECT_EQ(bd->GetRegMapValue(0, 0x08), QStringLiteral("0000000000001000")) << v;
        EXPECT_EQ(bd->GetRegMapValue(0, 0x08).size(), 16);
    }
}

TEST_F(RegMap, BitBeyondTheWidthShowsTheMessageAndChangesNothing)
{
    auto& boxes = ui::testing::messageBoxes();
    const QString before = bd->GetRegMapValue(0, 0x08);
    boxes.answer({ui::vbOK, ui::vbOK, ui::vbOK});
    bd->SetRegMapBitValue(0, 0x08, 16, 1);
    EXPECT_EQ(bd->GetRegMapValue(0, 0x08), before);
    bd->SetRegMapValue(0, 0x08, QString(16, QLatin1Char('1')));
    EXPECT_EQ(bd->GetRegMapBitValue(0, 0x08, 16), 0);
    EXPECT_EQ(bd->GetRegMapBitValue(0, 0x08, -1), 0);
    ASSERT_EQ(boxes.shown.size(), 3u);
    for (const auto& box : boxes.shown) {
        EXPECT_EQ(
            box.prompt,
            QStringLiteral("The BIT being addressed does not exist in the addressed register location!"));
        EXPECT_EQ(box.buttons, ui::vbCritical);
    }
    EXPECT_EQ(boxes.shown[0].title,
              QStringLiteral("clsZR4470EvBd.SetRegMapBitVal - Ivalid Parameter: BitNum"));
    EXPECT_EQ(boxes.shown[1].title,
              QStringLiteral("clsZR4470EvBd.GetRegMapBitVal - Ivalid Parameter: BitNum"));
}

TEST_F(RegMap, BitAccessOnStringsOfAnotherLengthNeverCrashes)
{
    // The table's width decides which character is meant; short, long and empty strings must not break it.
    bd->SetRegMapValue(0, 0x08, QStringLiteral("1"));
    EXPECT_EQ(bd->GetRegMapBitValue(0, 0x08, 0), 0);
    EXPECT_EQ(bd->GetRegMapBitValue(0, 0x08, 15), 1);
    bd->SetRegMapBitValue(0, 0x08, 0, 1);
    bd->SetRegMapValue(0, 0x08, QString());
    EXPECT_EQ(bd->GetRegMapBitValue(0, 0x08, 7), 0);
    bd->SetRegMapBitValue(0, 0x08, 7, 1);
    EXPECT_EQ(bd->GetRegMapValue(0, 0x08), QStringLiteral("1"));
    bd->SetRegMapValue(0, 0x08, QString(20, QLatin1Char('0')));
    bd->SetRegMapBitValue(0, 0x08, 0, 1);
    EXPECT_EQ(bd->GetRegMapBitValue(0, 0x08, 0), 1);
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
}

} // namespace
