// Device names, driver requests, their buffers, faults and the trace of the emulated driver.

#include "usb_host.h"

#include "platform/usb/emulated_driver.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace usb;
using usbtest::Host;

namespace {

class DriverRequests : public ::testing::Test {
protected:
    ScopedEmulatedDriver scoped;
    EmulatedDriver& drv = scoped.get();

    intptr_t openSlot(int slot, const QString& base = QStringLiteral("Ezssp"))
    {
        return drv.open(QStringLiteral("\\\\.\\%1-%2").arg(base).arg(slot));
    }

    bool request(intptr_t h, uint32_t code, const void* in, uint32_t inLen, void* out, uint32_t outLen,
                 uint32_t& got)
    {
        return drv.ioControl(h, code, in, inLen, out, outLen, got);
    }
};

TEST_F(DriverRequests, ScopedDriverIsTheProcessDriverWhileItLives)
{
    EXPECT_EQ(&driver(), &drv);
    {
        ScopedEmulatedDriver inner;
        EXPECT_EQ(&driver(), &inner.get());
    }
    EXPECT_EQ(&driver(), &drv);
}

TEST_F(DriverRequests, OpensOnlyAttachedBoardsByName)
{
    drv.attach(0);
    drv.attach(2);
    struct Case {
        QString path;
        bool opens;
    } cases[] = {
        {QStringLiteral("\\\\.\\Ezssp-0"), true},
        {QStringLiteral("\\\\.\\Ezssp-1"), false},
        {QStringLiteral("\\\\.\\Ezssp-2"), true},
        {QStringLiteral("\\\\.\\EZSSP-2"), true},
        {QStringLiteral("\\\\.\\Ezusb-0"), false},
        {QStringLiteral("\\\\.\\Ezssp-9"), false},
        {QStringLiteral("\\\\.\\Ezssp-"), false},
        {QStringLiteral("\\\\.\\Ezssp-00"), false},
        {QStringLiteral(""), false},
        {QStringLiteral("\\\\.\\-0"), false},
    };
    for (const Case& c : cases) {
        const intptr_t h = drv.open(c.path);
        EXPECT_EQ(h != kInvalidHandle, c.opens) << c.path.toStdString();
        drv.close(h);
    }
    EXPECT_EQ(drv.openHandleCount(), 0);
}

TEST_F(DriverRequests, DevKitBaseNameServesBoardsAttachedUnderIt)
{
    BoardOptions options;
    options.baseName = kDevKitBaseName;
    options.vendorId = kDevKitVendorId;
    options.productId = kDevKitProductId;
    drv.attach(0, options);
    EXPECT_EQ(openSlot(0), kInvalidHandle);
    const intptr_t h = openSlot(0, kDevKitBaseName);
    ASSERT_NE(h, kInvalidHandle);
    uint8_t dd[kDeviceDescriptorBufferSize] = {};
    uint32_t got = 0;
    ASSERT_TRUE(request(h, kRequestDeviceDescriptor, dd, sizeof dd, dd, sizeof dd, got));
    EXPECT_EQ(dd[8] | (dd[9] << 8), 0x0547);
    EXPECT_EQ(dd[10] | (dd[11] << 8), 0x1002);
    drv.close(h);
}

TEST_F(DriverRequests, DeviceDescriptorIsAStandardDescriptorWithTheBoardIds)
{
    drv.attach(0);
    const intptr_t h = openSlot(0);
    uint8_t dd[kDeviceDescriptorBufferSize];
    std::memset(dd, 0xEE, sizeof dd);
    uint32_t got = 0;
    ASSERT_TRUE(request(h, kRequestDeviceDescriptor, dd, sizeof dd, dd, sizeof dd, got));
    EXPECT_EQ(got, 18u);
    EXPECT_EQ(dd[0], 18);
    EXPECT_EQ(dd[1], 1);
    EXPECT_EQ(dd[8] | (dd[9] << 8), kBoardVendorId);
    EXPECT_EQ(dd[10] | (dd[11] << 8), kBoardProductId);
    // Read the way the USB object reads it: a signed 16-bit number, negative for the board's product id.
    EXPECT_LT(static_cast<int16_t>(dd[10] | (dd[11] << 8)), 0);
    EXPECT_EQ(dd[17], 1);
    drv.close(h);
}

TEST_F(DriverRequests, PipeInformationDescribesSixBulkPipes)
{
    drv.attach(0);
    const intptr_t h = openSlot(0);
    uint8_t info[kPipeInfoSize];
    std::memset(info, 0xEE, sizeof info);
    uint32_t got = 0;
    ASSERT_TRUE(request(h, kRequestPipeInfo, info, sizeof info, info, sizeof info, got));
    EXPECT_EQ(info[12] | (info[13] << 8) | (info[14] << 16) | (info[15] << 24), 6);
    const uint8_t endpoints[6] = {0x01, 0x81, 0x02, 0x04, 0x86, 0x88};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(info[18 + 20 * i], endpoints[i]) << "pipe " << i;
        EXPECT_EQ(info[16 + 20 * i + 4], 2) << "bulk type of pipe " << i;
    }
    // Records past the six pipes are cleared, not left as the caller's bytes.
    EXPECT_EQ(info[18 + 20 * 6], 0);
    drv.close(h);
}

