// The emulated ZR4470's serial port driven at the byte level: register writes and reads of every width in
// MSB/LSB-first and 2-/3-wire modes, packets, I/O update, reset defaults and the identification register.

#include "usb_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace usb;
using usbtest::Host;

namespace {

constexpr uint64_t kIdPattern = 0x00C0000100ULL;

class ChipSerial : public ::testing::Test {
protected:
    ScopedEmulatedDriver scoped;
    EmulatedDriver& drv = scoped.get();

    EmulatedBoard& attach(ChipRevision revision = ChipRevision::Rev3, bool highSpeed = true)
    {
        BoardOptions options;
        options.chip.revision = revision;
        options.highSpeed = highSpeed;
        return drv.attach(0, options);
    }
    void expectClean()
    {
        EXPECT_TRUE(drv.violations().empty()) << drv.violationTexts().join('\n').toStdString();
    }
};

struct Mode {
    uint64_t cfr1;
    bool highSpeed;
};

class ChipSerialModes : public ChipSerial, public ::testing::WithParamInterface<Mode> {};

TEST_P(ChipSerialModes, RegistersOfEveryWidthRoundTrip)
{
    const Mode mode = GetParam();
    EmulatedBoard& board = attach(ChipRevision::Rev3, mode.highSpeed);
    EmulatedChip& chip = *board.chip();
    Host host(drv);
    ASSERT_TRUE(host.writeRegister(0x00, mode.cfr1, 32));
    EXPECT_EQ(chip.lsbFirst(), (mode.cfr1 & 1) != 0);
    EXPECT_EQ(chip.threeWire(), (mode.cfr1 & 2) != 0);
    struct Case {
        int address;
        int width;
        uint64_t value;
    } cases[] = {
        {0x17, 8, 0xA5},
        {0x08, 16, 0xBEEF},
        {0x07, 32, 0x89ABCDEF},
        {0x05, 48, 0x8421F0E1D2C3ULL},
        {0x0B, 64, 0xF0123456789ABCDEULL},
        {0x18, 16, 0x1234},
        {0x0D, 32, 0x00000001},
        {0x0C, 64, 0x8000000000000001ULL},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(chip.width(c.address), c.width);
        ASSERT_TRUE(host.writeRegister(c.address, c.value, c.width)) << c.address;
        EXPECT_EQ(chip.bufferRegister(c.address), c.value) << "address " << c.address;
        EXPECT_EQ(host.readRegister(c.address, c.width), c.value) << "address " << c.address;
    }
    EXPECT_EQ(chip.phase(), SerialPhase::Instruction);
    expectClean();
}

INSTANTIATE_TEST_SUITE_P(MsbLsbTwoThreeWire, ChipSerialModes,
                         ::testing::Values(Mode{0x0, true}, Mode{0x1, true}, Mode{0x2, true}, Mode{0x3, true},
                                           Mode{0x0, false}, Mode{0x3, false}));

TEST_F(ChipSerial, LsbFirstWriteSendsReversedInstructionThenValueFromItsLsb)
{
    EmulatedBoard& board = attach();
    Host host(drv);
    ASSERT_TRUE(host.writeRegister(0x00, 0x1, 32));
    drv.clearTrace();
    ASSERT_TRUE(host.writeRegister(0x02, 0x1F3F4001, 32));
    const QList<QByteArray> packets = drv.transfers(0, 3);
    ASSERT_EQ(packets.size(), 1);
    const QByteArray& words = packets.front();
    ASSERT_EQ(words.size(), 2 * 40);
    const int instruction[8] = {0, 1, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(words[2 * i], instruction[i]) << i;
        EXPECT_EQ(words[2 * i + 1], 0);
    }
    EXPECT_EQ(words[2 * 8], 1) << "value bit 0 follows the instruction";
    EXPECT_EQ(board.chip()->bufferRegister(0x02), 0x1F3F4001u);
    expectClean();
}

TEST_F(ChipSerial, PacketSizesFollowTheUsbSpeed)
{
    for (bool highSpeed : {false, true}) {
        attach(ChipRevision::Rev3, highSpeed);
        Host host(drv);
        drv.clearTrace();
        ASSERT_TRUE(host.writeRegister(0x0B, 0x0123456789ABCDEFULL, 64));
        QList<qsizetype> sizes;
        for (const QByteArray& p : drv.transfers(0, 3)) {
            sizes << p.size();
        }
        const QList<qsizetype> expectedWrites =
            highSpeed ? QList<qsizetype>{144} : QList<qsizetype>{64, 64, 16};
        EXPECT_EQ(sizes, expectedWrites);
        drv.clearTrace();
        ASSERT_EQ(host.readRegister(0x0B, 64), 0x0123456789ABCDEFULL);
        QList<qsizetype> reads;
        for (const QByteArray& p : drv.transfers(0, 5)) {
            reads << p.size();
        }
        const QList<qsizetype> expectedReads = highSpeed ? QList<qsizetype>{128} : QList<qsizetype>{64, 64};
        EXPECT_EQ(reads, expectedReads);
    }
    expectClean();
}

TEST_F(ChipSerial, ReadBackDrivesOnlyTheSelectedLine)
{
    EmulatedBoard& board = attach();
    Host host(drv);
    ASSERT_TRUE(host.writeRegister(0x08, 0xA000, 16)); // first bits 1, 0, 1, 0
    for (uint64_t cfr1 : {0x0ULL, 0x2ULL}) {
        ASSERT_TRUE(host.writeRegister(0x00, cfr1, 32));
        const auto raw = host.readRaw(0x08, 16);
        ASSERT_TRUE(raw);
        const int data = cfr1 == 0x2 ? 0x02 : 0x01;
        const int other = data ^ 0x03;
        const int expected[4] = {data, other, data, other}; // the other line reads the inverse
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(raw->at(2 * i) & 0x03, expected[i]) << "cfr1 " << cfr1 << " bit " << i;
            EXPECT_EQ(raw->at(2 * i + 1), 0);
        }
    }
    // With pull-ups both undriven lines read 1, with pull-downs 0.
    board.chip()->setUndrivenLine(UndrivenLine::PullDown);
    EXPECT_EQ(host.ask1({9}), 0x00);
    board.chip()->setUndrivenLine(UndrivenLine::PullUp);
    EXPECT_EQ(host.ask1({9}), 0x03);
    expectClean();
}

