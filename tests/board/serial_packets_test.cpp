// The serial packet builder and loops: instruction bytes, wire words of instructions, bit strings and RAM
// words in both bit orders, read-back decoding in 2- and 3-wire mode, and the packet loops each way over
// the emulated board (packet sizes, the per-packet hook, the stop at a failed packet).

#include "evalbd_fixture.h"

#include "board/board_firmware.h"
#include "board/serial_packets.h"

#include <random>
#include <vector>

using namespace evalbdtest;
using namespace serialwire;

namespace {

// Wire words as the bit string they carry, checking every second byte is 0.
QString wireOf(const std::vector<uint8_t>& wire)
{
    return wireBits(
        QByteArray(reinterpret_cast<const char*>(wire.data()), static_cast<qsizetype>(wire.size())));
}

TEST(SerialPacketBuilder, InstructionBytes)
{
    struct Case {
        bool read;
        int16_t addr;
        int16_t count;
        uint8_t byte;
    };
    const Case cases[] = {
        {false, 0x00, 1, 0x00}, {false, 0x01, 1, 0x01}, {true, 0x16, 1, 0x96}, {false, 0x16, 1, 0x16},
        {true, 0x1F, 1, 0x9F},  {false, 0x1F, 0, 0x7F}, {true, 0x02, 4, 0xE2}, {false, 0x05, 2, 0x25},
        {true, 0x0E, 3, 0xCE},  {false, 0x3F, 1, 0x1F}, // an address wider than five bits keeps its low five
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.read << " " << c.addr << " " << c.count);
        EXPECT_EQ(instructionByte(c.read, c.addr, c.count), c.byte);
    }
}

