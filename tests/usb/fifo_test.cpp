// The board FIFO: half-word pairing, offsets, active-low ready lines, transmit and the board without FIFO.

#include "usb_host.h"

#include <gtest/gtest.h>

using namespace usb;
using usbtest::Host;

namespace {

constexpr uint8_t kPafHigh = 0x01; // bit 0: almost full, active low
constexpr uint8_t kPaeHigh = 0x02; // bit 1: almost empty, active low

class Fifo : public ::testing::Test {
protected:
    ScopedEmulatedDriver scoped;
    EmulatedDriver& drv = scoped.get();

    EmulatedBoard& attach(int depth = 65536, bool present = true)
    {
        BoardOptions options;
        options.fifoDepth = depth;
        options.fifoPresent = present;
        return drv.attach(0, options);
    }
    void expectClean()
    {
        EXPECT_TRUE(drv.violations().empty()) << drv.violationTexts().join('\n').toStdString();
    }
};

TEST_F(Fifo, DetectionSequenceFindsAFifo)
{
    EmulatedBoard& board = attach();
    Host host(drv);
    host.resetFifo();
    EXPECT_EQ(host.readyLines(), kPafHigh) << "empty: almost-empty low, almost-full high";
    host.programFifoFlags(0, 65534);
    EXPECT_EQ(board.fifo()->emptyOffset(), 0u);
    EXPECT_EQ(board.fifo()->fullOffset(), 65534u);
    EXPECT_EQ(board.fifo()->stored(), 0) << "offsets are not data";
    ASSERT_TRUE(host.writeFifoValues({0, 0, 0, 0}));
    EXPECT_EQ(*host.readyLines() & kPafHigh, 0) << "almost full after four values";
    EXPECT_EQ(board.fifo()->stored(), 4);
    EXPECT_EQ(board.portC(), 0x03);
    EXPECT_TRUE(board.autoCsb());
    expectClean();
}

TEST_F(Fifo, PlainLoadStoresEighteenBitValuesAndRaisesAlmostFull)
{
    EmulatedBoard& board = attach();
    Host host(drv);
    host.resetFifo();
    const std::vector<uint32_t> values = {0x3FFFF, 0xFFFFFFFF, 0x12345, 0, 0x1FF, 0x200, 7, 8, 9, 10};
    const uint32_t last = static_cast<uint32_t>(values.size()) - 1;
    host.programFifoFlags(0, 65537 - last);
    EXPECT_EQ(*host.readyLines() & kPafHigh, kPafHigh);
    drv.clearTrace();
    ASSERT_TRUE(host.writeFifoValues(values));
    EXPECT_EQ(drv.transfers(0, 3).front().left(8), QByteArray("\xFF\x01\xFF\x01\xFF\x01\xFF\x01", 8));
    const std::vector<uint32_t> expected = {0x3FFFF, 0x3FFFF, 0x12345, 0, 0x1FF, 0x200, 7, 8, 9, 10};
    EXPECT_EQ(board.fifo()->contents(), expected);
    EXPECT_EQ(*host.readyLines() & kPafHigh, 0);
    expectClean();
}

TEST_F(Fifo, ThresholdsFollowTheProgrammedOffsets)
{
    EmulatedBoard& board = attach(64);
    EmulatedFifo& fifo = *board.fifo();
    Host host(drv);
    host.resetFifo();
    host.programFifoFlags(3, 10); // almost empty at <= 3 values, almost full at >= 54
    struct Step {
        int add;
        uint8_t ready;
    } steps[] = {{3, kPafHigh}, {1, kPafHigh | kPaeHigh}, {49, kPafHigh | kPaeHigh}, {1, kPaeHigh}};
    int total = 0;
    for (const Step& s : steps) {
        ASSERT_TRUE(host.writeFifoValues(std::vector<uint32_t>(static_cast<size_t>(s.add), 1)));
        total += s.add;
        EXPECT_EQ(fifo.stored(), total);
        EXPECT_EQ(host.readyLines(), s.ready) << total << " values";
    }
    expectClean();
}

TEST_F(Fifo, ResetEmptiesAndRestoresDefaultOffsetsLoadsDoNot)
{
    EmulatedBoard& board = attach();
    Host host(drv);
    host.resetFifo();
    host.programFifoFlags(5, 6);
    ASSERT_TRUE(host.writeFifoValues({1, 2, 3}));
    ASSERT_TRUE(host.writeFifoValues({4}));
    EXPECT_EQ(board.fifo()->stored(), 4) << "a load adds to what is there";
    host.resetFifo();
    EXPECT_EQ(board.fifo()->stored(), 0);
    EXPECT_EQ(board.fifo()->emptyOffset(), EmulatedFifo::kDefaultEmptyOffset);
    EXPECT_EQ(board.fifo()->fullOffset(), EmulatedFifo::kDefaultFullOffset);
    expectClean();
}

TEST_F(Fifo, LogicResetRestartsTheHalfWordPairing)
{
    EmulatedBoard& board = attach();
    Host host(drv);
    host.ask1({16, 0});
    host.sendPortC(0x01); // write enable low
    uint8_t half[2] = {0x55, 0};
    ASSERT_TRUE(host.transfer(3, half, 2));
    host.sendPortC(0x21); // CPLD_RESET pulse
    host.sendPortC(0x01);
    uint8_t whole[4] = {0x01, 0, 0x02, 0};
    ASSERT_TRUE(host.transfer(3, whole, 4));
    host.sendPortC(0x03);
    host.ask1({16, 1});
    EXPECT_EQ(board.fifo()->contents(), (std::vector<uint32_t>{0x01 | (0x02 << 9)}));
    expectClean();
}

TEST_F(Fifo, TransmitDrainsRetransmitKeeps)
{
    EmulatedBoard& board = attach();
    Host host(drv);
    host.resetFifo();
    ASSERT_TRUE(host.writeFifoValues(std::vector<uint32_t>(200, 9)));
    EXPECT_EQ(*host.readyLines() & kPaeHigh, kPaeHigh);
    host.sendPortC(0x03 | 0x0C); // TX and RT: loop
    EXPECT_EQ(board.fifo()->stored(), 200);
    host.sendPortC(0x03 | 0x04); // TX only: drain
    EXPECT_EQ(*host.readyLines() & kPaeHigh, 0);
    EXPECT_EQ(board.fifo()->stored(), 0);
    EXPECT_EQ(board.fifo()->transmittedValues(), 200u);
    expectClean();
}

TEST_F(Fifo, DrainRateFollowsTheClock)
{
    int64_t t = 0;
    drv.setClock([&] { return t; });
    EmulatedBoard& board = attach();
    board.fifo()->setDrainRate(10); // values per clock unit
    Host host(drv);
    host.resetFifo();
    ASSERT_TRUE(host.writeFifoValues(std::vector<uint32_t>(1000, 1)));
    host.sendPortC(0x03 | 0x04);
    EXPECT_EQ(board.fifo()->stored(), 1000);
    t = 50;
    EXPECT_EQ(*host.readyLines() & kPaeHigh, kPaeHigh);
    EXPECT_EQ(board.fifo()->stored(), 500);
    t = 100;
    EXPECT_EQ(*host.readyLines() & kPaeHigh, 0);
    EXPECT_EQ(board.fifo()->stored(), 0);
}

TEST_F(Fifo, LoopRepeatsTheContentsAtTheDrainRate)
{
    int64_t t = 0;
    drv.setClock([&] { return t; });
    EmulatedBoard& board = attach();
    board.fifo()->setDrainRate(2);
    Host host(drv);
    host.resetFifo();
    ASSERT_TRUE(host.writeFifoValues(std::vector<uint32_t>(200, 5)));
    host.sendPortC(0x03 | 0x0C); // TX and RT: loop
    t = 500;
    EXPECT_EQ(*host.readyLines() & kPaeHigh, kPaeHigh) << "a loop never empties the FIFO";
    EXPECT_EQ(board.fifo()->stored(), 200);
    EXPECT_EQ(board.fifo()->transmittedValues(), 1000u) << "five passes over 200 values";
    host.sendPortC(0x03 | 0x08); // TX low: the loop stops sending
    t = 900;
    EXPECT_EQ(*host.readyLines() & kPaeHigh, kPaeHigh);
    EXPECT_EQ(board.fifo()->transmittedValues(), 1000u);
    expectClean();
}

TEST_F(Fifo, OverflowDropsAndLogs)
{
    EmulatedBoard& board = attach(8);
    Host host(drv);
    host.resetFifo();
    ASSERT_TRUE(host.writeFifoValues(std::vector<uint32_t>(10, 3)));
    EXPECT_EQ(board.fifo()->stored(), 8);
    ASSERT_EQ(drv.violations().size(), 1u);
    EXPECT_EQ(drv.violations().front().kind, ViolationKind::FifoOverflow);
    drv.clearViolations();
    host.programFifoFlags(1, 2);
    host.sendPortC(0x02);
    ASSERT_TRUE(host.writeFifoValues({1, 2, 3}));
    host.sendPortC(0x03);
    ASSERT_FALSE(drv.violations().empty());
    EXPECT_EQ(drv.violations().front().kind, ViolationKind::FifoOffsetExtra);
}

TEST_F(Fifo, BoardWithoutFifoReadsPullUps)
{
    EmulatedBoard& board = attach(65536, false);
    Host host(drv);
    EXPECT_EQ(board.fifo(), nullptr);
    host.resetFifo();
    EXPECT_EQ(host.readyLines(), kPafHigh | kPaeHigh) << "detection must fail";
    expectClean();
    host.writeFifoValues({1});
    ASSERT_FALSE(drv.violations().empty());
    EXPECT_EQ(drv.violations().front().kind, ViolationKind::FifoAbsent);
}

TEST_F(Fifo, FifoWordsNeverReachTheChip)
{
    EmulatedBoard& board = attach();
    Host host(drv);
    host.resetFifo();
    ASSERT_TRUE(host.writeFifoValues(std::vector<uint32_t>(64, 0x3FFFF)));
    EXPECT_EQ(board.chip()->phase(), SerialPhase::Instruction);
    EXPECT_EQ(board.chip()->completedWrites(), 0);
    expectClean();
}

} // namespace
