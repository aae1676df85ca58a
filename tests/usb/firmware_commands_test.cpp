// The firmware's command set on pipe 0 with replies on pipe 1.

#include "usb_host.h"

#include "platform/usb/firmware_commands.h"

#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <vector>

using namespace usb;
using usbtest::Host;

namespace {

class FirmwareCommands : public ::testing::Test {
protected:
    ScopedEmulatedDriver scoped;
    EmulatedDriver& drv = scoped.get();
    EmulatedBoard& board = drv.attach(0);
    Host host{drv};

    void expectClean()
    {
        EXPECT_TRUE(drv.violations().empty()) << drv.violationTexts().join('\n').toStdString();
    }
};

TEST_F(FirmwareCommands, QueriesAnswerThePowerOnState)
{
    struct Case {
        uint8_t code;
        uint8_t reply;
    } cases[] = {
        {2, kPowerOnPortA},  {6, kPowerOnCtl}, {9, 0x03},  {11, 0x40}, {19, kPowerOnPortC},
        {21, kPowerOnPortE}, {22, 1},          {23, 0x01}, // empty FIFO after power-on: PAE low, PAF high
    };
    for (const Case& c : cases) {
        EXPECT_EQ(host.ask1({c.code}), c.reply) << "command " << int(c.code);
    }
    EXPECT_EQ(host.ask({0}, 2), QByteArray("\x00\x03", 2));
    expectClean();
}

TEST_F(FirmwareCommands, PortWritesAreReadBack)
{
    struct Case {
        uint8_t set;
        uint8_t get;
        uint8_t value;
    } cases[] = {{1, 2, 0x5A}, {18, 19, 0x2B}, {20, 21, 0x93}};
    for (const Case& c : cases) {
        ASSERT_TRUE(host.send({c.set, c.value}));
        EXPECT_EQ(host.ask1({c.get}), c.value) << "command " << int(c.set);
    }
    EXPECT_EQ(board.portA(), 0x5A);
    EXPECT_EQ(board.portC(), 0x2B);
    EXPECT_EQ(board.portE(), 0x93);
    expectClean();
}

TEST_F(FirmwareCommands, CtlWriteEchoesTheValue)
{
    EXPECT_EQ(host.ask1({5, 0x03}), 0x03);
    EXPECT_EQ(host.ask1({6}), 0x03);
    EXPECT_EQ(board.ctl(), 0x03);
    expectClean();
}

TEST_F(FirmwareCommands, PortDAnswersTheStatusInputsNotTheLatch)
{
    board.setStatusInputs(0xFF);
    EXPECT_EQ(host.ask1({11}), 0xF8) << "bits 0-2 read 0";
    board.setStatusInput(kPortDPllLock, false);
    board.setStatusInput(kPortDLsOvr, false);
    EXPECT_EQ(host.ask1({11}), 0xB0);
    ASSERT_TRUE(host.send({12, 0x00}));
    EXPECT_EQ(board.portDLatch(), 0x00);
    EXPECT_EQ(host.ask1({11}), 0xB0);
    expectClean();
}

TEST_F(FirmwareCommands, HostIdentifierRoundTripsMostSignificantByteFirst)
{
    ASSERT_TRUE(host.send({13, 0x81, 0x02, 0x03, 0x04}));
    EXPECT_EQ(board.hostId(), 0x81020304u);
    const auto reply = host.ask({14}, 4);
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, QByteArray("\x81\x02\x03\x04", 4));
    expectClean();
}

TEST_F(FirmwareCommands, HostIdentifierCommandsAreUnknownBeforeFirmware03)
{
    board.setFirmwareVersion(0, 2);
    EXPECT_TRUE(host.send({13, 0, 0, 0, 7})) << "the pipe accepts the bytes";
    EXPECT_EQ(board.hostId(), 0u);
    EXPECT_FALSE(host.ask({14}, 4)) << "no reply to read";
    ASSERT_FALSE(drv.violations().empty());
    EXPECT_EQ(drv.violations().front().kind, ViolationKind::UnknownCommand);
    board.setFirmwareVersion(0, 10);
    drv.clearViolations();
    EXPECT_TRUE(host.send({13, 0, 0, 0, 7}));
    EXPECT_EQ(board.hostId(), 7u) << "0.10 is a later firmware than 0.3";
    expectClean();
}