TEST_F(ChipSerial, WritesReachActiveRegistersOnlyThroughIoUpdate)
{
    EmulatedBoard& board = attach();
    EmulatedChip& chip = *board.chip();
    Host host(drv);
    ASSERT_TRUE(host.writeRegister(0x07, 0x12345678, 32));
    EXPECT_EQ(chip.activeRegister(0x07), 0u);
    // A pulse while the board does not drive the pin is ignored.
    host.sendPortE(0x00);
    host.ioUpdate();
    EXPECT_EQ(chip.activeRegister(0x07), 0u);
    EXPECT_EQ(chip.ioUpdateCount(), 0);
    host.sendPortE(0x80);
    host.ioUpdate();
    EXPECT_EQ(chip.activeRegister(0x07), 0x12345678u);
    EXPECT_EQ(chip.ioUpdateCount(), 1);
    // Holding the pin high is one update, not one per port write.
    host.sendPortE(0x90);
    host.sendPortE(0x91);
    EXPECT_EQ(chip.ioUpdateCount(), 2);
    expectClean();
}

TEST_F(ChipSerial, InternalIoUpdateOfCfr2AppliesEachCompletedWrite)
{
    EmulatedBoard& board = attach();
    EmulatedChip& chip = *board.chip();
    Host host(drv);
    const uint64_t cfr2Internal = 0x00400820 | (1u << 23);
    ASSERT_TRUE(host.writeRegister(0x01, cfr2Internal, 32));
    EXPECT_EQ(chip.activeRegister(0x01), cfr2Internal) << "takes effect at the end of its own write";
    ASSERT_TRUE(host.writeRegister(0x07, 0xCAFE, 32));
    EXPECT_EQ(chip.activeRegister(0x07), 0xCAFEu);
    ASSERT_TRUE(host.writeRegister(0x01, 0x00400820, 32));
    EXPECT_EQ(chip.activeRegister(0x01), 0x00400820u) << "switching it off is applied too";
    ASSERT_TRUE(host.writeRegister(0x07, 0xBEEF, 32));
    EXPECT_EQ(chip.activeRegister(0x07), 0xCAFEu);
    expectClean();
}

