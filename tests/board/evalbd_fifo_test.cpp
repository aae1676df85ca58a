// The board FIFO: detection, flag programming, plain and SXI loads, their events and their verdicts.

#include "evalbd_fixture.h"

#include "platform/usb/emulated_fifo.h"

#include <numeric>

using namespace evalbdtest;
using Kind = EvalBdEventRecord::Kind;

namespace {

class Fifo : public EvalBdTest {
protected:
    void SetUp() override { plug(); }

    usb::EmulatedFifo& fifo() { return *board().fifo(); }

    // Number of pipe-1 reads one run of `load` makes; the last of them is the ready-line read.
    template <typename Load> int replyReads(Load&& load)
    {
        clearRecords();
        load();
        return static_cast<int>(drv.transfers(0, 1).size());
    }
};

std::vector<int32_t> ramp(int n, int32_t start = 0)
{
    std::vector<int32_t> v(n);
    std::iota(v.begin(), v.end(), start);
    return v;
}

TEST_F(Fifo, DetectFindsTheFifoWithACleanProtocol)
{
    EXPECT_TRUE(bd->USBDetectFIFO());
    const QList<QByteArray> sent = commands();
    EXPECT_EQ(sent.count(bytes({23})), 3);
    EXPECT_EQ(fifo().stored(), 4);
    EXPECT_EQ(fifo().fullOffset(), 65534u);
    expectCleanProtocol();
}

TEST_F(Fifo, DetectIsFalseWithoutFifoOrWhenTheLinesCannotBeRead)
{
    drv.failTransfer(0, 1, 1); // the first ready-line read after the reset sequence
    EXPECT_FALSE(bd->USBDetectFIFO());
    EXPECT_EQ(fifo().stored(), 0) << "nothing is loaded when the empty FIFO was not seen";
    usb::BoardOptions options;
    options.fifoPresent = false;
    plug(options);
    EXPECT_FALSE(bd->USBDetectFIFO());
    expectCleanProtocol();
}

TEST_F(Fifo, ResetSequence)
{
    bd->USBSetPortBuffVal(kPortC, 0x0F);
    bd->USBResetFIFO();
    const QList<QByteArray> expected = {bytes({18, 0x03}), bytes({18, 0x23}), bytes({18, 0x00}),
                                        bytes({18, 0x10}), bytes({18, 0x00}), bytes({18, 0x03})};
    EXPECT_EQ(commands(), expected);
}

TEST_F(Fifo, FlagProgrammingFramesTheOffsets)
{
    ASSERT_TRUE(bd->USBProgFIFOFlags(5, 300));
    const QList<QByteArray> expected = {bytes({18, 0x02}), bytes({16, 0}), bytes({18, 0x00}),
                                        bytes({18, 0x02}), bytes({16, 1}), bytes({18, 0x03})};
    EXPECT_EQ(commands(), expected);
    ASSERT_EQ(dataPackets().size(), 1);
    EXPECT_EQ(dataPackets()[0], bytes({5, 0, 0, 0, 0x2C, 1, 0, 0})) << "300 = 0x12C: low 8 bits, bit 8, ...";
    EXPECT_EQ(fifo().emptyOffset(), 5u);
    EXPECT_EQ(fifo().fullOffset(), 300u);
    expectCleanProtocol();
}

TEST_F(Fifo, PlainLoadAtFullAndHighSpeed)
{
    struct Case {
        bool highSpeed;
        int count;
        int perPacket;
        std::vector<int32_t> sent;
    } cases[] = {{false, 100, 16, {16, 32, 48, 64, 80, 96, 100}}, {true, 300, 128, {128, 256, 300}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.highSpeed);
        board().setHighSpeed(c.highSpeed);
        bd->USBResetFIFO();
        clearRecords();
        const std::vector<int32_t> values = ramp(c.count, 0x3FF00);
        ASSERT_TRUE(bd->USBLoadFIFOData(values));
        std::vector<uint32_t> expected(values.begin(), values.end());
        for (uint32_t& v : expected)
            v &= 0x3FFFF;
        EXPECT_EQ(fifo().contents(), expected);
        ASSERT_EQ(events.front().kind, Kind::FIFOLoadBegin);
        EXPECT_EQ(events.front().first, c.count);
        EXPECT_EQ(events.front().second, c.perPacket);
        EXPECT_EQ(eventValues(Kind::FIFOPacketSent), c.sent);
        EXPECT_EQ(events.back().kind, Kind::FIFOLoadFinished);
        EXPECT_TRUE(events.back().flag);
        EXPECT_EQ(fifo().fullOffset(), static_cast<uint32_t>(65537 - (c.count - 1)));
        EXPECT_EQ(board().portC() & 0x03, 0x03) << "FIFO_WENB and FIFO_LDB left high";
        EXPECT_TRUE(board().autoCsb());
        expectCleanProtocol();
    }
}

TEST_F(Fifo, ValuesKeepTheirLowEighteenBits)
{
    bd->USBResetFIFO();
    clearRecords();
    const int32_t values[] = {0x3FFFF, -1, 0x40001, 0x1FF, 0x200};
    ASSERT_TRUE(bd->USBLoadFIFOData(values));
    const QByteArray wire = dataPackets().back();
    EXPECT_EQ(wire.left(8), bytes({0xFF, 1, 0xFF, 1, 0xFF, 1, 0xFF, 1}));
    EXPECT_EQ(wire.mid(8), bytes({1, 0, 0, 0, 0xFF, 1, 0, 0, 0, 0, 1, 0}));
    EXPECT_EQ(fifo().contents(), (std::vector<uint32_t>{0x3FFFF, 0x3FFFF, 0x00001, 0x1FF, 0x200}));
    EXPECT_EQ(bd->USBWri5093DataPort(0x3FFFF), true);
    EXPECT_EQ(dataPackets().back(), bytes({0xFF, 1, 0xFF, 1}));
}

TEST_F(Fifo, SxiLoadOfTwoPairs)
{
    bd->USBResetFIFO();
    clearRecords();
    // I = 0x8001, Q = 0x0003; I = -1, Q = 0.
    const int32_t samples[] = {-32767, 3, -1, 0};
    ASSERT_TRUE(bd->USBLoadFifoDataSXI(samples, false, false));
    ASSERT_EQ(events.front().kind, Kind::FIFOLoadBegin);
    EXPECT_EQ(events.front().first, 32);
    EXPECT_EQ(events.front().second, 16);
    EXPECT_EQ(eventValues(Kind::FIFOPacketSent), (std::vector<int32_t>{0, 16}));
    EXPECT_TRUE(events.back().flag);
    std::vector<uint32_t> expected(32, 0);
    expected[0] = 32;       // I bit 15
    expected[14] = 16;      // Q bit 1
    expected[15] = 32 + 16; // I bit 0, Q bit 0
    for (int k = 16; k < 32; ++k)
        expected[k] = 32;
    EXPECT_EQ(fifo().contents(), expected);
    EXPECT_EQ(fifo().fullOffset(), static_cast<uint32_t>(65538 - 32));
    expectCleanProtocol();
}

TEST_F(Fifo, SxiReverseBitsAndOffsetBinary)
{
    bd->USBResetFIFO();
    clearRecords();
    // Offset binary: -32768 + 32768 = 0 and 0 + 32768 = 0x8000; reversed, 0x8000 puts its bit last.
    const int32_t samples[] = {-32768, 0};
    ASSERT_TRUE(bd->USBLoadFifoDataSXI(samples, true, true));
    std::vector<uint32_t> expected(16, 0);
    expected[15] = 16;
    EXPECT_EQ(fifo().contents(), expected);
}

TEST_F(Fifo, SxiOddCountLoadsWholePairsOnly)
{
    bd->USBResetFIFO();
    clearRecords();
    const std::vector<int32_t> samples = {1, 2, 3};
    ASSERT_TRUE(
        bd->USBLoadFifoDataSXI(std::span<const int32_t>(samples.data(), samples.size()), false, false));
    EXPECT_EQ(events.front().first, 16);
    EXPECT_EQ(fifo().stored(), 16);
}

TEST_F(Fifo, EmptyLoadsReportFailureThroughTheirEvents)
{
    const std::vector<int32_t> none;
    const std::vector<int32_t> single = {7};
    EXPECT_FALSE(bd->USBLoadFIFOData(none));
    EXPECT_FALSE(bd->USBLoadFifoDataSXI(none, false, false));
    EXPECT_FALSE(bd->USBLoadFifoDataSXI(single, false, false));
    const std::vector<Kind> expected = {Kind::FIFOLoadBegin, Kind::FIFOLoadFinished,
                                        Kind::FIFOLoadBegin, Kind::FIFOLoadFinished,
                                        Kind::FIFOLoadBegin, Kind::FIFOLoadFinished};
    EXPECT_EQ(eventKinds(), expected);
    for (const EvalBdEventRecord& r : events) {
        EXPECT_EQ(r.first, 0);
        EXPECT_FALSE(r.flag);
    }
    EXPECT_EQ(bulkCount(), 0);
}

TEST_F(Fifo, LongArraysAreCutToTheFifoDepth)
{
    bd->USBResetFIFO();
    clearRecords();
    const std::vector<int32_t> values(70000, 5);
    ASSERT_TRUE(bd->USBLoadFIFOData(values));
    EXPECT_EQ(events.front().first, 65536);
    EXPECT_EQ(fifo().stored(), 65536);
    bd->USBResetFIFO();
    clearRecords();
    ASSERT_TRUE(bd->USBLoadFifoDataSXI(values, false, false));
    EXPECT_EQ(events.front().first, 65536);
    expectCleanProtocol();
}

TEST_F(Fifo, FailedReadyLineReadIsAFailureNotAZero)
{
    const std::vector<int32_t> values = ramp(40);
    const int reads = replyReads([&] {
        bd->USBResetFIFO();
        bd->USBLoadFIFOData(values);
    });
    bd->USBResetFIFO();
    clearRecords();
    drv.failTransfer(0, 1, reads);
    EXPECT_FALSE(bd->USBLoadFIFOData(values));
    EXPECT_EQ(fifo().stored(), 40) << "everything was sent";
    EXPECT_FALSE(events.back().flag);
}

TEST_F(Fifo, LostPacketIsAFailureEvenWhenTheFifoReadsAlmostFull)
{
    board().setHighSpeed(false);
    bd->USBResetFIFO();
    fifo().load(std::vector<uint32_t>(65000, 1)); // old contents count toward almost-full
    clearRecords();
    drv.failTransfer(0, 3, 3); // flags, first packet, then the second packet fails
    EXPECT_FALSE(bd->USBLoadFIFOData(ramp(100)));
    EXPECT_EQ(eventValues(Kind::FIFOPacketSent), (std::vector<int32_t>{16}));
    EXPECT_FALSE(events.back().flag);
    EXPECT_TRUE(board().autoCsb()) << "the load is closed even after a failure";
    EXPECT_EQ(board().portC() & 0x02, 0x02);
}

TEST_F(Fifo, IncompleteLoadWithoutAlmostFullIsAFailure)
{
    usb::BoardOptions options;
    options.fifoPresent = false;
    plug(options);
    EXPECT_FALSE(bd->USBLoadFIFOData(ramp(20)));
    EXPECT_FALSE(events.back().flag);
}

TEST_F(Fifo, NestedLoadFromAnEventHandlerIsRefused)
{
    bd->USBResetFIFO();
    clearRecords();
    bool nested = true;
    bd->FIFOPacketSent = [&](int32_t) { nested = bd->USBLoadFIFOData(ramp(3)); };
    ASSERT_TRUE(bd->USBLoadFIFOData(ramp(20)));
    EXPECT_FALSE(nested);
    EXPECT_EQ(fifo().stored(), 20);
    const std::vector<Kind> kinds = eventKinds();
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), Kind::FIFOLoadBegin), 1);
}

} // namespace
