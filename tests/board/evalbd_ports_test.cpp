// Firmware commands, port buffers, board lines, the reset watch and the I/O update pulse.

#include "evalbd_fixture.h"

#include "platform/ui/test_doubles.h"
#include "platform/usb/emulated_board.h"

using namespace evalbdtest;
using Kind = EvalBdEventRecord::Kind;

namespace {

class Ports : public EvalBdTest {
protected:
    void SetUp() override { plug(); }
};

struct LineCase {
    const char* name;
    int16_t (cZR4470XEvalBd::*get)() const;
    void (cZR4470XEvalBd::*set)(int32_t);
    int16_t port;
    int bit;
};

const LineCase kOutputLines[] = {
    {"USBStatus", &cZR4470XEvalBd::USBStatus, &cZR4470XEvalBd::setUSBStatus, kPortA, 0},
    {"CSB", &cZR4470XEvalBd::CSB, &cZR4470XEvalBd::setCSB, kPortA, 1},
    {"IO_RESET", &cZR4470XEvalBd::IO_RESET, &cZR4470XEvalBd::setIO_RESET, kPortA, 2},
    {"Reset", &cZR4470XEvalBd::Reset, &cZR4470XEvalBd::setReset, kPortA, 3},
    {"ExtPD", &cZR4470XEvalBd::ExtPD, &cZR4470XEvalBd::setExtPD, kPortA, 4},
    {"ISFC", &cZR4470XEvalBd::ISFC, &cZR4470XEvalBd::setISFC, kPortA, 5},
    {"SCAN_EN", &cZR4470XEvalBd::SCAN_EN, &cZR4470XEvalBd::setSCAN_EN, kPortA, 6},
    {"SCLK", &cZR4470XEvalBd::SCLK, &cZR4470XEvalBd::setSCLK, kPortCtl, 0},
    {"WCLK", &cZR4470XEvalBd::WCLK, &cZR4470XEvalBd::setWCLK, kPortCtl, 1},
    {"FIFO_LDB", &cZR4470XEvalBd::FIFO_LDB, &cZR4470XEvalBd::setFIFO_LDB, kPortC, 0},
    {"FIFO_WENB", &cZR4470XEvalBd::FIFO_WENB, &cZR4470XEvalBd::setFIFO_WENB, kPortC, 1},
    {"TXEnable", &cZR4470XEvalBd::TXEnable, &cZR4470XEvalBd::setTXEnable, kPortC, 2},
    {"RTEnable", &cZR4470XEvalBd::RTEnable, &cZR4470XEvalBd::setRTEnable, kPortC, 3},
    {"FIFO_RESET", &cZR4470XEvalBd::FIFO_RESET, &cZR4470XEvalBd::setFIFO_RESET, kPortC, 4},
    {"CPLD_RESET", &cZR4470XEvalBd::CPLD_RESET, &cZR4470XEvalBd::setCPLD_RESET, kPortC, 5},
    {"P0", &cZR4470XEvalBd::P0, &cZR4470XEvalBd::setP0, kPortE, 0},
    {"P1", &cZR4470XEvalBd::P1, &cZR4470XEvalBd::setP1, kPortE, 1},
    {"P2", &cZR4470XEvalBd::P2, &cZR4470XEvalBd::setP2, kPortE, 2},
    {"OSK", &cZR4470XEvalBd::OSK, &cZR4470XEvalBd::setOSK, kPortE, 3},
    {"REGUD", &cZR4470XEvalBd::REGUD, &cZR4470XEvalBd::setREGUD, kPortE, 4},
    {"LSHOLD", &cZR4470XEvalBd::LSHOLD, &cZR4470XEvalBd::setLSHOLD, kPortE, 5},
    {"LSCTL", &cZR4470XEvalBd::LSCTL, &cZR4470XEvalBd::setLSCTL, kPortE, 6},
    {"REGUD_EN", &cZR4470XEvalBd::REGUD_EN, &cZR4470XEvalBd::setREGUD_EN, kPortE, 7},
};

TEST_F(Ports, OutputLinesChangeOnlyTheirBufferedBit)
{
    for (const LineCase& c : kOutputLines) {
        SCOPED_TRACE(c.name);
        bd->USBSetPortBuffVal(c.port, 0);
        (bd.get()->*c.set)(7); // any non-zero value sets the bit
        EXPECT_EQ(bd->USBGetPortBuffVal(c.port), 1 << c.bit);
        EXPECT_EQ((bd.get()->*c.get)(), 1);
        EXPECT_EQ(bd->USBGetPortBuffBitVal(c.port, static_cast<int16_t>(c.bit)), 1);
        bd->USBSetPortBuffVal(c.port, 0xFF);
        (bd.get()->*c.set)(0);
        EXPECT_EQ(bd->USBGetPortBuffVal(c.port), 0xFF & ~(1 << c.bit));
        EXPECT_EQ((bd.get()->*c.get)(), 0);
    }
    EXPECT_EQ(bulkCount(), 0) << "a line set sends nothing until the port is sent";
}

TEST_F(Ports, StatusInputsFollowTheLastFetchOfPortD)
{
    board().setStatusInputs(usb::kPortDLsOvr | usb::kPortDCicOverfl);
    EXPECT_EQ(bd->LS_OVR(), 0) << "not fetched yet";
    bd->USBReadPortBuffVal(kPortD);
    EXPECT_EQ(bd->LS_OVR(), 1);
    EXPECT_EQ(bd->RS_OVR(), 0);
    EXPECT_EQ(bd->SYNC_SMPL_ERR(), 0);
    EXPECT_EQ(bd->PLL_Lock(), 0);
    EXPECT_EQ(bd->CIC_OVERFL(), 1);
    bd->setLS_OVR(0);
    bd->setPLL_Lock(1);
    EXPECT_EQ(bd->LS_OVR(), 1) << "setting an input changes nothing";
    EXPECT_EQ(bd->PLL_Lock(), 0);
    EXPECT_EQ(commands(), QList<QByteArray>{bytes({11})});
}

TEST_F(Ports, EachPortIsSentWithItsCommandAndMaskedToEightBits)
{
    struct Case {
        int16_t port;
        int32_t value;
        QByteArray command; // empty: nothing is sent
    } cases[] = {
        {kPortD, 0x12, bytes({12, 0x12})},
        {kPortA, 0x22, bytes({1, 0x22})},
        {kPortCtl, 0x01, bytes({5, 0x01})},
        {kPortB, 0x03, QByteArray()},
        {kPortC, 0x03, bytes({18, 0x03})},
        {kPortE, 0x85, bytes({20, 0x85})},
        {kPortE, 0x1FF, bytes({20, 0xFF})},
        {kPortE, 256 + 0x81, bytes({20, 0x81})},
        {kPortE, -1, bytes({20, 0xFF})},
        {6, 1, QByteArray()},
        {-1, 1, QByteArray()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "port " << c.port << " value " << c.value);
        drv.clearTrace();
        bd->USBWritePortBuffVal(c.port, c.value);
        const QList<QByteArray> sent = commands();
        if (c.command.isEmpty()) {
            EXPECT_TRUE(sent.isEmpty());
            continue;
        }
        ASSERT_FALSE(sent.isEmpty());
        EXPECT_EQ(sent.front(), c.command);
        EXPECT_EQ(bd->USBGetPortBuffVal(c.port), c.value & 0xFF);
    }
    EXPECT_EQ(board().portE(), 0xFF) << "the last send: -1 cut to eight bits";
    expectCleanProtocol();
}

TEST_F(Ports, BufferValuesAreMaskedAndIndexesChecked)
{
    bd->USBSetPortBuffVal(kPortA, 0x1234);
    EXPECT_EQ(bd->USBGetPortBuffVal(kPortA), 0x34);
    bd->USBSetPortBuffVal(9, 1);
    EXPECT_EQ(bd->USBGetPortBuffVal(9), 0);
    EXPECT_EQ(bd->USBGetPortBuffBitVal(kPortA, 8), 0);
    bd->USBSetPortBuffBitVal(kPortA, 8, 1);
    EXPECT_EQ(bd->USBGetPortBuffVal(kPortA), 0x34);
    bd->USBSetPortBuffBitVal(kPortA, 0, 5);
    EXPECT_EQ(bd->USBGetPortBuffVal(kPortA), 0x35);
}

TEST_F(Ports, InitIOBuffsFetchesEveryPortInOrder)
{
    board().setStatusInputs(usb::kPortDPllLock);
    bd->InitIOBuffs();
    const QList<QByteArray> expected = {bytes({11}), bytes({2}),  bytes({6}),    bytes({9}),
                                        bytes({19}), bytes({21}), bytes({15, 2})};
    EXPECT_EQ(commands(), expected);
    EXPECT_EQ(bd->USBGetPortBuffVal(kPortA), usb::kPowerOnPortA);
    EXPECT_EQ(bd->USBGetPortBuffVal(kPortC), usb::kPowerOnPortC);
    EXPECT_EQ(bd->USBGetPortBuffVal(kPortE), usb::kPowerOnPortE);
    EXPECT_EQ(bd->PLL_Lock(), 1);
    EXPECT_TRUE(bd->FlashUSBStatus());
    expectCleanProtocol();
}

TEST_F(Ports, FailedFetchStoresZero)
{
    bd->USBSetPortBuffVal(kPortE, 0x55);
    bd->USBSetPortBuffVal(kPortCtl, 0x01);
    drv.failTransfer(0, 1, 1, 2);
    bd->USBReadPortBuffVal(kPortE);
    bd->USBReadPortBuffVal(kPortCtl);
    EXPECT_EQ(bd->USBGetPortBuffVal(kPortE), 0);
    EXPECT_EQ(bd->USBGetPortBuffVal(kPortCtl), 0);
}

TEST_F(Ports, StrobeResetRaisesTheEventsInOrderAndResetsChipAndMaps)
{
    bd->SetRegMapValue(0, 0x07, bits(0xFFFF, 32));
    bd->SetRegMapValue(1, 0x07, bits(0xFFFF, 32));
    bd->setREGUD_EN(0);
    bd->USBWritePortBuffVal(kPortE);
    events.clear();
    drv.clearTrace();
    const int resetsBefore = chip().masterResetCount();

    bd->StrobeReset();

    const std::vector<Kind> expected = {Kind::RESETAsserted, Kind::RegMapReset, Kind::AfterRESET,
                                        Kind::RESETReleased, Kind::RegMapReset};
    EXPECT_EQ(eventKinds(), expected);
    EXPECT_EQ(eventValues(Kind::RegMapReset), (std::vector<int32_t>{2, 2}));
    EXPECT_EQ(chip().masterResetCount(), resetsBefore + 1);
    EXPECT_EQ(bd->GetRegMapValue(0, 0x07), bits(0, 32));
    EXPECT_EQ(bd->GetRegMapValue(1, 0x07), bits(0, 32));
    EXPECT_EQ(bd->REGUD_EN(), 1);
    EXPECT_EQ(board().portE() & usb::kPortERegudEn, usb::kPortERegudEn);
    const QList<QByteArray> expectedCommands = {bytes({1, 0x0A}), bytes({20, 0x80}), bytes({1, 0x02})};
    EXPECT_EQ(commands(), expectedCommands);
    EXPECT_EQ(bd->Reset(), 0);
    expectCleanProtocol();
}

TEST_F(Ports, ResetEventsReachTheHandlersToo)
{
    std::vector<QString> order;
    bd->RESETAsserted = [&] { order.push_back("asserted"); };
    bd->AfterRESET = [&] { order.push_back("after"); };
    bd->RESETReleased = [&] { order.push_back("released"); };
    bd->RegMapReset = [&](int32_t mode) { order.push_back(QStringLiteral("map %1").arg(mode)); };
    bd->StrobeReset();
    EXPECT_EQ(order, (std::vector<QString>{"asserted", "map 2", "after", "released", "map 2"}));
}

TEST_F(Ports, StrobeResetFromTheAssertedStateReleasesFirst)
{
    bd->setReset(1);
    bd->USBWritePortBuffVal(kPortA);
    bd->USBWritePortBuffVal(kPortA);
    EXPECT_EQ(eventKinds(), (std::vector<Kind>{Kind::RESETAsserted, Kind::RegMapReset}))
        << "sending port A twice with the reset bit set asserts once";
    events.clear();
    bd->StrobeReset();
    const std::vector<Kind> expected = {Kind::AfterRESET,    Kind::RESETReleased, Kind::RegMapReset,
                                        Kind::RESETAsserted, Kind::RegMapReset,   Kind::AfterRESET,
                                        Kind::RESETReleased, Kind::RegMapReset};
    EXPECT_EQ(eventKinds(), expected);
}

TEST_F(Ports, ResetLineHighAtStartIsReleasedOnTheFirstSend)
{
    usb::BoardOptions options;
    options.resetLineHighAtPowerOn = true;
    plug(options);
    EXPECT_EQ(bd->Reset(), 1);
    bd->setReset(0);
    bd->USBWritePortBuffVal(kPortA);
    EXPECT_EQ(eventKinds(), (std::vector<Kind>{Kind::AfterRESET, Kind::RESETReleased, Kind::RegMapReset}));
}

TEST_F(Ports, StrobeREGUDPulsesTheIoUpdatePin)
{
    const int before = chip().ioUpdateCount();
    bd->setREGUD(1);
    bd->StrobeREGUD();
    EXPECT_EQ(chip().ioUpdateCount(), before + 1);
    const QList<QByteArray> expected = {bytes({20, 0x80}), bytes({20, 0x90}), bytes({20, 0x80})};
    EXPECT_EQ(commands(), expected);
    EXPECT_EQ(bd->REGUD(), 0);
}

TEST_F(Ports, ProfilePins)
{
    for (int16_t p = 0; p < 8; ++p) {
        bd->setActiveProfile(p);
        EXPECT_EQ(chip().profilePins(), p);
        EXPECT_EQ(bd->ActiveProfile(), p);
        EXPECT_EQ(bd->SelectedProfile(), p);
    }
    bd->setSelectedProfile(5);
    drv.clearTrace();
    bd->setActiveProfile(9);
    EXPECT_EQ(commands(), QList<QByteArray>{bytes({20, 0x85})}) << "port E is sent unchanged";
    EXPECT_EQ(bd->ActiveProfile(), 5);
}

TEST_F(Ports, FreshReadsOfSerialAndReadyLines)
{
    // An empty FIFO after its reset: almost-empty low, almost-full high.
    bd->USBResetFIFO();
    drv.clearTrace();
    EXPECT_EQ(bd->FIFO_PAF(), 1);
    EXPECT_EQ(bd->FIFO_PAE(), 0);
    EXPECT_EQ(bd->SDIO(), 1);
    EXPECT_EQ(bd->SDO(), 1);
    const QList<QByteArray> expected = {bytes({23}), bytes({23}), bytes({9}), bytes({9})};
    EXPECT_EQ(commands(), expected);
    drv.failTransfer(0, 1, 1, 2);
    EXPECT_EQ(bd->FIFO_PAF(), 0) << "a failed read gives 0";
    EXPECT_EQ(bd->SDIO(), 0);
}

TEST_F(Ports, CommandBytesAndReplies)
{
    bd->SetRdBackByteCnt(300);
    EXPECT_EQ(bd->SetHostID(0x01020304), 1);
    bd->SetPortDValue(0x07);
    EXPECT_TRUE(bd->SetAutoCSBMaskVal(0x02));
    bd->ResetFirmware();
    const QList<QByteArray> expected = {bytes({7, 1, 44}), bytes({13, 1, 2, 3, 4}), bytes({12, 7}),
                                        bytes({17, 2}), bytes({8})};
    EXPECT_EQ(commands(), expected);
    EXPECT_EQ(board().hostId(), 0x01020304u);
    drv.clearViolations(); // the read-back count above was not followed by a read
    EXPECT_EQ(bd->SetHostID(-2), 1);
    EXPECT_EQ(board().hostId(), 0xFFFFFFFEu);
    EXPECT_EQ(bd->GetFirmWareVersion(), QStringLiteral("0.3"));
    EXPECT_EQ(bd->IsHighSpeed(), std::optional<uint8_t>(1));
    EXPECT_TRUE(bd->SetCtlValues(0x01));
    EXPECT_EQ(bd->GetCtlValues(), std::optional<uint8_t>(1));
    EXPECT_TRUE(bd->SetPortAValue(0x02));
    EXPECT_EQ(bd->GetPortAValue(), 0x02);
    EXPECT_TRUE(bd->SetPortCValue(0x03));
    EXPECT_EQ(bd->GetPortCValue(), 0x03);
    EXPECT_TRUE(bd->SetPortEValue(0x84));
    EXPECT_EQ(bd->GetPortEValue(), 0x84);
    EXPECT_TRUE(bd->SetLEDBlink(0));
    EXPECT_FALSE(bd->SetLEDBlink(2)) << "the query answers 0 while the lamp does not blink";
    expectCleanProtocol();
}

TEST_F(Ports, FailureValuesWithoutABoard)
{
    drv.detach(0);
    EXPECT_EQ(bd->GetPortAValue(), 0);
    EXPECT_EQ(bd->GetPortDValue(), 0);
    EXPECT_EQ(bd->GetRDYValues(), 0);
    EXPECT_EQ(bd->GetCtlValues(), std::nullopt);
    EXPECT_EQ(bd->IsHighSpeed(), std::nullopt);
    EXPECT_FALSE(bd->SetCtlValues(1));
    EXPECT_FALSE(bd->SetLEDBlink(1));
    EXPECT_FALSE(bd->SetAutoCSBMode(1));
    EXPECT_FALSE(bd->SetPortAValue(1));
    EXPECT_EQ(bd->SetHostID(1), 0);
    EXPECT_EQ(bd->GetFirmWareVersion(), QString());
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty()) << "silent unless VerboseErrors";
}