TEST_F(ChipSerial, MasterResetRestoresTheRevisionDefaultsAndSerialMode)
{
    for (ChipRevision revision : {ChipRevision::Rev2, ChipRevision::Rev3}) {
        EmulatedBoard& board = attach(revision);
        EmulatedChip& chip = *board.chip();
        Host host(drv);
        ASSERT_TRUE(host.writeRegister(0x00, 0x3, 32));
        ASSERT_TRUE(host.writeRegister(0x03, 0x1234, 32));
        chip.setRamWord(5, 0xDEADBEEF);
        host.ioUpdate();
        host.resetPulse();
        host.lsbFirst = false;
        host.threeWire = false;
        EXPECT_FALSE(chip.lsbFirst());
        EXPECT_FALSE(chip.threeWire());
        EXPECT_EQ(chip.ramWord(5), 0xDEADBEEFu) << "the RAM keeps its contents";
        const bool rev3 = revision == ChipRevision::Rev3;
        EXPECT_EQ(host.readRegister(0x03, 32), rev3 ? 0x7F7Fu : 0xFFu);
        EXPECT_EQ(chip.activeRegister(0x03), rev3 ? 0x7F7Fu : 0xFFu);
        EXPECT_EQ(host.readRegister(0x01, 32), 0x00400820u);
        EXPECT_EQ(host.readRegister(0x02, 32), 0x1F3F4000u);
        EXPECT_EQ(host.readRegister(0x04, 32), 0xFFFFFFFFu);
        EXPECT_EQ(host.readRegister(0x0E, 64), 0x08B5000000000000ULL);
        EXPECT_EQ(host.readRegister(0x1A, 8), rev3 ? 0x01u : 0x00u);
        if (rev3) {
            EXPECT_EQ(host.readRegister(0x17, 8), 0xE0u);
        }
        expectClean();
    }
}

TEST_F(ChipSerial, LayoutsPerRevision)
{
    struct Case {
        int address;
        int oldWidth;
        int newWidth;
    } cases[] = {{0x00, 32, 32}, {0x05, 48, 48}, {0x08, 16, 16}, {0x0B, 64, 64}, {0x15, 64, 64},
                 {0x16, 32, 32}, {0x17, 40, 8},  {0x18, 8, 16},  {0x19, 8, 16},  {0x1A, 8, 8},
                 {0x1B, 8, 16},  {0x1C, 8, 8},   {0x1F, 8, 40}};
    for (const Case& c : cases) {
        EXPECT_EQ(EmulatedChip::registerWidth(ChipRevision::Rev1, c.address), c.oldWidth) << c.address;
        EXPECT_EQ(EmulatedChip::registerWidth(ChipRevision::Rev2, c.address), c.oldWidth) << c.address;
        EXPECT_EQ(EmulatedChip::registerWidth(ChipRevision::Rev3, c.address), c.newWidth) << c.address;
    }
    EXPECT_EQ(EmulatedChip::registerDefault(ChipRevision::Rev2, 0x17), 0x100u);
    EXPECT_EQ(EmulatedChip::registerDefault(ChipRevision::Rev3, 0x1F), 0x100u);
    EXPECT_EQ(EmulatedChip::registerDefault(ChipRevision::Rev3, 0x17), 0xE0u);
}

TEST_F(ChipSerial, RevisionThreeChipAnswersTheIdentificationPattern)
{
    EmulatedBoard& board = attach(ChipRevision::Rev3);
    Host host(drv);
    EXPECT_EQ(host.readRegister(0x1F, 40), kIdPattern);
    // Writes to the identification register are ignored.
    ASSERT_TRUE(host.writeRegister(0x1F, 0, 40));
    EXPECT_EQ(host.readRegister(0x1F, 40), kIdPattern);
    EXPECT_EQ(board.chip()->completedReads(), 2);
    expectClean();
}

TEST_F(ChipSerial, RevisionTwoChipIsFoundOnlyAtTheSecondRead)
{
    EmulatedBoard& board = attach(ChipRevision::Rev2);
    Host host(drv);
    const auto first = host.readRegister(0x1F, 40);
    ASSERT_TRUE(first);
    EXPECT_NE(*first, kIdPattern) << "an 8-bit register plus 32 extra clocks";
    ASSERT_EQ(drv.violations().size(), 1u);
    EXPECT_EQ(drv.violations().front().kind, ViolationKind::ExtraClocks);
    drv.clearViolations();
    host.ioResetPulse();
    EXPECT_EQ(board.chip()->phase(), SerialPhase::Instruction);
    EXPECT_EQ(host.readRegister(0x17, 40), kIdPattern);
    expectClean();
}

