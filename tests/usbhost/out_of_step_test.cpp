// Boards that answer late or not at all: an answer that comes after its request was given up is never taken
// for the answer to a later request, and a board that stopped answering costs about one timeout, is said to
// be so, comes back when it answers again, and is given back at exit.

#include "usbhost_support.h"

#include "common/bit_strings.h"

#include <cerrno>
#include <functional>
#include <map>

using namespace usbhosttest;
using testbits::bits;

namespace {

constexpr uint8_t kCommandEndpoint = 0x01;  // pipe 0
constexpr uint8_t kReplyEndpoint = 0x81;    // pipe 1
constexpr uint8_t kReadBackEndpoint = 0x88; // pipe 5
const QString kPath = QStringLiteral("\\\\.\\Ezssp-0");

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

TEST_F(OutOfStep, AVersionAnswerSentAfterTheResetDoesNotPassForTheProbesOwn)
{
    driver->setProbeInterval(0);
    bd->SetPortEValue(0xA5);
    bd->SetPortCValue(0x13);
    // The firmware is still making its version answer when the request is given up, and sends it after the
    // reset that should have emptied the board: two bytes, like the answer the reset's probe waits for.
    bus().answerAfterReset(number, kReplyEndpoint);
    EXPECT_EQ(bd->GetFirmWareVersion(), QString());
    // Whatever is asked now, the answer taken is the request's own: whenever the board is held to be in
    // step, no answer is left waiting in it.
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        const QString version = bd->GetFirmWareVersion();
        EXPECT_TRUE(version.isEmpty() || version == QLatin1String("0.3")) << version.toStdString();
        if (driver->answering(kPath)) {
            EXPECT_EQ(bus().waitingAnswers(number), 0);
        }
        int32_t hostId = 0;
        if (goEZUSB().GetHostID(0, hostId) == 1) {
            EXPECT_EQ(hostId, 0x1234);
        }
        if (driver->answering(kPath)) {
            EXPECT_EQ(bus().waitingAnswers(number), 0);
        }
        const uint8_t portE = bd->GetPortEValue();
        const uint8_t portC = bd->GetPortCValue();
        EXPECT_TRUE(portE == 0xA5 || portE == 0) << int(portE);
        EXPECT_TRUE(portC == 0x13 || portC == 0) << int(portC);
    }
    EXPECT_TRUE(driver->answering(kPath)) << "back in step once the late answer was emptied";
    EXPECT_EQ(bd->GetPortEValue(), 0xA5);
}

TEST_F(OutOfStep, AReplyOfAnotherLengthThanItsCommandOwesPutsTheBoardOutOfStep)
{
    bd->SetPortEValue(0xA5);
    const QString register02 = bd->USBSerialReadPKT(0x02); // 32 bits: 64 bytes of read-back at high speed
    ASSERT_FALSE(register02.isEmpty());
    const auto hostId = [] {
        int32_t id = 0;
        return goEZUSB().GetHostID(0, id) == 1 ? QString::number(id, 16) : QString();
    };
    const struct {
        const char* what;
        uint8_t endpoint;
        int length;
        std::function<QString()> request;
        QString answer;
    } cases[] = {
        {"a version answer cut short", kReplyEndpoint, 1, [&] { return bd->GetFirmWareVersion(); },
         QStringLiteral("0.3")},
        {"a host identifier cut short", kReplyEndpoint, 2, hostId, QStringLiteral("1234")},
        {"a port answer too long", kReplyEndpoint, 2, [&] { return QString::number(bd->GetPortEValue()); },
         QString::number(0xA5)},
        {"a read-back one word short", kReadBackEndpoint, 62, [&] { return bd->USBSerialReadPKT(0x02); },
         register02},
        {"a read-back one word too long", kReadBackEndpoint, 66, [&] { return bd->USBSerialReadPKT(0x02); },
         register02},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        driver->setProbeInterval(60000);
        bus().reshapeNextAnswer(number, c.endpoint, c.length);
        const QString got = c.request();
        EXPECT_TRUE(got.isEmpty() || got == QLatin1String("0")) << got.toStdString();
        EXPECT_FALSE(driver->answering(kPath)) << "the replies no longer pair with the requests";
        const int resets = bus().traffic(number).resets;
        driver->setProbeInterval(0);
        EXPECT_EQ(c.request(), c.answer) << "back in step after a reset";
        EXPECT_EQ(bus().traffic(number).resets, resets + 1);
        EXPECT_TRUE(driver->answering(kPath));
    }
}

