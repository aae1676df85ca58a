// The chip RAM through register 0x16: stream order, segments and the whole-RAM round trip.

#include "usb_host.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace usb;
using usbtest::Host;

namespace {

// RAM segment register value: begin address bits 15:6, final address bits 31:22.
uint64_t segment(int begin, int final)
{
    return (static_cast<uint64_t>(final) << 22) | (static_cast<uint64_t>(begin) << 6);
}

// Profile register in RAM-segment form: begin bits 23:14, final bits 39:30.
uint64_t profileSegment(int begin, int final)
{
    return 0x08B5000000000000ULL | (static_cast<uint64_t>(final) << 30) |
           (static_cast<uint64_t>(begin) << 14);
}

class ChipRam : public ::testing::Test {
protected:
    ScopedEmulatedDriver scoped;
    EmulatedDriver& drv = scoped.get();

    EmulatedBoard& attach(bool highSpeed = true)
    {
        BoardOptions options;
        options.highSpeed = highSpeed;
        return drv.attach(0, options);
    }
    void expectClean()
    {
        EXPECT_TRUE(drv.violations().empty()) << drv.violationTexts().join('\n').toStdString();
    }
    static std::vector<uint32_t> ramp(int n, uint32_t scale = 0x01010101)
    {
        std::vector<uint32_t> words(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            words[static_cast<size_t>(i)] = static_cast<uint32_t>(i) * scale ^ 0x80000001u;
        }
        return words;
    }
};

struct RamMode {
    bool lsbFirst;
    bool threeWire;
    bool highSpeed;
};

class WholeRam : public ChipRam, public ::testing::WithParamInterface<RamMode> {};

TEST_P(WholeRam, LoadAndDumpRoundTripThroughTheIsfcSegment)
{
    const RamMode mode = GetParam();
    EmulatedBoard& board = attach(mode.highSpeed);
    EmulatedChip& chip = *board.chip();
    Host host(drv);
    host.sendPortA(0x02 | 0x20); // ISFC = 1: RSR0
    ASSERT_TRUE(host.writeRegister(0x00, (mode.lsbFirst ? 1u : 0u) | (mode.threeWire ? 2u : 0u), 32));
    ASSERT_TRUE(host.writeRegister(0x05, segment(0, 1023), 48));
    host.ioUpdate();
    const std::vector<uint32_t> words = ramp(kRamWords);
    drv.clearTrace();
    ASSERT_TRUE(host.writeRam(words));
    // One instruction packet, then 8 words (high speed) or 1 word (full speed) per packet.
    EXPECT_EQ(drv.transfers(0, 3).size(), 1 + (mode.highSpeed ? 128 : 1024));
    for (int a = 0; a < kRamWords; ++a) {
        ASSERT_EQ(chip.ramWord(a), words[static_cast<size_t>(a)]) << "address " << a;
    }
    const auto dump = host.readRam(kRamWords);
    ASSERT_TRUE(dump);
    EXPECT_EQ(*dump, words);
    expectClean();
}

INSTANTIATE_TEST_SUITE_P(Modes, WholeRam,
                         ::testing::Values(RamMode{false, false, true}, RamMode{true, false, true},
                                           RamMode{false, true, true}, RamMode{true, true, false}));

TEST_F(ChipRam, MsbFirstStartsAtTheFinalAddressLsbFirstAtTheBegin)
{
    EmulatedBoard& board = attach();
    EmulatedChip& chip = *board.chip();
    Host host(drv);
    ASSERT_TRUE(host.writeRegister(0x06, segment(10, 12), 48)); // ISFC = 0: RSR1
    host.ioUpdate();

    // The first word on the wire: MSB first, that is the array's last element, which lands at the final
    // address; the whole stream reads as one big MSB-first number.
    drv.clearTrace();
    ASSERT_TRUE(host.writeRam({0x11111111, 0x22222222, 0x33333333}));
    EXPECT_EQ(chip.ramWord(10), 0x11111111u);
    EXPECT_EQ(chip.ramWord(11), 0x22222222u);
    EXPECT_EQ(chip.ramWord(12), 0x33333333u);
    const QList<QByteArray> packets = drv.transfers(0, 3);
    ASSERT_EQ(packets.size(), 2);
    EXPECT_EQ(packets[1].size(), 3 * 32 * 2);
    EXPECT_EQ(packets[1][2 * 2], 1) << "bit 29 of 0x33333333 is the third bit on the wire";

    chip.fillRam(0);
    ASSERT_TRUE(host.writeRegister(0x00, 0x1, 32));
    ASSERT_TRUE(host.writeRam({0x44444444, 0x55555555}));
    EXPECT_EQ(chip.ramWord(10), 0x44444444u);
    EXPECT_EQ(chip.ramWord(11), 0x55555555u);
    EXPECT_EQ(chip.ramWord(12), 0u);
    expectClean();
}

TEST_F(ChipRam, RamEnabledSingleToneUsesTheActiveProfileSegment)
{
    EmulatedBoard& board = attach();
    EmulatedChip& chip = *board.chip();
    Host host(drv);
    ASSERT_TRUE(host.writeRegister(0x06, segment(0, 0), 48)); // would allow a single word
    host.sendPortE(0x80 | 2);
    ASSERT_TRUE(host.writeRegister(0x00, 0x81000000, 32)); // RAM enable, single tone
    ASSERT_TRUE(host.writeRegister(0x10, profileSegment(100, 103), 64));
    host.ioUpdate();
    ASSERT_TRUE(host.writeRam({1, 2, 3, 4}));
    EXPECT_EQ(chip.ramWord(100), 1u);
    EXPECT_EQ(chip.ramWord(103), 4u);
    EXPECT_EQ(chip.ramWord(0), 0u);
    expectClean();
}

TEST_F(ChipRam, TheFillTestSetupCoversTheWholeRam)
{
    EmulatedBoard& board = attach();
    Host host(drv);
    host.sendPortE(0x80);
    ASSERT_TRUE(host.writeRegister(0x00, 0x81000000, 32));
    ASSERT_TRUE(host.writeRegister(0x0E, 0x08B500FFC0000000ULL, 64));
    host.ioUpdate();
    std::vector<uint32_t> words(kRamWords);
    std::iota(words.begin(), words.end(), 0u);
    ASSERT_TRUE(host.writeRam(words));
    EXPECT_EQ(board.chip()->ramWord(0), 0u);
    EXPECT_EQ(board.chip()->ramWord(1023), 1023u);
    expectClean();
}

TEST_F(ChipRam, WordsPastTheSegmentAreDroppedAndLogged)
{
    EmulatedBoard& board = attach();
    EmulatedChip& chip = *board.chip();
    Host host(drv);
    host.writeRegister(0x00, 0x1, 32);
    ASSERT_TRUE(host.writeRegister(0x06, segment(0, 1), 48));
    host.ioUpdate();
    ASSERT_TRUE(host.writeRam({7, 8, 9}));
    EXPECT_EQ(chip.ramWord(0), 7u);
    EXPECT_EQ(chip.ramWord(1), 8u);
    EXPECT_EQ(chip.ramWord(2), 0u);
    ASSERT_EQ(drv.violations().size(), 1u);
    EXPECT_EQ(drv.violations().front().kind, ViolationKind::RamPastSegment);
    drv.clearViolations();
    EXPECT_TRUE(host.readRam(3));
    ASSERT_EQ(drv.violations().size(), 1u);
    EXPECT_EQ(drv.violations().front().kind, ViolationKind::RamPastSegment);
}

TEST_F(ChipRam, ChipSelectHighEndsTheStreamAndDropsAPartialWord)
{
    EmulatedBoard& board = attach();
    EmulatedChip& chip = *board.chip();
    Host host(drv);
    ASSERT_TRUE(host.writeRegister(0x06, segment(0, 1023), 48));
    host.ioUpdate();
    host.ask1({16, 0});
    host.sendPortA(0x00);
    std::vector<uint8_t> words(2 * (8 + 32 + 16), 0);
    const usbtest::Bits instruction = usbtest::msbFirst(0x16, 8);
    for (int i = 0; i < 8; ++i) {
        words[2 * static_cast<size_t>(i)] = instruction[static_cast<size_t>(i)];
    }
    for (size_t i = 8; i < 8 + 48; ++i) {
        words[2 * i] = 1;
    }
    ASSERT_TRUE(host.transfer(3, words.data(), static_cast<uint32_t>(words.size())));
    host.sendPortA(0x02);
    host.ask1({16, 1});
    EXPECT_EQ(chip.ramWord(1023), 0xFFFFFFFFu);
    EXPECT_EQ(chip.ramWord(1022), 0u) << "half a word is not stored";
    EXPECT_EQ(chip.phase(), SerialPhase::Instruction);
    // The next transfer starts over at the segment's final address.
    ASSERT_TRUE(host.writeRam({5}));
    EXPECT_EQ(chip.ramWord(1023), 5u);
    expectClean();
}

} // namespace
