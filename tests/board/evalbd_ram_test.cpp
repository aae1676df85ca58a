// Whole-RAM load and dump through register 0x16: word order, packets, events, refusals and failures.

#include "evalbd_fixture.h"

#include <random>

using namespace evalbdtest;
using Kind = EvalBdEventRecord::Kind;

namespace {

const QString kFullRange = QStringLiteral("000000000000000011111111110000000000000000000000");

class Ram : public EvalBdTest {
protected:
    void SetUp() override { plug(); }

    // The segment register chosen by ISFC set to the whole RAM and made active, as the RAM file routines do.
    void selectWholeRam()
    {
        bd->setISFC(1);
        bd->USBWritePortBuffVal(kPortA);
        ASSERT_EQ(bd->USBSerialLoadPKT(0x05, kFullRange), 0);
        bd->StrobeREGUD();
        clearRecords();
    }

    QStringList randomImage(uint32_t seed)
    {
        std::mt19937 random(seed);
        QStringList words;
        for (int k = 0; k < 1024; ++k)
            words.append(bits(random(), 32));
        return words;
    }
};

TEST_F(Ram, WholeRamLoadAndDumpRoundTripInEveryMode)
{
    for (const bool highSpeed : {true, false}) {
        for (const bool lsbFirst : {false, true}) {
            for (const bool threeWire : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << "hs " << highSpeed << " lsb " << lsbFirst << " 3-wire " << threeWire);
                board().setHighSpeed(highSpeed);
                setSerialMode(lsbFirst, threeWire);
                selectWholeRam();
                const QStringList image = randomImage(highSpeed * 4 + lsbFirst * 2 + threeWire);

                ASSERT_TRUE(bd->USBSerialLoadRAM(image));
                for (int a = 0; a < 1024; ++a)
                    ASSERT_EQ(chip().ramWord(a), valueOf(image[a])) << "address " << a;
                const int wpp = highSpeed ? 8 : 1;
                EXPECT_EQ(dataPackets().size(), 1 + 1024 / wpp);
                EXPECT_EQ(dataPackets()[1].size(), wpp * 64);
                ASSERT_EQ(events.front().kind, Kind::RAMCOMBegin);
                EXPECT_EQ(events.front().first, 1024);
                EXPECT_EQ(events.front().second, wpp);
                EXPECT_FALSE(events.front().flag);
                const std::vector<int32_t> done = eventValues(Kind::RAMPacketXfered);
                ASSERT_EQ(done.size(), 1024u / wpp);
                for (size_t k = 0; k < done.size(); ++k)
                    ASSERT_EQ(done[k], static_cast<int32_t>(k) * wpp);
                EXPECT_EQ(events.back().kind, Kind::RAMCOMFinished);
                EXPECT_TRUE(events.back().flag);
                expectCleanProtocol();

                clearRecords();
                QStringList dump(1024, QStringLiteral("old"));
                ASSERT_TRUE(bd->USBSerialReadRAM(dump));
                EXPECT_EQ(dump, image);
                EXPECT_EQ(events.front().kind, Kind::RAMCOMBegin);
                EXPECT_TRUE(events.front().flag);
                EXPECT_EQ(eventValues(Kind::RAMPacketXfered).size(), 1024u / wpp);
                EXPECT_TRUE(events.back().flag);
                EXPECT_EQ(readBacks().size(), 1024 / wpp);
                expectCleanProtocol();
            }
        }
    }
}

TEST_F(Ram, MostSignificantFirstSendsTheLastElementFirst)
{
    board().setHighSpeed(false);
    selectWholeRam();
    QStringList image(1024, bits(0, 32));
    image[1023] = bits(0x80000001U, 32);
    image[0] = bits(0x00000003U, 32);
    ASSERT_TRUE(bd->USBSerialLoadRAM(image));
    const QList<QByteArray> packets = dataPackets();
    EXPECT_EQ(wireBits(packets[0]), QStringLiteral("00010110"));
    EXPECT_EQ(wireBits(packets[1]), bits(0x80000001U, 32));
    EXPECT_EQ(wireBits(packets.back()), bits(0x00000003U, 32));
    const QList<QByteArray> expected = {bytes({22}), bytes({16, 0}), bytes({1, 0x20}), bytes({16, 1}),
                                        bytes({1, 0x22})};
    EXPECT_EQ(commands(), expected);
}

TEST_F(Ram, LeastSignificantFirstSendsElementZeroFirstReversed)
{
    board().setHighSpeed(false);
    setSerialMode(true, false);
    selectWholeRam();
    QStringList image(1024, bits(0, 32));
    image[0] = bits(0x80000003U, 32);
    ASSERT_TRUE(bd->USBSerialLoadRAM(image));
    EXPECT_EQ(wireBits(dataPackets()[0]), QStringLiteral("01101000"));
    EXPECT_EQ(wireBits(dataPackets()[1]), reversed(bits(0x80000003U, 32)));
    EXPECT_EQ(chip().ramWord(0), 0x80000003U);
}

TEST_F(Ram, BadWordsAreRefusedBeforeAnyTraffic)
{
    selectWholeRam();
    chip().fillRam(0xA5A5A5A5U);
    const QString bad[] = {bits(0, 31), bits(0, 33), QString(), QString(32, QLatin1Char('x')),
                           QStringLiteral("0000000000000000000000000000002")};
    for (const QString& word : bad) {
        QStringList image(1024, bits(0, 32));
        image[517] = word;
        EXPECT_FALSE(bd->USBSerialLoadRAM(image)) << word.toStdString();
    }
    EXPECT_FALSE(bd->USBSerialLoadRAM(QStringList()));
    QStringList none;
    EXPECT_FALSE(bd->USBSerialReadRAM(none));
    EXPECT_EQ(bulkCount(), 0);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(chip().ramWord(0), 0xA5A5A5A5U);
}

TEST_F(Ram, FailedPacketEndsTheTransfer)
{
    board().setHighSpeed(false);
    selectWholeRam();
    drv.failTransfer(0, 3, 6);
    EXPECT_FALSE(bd->USBSerialLoadRAM(QStringList(1024, bits(7, 32))));
    EXPECT_EQ(eventValues(Kind::RAMPacketXfered), (std::vector<int32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(events.back().kind, Kind::RAMCOMFinished);
    EXPECT_FALSE(events.back().flag);
    EXPECT_EQ(commands().back(), bytes({1, 0x22})) << "chip select back high";
}

TEST_F(Ram, FailedReadKeepsTheWordsItDidNotReach)
{
    board().setHighSpeed(true);
    selectWholeRam();
    chip().fillRam(0x0000FFFFU);
    drv.failTransfer(0, 5, 3);
    QStringList dump(1024, QStringLiteral("old"));
    EXPECT_FALSE(bd->USBSerialReadRAM(dump));
    EXPECT_FALSE(events.back().flag);
    // Two blocks of eight words arrived: most significant first, they are the highest elements.
    EXPECT_EQ(dump.count(bits(0x0000FFFFU, 32)), 16);
    EXPECT_EQ(dump[1023], bits(0x0000FFFFU, 32));
    EXPECT_EQ(dump[1008], bits(0x0000FFFFU, 32));
    EXPECT_EQ(dump[1007], QStringLiteral("old"));
}

TEST_F(Ram, DisabledObjectMovesNothing)
{
    bd->setEnabled(false);
    QStringList image(4, bits(0, 32));
    EXPECT_FALSE(bd->USBSerialLoadRAM(image));
    EXPECT_FALSE(bd->USBSerialReadRAM(image));
    EXPECT_EQ(bulkCount(), 0);
}

} // namespace