TEST_F(FirmwareCommands, LedBlinkQueryFollowsTheLastSetting)
{
    EXPECT_EQ(host.ask1({15, 2}), 1);
    EXPECT_EQ(host.ask1({15, 0}), 1);
    EXPECT_EQ(host.ask1({15, 2}), 0);
    EXPECT_FALSE(board.ledBlinking());
    EXPECT_EQ(host.ask1({15, 1}), 1);
    EXPECT_EQ(host.ask1({15, 2}), 1);
    expectClean();
}

TEST_F(FirmwareCommands, AutoChipSelectCommandsAnswerNonZero)
{
    EXPECT_EQ(host.ask1({16, 0}), 1);
    EXPECT_FALSE(board.autoCsb());
    EXPECT_EQ(host.ask1({17, 0x06}), 1);
    EXPECT_EQ(board.autoCsbMask(), 0x06);
    EXPECT_EQ(host.ask1({16, 1}), 1);
    EXPECT_TRUE(board.autoCsb());
    expectClean();
}

TEST_F(FirmwareCommands, SpeedReplyFollowsTheBoard)
{
    board.setHighSpeed(false);
    EXPECT_EQ(host.ask1({22}), 0);
    board.setHighSpeed(true);
    EXPECT_EQ(host.ask1({22}), 1);
}

TEST_F(FirmwareCommands, ReadBackCountIsBigEndianWords)
{
    ASSERT_TRUE(host.send({7, 1, 44}));
    EXPECT_EQ(board.readBackCount(), 0) << "300 words is more than a read-back burst holds";
    ASSERT_FALSE(drv.violations().empty());
    EXPECT_EQ(drv.violations().back().kind, ViolationKind::BadArgument);
    drv.clearViolations();
    ASSERT_TRUE(host.send({7, 1, 0}));
    EXPECT_EQ(board.readBackCount(), 256);
    expectClean();
}

TEST_F(FirmwareCommands, ReplyRulesAndMalformedCommands)
{
    struct Case {
        QByteArray command;
        ViolationKind kind;
    } cases[] = {
        {QByteArray(), ViolationKind::CommandLength},
        {QByteArray("\x01", 1), ViolationKind::CommandLength},
        {QByteArray("\x02\x00", 2), ViolationKind::CommandLength},
        {QByteArray("\x07\x01", 2), ViolationKind::CommandLength},
        {QByteArray("\x03", 1), ViolationKind::UnknownCommand},
        {QByteArray("\x18", 1), ViolationKind::UnknownCommand},
        {QByteArray("\xFF", 1), ViolationKind::UnknownCommand},
    };
    for (const Case& c : cases) {
        drv.clearViolations();
        const uint8_t before = board.portA();
        EXPECT_TRUE(host.send(c.command)) << "the pipe takes any bytes";
        ASSERT_EQ(drv.violations().size(), 1u) << c.command.toHex().toStdString();
        EXPECT_EQ(drv.violations().front().kind, c.kind) << c.command.toHex().toStdString();
        EXPECT_EQ(board.portA(), before);
    }
    // A reply is read once; a command without reply leaves none; a longer read fails.
    drv.clearViolations();
    ASSERT_TRUE(host.send({2}));
    EXPECT_TRUE(host.read(1, 1));
    EXPECT_FALSE(host.read(1, 1));
    ASSERT_TRUE(host.send({2}));
    ASSERT_TRUE(host.send({1, 0x02}));
    EXPECT_FALSE(host.read(1, 1));
    ASSERT_TRUE(host.send({0}));
    EXPECT_FALSE(host.read(1, 3));
    EXPECT_EQ(drv.violations().size(), 3u);
    for (const Violation& v : drv.violations()) {
        EXPECT_EQ(v.kind, ViolationKind::ReadPastReply);
    }
}

TEST_F(FirmwareCommands, FirmwareResetRestoresPowerOnPorts)
{
    host.send({1, 0x3D});
    host.send({20, 0x07});
    host.ask1({16, 0});
    host.send({7, 0, 8});
    ASSERT_TRUE(host.send({8}));
    EXPECT_EQ(board.portA(), kPowerOnPortA);
    EXPECT_EQ(board.portE(), kPowerOnPortE);
    EXPECT_TRUE(board.autoCsb());
    EXPECT_EQ(board.readBackCount(), 0);
    expectClean();
}