TEST_F(Ports, VerboseErrorsNameTheFailedCommand)
{
    drv.detach(0);
    bd->setVerboseErrors(true);
    ui::testing::messageBoxes().answer({ui::vbOK, ui::vbOK, ui::vbOK});
    bd->GetPortAValue();
    bd->SetCtlValues(1);
    bd->GetRDYValues();
    const QStringList expected = {"Error: Unable to get PortA value.",
                                  "Error: Unable to set CTL Line values.",
                                  "Error: Unable to get RDY Line Vals."};
    EXPECT_EQ(ui::testing::messageBoxes().prompts(), expected);
    EXPECT_EQ(ui::testing::messageBoxes().shown[0].buttons, ui::vbOKOnly);
}

TEST_F(Ports, FlashUSBStatusTalksToTheBoardOnlyWhenOneIsSelected)
{
    bd->setFlashUSBStatus(false);
    EXPECT_FALSE(board().ledBlinking());
    EXPECT_FALSE(bd->FlashUSBStatus());
    bd->setFlashUSBStatus(true);
    EXPECT_TRUE(board().ledBlinking());
    EXPECT_TRUE(bd->FlashUSBStatus());
    const QList<QByteArray> expected = {bytes({15, 0}), bytes({15, 2}), bytes({15, 1}), bytes({15, 2})};
    EXPECT_EQ(commands(), expected);
}

TEST(PortsWithoutSelection, FlashUSBStatusOnlyStoresTheValue)
{
    usb::ScopedEmulatedDriver scoped;
    scoped->attach(0);
    ScopedEZUSB ezusb;
    cZR4470XEvalBd board;
    board.setFlashUSBStatus(false);
    EXPECT_FALSE(board.FlashUSBStatus());
    board.setFlashUSBStatus(true);
    EXPECT_TRUE(board.FlashUSBStatus());
    EXPECT_EQ(scoped->count(usb::RequestKind::Open), 0);
}

} // namespace
