// When this copy holds a board's interface: through the whole of one user action, pauses included, and for
// as long as the board may still send an answer owed to this copy; given back when the program waits for
// its user, so that another running copy takes only answers to its own requests.

#include "usbhost_support.h"

#include "board/board_lines.h"
#include "board/evalbd.h"
#include "platform/usb/firmware_commands.h"
#include "platform/usb/usb_driver.h"

#include <QTimer>

using namespace usbhosttest;

namespace {

constexpr uint8_t kReplyEndpoint = 0x81; // pipe 1

class Claims : public BoardTest {
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        driver->setTimeout(40);
        driver->setProbeTimeout(20);
    }
};

} // namespace

TEST_F(Claims, OneActionHoldsTheBoardThroughItsPauseAndTheProgramGivesItBackWhenItWaitsForItsUser)
{
    waitForTheUser();
    ASSERT_EQ(bus().claims(number), 0);
    bus().clearTraffic(number);
    // The USB watch ticks in the pause, as the main window's timer does.
    int ticks = 0;
    QTimer::singleShot(0, [&] {
        goEZUSB().IsConnected();
        bd->USBReadPortBuffVal(kPortD);
        ++ticks;
    });
    // A profile register read: the profile pins are driven, events run for a while, then the register is
    // read back.
    EXPECT_FALSE(bd->USBSerialReadPKT(0x0F).isEmpty());
    EXPECT_EQ(ticks, 1) << "events ran between the action's transfers";
    EXPECT_EQ(bus().traffic(number).claimAttempts, 1) << "claimed once for the whole action";
    EXPECT_EQ(bus().claims(number), 1);
    waitForTheUser();
    EXPECT_EQ(bus().claims(number), 0) << "given back when the program waits for its user";
}

TEST_F(Claims, ABoardOutOfStepStaysClaimedSoThatItsLateAnswerReachesNoOtherCopy)
{
    driver->setProbeInterval(60000);
    bd->SetPortEValue(0xA5);
    bus().answerLate(number, kReplyEndpoint);
    EXPECT_EQ(bd->GetPortEValue(), 0) << "given up; the answer is still on its way";
    waitForTheUser();
    EXPECT_EQ(bus().claims(number), 1) << "kept while the board owes this copy an answer";

    // Another running copy starts and asks the board's host identifier.
    usbhost::LibusbDriver otherCopy(servedIds(), context());
    otherCopy.setTimeout(40);
    QByteArray hostId(4, '\0');
    EXPECT_FALSE(askBoard(otherCopy, usb::firmware::GetHostId, hostId)) << "held by this copy";
    EXPECT_EQ(bus().waitingAnswers(number), 1) << "the late answer is nobody else's";

    // The end of this copy would reset it before letting go; here it comes back with its next request.
    driver->programEnds();
    EXPECT_EQ(bus().waitingAnswers(number), 0);
    driver->setProbeInterval(0);
    EXPECT_EQ(bd->GetPortEValue(), 0xA5);
    waitForTheUser();
    EXPECT_EQ(bus().claims(number), 0);
    ASSERT_TRUE(askBoard(otherCopy, usb::firmware::GetHostId, hostId));
    EXPECT_EQ(hostId, QByteArray::fromHex("00001234"));
}

TEST_F(Claims, ABoardOutOfStepThatThisCopyLeavesAloneIsResetAndLetGo)
{
    driver->setProbeInterval(60000);
    bd->SetPortEValue(0xA5);
    bus().answerLate(number, kReplyEndpoint);
    EXPECT_EQ(bd->GetPortEValue(), 0);
    waitForTheUser();
    ASSERT_EQ(bus().claims(number), 1);
    const int resets = bus().traffic(number).resets;

    // Nothing of this copy tries it again for two probe intervals (here: no interval at all).
    driver->setProbeInterval(0);
    waitForTheUser();
    EXPECT_EQ(bus().claims(number), 0) << "other copies may have it";
    EXPECT_EQ(bus().traffic(number).resets, resets + 1);
    EXPECT_EQ(bus().waitingAnswers(number), 0) << "what it owed this copy went with the reset";
    EXPECT_FALSE(driver->answering(QStringLiteral("\\\\.\\Ezssp-0"))) << "still to be proved back";
    EXPECT_EQ(bd->GetPortEValue(), 0xA5) << "its next request proves it back first";
    EXPECT_EQ(bus().traffic(number).resets, resets + 2);
}