TEST_F(FirmwareCommands, ResetLineCanBeHighAtPowerOn)
{
    BoardOptions options;
    options.resetLineHighAtPowerOn = true;
    EmulatedBoard& b = drv.attach(1, options);
    Host h1(drv, QStringLiteral("Ezssp-1"));
    EXPECT_EQ(h1.ask1({2}), kPowerOnPortA | kPortAReset);
    EXPECT_TRUE(b.chip()->inReset());
}

TEST_F(FirmwareCommands, EveryCommandOfTheTableTakesItsLengthAndLeavesItsReplyLength)
{
    // The commands as the board object sends them. The real-board driver holds a board to the table's reply
    // lengths (a reply of another length puts it out of step), and the emulated firmware takes a command
    // only in the table's length.
    const std::vector<std::vector<uint8_t>> commands = {
        {0},
        {1, 0x10},
        {2},
        {4, 0},
        {5, 0x03},
        {6},
        {7, 0, 1},
        {8},
        {9},
        {10, 0x01},
        {11},
        {12, 0x08},
        {13, 0, 0, 0, 1},
        {14},
        {15, 2},
        {16, 1},
        {17, 1},
        {18, 0x20},
        {19},
        {20, 0x80},
        {21},
        {22},
        {23},
    };
    ASSERT_EQ(commands.size(), std::size(firmware::kCommands)) << "a command of the table is not tried";
    for (const std::vector<uint8_t>& command : commands) {
        const uint8_t code = command.front();
        SCOPED_TRACE(int(code));
        const std::optional<firmware::CommandShape> shape = firmware::commandShape(code);
        ASSERT_TRUE(shape) << "not in the table";
        EXPECT_EQ(command.size(), shape->commandLength) << "the board object's bytes";
        const auto owed = static_cast<uint32_t>(shape->replyLength);
        uint8_t reply[8] = {};
        ASSERT_TRUE(
            board.bulkWrite(firmware::kCommandPipe, command.data(), static_cast<uint32_t>(command.size())));
        EXPECT_LT(board.bulkRead(firmware::kReplyPipe, reply, owed + 1), 0) << "no more than the table gives";
        if (owed > 0) {
            ASSERT_TRUE(board.bulkWrite(firmware::kCommandPipe, command.data(),
                                        static_cast<uint32_t>(command.size())));
            EXPECT_EQ(board.bulkRead(firmware::kReplyPipe, reply, owed), owed);
        }
        // One byte more or one less is another command: the firmware does not take it.
        drv.clearViolations();
        std::vector<uint8_t> longer = command;
        longer.push_back(0);
        ASSERT_TRUE(
            board.bulkWrite(firmware::kCommandPipe, longer.data(), static_cast<uint32_t>(longer.size())));
        if (command.size() > 1) {
            ASSERT_TRUE(board.bulkWrite(firmware::kCommandPipe, command.data(),
                                        static_cast<uint32_t>(command.size() - 1)));
        }
        ASSERT_EQ(drv.violations().size(), command.size() > 1 ? 2u : 1u);
        for (const Violation& v : drv.violations()) {
            EXPECT_EQ(v.kind, ViolationKind::CommandLength);
        }
        EXPECT_LT(board.bulkRead(firmware::kReplyPipe, reply, 1), 0) << "a command not taken leaves no reply";
    }
}

TEST_F(FirmwareCommands, StartUpTrafficOfTheSystemIsClean)
{
    // Selection, buffer fetch, chip select and I/O update enable, reset strobe, detection read, strobe.
    ASSERT_TRUE(host.ask({0}, 2));
    ASSERT_TRUE(host.send({13, 0, 0, 0x12, 0x34}));
    for (uint8_t code : {11, 2, 6, 9, 19, 21}) {
        ASSERT_TRUE(host.ask1({code})) << int(code);
    }
    ASSERT_TRUE(host.ask1({15, 2}));
    host.sendPortA(0x02);
    host.sendPortE(0x80);
    host.resetPulse();
    EXPECT_EQ(host.readRegister(0x1F, 40), 0x00C0000100ULL);
    host.resetPulse();
    EXPECT_EQ(board.chip()->masterResetCount(), 2);
    EXPECT_EQ(board.hostId(), 0x1234u);
    expectClean();
}

} // namespace
