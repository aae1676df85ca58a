// Boards that answer late or not at all: an answer that comes after its request was given up is never taken
// for the answer to a later request, and a board that stopped answering costs about one timeout, is said to
// be so, comes back when it answers again, and is given back at exit.

#include "usbhost_support.h"

#include "common/bit_strings.h"

#include <map>

using namespace usbhosttest;
using testbits::bits;

namespace {

constexpr uint8_t kReplyEndpoint = 0x81;    // pipe 1
constexpr uint8_t kReadBackEndpoint = 0x88; // pipe 5

class OutOfStep : public BoardTest {
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        driver->setTimeout(40);
        driver->setProbeTimeout(20);
    }
};

} // namespace

TEST_F(OutOfStep, ALateAnswerIsNeverTakenForTheAnswerToALaterRequest)
{
    driver->setProbeInterval(0);
    // Registers and ports with values of their own each, so that a neighbour's shows.
    const int addresses[] = {0x02, 0x03, 0x04};
    std::map<int, QString> own;
    for (const int address : addresses) {
        const auto at = static_cast<int16_t>(address);
        ASSERT_EQ(
            bd->USBSerialLoadPKT(at, bits(0x01010101u * static_cast<uint32_t>(address), chip().width(at))),
            0);
        own[address] = bd->USBSerialReadPKT(at);
    }
    ASSERT_NE(own[0x02], own[0x03]);
    ASSERT_NE(own[0x03], own[0x04]);
    ASSERT_NE(own[0x04], own[0x02]);
    bd->SetPortCValue(0x13);
    bd->SetPortEValue(0xA5);

    // A read-back on pipe 5 answered late, then every register read again, twice over.
    bus().answerLate(number, kReadBackEndpoint);
    EXPECT_EQ(bd->USBSerialReadPKT(0x02), QString()) << "the late read-back fails";
    for (int round = 0; round < 2; ++round) {
        for (const int address : {0x03, 0x04, 0x02}) {
            SCOPED_TRACE(address);
            const QString got = bd->USBSerialReadPKT(static_cast<int16_t>(address));
            EXPECT_TRUE(got.isEmpty() || got == own[address]) << got.toStdString();
            EXPECT_EQ(bd->GetRegMapValue(1, static_cast<int16_t>(address)), own[address])
                << "the written map keeps the chip's value";
            if (round == 1) {
                EXPECT_EQ(got, own[address]) << "back in step, the board answers again";
            }
        }
    }

    // Command replies of one size on pipe 1: a port query answered late.
    bus().answerLate(number, kReplyEndpoint);
    EXPECT_EQ(bd->GetPortCValue(), 0) << "the late reply fails";
    for (int round = 0; round < 2; ++round) {
        const uint8_t portE = bd->GetPortEValue();
        const uint8_t portC = bd->GetPortCValue();
        EXPECT_TRUE(portE == 0xA5 || portE == 0) << int(portE);
        EXPECT_TRUE(portC == 0x13 || portC == 0) << int(portC);
        if (round == 1) {
            EXPECT_EQ(portE, 0xA5);
            EXPECT_EQ(portC, 0x13);
        }
    }
    EXPECT_GE(bus().traffic(number).resets, 2) << "each time the endpoints were emptied";
}

TEST_F(OutOfStep, ASilentBoardCostsOneTimeoutAndAnswersAgainWhenItCan)
{
    driver->setProbeInterval(60000);
    bus().setSilent(number, true);
    bus().clearTraffic(number);
    EXPECT_EQ(bd->USBSerialReadPKT(0x02), QString());
    EXPECT_FALSE(goEZUSB().IsAnswering());
    EXPECT_TRUE(goEZUSB().IsConnected()) << "it is still plugged in";
    // A user's actions on it now fail at once, without device I/O.
    const int urbs = bus().traffic(number).bulkUrbs;
    bd->InitIOBuffs();
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(bd->USBSerialReadPKT(0x03), QString());
    EXPECT_EQ(bd->USBSerialLoadPKT(0x02, bits(0x1234, 32)), -1);
    EXPECT_EQ(bus().traffic(number).bulkUrbs, urbs);
    // A firmware-version request is a try: one short request, still unanswered.
    EXPECT_EQ(bd->GetFirmWareVersion(), QString());
    EXPECT_LE(bus().traffic(number).bulkUrbs, urbs + 2);

    // It answers again: the next try (here the watch's status read) brings it back in step.
    bus().setSilent(number, false);
    driver->setProbeInterval(0);
    bd->USBReadPortBuffVal(kPortD);
    EXPECT_TRUE(goEZUSB().IsAnswering());
    EXPECT_EQ(bd->USBSerialLoadPKT(0x02, bits(0x1F3F4000, 32)), 0);
    EXPECT_EQ(chip().bufferRegister(0x02), 0x1F3F4000u);
}

TEST_F(OutOfStep, SelectingASilentBoardFailsAfterOneTimeout)
{
    const int silent = plug();
    bus().setSilent(silent, true);
    ASSERT_EQ(goEZUSB().GetDevices(), 2);
    bus().clearTraffic(silent);
    EXPECT_EQ(goEZUSB().SelectDevice(1, 0x2222), 0) << "its claim could not be written";
    EXPECT_EQ(bus().traffic(silent).bulkUrbs, 2) << "the version command and its unanswered reply";
    EXPECT_FALSE(goEZUSB().IsAnswering());
    EXPECT_EQ(bus().board(silent).hostId(), 0u);
}

TEST_F(OutOfStep, AtExitABoardThatStoppedAnsweringIsBroughtBackAndGivenBack)
{
    driver->setProbeInterval(60000);
    ASSERT_EQ(bus().board(number).hostId(), 0x1234u);
    bus().setSilent(number, true);
    EXPECT_EQ(bd->GetPortAValue(), 0);
    EXPECT_FALSE(goEZUSB().IsAnswering());
    bus().setSilent(number, false);
    goEvalBd = nullptr;
    ezusb.reset(); // the program ends
    EXPECT_EQ(bus().board(number).hostId(), 0u) << "the board is free for other copies";
}