TEST_F(OutOfStep, ATransferThatFailsOnTheBusPutsTheBoardOutOfStep)
{
    bd->SetPortEValue(0xA5);
    bd->SetPortCValue(0x13);
    for (const int address : {0x02, 0x03}) {
        const auto at = static_cast<int16_t>(address);
        ASSERT_EQ(
            bd->USBSerialLoadPKT(at, bits(0x01010101u * static_cast<uint32_t>(address), chip().width(at))),
            0);
    }
    const QString register02 = bd->USBSerialReadPKT(0x02);
    const QString register03 = bd->USBSerialReadPKT(0x03);
    ASSERT_EQ(register02.size(), register03.size());
    ASSERT_NE(register02, register03);
    const struct {
        const char* what;
        uint8_t endpoint;
        int error;
        std::function<QString()> failing; // its answer stays in the board
        std::function<QString()> next;    // an answer of the same length
        QString answer;
    } cases[] = {
        {"an I/O error on a reply", kReplyEndpoint, EPROTO,
         [&] { return QString::number(bd->GetPortEValue()); },
         [&] { return QString::number(bd->GetPortCValue()); }, QString::number(0x13)},
        {"a halted reply pipe", kReplyEndpoint, EPIPE, [&] { return QString::number(bd->GetPortEValue()); },
         [&] { return QString::number(bd->GetPortCValue()); }, QString::number(0x13)},
        {"an I/O error on a command the firmware took", kCommandEndpoint, EPROTO,
         [&] { return QString::number(bd->GetPortEValue()); },
         [&] { return QString::number(bd->GetPortCValue()); }, QString::number(0x13)},
        {"a halted command pipe after the firmware took the command", kCommandEndpoint, EPIPE,
         [&] { return QString::number(bd->GetPortEValue()); },
         [&] { return QString::number(bd->GetPortCValue()); }, QString::number(0x13)},
        {"an I/O error on a read-back", kReadBackEndpoint, EPROTO, [&] { return bd->USBSerialReadPKT(0x02); },
         [&] { return bd->USBSerialReadPKT(0x03); }, register03},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        driver->setProbeInterval(60000);
        bus().failNextTransfer(number, c.endpoint, c.error);
        const QString failed = c.failing();
        EXPECT_TRUE(failed.isEmpty() || failed == QLatin1String("0")) << failed.toStdString();
        EXPECT_FALSE(driver->answering(kPath)) << "what the board sends next may be that answer";
        const int resets = bus().traffic(number).resets;
        driver->setProbeInterval(0);
        EXPECT_EQ(c.next().toStdString(), c.answer.toStdString()) << "its own answer, after a reset";
        EXPECT_EQ(bus().traffic(number).resets, resets + 1);
        EXPECT_EQ(bus().waitingAnswers(number), 0);
        EXPECT_TRUE(driver->answering(kPath));
    }
}

TEST_F(OutOfStep, AStallOnAQuietReadOfTheProbeIsNothingWaiting)
{
    driver->setProbeInterval(60000);
    bd->SetPortEValue(0xA5);
    bus().answerLate(number, kReplyEndpoint);
    EXPECT_EQ(bd->GetPortEValue(), 0);
    // The read-back pipe, which owes nothing, is halted when the probe looks for what follows its answer.
    bus().stallNext(number, kReadBackEndpoint);
    bus().clearTraffic(number);
    driver->setProbeInterval(0);
    EXPECT_EQ(bd->GetPortEValue(), 0xA5) << "back in step at the first probe";
    EXPECT_EQ(bus().traffic(number).resets, 1);
    EXPECT_EQ(bus().traffic(number).clearedHalts, std::vector<uint8_t>{kReadBackEndpoint});
    EXPECT_TRUE(driver->answering(kPath));
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
