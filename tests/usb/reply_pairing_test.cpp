// Which reply lengths a board owes the real-board driver, from the commands sent to it.

#include "platform/usb/firmware_commands.h"
#include "platform/usbhost/reply_pairing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

namespace fw = usb::firmware;

struct Step {
    uint32_t pipe;
    std::vector<uint8_t> bytes; // written, or read (its length is what the read brought)
    uint32_t asked = 0;         // for a read: the bytes asked for
    bool fits = true;
};

Step write(std::vector<uint8_t> command)
{
    return Step{fw::kCommandPipe, std::move(command)};
}

Step read(uint32_t pipe, uint32_t asked, uint32_t moved, bool fits)
{
    return Step{pipe, std::vector<uint8_t>(moved, 0), asked, fits};
}

TEST(ReplyPairing, AReadFitsOnlyWithTheLengthItsCommandOwes)
{
    const struct {
        const char* what;
        std::vector<Step> steps;
    } cases[] = {
        {"nothing sent yet: any length", {read(fw::kReplyPipe, 4, 1, true)}},
        {"a version answer", {write({0}), read(fw::kReplyPipe, 2, 2, true)}},
        {"a version answer cut short", {write({0}), read(fw::kReplyPipe, 2, 1, false)}},
        {"a host identifier cut short", {write({14}), read(fw::kReplyPipe, 4, 2, false)}},
        {"a port answer in a larger buffer", {write({21}), read(fw::kReplyPipe, 64, 1, true)}},
        {"a port answer twice as long", {write({21}), read(fw::kReplyPipe, 64, 2, false)}},
        {"a second read of one reply",
         {write({2}), read(fw::kReplyPipe, 1, 1, true), read(fw::kReplyPipe, 1, 1, false)}},
        {"a reply to a command that owes none", {write({1, 0x10}), read(fw::kReplyPipe, 1, 1, false)}},
        {"a code the firmware does not know", {write({40}), read(fw::kReplyPipe, 3, 3, true)}},
        {"a command longer than the table's", {write({21, 0}), read(fw::kReplyPipe, 3, 3, true)}},
        {"a read-back count cut short", {write({7, 1}), read(fw::kReadBackPipe, 64, 10, true)}},
        {"read-back of the count asked", {write({7, 1, 44}), read(fw::kReadBackPipe, 600, 600, true)}},
        {"read-back one word short", {write({7, 0, 32}), read(fw::kReadBackPipe, 64, 62, false)}},
        {"the count holds for the next read-back",
         {write({7, 0, 8}), read(fw::kReadBackPipe, 16, 16, true), write({4, 1}),
          read(fw::kReadBackPipe, 16, 16, true)}},
        {"read-back before any count", {read(fw::kReadBackPipe, 64, 10, true)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        usbhost::ReplyPairing pairing;
        for (const Step& step : c.steps) {
            const auto length = static_cast<uint32_t>(step.bytes.size());
            if (step.pipe == fw::kCommandPipe) {
                pairing.sent(step.pipe, step.bytes.data(), length);
            } else {
                EXPECT_EQ(pairing.recordReply(step.pipe, step.bytes.data(), step.asked, length), step.fits);
            }
        }
    }
}

TEST(ReplyPairing, TheVersionIsTheAnswerToAVersionCommandAndAResetForgetsWhatIsOwed)
{
    usbhost::ReplyPairing pairing;
    const uint8_t version[1] = {fw::GetFirmwareVersion};
    const uint8_t portE[1] = {fw::GetPortE};
    const uint8_t answer[2] = {1, 12};
    pairing.sent(fw::kCommandPipe, portE, 1);
    ASSERT_TRUE(pairing.recordReply(fw::kReplyPipe, answer, 2, 1));
    EXPECT_FALSE(pairing.version()) << "a port answer is no version";
    pairing.sent(fw::kCommandPipe, version, 1);
    ASSERT_TRUE(pairing.recordReply(fw::kReplyPipe, answer, 2, 2));
    EXPECT_EQ(pairing.version(), (usbhost::ReplyPairing::Version{1, 12}));

    pairing.sent(fw::kCommandPipe, portE, 1);
    pairing.forget();
    EXPECT_TRUE(pairing.recordReply(fw::kReplyPipe, answer, 2, 2))
        << "after a reset nothing is owed that is known";
    EXPECT_EQ(pairing.version(), (usbhost::ReplyPairing::Version{1, 12})) << "the version is kept";
}

TEST(ReplyPairing, AFirmwareWithoutTheHostIdentifierOwesNoAnswerToItsCommand)
{
    usbhost::ReplyPairing pairing;
    const uint8_t hostId[1] = {fw::GetHostId};
    const uint8_t answer[4] = {};
    pairing.sent(fw::kCommandPipe, hostId, 1);
    EXPECT_FALSE(pairing.recordReply(fw::kReplyPipe, answer, 4, 1))
        << "firmware not asked yet: four bytes owed";
    const struct {
        usbhost::ReplyPairing::Version version;
        bool owes;
    } cases[] = {{{0, 2}, false}, {{0, 3}, true}, {{0, 10}, true}, {{1, 0}, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.version[0]) << "." << int(c.version[1]));
        pairing.setVersion(c.version);
        pairing.sent(fw::kCommandPipe, hostId, 1);
        EXPECT_EQ(pairing.recordReply(fw::kReplyPipe, answer, 4, 1), !c.owes);
    }
}

} // namespace