TEST_F(DriverRequests, StringDescriptorsAnswerUtf16TextWithLengthFirst)
{
    drv.attach(0);
    const intptr_t h = openSlot(0);
    const uint8_t in[3] = {2, 0x09, 0x04};
    uint8_t out[255] = {};
    uint32_t got = 0;
    ASSERT_TRUE(request(h, kRequestStringDescriptor, in, 3, out, sizeof out, got));
    ASSERT_EQ(got, out[0]);
    EXPECT_EQ(out[1], 3);
    QString text;
    for (uint32_t i = 2; i + 1 < got; i += 2) {
        text += QChar(out[i] | (out[i + 1] << 8));
    }
    EXPECT_EQ(text, QStringLiteral("ZR4470 Evaluation Board"));
    // Asked with the learnt length, the same descriptor comes back whole.
    uint8_t exact[64] = {};
    ASSERT_TRUE(request(h, kRequestStringDescriptor, in, 3, exact, out[0], got));
    EXPECT_EQ(got, out[0]);
    EXPECT_EQ(std::memcmp(exact, out, got), 0);
    const uint8_t missing[3] = {9, 0x09, 0x04};
    EXPECT_FALSE(request(h, kRequestStringDescriptor, missing, 3, out, sizeof out, got));
    drv.close(h);
}

