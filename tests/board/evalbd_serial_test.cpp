// Register writes and reads through the serial-bit packets: exact traffic, every width, both bit orders,
// 2- and 3-wire read-back, both USB speeds, the profile read, refusals and failures.

#include "evalbd_fixture.h"

#include "platform/ui/test_doubles.h"
#include "platform/ui/virtual_clock.h"
#include "platform/usb/emulated_board.h"

#include <random>

using namespace evalbdtest;

namespace {

class Serial : public EvalBdTest {
protected:
    void SetUp() override { plug(); }
    std::mt19937_64 random{4470};
};

// One register of each width in the revision 3 layout.
const int16_t kRegistersByWidth[] = {0x17 /*8*/,  0x08 /*16*/, 0x07 /*32*/,
                                     0x1F /*40*/, 0x05 /*48*/, 0x0B /*64*/};

QString instructionBits(bool read, int addr, bool lsbFirst)
{
    const QString msb = bits((read ? 0x80 : 0) | addr, 8);
    return lsbFirst ? reversed(msb) : msb;
}

TEST_F(Serial, BuildInstruct)
{
    EXPECT_EQ(bd->BuildInstruct(true, 0x16, 1), QStringLiteral("10010110"));
    EXPECT_EQ(bd->BuildInstruct(false, 0x01, 1), QStringLiteral("00000001"));
    EXPECT_EQ(bd->BuildInstruct(false, 0x1F, 0), QStringLiteral("01111111"));
    EXPECT_EQ(bd->BuildInstruct(true, 0x02, 4), QStringLiteral("11100010"));
}

TEST_F(Serial, WriteSendsTheExactCommandSequence)
{
    ASSERT_EQ(bd->USBSerialLoadPKT(0x08, QStringLiteral("1010000000000101")), 0);
    const QList<QByteArray> expected = {bytes({22}), bytes({16, 0}), bytes({1, 0x00}), bytes({16, 1}),
                                        bytes({1, 0x02})};
    EXPECT_EQ(commands(), expected);
    ASSERT_EQ(dataPackets().size(), 1);
    EXPECT_EQ(wireBits(dataPackets()[0]), QStringLiteral("00001000") + "1010000000000101");
    EXPECT_EQ(chip().bufferRegister(0x08), 0xA005u);
    EXPECT_EQ(bd->GetRegMapValue(1, 0x08), QStringLiteral("1010000000000101"));
    expectCleanProtocol();
}

TEST_F(Serial, SerialClockIsBroughtLowFirstWhenItIsHigh)
{
    bd->setSCLK(1);
    ASSERT_EQ(bd->USBSerialLoadPKT(0x17, bits(0x5A, 8)), 0);
    EXPECT_EQ(commands().mid(2, 2), (QList<QByteArray>{bytes({5, 0x00}), bytes({1, 0x00})}));
    EXPECT_EQ(bd->SCLK(), 0);
    expectCleanProtocol();
}

TEST_F(Serial, WriteAndReadEveryWidthInEveryMode)
{
    for (const bool highSpeed : {true, false}) {
        for (const bool lsbFirst : {false, true}) {
            for (const bool threeWire : {false, true}) {
                board().setHighSpeed(highSpeed);
                setSerialMode(lsbFirst, threeWire);
                for (const int16_t addr : kRegistersByWidth) {
                    const int width = bd->GetRegLength(addr);
                    SCOPED_TRACE(testing::Message()
                                 << "hs " << highSpeed << " lsb " << lsbFirst << " 3-wire " << threeWire
                                 << " address " << addr << " width " << width);
                    const uint64_t value = random() & usb::EmulatedChip::widthMask(width);
                    const QString text = bits(value, width);
                    clearRecords();

                    ASSERT_EQ(bd->USBSerialLoadPKT(addr, text), 0);
                    const int packet = highSpeed ? 256 : 32;
                    const QString stream =
                        instructionBits(false, addr, lsbFirst) + (lsbFirst ? reversed(text) : text);
                    QString sent;
                    for (const QByteArray& p : dataPackets()) {
                        EXPECT_LE(p.size(), 2 * packet);
                        sent += wireBits(p);
                    }
                    EXPECT_EQ(sent, stream);
                    EXPECT_EQ(dataPackets().size(), (8 + width + packet - 1) / packet);
                    EXPECT_EQ(bd->GetRegMapValue(1, addr), text);
                    if (addr != 0x1F) { // the identification register is read only
                        EXPECT_EQ(chip().bufferRegister(addr), value);
                    }

                    const uint64_t answer = addr == 0x1F ? chip().readValue(addr) : value;
                    bd->SetRegMapValue(1, addr, QString());
                    const QString read = bd->USBSerialReadPKT(addr);
                    EXPECT_EQ(read, bits(answer, width));
                    EXPECT_EQ(bd->GetRegMapValue(1, addr), read);
                    QString instruction;
                    instruction = wireBits(dataPackets().back());
                    EXPECT_EQ(instruction, instructionBits(true, addr, lsbFirst));
                    EXPECT_EQ(readBacks().size(), (width + packet - 1) / packet);
                    expectCleanProtocol();
                }
            }
        }
    }
}

TEST_F(Serial, SixtyFourBitPacketsAtFullAndHighSpeed)
{
    const QString value = bits(0x0123456789ABCDEFULL, 64);
    board().setHighSpeed(false);
    ASSERT_EQ(bd->USBSerialLoadPKT(0x0C, value), 0);
    QList<int> sizes;
    for (const QByteArray& p : dataPackets())
        sizes.append(static_cast<int>(p.size()));
    EXPECT_EQ(sizes, (QList<int>{64, 64, 16}));
    clearRecords();
    board().setHighSpeed(true);
    ASSERT_EQ(bd->USBSerialLoadPKT(0x0C, value), 0);
    ASSERT_EQ(dataPackets().size(), 1);
    EXPECT_EQ(dataPackets()[0].size(), 144);
    expectCleanProtocol();
}

TEST_F(Serial, ReadBackCommandsPerChunk)
{
    board().setHighSpeed(false);
    chip().setBufferRegister(0x05, 0xFEDCBA987654ULL);
    ASSERT_EQ(bd->USBSerialReadPKT(0x05), bits(0xFEDCBA987654ULL, 48));
    const QList<QByteArray> expected = {bytes({22}),   bytes({16, 0}), bytes({1, 0x00}),  bytes({7, 0, 32}),
                                        bytes({4, 1}), bytes({4, 0}),  bytes({7, 0, 16}), bytes({4, 1}),
                                        bytes({4, 0}), bytes({16, 1}), bytes({1, 0x02})};
    EXPECT_EQ(commands(), expected);
    QList<int> sizes;
    for (const QByteArray& p : readBacks())
        sizes.append(static_cast<int>(p.size()));
    EXPECT_EQ(sizes, (QList<int>{64, 32}));
    expectCleanProtocol();
}

TEST_F(Serial, LsbFirstWriteOfAddressTwo)
{
    setSerialMode(true, false);
    clearRecords();
    const QString value = bits(0x1F3F4001, 32);
    ASSERT_EQ(bd->USBSerialLoadPKT(0x02, value), 0);
    EXPECT_EQ(wireBits(dataPackets()[0]), QStringLiteral("01000000") + reversed(value));
    EXPECT_EQ(chip().bufferRegister(0x02), 0x1F3F4001u);
}

TEST_F(Serial, InternalIoUpdateBitOfCFR2DrivesREGUD_EN)
{
    QString cfr2 = bits(0x00400820, 32);
    cfr2[8] = QLatin1Char('1'); // bit 23
    ASSERT_EQ(bd->REGUD_EN(), 1);
    ASSERT_EQ(bd->USBSerialLoadPKT(0x01, cfr2), 0);
    EXPECT_EQ(commands()[3], bytes({20, 0x00})) << "port E with REGUD_EN cleared before the data";
    EXPECT_EQ(bd->REGUD_EN(), 0);
    clearRecords();
    ASSERT_EQ(bd->USBSerialLoadPKT(0x01, cfr2), 0);
    EXPECT_EQ(commands().size(), 5) << "already cleared: port E is not sent again";
    cfr2[8] = QLatin1Char('0');
    clearRecords();
    ASSERT_EQ(bd->USBSerialLoadPKT(0x01, cfr2), 0);
    EXPECT_EQ(commands()[3], bytes({20, 0x80}));
    EXPECT_EQ(bd->REGUD_EN(), 1);
    expectCleanProtocol();
}

TEST_F(Serial, NoStoreLeavesTheWrittenMap)
{
    const QString before = bd->GetRegMapValue(1, 0x07);
    ASSERT_EQ(bd->USBSerialLoadPKT(0x07, bits(0xCAFE, 32), true), 0);
    EXPECT_EQ(bd->GetRegMapValue(1, 0x07), before);
    EXPECT_EQ(chip().bufferRegister(0x07), 0xCAFEu);
    EXPECT_EQ(bd->USBSerialReadPKT(0x07, true), bits(0xCAFE, 32));
    EXPECT_EQ(bd->GetRegMapValue(1, 0x07), before);
}

TEST_F(Serial, ValuesThatAreNotTheRegistersWidthOfBitsAreRefused)
{
    const QString before = bd->GetRegMapValue(1, 0x07);
    const QString refused[] = {QString(),
                               bits(0, 31),
                               bits(0, 33),
                               QString(32, QLatin1Char('2')),
                               QStringLiteral("0000000000000000000000000000000x"),
                               QString(32, QLatin1Char(' '))};
    for (const QString& value : refused) {
        EXPECT_EQ(bd->USBSerialLoadPKT(0x07, value), -1) << value.toStdString();
        EXPECT_EQ(bd->USBSerialLoad16(0x07, value), -1) << value.toStdString();
    }
    EXPECT_EQ(bd->USBSerialLoadPKT(32, bits(0, 8)), -1);
    EXPECT_EQ(bd->USBSerialReadPKT(-1), QString());
    EXPECT_EQ(bd->GetRegMapValue(1, 0x07), before);
    EXPECT_EQ(bulkCount(), 0);
    // The next transfer is not disturbed.
    ASSERT_EQ(bd->USBSerialLoadPKT(0x07, bits(0x1234, 32)), 0);
    EXPECT_EQ(bd->USBSerialReadPKT(0x07), bits(0x1234, 32));
    expectCleanProtocol();
}

TEST_F(Serial, DisabledObjectSendsNothing)
{
    bd->setEnabled(false);
    EXPECT_EQ(bd->USBSerialLoadPKT(0x07, bits(1, 32)), 0);
    EXPECT_EQ(bd->USBSerialReadPKT(0x07), QString());
    EXPECT_EQ(bd->USBWriteSerialPkt16(std::vector<uint8_t>{1, 0}), 0);
    EXPECT_EQ(bd->GetRegMapValue(1, 0x07), bits(0, 32));
    EXPECT_EQ(bulkCount(), 0);
}

TEST_F(Serial, FailedPacketStillClosesTheTransferAndStoresNothing)
{
    board().setHighSpeed(false);
    drv.failTransfer(0, 3, 2);
    EXPECT_EQ(bd->USBSerialLoadPKT(0x0B, bits(0xFF, 64)), -1);
    EXPECT_EQ(bd->GetRegMapValue(1, 0x0B), bits(0, 64));
    EXPECT_EQ(dataPackets().size(), 1) << "the loop ends at the failed packet";
    EXPECT_EQ(commands().back(), bytes({1, 0x02})) << "chip select back high";
    EXPECT_EQ(board().autoCsb(), true);
}

TEST_F(Serial, FailedOrShortReadBackIsAFailure)
{
    const QString before = bd->GetRegMapValue(1, 0x07);
    drv.failTransfer(0, 5);
    EXPECT_EQ(bd->USBSerialReadPKT(0x07), QString());
    drv.shortRead(0, 5, 1, 10);
    EXPECT_EQ(bd->USBSerialReadPKT(0x07), QString());
    EXPECT_EQ(bd->GetRegMapValue(1, 0x07), before);
    EXPECT_EQ(commands().back(), bytes({1, 0x02}));
}

TEST_F(Serial, UnplugInTheMiddleOfATransfer)
{
    board().setHighSpeed(false);
    int packets = 0;
    drv.setObserver([&](const usb::TraceEntry& e) {
        if (e.pipe == 3 && e.kind == usb::RequestKind::BulkWrite && ++packets == 1)
            drv.detach(0);
    });
    EXPECT_EQ(bd->USBSerialLoadPKT(0x0B, bits(0xFF, 64)), -1);
    drv.setObserver({});
    EXPECT_EQ(bd->GetRegMapValue(1, 0x0B), bits(0, 64));
    EXPECT_EQ(bd->USBSerialReadPKT(0x0B), QString());
    EXPECT_EQ(bd->USBSerialLoadPKT(0x0B, bits(0xFF, 64)), -1);
}

TEST_F(Serial, ReadSerialPacketLimits)
{
    std::vector<uint8_t> buffer(257);
    EXPECT_EQ(bd->USBReadSerialPKT16(buffer), -1);
    EXPECT_EQ(bulkCount(), 0);
    drv.failTransfer(0, 5);
    std::vector<uint8_t> small(8);
    EXPECT_EQ(bd->USBReadSerialPKT16(small), -2);
}

TEST_F(Serial, UnframedWriteStoresOnlyOnSuccess)
{
    // Automatic chip select frames the packet; the serial clock idles high.
    const QString value = bits(0x77, 8);
    drv.failTransfer(0, 3);
    EXPECT_EQ(bd->USBSerialLoad16(0x17, value), -1);
    EXPECT_EQ(bd->GetRegMapValue(1, 0x17), bits(0xE0, 8));
    EXPECT_EQ(bd->USBSerialLoad16(0x17, value), 0);
    EXPECT_EQ(bd->GetRegMapValue(1, 0x17), value);
    EXPECT_EQ(chip().bufferRegister(0x17), 0x77u);
    EXPECT_EQ(bd->SCLK(), 1);
    EXPECT_EQ(wireBits(dataPackets().back()), QStringLiteral("01110111") + value);
}

class ProfileRead : public Serial {
protected:
    void SetUp() override
    {
        Serial::SetUp();
        for (int p = 0; p < 8; ++p)
            chip().setBufferRegister(0x0E + p, 0x1111111111111111ULL * static_cast<uint64_t>(p + 1));
        bd->setSelectedProfile(5);
        clearRecords();
    }
};

TEST_F(ProfileRead, MovesThePinsWaitsAndRestoresThem)
{
    ui::VirtualClock& clock = ui::testing::clock();
    const int64_t start = clock.now();
    int pinsDuringRead = -1;
    drv.setObserver([&](const usb::TraceEntry& e) {
        if (e.pipe == 5)
            pinsDuringRead = chip().profilePins();
    });
    EXPECT_EQ(bd->USBSerialReadPKT(0x0F), bits(0x2222222222222222ULL, 64));
    drv.setObserver({});
    EXPECT_EQ(pinsDuringRead, 1);
    EXPECT_GE(clock.now() - start, 550);
    EXPECT_EQ(chip().profilePins(), 5);
    EXPECT_EQ(bd->SelectedProfile(), 5);
    EXPECT_EQ(commands().front(), bytes({22}));
    EXPECT_EQ(commands()[1], bytes({20, 0x81}));
    EXPECT_EQ(commands().back(), bytes({20, 0x85}));
    EXPECT_EQ(bd->GetRegMapValue(1, 0x0F), bits(0x2222222222222222ULL, 64));
    expectCleanProtocol();
}

TEST_F(ProfileRead, FailedReadRestoresThePinsToo)
{
    drv.failTransfer(0, 5);
    EXPECT_EQ(bd->USBSerialReadPKT(0x12), QString());
    EXPECT_EQ(chip().profilePins(), 5);
    EXPECT_EQ(bd->SelectedProfile(), 5);
    EXPECT_EQ(bd->GetRegMapValue(1, 0x12), bits(0, 64));
}

TEST_F(ProfileRead, NestedTransfersDuringTheWaitAreRefused)
{
    ui::VirtualClock& clock = ui::testing::clock();
    bool ran = false;
    int16_t nestedLoad = 99;
    QString nestedRead = QStringLiteral("untouched");
    bool nestedRam = true;
    bool nestedFifo = true;
    bool busyInTimer = false;
    int bulkBefore = 0;
    int bulkAfter = 0;
    const auto timer = clock.startTimer(100, [&] {
        if (ran)
            return;
        ran = true;
        busyInTimer = bd->TransferBusy();
        bulkBefore = bulkCount();
        nestedLoad = bd->USBSerialLoadPKT(0x07, bits(0x55, 32));
        nestedRead = bd->USBSerialReadPKT(0x10);
        QStringList ram(4, bits(0, 32));
        nestedRam = bd->USBSerialReadRAM(ram) || bd->USBSerialLoadRAM(ram);
        const int32_t values[2] = {1, 2};
        nestedFifo = bd->USBLoadFIFOData(values);
        bulkAfter = bulkCount();
    });
    const QString outer = bd->USBSerialReadPKT(0x0F);
    clock.stopTimer(timer);
    ASSERT_TRUE(ran) << "the timer ran during the wait";
    EXPECT_TRUE(busyInTimer);
    EXPECT_EQ(nestedLoad, -1);
    EXPECT_EQ(nestedRead, QString());
    EXPECT_FALSE(nestedRam);
    EXPECT_FALSE(nestedFifo);
    EXPECT_EQ(bulkAfter, bulkBefore) << "refused transfers send nothing";
    EXPECT_EQ(outer, bits(0x2222222222222222ULL, 64));
    EXPECT_EQ(chip().bufferRegister(0x07), 0u);
    EXPECT_FALSE(bd->TransferBusy());
    EXPECT_EQ(bd->USBSerialLoadPKT(0x07, bits(0x55, 32)), 0) << "accepted again afterwards";
    expectCleanProtocol();
}

} // namespace