TEST_F(ChipSerial, NoChipOrChipHeldInResetAnswersNoPattern)
{
    attach(ChipRevision::None);
    Host host(drv);
    EXPECT_EQ(host.readRegister(0x1F, 40), 0xFFFFFFFFFFULL) << "pull-ups";
    EXPECT_EQ(host.readRegister(0x17, 40), 0xFFFFFFFFFFULL);

    EmulatedBoard& board = attach(ChipRevision::Rev3);
    board.chip()->setHeldInReset(true);
    EXPECT_NE(host.readRegister(0x1F, 40), kIdPattern);
    board.chip()->setHeldInReset(false);
    EXPECT_EQ(host.readRegister(0x1F, 40), kIdPattern);
    expectClean();
}

TEST_F(ChipSerial, RevisionThreeChipUnderTheOldLayoutIsMissedThenFound)
{
    attach(ChipRevision::Rev3);
    Host host(drv);
    EXPECT_EQ(host.readRegister(0x1F, 8), 0u) << "the top 8 bits of the pattern";
    host.ioResetPulse();
    EXPECT_NE(host.readRegister(0x17, 40), kIdPattern) << "WDT register plus extra clocks";
    host.ioResetPulse();
    drv.clearViolations();
    EXPECT_EQ(host.readRegister(0x1F, 40), kIdPattern) << "detection in the revision 3 layout";
    expectClean();
}

TEST_F(ChipSerial, ProfileReadsAnswerThePinSelectedProfile)
{
    EmulatedBoard& board = attach();
    Host host(drv);
    for (int p = 0; p < 8; ++p) {
        ASSERT_TRUE(host.writeRegister(0x0E + p, 0x1111111111111111ULL * static_cast<uint64_t>(p + 1), 64));
    }
    EXPECT_EQ(board.chip()->bufferRegister(0x13), 0x6666666666666666ULL) << "writes go to their address";
    host.sendPortE(0x80 | 5);
    EXPECT_EQ(host.readRegister(0x0F, 64), 0x6666666666666666ULL) << "pins at 5 answer profile 5";
    host.sendPortE(0x80 | 1);
    EXPECT_EQ(host.readRegister(0x0F, 64), 0x2222222222222222ULL);
    expectClean();
}

TEST_F(ChipSerial, LiveRegistersOfRevisionThree)
{
    EmulatedBoard& board = attach();
    Host host(drv);
    board.chip()->setLiveValue(0x19, 0xA55A);
    board.chip()->setLiveValue(0x1B, 0x0123);
    EXPECT_EQ(host.readRegister(0x19, 16), 0xA55Au);
    EXPECT_EQ(host.readRegister(0x1B, 16), 0x0123u);
    expectClean();
}

TEST_F(ChipSerial, ChipSelectHighSuspendsACycleUntilIoReset)
{
    EmulatedBoard& board = attach();
    EmulatedChip& chip = *board.chip();
    Host host(drv);
    const auto sendWords = [&](const usbtest::Bits& bits) {
        std::vector<uint8_t> words(bits.size() * 2, 0);
        for (size_t i = 0; i < bits.size(); ++i) {
            words[2 * i] = bits[i];
        }
        return host.transfer(3, words.data(), static_cast<uint32_t>(words.size()));
    };
    usbtest::Bits stream = usbtest::msbFirst(0x08, 8);
    const usbtest::Bits value = usbtest::msbFirst(0xBEEF, 16);
    stream.insert(stream.end(), value.begin(), value.begin() + 8);
    host.ask1({16, 0});
    host.sendPortA(0x00);
    sendWords(stream);
    host.sendPortA(0x02);
    EXPECT_EQ(chip.phase(), SerialPhase::WriteData);
    host.sendPortA(0x00);
    sendWords(usbtest::Bits(value.begin() + 8, value.end()));
    host.sendPortA(0x02);
    EXPECT_EQ(chip.bufferRegister(0x08), 0xBEEFu) << "the suspended cycle completes";

    // IO_RESET drops a half-done cycle: nothing is committed.
    host.sendPortA(0x00);
    sendWords(stream);
    host.sendPortA(0x02);
    host.ioResetPulse();
    EXPECT_EQ(chip.phase(), SerialPhase::Instruction);
    EXPECT_EQ(chip.bufferRegister(0x08), 0xBEEFu);

    // With the abort option chip select high ends the cycle at once.
    chip.setCsbHighAbortsCycle(true);
    host.sendPortA(0x00);
    sendWords(stream);
    host.sendPortA(0x02);
    EXPECT_EQ(chip.phase(), SerialPhase::Instruction);
    host.ask1({16, 1});
    expectClean();
}