TEST_F(DriverRequests, BulkDirectionAndPipeNumberAreChecked)
{
    drv.attach(0);
    const intptr_t h = openSlot(0);
    uint8_t data[2] = {2, 0};
    uint32_t got = 0;
    const uint8_t pipe0[4] = {0, 0, 0, 0};
    const uint8_t pipe1[4] = {1, 0, 0, 0};
    const uint8_t pipe6[4] = {6, 0, 0, 0};
    EXPECT_FALSE(request(h, kRequestBulkRead, pipe0, 4, data, 1, got)) << "read on an OUT pipe";
    EXPECT_FALSE(request(h, kRequestBulkWrite, pipe1, 4, data, 1, got)) << "write on an IN pipe";
    EXPECT_FALSE(request(h, kRequestBulkWrite, pipe6, 4, data, 1, got)) << "pipe past the number of pipes";
    EXPECT_FALSE(request(h, kRequestBulkWrite, pipe0, 3, data, 1, got)) << "short pipe number";
    EXPECT_FALSE(request(h, 0x222999, pipe0, 4, data, 1, got)) << "unknown request";
    EXPECT_TRUE(request(h, kRequestBulkWrite, pipe0, 4, data, 1, got));
    EXPECT_EQ(got, 1u);
    const uint8_t vendor[10] = {1, 2, 0, 0, 0xB0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(request(h, kRequestVendor, vendor, 10, data, 0, got));
    drv.close(h);
    EXPECT_FALSE(request(h, kRequestBulkWrite, pipe0, 4, data, 1, got)) << "closed handle";
}

TEST_F(DriverRequests, SlotFaultsFailTheirRequestOnly)
{
    drv.attach(0);
    drv.faults(0).failOpen = true;
    EXPECT_EQ(openSlot(0), kInvalidHandle);
    drv.faults(0) = SlotFaults{};
    drv.faults(0).failDeviceDescriptor = true;
    drv.faults(0).failStringDescriptor = true;
    const intptr_t h = openSlot(0);
    ASSERT_NE(h, kInvalidHandle);
    uint8_t buf[kPipeInfoSize] = {};
    uint32_t got = 0;
    EXPECT_FALSE(request(h, kRequestDeviceDescriptor, buf, 147, buf, 147, got));
    const uint8_t in[3] = {1, 0x09, 0x04};
    EXPECT_FALSE(request(h, kRequestStringDescriptor, in, 3, buf, 255, got));
    EXPECT_TRUE(request(h, kRequestPipeInfo, buf, kPipeInfoSize, buf, kPipeInfoSize, got));
    drv.faults(0).failPipeInfo = true;
    EXPECT_FALSE(request(h, kRequestPipeInfo, buf, kPipeInfoSize, buf, kPipeInfoSize, got));
    drv.close(h);
    // Faults belong to the slot: a board plugged in again meets them too, until cleared.
    drv.attach(0);
    Host host(drv);
    EXPECT_FALSE(host.send({22}));
    drv.clearFaults();
    EXPECT_TRUE(host.send({22}));
}

TEST_F(DriverRequests, NthTransferOnAPipeFailsWithoutReachingTheBoard)
{
    EmulatedBoard& board = drv.attach(0);
    Host host(drv);
    drv.failTransfer(0, 0, 2);
    EXPECT_TRUE(host.send({1, 0x12}));
    EXPECT_FALSE(host.send({1, 0x34}));
    EXPECT_EQ(board.portA(), 0x12) << "a failed write must not reach the firmware";
    EXPECT_TRUE(host.send({1, 0x56}));
    EXPECT_EQ(board.portA(), 0x56);

    drv.failTransfer(0, 1, 1, 2);
    EXPECT_FALSE(host.ask({0}, 2));
    EXPECT_FALSE(host.ask({0}, 2));
    EXPECT_TRUE(host.ask({0}, 2));
}

TEST_F(DriverRequests, ShortReadReportsSuccessWithFewerBytes)
{
    drv.attach(0);
    Host host(drv);
    ASSERT_TRUE(host.send({14}));
    drv.shortRead(0, 1, 1, 2);
    const intptr_t h = openSlot(0);
    const uint8_t pipe1[4] = {1, 0, 0, 0};
    uint8_t reply[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    uint32_t got = 0;
    EXPECT_TRUE(drv.ioControl(h, kRequestBulkRead, pipe1, 4, reply, 4, got));
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(reply[2], 0xAA) << "bytes past the short count stay untouched";
    drv.close(h);
}

TEST_F(DriverRequests, ShortAndEmptyWritesReportSuccessWithWhatReachedTheBoard)
{
    EmulatedBoard& board = drv.attach(0);
    const intptr_t h = openSlot(0);
    const uint8_t pipe0[4] = {0, 0, 0, 0};
    uint8_t setPortA[2] = {1, 0x5A};
    uint32_t got = 99;
    drv.shortWrite(0, 0, 1, 0);
    EXPECT_TRUE(request(h, kRequestBulkWrite, pipe0, 4, setPortA, 2, got));
    EXPECT_EQ(got, 0u) << "an empty write";
    EXPECT_EQ(board.portA(), kPowerOnPortA) << "nothing reached the firmware";

    // A cut command: the firmware sees one byte of two (and the emulator records that violation).
    drv.shortWrite(0, 0, 1, 1);
    EXPECT_TRUE(request(h, kRequestBulkWrite, pipe0, 4, setPortA, 2, got));
    EXPECT_EQ(got, 1u);
    EXPECT_EQ(board.portA(), kPowerOnPortA);
    EXPECT_FALSE(drv.violations().empty());
    EXPECT_EQ(drv.transfers(0, 0).last(), QByteArray(1, char(1))) << "the trace holds what arrived";

    // The fault fires once: the next write goes whole.
    EXPECT_TRUE(request(h, kRequestBulkWrite, pipe0, 4, setPortA, 2, got));
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(board.portA(), 0x5A);
    drv.close(h);
}

TEST_F(DriverRequests, OverCountMovesTheDataButReportsMoreThanAsked)
{
    EmulatedBoard& board = drv.attach(0);
    const intptr_t h = openSlot(0);
    const uint8_t pipe0[4] = {0, 0, 0, 0};
    const uint8_t pipe1[4] = {1, 0, 0, 0};
    uint8_t setPortA[2] = {1, 0x5A};
    uint32_t got = 0;
    drv.overCount(0, 0, 1, 6);
    EXPECT_TRUE(request(h, kRequestBulkWrite, pipe0, 4, setPortA, 2, got));
    EXPECT_EQ(got, 8u);
    EXPECT_EQ(board.portA(), 0x5A);

    uint8_t getPortA[1] = {2};
    ASSERT_TRUE(request(h, kRequestBulkWrite, pipe0, 4, getPortA, 1, got));
    drv.overCount(0, 1, 1, 1);
    uint8_t reply[2] = {0, 0xEE};
    EXPECT_TRUE(request(h, kRequestBulkRead, pipe1, 4, reply, 1, got));
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(reply[0], 0x5A);
    EXPECT_EQ(reply[1], 0xEE) << "nothing is written past the buffer the caller gave";
    drv.close(h);
}

TEST_F(DriverRequests, WrongDirectionPipeIsReportedAndServedTheOtherWay)
{
    const uint8_t expected[6] = {0x01, 0x81, 0x02, 0x04, 0x86, 0x88};
    for (int flipped : {0, 1, 3, 5}) {
        SCOPED_TRACE(flipped);
        EmulatedBoard& board = drv.attach(0);
        drv.faults(0).wrongDirectionPipe = flipped;
        const intptr_t h = openSlot(0);
        uint8_t info[kPipeInfoSize] = {};
        uint32_t got = 0;
        ASSERT_TRUE(request(h, kRequestPipeInfo, info, sizeof info, info, sizeof info, got));
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(info[18 + 20 * i], i == flipped ? expected[i] ^ 0x80 : expected[i]) << "pipe " << i;

        const uint8_t pipe[4] = {static_cast<uint8_t>(flipped), 0, 0, 0};
        const bool wasIn = expected[flipped] >= 0x81;
        uint8_t data[4] = {1, 0x5A, 0xEE, 0xEE};
        EXPECT_FALSE(request(h, wasIn ? kRequestBulkRead : kRequestBulkWrite, pipe, 4, data, 2, got))
            << "the pipe's own direction is refused";
        EXPECT_TRUE(request(h, wasIn ? kRequestBulkWrite : kRequestBulkRead, pipe, 4, data, 2, got));
        EXPECT_EQ(got, 2u);
        if (!wasIn) {
            EXPECT_EQ(data[0] | data[1], 0) << "a read of an out pipe delivers zeros";
        }
        EXPECT_EQ(board.portA(), kPowerOnPortA) << "nothing reaches the firmware";
        drv.close(h);
        drv.clearFaults();
    }
    EXPECT_TRUE(drv.violations().empty()) << drv.violationTexts().join(QLatin1Char('\n')).toStdString();
}

TEST_F(DriverRequests, ShortDescriptorAndPipeInformationAnswersReportSuccess)
{
    drv.attach(0);
    drv.faults(0).deviceDescriptorBytes = 10;
    drv.faults(0).pipeInfoBytes = 16;
    const intptr_t h = openSlot(0);
    uint8_t buffer[kPipeInfoSize];
    std::memset(buffer, 0xEE, sizeof buffer);
    uint32_t got = 0;
    ASSERT_TRUE(request(h, kRequestDeviceDescriptor, buffer, 147, buffer, 147, got));
    EXPECT_EQ(got, 10u);
    EXPECT_EQ(buffer[8] | (buffer[9] << 8), kBoardVendorId);
    EXPECT_EQ(buffer[10], 0xEE) << "the product identifier never arrived";

    std::memset(buffer, 0xEE, sizeof buffer);
    ASSERT_TRUE(request(h, kRequestPipeInfo, buffer, sizeof buffer, buffer, sizeof buffer, got));
    EXPECT_EQ(got, 16u);
    EXPECT_EQ(buffer[12], 6) << "the pipe count arrives";
    EXPECT_EQ(buffer[18], 0xEE) << "the pipe records do not";
    drv.close(h);
}

TEST_F(DriverRequests, UnplugFailsOpenHandlesAndLaterOpens)
{
    drv.attach(0);
    const intptr_t h = openSlot(0);
    drv.detach(0);
    uint8_t buf[kDeviceDescriptorBufferSize] = {};
    uint32_t got = 0;
    EXPECT_FALSE(request(h, kRequestDeviceDescriptor, buf, 147, buf, 147, got));
    drv.close(h);
    EXPECT_EQ(openSlot(0), kInvalidHandle);
    // Plugged in again, the board is at power-on state.
    EmulatedBoard& again = drv.attach(0);
    EXPECT_EQ(again.portA(), kPowerOnPortA);
}

TEST_F(DriverRequests, ObserverCanUnplugInTheMiddleOfATransfer)
{
    BoardOptions fullSpeed;
    fullSpeed.highSpeed = false; // 64-bit register: packets of 32, 32 and 8 words
    drv.attach(0, fullSpeed);
    Host host(drv);
    int pipe3Writes = 0;
    drv.setObserver([&](const TraceEntry& e) {
        if (e.kind == RequestKind::BulkWrite && e.pipe == 3 && ++pipe3Writes == 1) {
            drv.detach(0);
        }
    });
    EXPECT_FALSE(host.writeRegister(0x0B, 0x0123456789ABCDEFULL, 64)) << "second packet must fail";
    drv.setObserver({});
    EXPECT_EQ(drv.board(0), nullptr);
    EXPECT_EQ(drv.openHandleCount(), 0);
}

TEST_F(DriverRequests, TraceRecordsEveryRequestWithTheClock)
{
    int64_t t = 1000;
    drv.setClock([&] { return t; });
    drv.attach(0);
    Host host(drv);
    t = 1300;
    ASSERT_TRUE(host.send({1, 0x06}));
    const auto& trace = drv.trace();
    ASSERT_EQ(trace.size(), 5u);
    const RequestKind expected[] = {RequestKind::Open, RequestKind::DeviceDescriptor, RequestKind::PipeInfo,
                                    RequestKind::BulkWrite, RequestKind::Close};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(trace[i].kind, expected[i]) << i;
        EXPECT_EQ(trace[i].time, 1300);
        EXPECT_EQ(trace[i].slot, 0);
    }
    EXPECT_EQ(trace[3].pipe, 0);
    EXPECT_EQ(trace[3].data, QByteArray("\x01\x06", 2));
    EXPECT_EQ(drv.pipeBytes(0, 0), QByteArray("\x01\x06", 2));
    EXPECT_EQ(drv.count(RequestKind::Open), 1);

    // An open of an absent name is traced as failed, with no slot.
    drv.open(QStringLiteral("\\\\.\\Ezssp-4"));
    EXPECT_EQ(drv.trace().back().kind, RequestKind::Open);
    EXPECT_FALSE(drv.trace().back().ok);
    EXPECT_EQ(drv.trace().back().slot, -1);

    drv.clearTrace();
    drv.setTraceEnabled(false);
    host.send({1, 0x02});
    EXPECT_TRUE(drv.trace().empty());
}

TEST_F(DriverRequests, PollOfNineNamesWithOneBoardIsCleanAndClosesEverything)
{
    drv.attach(0);
    for (int n = 0; n < 9; ++n) {
        const intptr_t h = openSlot(n);
        if (h == kInvalidHandle) {
            continue;
        }
        uint8_t dd[kDeviceDescriptorBufferSize] = {};
        uint32_t got = 0;
        EXPECT_TRUE(request(h, kRequestDeviceDescriptor, dd, 147, dd, 147, got));
        drv.close(h);
    }
    EXPECT_EQ(drv.count(RequestKind::Open), 9);
    EXPECT_EQ(drv.count(RequestKind::DeviceDescriptor), 1);
    EXPECT_EQ(drv.openHandleCount(), 0);
    EXPECT_TRUE(drv.violations().empty());
}

TEST_F(DriverRequests, DriverInstalledFlagPerBaseName)
{
    EXPECT_TRUE(drv.driverInstalled(QStringLiteral("Ezssp")));
    EXPECT_TRUE(drv.driverInstalled(QStringLiteral("Ezusb")));
    EXPECT_FALSE(drv.driverInstalled(QStringLiteral("Other")));
    drv.setDriverInstalled(QStringLiteral("Ezssp"), false);
    EXPECT_FALSE(drv.driverInstalled(QStringLiteral("Ezssp")));
}

} // namespace