TEST(SerialPacketBuilder, InstructionWordsInBothBitOrders)
{
    struct Case {
        uint8_t instruction;
        bool lsbFirst;
        const char* wire;
    };
    const Case cases[] = {
        {0x96, false, "10010110"}, {0x96, true, "01101001"},  {0x02, false, "00000010"},
        {0x02, true, "01000000"},  {0x80, false, "10000000"}, {0x80, true, "00000001"},
        {0xFF, true, "11111111"},  {0x00, false, "00000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.instruction) << (c.lsbFirst ? " lsb" : " msb"));
        std::vector<uint8_t> wire(kInstructionBits * kWireWordBytes, 0xEE);
        putInstruction(wire.data(), c.instruction, c.lsbFirst);
        EXPECT_EQ(wireOf(wire), QLatin1StringView(c.wire));
    }
}

TEST(SerialPacketBuilder, BitStringsAndBitValuesAsWireWords)
{
    struct Case {
        const char* bits;
        bool reverse;
        const char* wire;
    };
    const Case cases[] = {
        {"1", false, "1"},
        {"10", true, "01"},
        {"1101", false, "1101"},
        {"1101", true, "1011"},
        {"0000000011000000000000000000000100000000", true, "0000000010000000000000000000001100000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        const QString text = QLatin1StringView(c.bits);
        std::vector<uint8_t> wire(static_cast<size_t>(text.size()) * kWireWordBytes, 0xEE);
        putBits(wire.data(), text, c.reverse);
        EXPECT_EQ(wireOf(wire), QLatin1StringView(c.wire));

        std::vector<uint8_t> values;
        for (QChar ch : QLatin1StringView(c.wire))
            values.push_back(ch == QLatin1Char('1') ? 1 : 0);
        std::vector<uint8_t> fromValues(values.size() * kWireWordBytes, 0xEE);
        putBitValues(fromValues.data(), values);
        EXPECT_EQ(fromValues, wire) << "one bit value per element gives the same words";
    }
}

TEST(SerialPacketBuilder, RamWordsMostOrLeastSignificantBitFirst)
{
    for (uint32_t word : {0x00000000U, 0xFFFFFFFFU, 0x80000001U, 0x12345678U, 0xDEADBEEFU, 0x00000100U}) {
        for (bool reverse : {false, true}) {
            SCOPED_TRACE(testing::Message() << std::hex << word << (reverse ? " lsb" : " msb"));
            std::vector<uint8_t> wire(kRamWordBits * kWireWordBytes, 0xEE);
            putWord(wire.data(), word, reverse);
            const QString msb = bits(word, kRamWordBits);
            EXPECT_EQ(wireOf(wire), reverse ? reversed(msb) : msb);
        }
    }
}

TEST(SerialPacketBuilder, OnlyExactBitStringsAreSent)
{
    struct Case {
        const char* text;
        int width;
        bool accepted;
    };
    const Case cases[] = {
        {"0101", 4, true},  {"010", 4, false}, {"01010", 4, false}, {"01a1", 4, false},
        {"0 01", 4, false}, {"", 0, true},     {"", 8, false},      {"11111111", 8, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isBitString(QLatin1StringView(c.text), c.width), c.accepted) << c.text << " / " << c.width;
}

// Read-back words carry SDIO in bit 0 and SDO in bit 1; the serial mode decides which one is the data.
TEST(SerialPacketBuilder, ReadBackTakesTheLineOfTheSerialMode)
{
    const std::vector<uint8_t> sampled = {0x00, 0x01, 0x02, 0x03, 0xFD, 0xFE};
    struct Case {
        bool threeWire;
        const char* bits;
    };
    for (const Case& c : {Case{false, "010110"}, Case{true, "001101"}}) {
        SCOPED_TRACE(c.threeWire ? "3-wire" : "2-wire");
        QString out(static_cast<qsizetype>(sampled.size()), QLatin1Char('?'));
        takeBits(sampled, readBackMask(c.threeWire), out.data());
        EXPECT_EQ(out, QLatin1StringView(c.bits));
    }
}

TEST(SerialPacketBuilder, RamWordsComeBackFromTheirSamples)
{
    std::mt19937 random(4470);
    for (uint32_t word : {0x00000000U, 0xFFFFFFFFU, 0x80000000U, 0x00000001U, 0x12345678U}) {
        for (bool lsbFirst : {false, true}) {
            for (bool threeWire : {false, true}) {
                SCOPED_TRACE(testing::Message() << std::hex << word << (lsbFirst ? " lsb" : " msb")
                                                << (threeWire ? " 3-wire" : " 2-wire"));
                // The chip sends the word in the order it was written; the other line carries noise.
                std::vector<uint8_t> wire(kRamWordBits * kWireWordBytes);
                putWord(wire.data(), word, lsbFirst);
                const int shift = threeWire ? 1 : 0;
                std::vector<uint8_t> sampled(kRamWordBits);
                for (int k = 0; k < kRamWordBits; ++k) {
                    const auto noise = static_cast<uint8_t>(random() & (threeWire ? 0x01 : 0x02));
                    sampled[k] = static_cast<uint8_t>((wire[kWireWordBytes * k] << shift) | noise);
                }
                EXPECT_EQ(takeWord(sampled.data(), readBackMask(threeWire), lsbFirst), word);
            }
        }
    }
}

class SerialPacketLoop : public EvalBdTest {
protected:
    void SetUp() override { plug(); }
    BoardFirmware firmware;

    static std::vector<int> sizesOf(const QList<QByteArray>& packets)
    {
        std::vector<int> sizes;
        for (const QByteArray& p : packets)
            sizes.push_back(static_cast<int>(p.size()));
        return sizes;
    }
};

struct LoopCase {
    int words;
    int packetWords;
    std::vector<int> packetBytes;
    std::vector<int> hookValues;
};

const LoopCase kLoopCases[] = {
    {72, 256, {144}, {0}},                          // a 64-bit register at high speed
    {72, 32, {64, 64, 16}, {0, 32, 64}},            // the same at full speed
    {8, 8, {16}, {0}},                              // an instruction alone
    {64, 32, {64, 64}, {0, 32}},                    // two whole RAM words at full speed
    {32 * 20, 256, {512, 512, 256}, {0, 256, 512}}, // 20 RAM words at high speed, 8 per packet
    {0, 32, {}, {}},                                // nothing to move
};

TEST_F(SerialPacketLoop, SendsSlicesOfTheWireInPackets)
{
    for (const LoopCase& c : kLoopCases) {
        SCOPED_TRACE(testing::Message() << c.words << " words, " << c.packetWords << " per packet");
        clearRecords();
        std::vector<uint8_t> wire(static_cast<size_t>(c.words) * kWireWordBytes);
        for (size_t k = 0; k < wire.size(); k += kWireWordBytes)
            wire[k] = static_cast<uint8_t>((k / kWireWordBytes) % 3 == 0 ? 1 : 0);
        std::vector<int> hooks;
        EXPECT_TRUE(sendPackets(firmware, wire, c.packetWords, [&](int done) { hooks.push_back(done); }));
        EXPECT_EQ(sizesOf(dataPackets()), c.packetBytes);
        EXPECT_EQ(hooks, c.hookValues);
        QByteArray sent;
        for (const QByteArray& p : dataPackets())
            sent += p;
        EXPECT_EQ(sent,
                  QByteArray(reinterpret_cast<const char*>(wire.data()), static_cast<qsizetype>(wire.size())))
            << "every byte once, in order";
        EXPECT_TRUE(commands().isEmpty()) << "the loop sends no commands of its own";
    }
}

TEST_F(SerialPacketLoop, ReadsBackInPacketsWithTheFirmwareRequestBeforeEach)
{
    for (const LoopCase& c : kLoopCases) {
        SCOPED_TRACE(testing::Message() << c.words << " words, " << c.packetWords << " per packet");
        clearRecords();
        std::vector<int> hooks;
        std::vector<int> firsts;
        int samples = 0;
        EXPECT_TRUE(receivePackets(
            firmware, c.words, c.packetWords, [&](int done) { hooks.push_back(done); },
            [&](std::span<const uint8_t> sampled, int first) {
                firsts.push_back(first);
                samples += static_cast<int>(sampled.size());
            }));
        EXPECT_EQ(sizesOf(readBacks()), c.packetBytes);
        EXPECT_EQ(hooks, c.hookValues);
        EXPECT_EQ(firsts, c.hookValues);
        EXPECT_EQ(samples, c.words);
        QList<QByteArray> expected;
        for (int bytesAsked : c.packetBytes) {
            const int n = bytesAsked / kWireWordBytes;
            expected += {bytes({7, n / 256, n % 256}), bytes({4, 1}), bytes({4, 0})};
        }
        EXPECT_EQ(commands(), expected);
    }
}

TEST_F(SerialPacketLoop, AFailedPacketEndsEitherLoop)
{
    std::vector<uint8_t> wire(72 * kWireWordBytes);
    int hooks = 0;
    drv.failTransfer(0, 3, 2);
    EXPECT_FALSE(sendPackets(firmware, wire, 32, [&](int) { ++hooks; }));
    EXPECT_EQ(hooks, 2) << "nothing after the failed second packet";

    clearRecords();
    hooks = 0;
    int delivered = 0;
    drv.failTransfer(0, 5, 2);
    EXPECT_FALSE(receivePackets(
        firmware, 72, 32, [&](int) { ++hooks; }, [&](std::span<const uint8_t>, int) { ++delivered; }));
    EXPECT_EQ(hooks, 2);
    EXPECT_EQ(delivered, 1) << "the failed packet's samples are not handed on";
}

} // namespace