TEST_F(ChipSerial, AutomaticChipSelectFramesEachPacket)
{
    EmulatedBoard& board = attach();
    Host host(drv);
    // One packet with instruction and data, sent without touching port A (as a single-transfer write).
    usbtest::Bits stream = usbtest::msbFirst(0x08, 8);
    const usbtest::Bits value = usbtest::msbFirst(0x1234, 16);
    stream.insert(stream.end(), value.begin(), value.end());
    std::vector<uint8_t> words(stream.size() * 2, 0);
    for (size_t i = 0; i < stream.size(); ++i) {
        words[2 * i] = stream[i];
    }
    ASSERT_TRUE(board.autoCsb());
    ASSERT_TRUE(host.transfer(3, words.data(), static_cast<uint32_t>(words.size())));
    EXPECT_EQ(board.chip()->bufferRegister(0x08), 0x1234u);
    EXPECT_FALSE(board.chip()->selected()) << "chip select is high again between packets";
    expectClean();
}

TEST_F(ChipSerial, ProtocolViolationsOfTheSerialPath)
{
    EmulatedBoard& board = attach();
    Host host(drv);
    uint8_t words[16] = {};
    struct Case {
        const char* what;
        std::function<void()> act;
        ViolationKind kind;
    } cases[] = {
        {"data with chip select high and no FIFO write",
         [&] {
             host.ask1({16, 0});
             host.transfer(3, words, 16);
             host.ask1({16, 1});
         },
         ViolationKind::NoTarget},
        {"read-back with chip select high",
         [&] {
             host.ask1({16, 0});
             host.send({7, 0, 8});
             host.send({4, 1});
             host.send({4, 0});
             host.read(5, 16);
             host.ask1({16, 1});
         },
         ViolationKind::ReadBackDeselected},
        {"pipe-5 read of another length",
         [&] {
             host.send({7, 0, 8});
             host.send({4, 1});
             host.read(5, 8);
         },
         ViolationKind::ReadBackMismatch},
        {"characters instead of bit values",
         [&] {
             uint8_t ascii[2] = {'1', 0};
             host.transfer(3, ascii, 2);
         },
         ViolationKind::SerialWordValue},
        {"odd byte count", [&] { host.transfer(3, words, 3); }, ViolationKind::SerialWordValue},
        {"read-back clocked twice before pipe 5 read it",
         [&] {
             host.send({7, 0, 8});
             host.send({4, 1});
             host.send({4, 1});
             host.read(5, 16);
         },
         ViolationKind::ReadBackUncollected},
        {"data on an unused pipe", [&] { host.transfer(2, words, 2); }, ViolationKind::UnusedPipe},
        {"data and FIFO write at once",
         [&] {
             host.sendPortC(0x01);
             host.transfer(3, words, 4);
             host.sendPortC(0x03);
         },
         ViolationKind::BothTargets},
    };
    for (const Case& c : cases) {
        drv.clearViolations();
        c.act();
        const auto& log = drv.violations();
        EXPECT_TRUE(std::any_of(log.begin(), log.end(), [&](const Violation& v) { return v.kind == c.kind; }))
            << c.what;
        host.ioResetPulse();
    }
    // Writing while the chip shifts out read data.
    drv.clearViolations();
    host.ask1({16, 0});
    host.sendPortA(0x00);
    uint8_t instruction[16] = {1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}; // 0x88: read of 0x08
    host.transfer(3, instruction, 16);
    host.transfer(3, words, 4);
    host.sendPortA(0x02);
    host.ask1({16, 1});
    ASSERT_FALSE(drv.violations().empty());
    EXPECT_EQ(drv.violations().front().kind, ViolationKind::WriteDuringRead);
    EXPECT_EQ(board.chip()->phase(), SerialPhase::ReadData);
}

} // namespace
