// Two running copies of the program on one board: this copy (the fixture's driver) and another one (a second
// driver on the same bus, whose open files the board tells apart). Neither copy takes the other's claim for
// an unplug, resets a board the other holds, freezes on a board the other keeps, or keeps a board through a
// wait that does not use it.

#include "usbhost_support.h"

#include "board/board_lines.h"
#include "platform/ui/app.h"
#include "platform/usb/firmware_commands.h"

#include <QTimer>

#include <chrono>
#include <thread>

using namespace usbhosttest;
using State = usbhost::BoardLinkSupervisor::State;

namespace {

constexpr uint8_t kReplyEndpoint = 0x81; // pipe 1
const QString kPath = QStringLiteral("\\\\.\\Ezssp-0");
const QByteArray kOurHostId = QByteArray::fromHex("00001234");

class TwoCopies : public BoardTest {
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        driver->setTimeout(40);
        driver->setProbeTimeout(20);
        other.setTimeout(40);
        other.setProbeTimeout(20);
    }

    // This copy's board stops pairing its replies with its requests: out of step, and held.
    void putOutOfStep()
    {
        driver->setProbeInterval(60000);
        bd->SetPortEValue(0xA5);
        bus().answerLate(number, kReplyEndpoint);
        ASSERT_EQ(bd->GetPortEValue(), 0) << "given up; the answer is still on its way";
        waitForTheUser();
        ASSERT_EQ(bus().claims(number), 1);
    }

    int claimAttempts() const { return bus().traffic(number).claimAttempts; }

    usbhost::LibusbDriver other{servedIds(), context()};
};

// Waits (bounded) until a condition holds.
bool eventually(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::yield();
    }
    return true;
}

} // namespace

TEST_F(TwoCopies, ACopyThatWinsTheBoardDuringTheProbesResetLeavesItThisCopysBoardToProveAgain)
{
    putOutOfStep();
    // The other copy asks the board's host identifier and waits for the claim this copy holds.
    other.setTimeout(10000);
    const int attempts = claimAttempts();
    QByteArray hostId(4, '\0');
    bool otherAnswered = false;
    // It keeps the board until this copy has seen its claim go: its action is not over before then.
    std::thread otherCopy([&] { otherAnswered = askBoard(other, usb::firmware::GetHostId, hostId); });
    ASSERT_TRUE(eventually([&] { return claimAttempts() > attempts; })) << "the other copy waits";

    // The probe's reset lets go of the claim, and the waiting copy takes it before this copy claims it again.
    bus().letAWaitingCopyInAtNextReset(number);
    driver->setProbeInterval(0);
    EXPECT_EQ(bd->GetPortEValue(), 0) << "not proved: its claim went meanwhile";
    otherCopy.join();
    EXPECT_TRUE(otherAnswered);
    EXPECT_EQ(hostId, kOurHostId) << "its own answer, not the one this copy was owed";
    other.programWaitsForItsUser();

    EXPECT_EQ(driver->boardCount(), 1) << "not taken for unplugged";
    EXPECT_EQ(driver->linkState(kPath), State::ResetAndLetGo);
    EXPECT_TRUE(goEZUSB().IsConnected());
    EXPECT_EQ(bd->GetPortEValue(), 0xA5) << "claimed and proved again at its next request";
    EXPECT_TRUE(driver->answering(kPath));
}

TEST_F(TwoCopies, AResetThatFailedLeavesNoClaimAndTheBoardIsNeverResetUnderTheOtherCopysClaim)
{
    const struct {
        const char* what;
        bool otherCopyWaits; // and takes the board while the failed reset has it free
    } cases[] = {
        {"no copy waits for the board", false},
        {"the other copy waits for the board", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Out of step, held, with nothing left in the board (a reply longer than its command's).
        driver->setProbeInterval(60000);
        bd->SetPortEValue(0xA5);
        bus().reshapeNextAnswer(number, kReplyEndpoint, 2);
        ASSERT_EQ(bd->GetPortEValue(), 0);
        waitForTheUser();
        ASSERT_EQ(bus().claims(number), 1);

        QByteArray hostId(4, '\0');
        bool otherAnswered = false;
        std::thread otherCopy;
        if (c.otherCopyWaits) {
            other.setTimeout(10000);
            const int attempts = claimAttempts();
            otherCopy =
                std::thread([&] { otherAnswered = askBoard(other, usb::firmware::GetHostId, hostId); });
            ASSERT_TRUE(eventually([&] { return claimAttempts() > attempts; })) << "the other copy waits";
            bus().letAWaitingCopyInAtNextReset(number);
        }
        // The probe's reset fails: libusb gave the claim up for it and does not take it back.
        bus().failNextReset(number);
        driver->setProbeInterval(0);
        const int resets = bus().traffic(number).resets;
        EXPECT_EQ(bd->GetPortEValue(), 0);
        EXPECT_EQ(bus().traffic(number).resets, resets + 1);
        EXPECT_EQ(driver->claimedBoardCount(), 0) << "the claim went with the failed reset";
        EXPECT_FALSE(driver->answering(kPath));
        if (c.otherCopyWaits) {
            otherCopy.join();
            EXPECT_TRUE(otherAnswered) << "the other copy took the board";
            EXPECT_EQ(hostId, kOurHostId);
            ASSERT_EQ(bus().claims(number), 1) << "and holds it for the rest of its action";
        }

        // This copy's next probe asks the kernel for the claim before it resets the board. (The failed reset
        // itself may have come after the waiting copy took the board: libusb lets go of the claim just before
        // it resets, as for any reset.)
        const int attempts = claimAttempts();
        const int resetsOverAClaim = bus().traffic(number).resetsOverAClaim;
        const uint8_t portE = bd->GetPortEValue();
        EXPECT_GT(claimAttempts(), attempts) << "the claim was asked of the kernel";
        EXPECT_EQ(bus().traffic(number).resetsOverAClaim, resetsOverAClaim)
            << "no reset under the other copy's claim";
        if (c.otherCopyWaits) {
            EXPECT_EQ(portE, 0);
            EXPECT_EQ(bus().traffic(number).resets, resets + 1);
            EXPECT_EQ(driver->linkState(kPath), State::HeldByAnother);
            EXPECT_TRUE(askBoard(other, usb::firmware::GetHostId, hostId)) << "the other copy's claim stayed";
            other.programWaitsForItsUser();
            EXPECT_EQ(bd->GetPortEValue(), 0xA5) << "proved back once the other copy let go";
            EXPECT_EQ(bus().traffic(number).resets, resets + 2);
        } else {
            EXPECT_EQ(portE, 0xA5) << "claimed again, reset and proved";
            EXPECT_EQ(bus().traffic(number).resets, resets + 2);
        }
        EXPECT_TRUE(driver->answering(kPath));
        EXPECT_EQ(bus().claims(number), 1);
        waitForTheUser();
        EXPECT_EQ(bus().claims(number), 0);
    }
}

TEST_F(TwoCopies, AtTheEndOnlyABoardThisCopyStillHoldsIsReset)
{
    const struct {
        const char* what;
        bool leftAlone; // reset and let go before the end, and now the other copy's
        int resetsAtTheEnd;
    } cases[] = {
        {"held out of step", false, 1},
        {"reset, let go and held by the other copy", true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        putOutOfStep();
        QByteArray hostId(4, '\0');
        if (c.leftAlone) {
            driver->setProbeInterval(0);
            waitForTheUser(); // left alone: reset and let go
            ASSERT_EQ(driver->linkState(kPath), State::ResetAndLetGo);
            ASSERT_TRUE(askBoard(other, usb::firmware::GetHostId, hostId)) << "the other copy has it";
        }
        const int resets = bus().traffic(number).resets;
        const int claims = bus().claims(number);
        driver->programEnds();
        EXPECT_EQ(bus().traffic(number).resets, resets + c.resetsAtTheEnd);
        EXPECT_EQ(bus().waitingAnswers(number), 0) << "what it owed this copy reaches no other";
        if (c.leftAlone) {
            EXPECT_EQ(bus().claims(number), claims) << "the other copy keeps its claim";
            EXPECT_TRUE(askBoard(other, usb::firmware::GetHostId, hostId));
            EXPECT_EQ(hostId, kOurHostId);
            other.programWaitsForItsUser();
        }
        // Back in step for the next case.
        driver->setProbeInterval(0);
        EXPECT_EQ(bd->GetPortEValue(), 0xA5);
        waitForTheUser();
    }
}

TEST_F(TwoCopies, ABoardSilentInOneCopyCostsTheOtherOneClaimWaitAndIsLetGoAfterAFewProbes)
{
    driver->setProbeInterval(60000);
    bus().setSilent(number, true);
    EXPECT_EQ(bd->GetPortEValue(), 0);
    waitForTheUser();
    ASSERT_EQ(bus().claims(number), 1) << "held: it may still answer";

    // The other copy's first request waits for the claim once, backing off; then its requests (a user
    // action's, the USB watch's status read) only try it, however long this copy keeps the board.
    other.setTimeout(200);
    QByteArray hostId(4, '\0');
    int attempts = claimAttempts();
    EXPECT_FALSE(askBoard(other, usb::firmware::GetHostId, hostId));
    EXPECT_LE(claimAttempts() - attempts, 15) << "a whole wait, without spinning";
    const auto refused = std::chrono::steady_clock::now();
    int requests = 0;
    while (std::chrono::steady_clock::now() - refused < std::chrono::milliseconds(3 * 200) || requests < 10) {
        attempts = claimAttempts();
        EXPECT_FALSE(askBoard(other, usb::firmware::GetHostId, hostId));
        ASSERT_LE(claimAttempts() - attempts, 1) << "request " << requests << " waited for the claim again";
        ++requests;
    }
    EXPECT_EQ(other.linkState(kPath), State::HeldByAnother);

    // This copy's probes (the USB watch's status read every probe interval) find it silent: it is reset and
    // let go after a few, and claimed again for each later probe, then let go again.
    driver->setProbeInterval(0);
    for (int probe = 1; probe <= usbhost::BoardLinkSupervisor::kUnansweredProbesHeld + 1; ++probe) {
        SCOPED_TRACE(probe);
        const int resets = bus().traffic(number).resets;
        bd->USBReadPortBuffVal(kPortD);
        const bool letGo = probe >= usbhost::BoardLinkSupervisor::kUnansweredProbesHeld;
        EXPECT_EQ(bus().claims(number), letGo ? 0 : 1);
        EXPECT_EQ(bus().traffic(number).resets, resets + (letGo ? 2 : 1)) << "reset before it is let go";
    }
    EXPECT_FALSE(goEZUSB().IsAnswering());

    // The board answers again: the other copy's next try takes it.
    bus().setSilent(number, false);
    EXPECT_TRUE(askBoard(other, usb::firmware::GetHostId, hostId));
    EXPECT_EQ(hostId, kOurHostId);
    EXPECT_EQ(other.linkState(kPath), State::InStep);
    other.programWaitsForItsUser();
}

TEST_F(TwoCopies, AClaimTakenInALongWaitOfAnActionThatDoesNotUseTheBoardGoesBackWhenTheTickEnds)
{
    waitForTheUser();
    ASSERT_EQ(bus().claims(number), 0);
    // A generator run waits minutes for its error file, letting events run; the USB watch ticks meanwhile.
    int ticks = 0;
    QTimer::singleShot(0, [&] {
        goEZUSB().IsConnected();
        bd->USBReadPortBuffVal(kPortD);
        ++ticks;
    });
    QByteArray hostId(4, '\0');
    bool otherAsked = false;
    bool otherAnswered = false;
    for (int k = 0; k < 20; ++k) {
        ui::DoEvents();
        if (ticks == 1 && !otherAsked) {
            otherAsked = true;
            EXPECT_EQ(bus().claims(number), 0) << "given back when the tick ended";
            otherAnswered = askBoard(other, usb::firmware::GetHostId, hostId);
            other.programWaitsForItsUser();
        }
    }
    ASSERT_EQ(ticks, 1);
    EXPECT_TRUE(otherAnswered) << "the other copy's request went through in the middle of the wait";
    EXPECT_EQ(hostId, kOurHostId);

    // A board action holds it through its pauses, the watch's tick in them included.
    QTimer::singleShot(0, [&] {
        bd->USBReadPortBuffVal(kPortD);
        ++ticks;
    });
    EXPECT_FALSE(bd->USBSerialReadPKT(0x0F).isEmpty()); // a profile register read pauses for a while
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(bus().claims(number), 1);
    waitForTheUser();
    EXPECT_EQ(bus().claims(number), 0);
}
