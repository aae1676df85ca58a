// Creation defaults, silicon-revision detection and the start-up sequence of the board object.

#include "evalbd_fixture.h"

#include "platform/usb/emulated_board.h"

using namespace evalbdtest;
using Kind = EvalBdEventRecord::Kind;

namespace {

class Revision : public EvalBdTest {
protected:
    usb::BoardOptions withChip(usb::ChipRevision revision)
    {
        usb::BoardOptions options;
        options.chip.revision = revision;
        return options;
    }
    // I/O reset pulses seen on port A (the bit rising).
    int ioResetPulses() const
    {
        int pulses = 0;
        bool high = false;
        for (const QByteArray& c : commands()) {
            if (c.size() == 2 && c[0] == 1) {
                const bool now = (static_cast<uint8_t>(c[1]) & usb::kPortAIoReset) != 0;
                pulses += now && !high;
                high = now;
            }
        }
        return pulses;
    }
    int instructionPackets() const
    {
        int n = 0;
        for (const QByteArray& p : dataPackets())
            n += p.size() == 16;
        return n;
    }
    bool onlyViolations(std::initializer_list<usb::ViolationKind> allowed) const
    {
        for (const usb::Violation& v : drv.violations()) {
            if (std::find(allowed.begin(), allowed.end(), v.kind) == allowed.end())
                return false;
        }
        return true;
    }
};

TEST_F(Revision, CreationSendsNothingAndStartsWithTheRevisionThreeLayout)
{
    drv.attach(0);
    cZR4470XEvalBd fresh;
    EXPECT_EQ(drv.count(usb::RequestKind::Open), 0);
    EXPECT_EQ(fresh.SiliconRev(), 3);
    EXPECT_EQ(fresh.ProductID(), 1);
    EXPECT_TRUE(fresh.Enabled());
    EXPECT_FALSE(fresh.VerboseErrors());
    EXPECT_FALSE(fresh.TransferBusy());
    EXPECT_EQ(fresh.GetRegLength(0x1F), 40);
    for (int16_t port = 0; port < 6; ++port)
        EXPECT_EQ(fresh.USBGetPortBuffVal(port), 0);
    fresh.setProductID(0);
    EXPECT_EQ(fresh.ProductID(), 1) << "read only";
}

TEST_F(Revision, RevisionThreeChip)
{
    plug(withChip(usb::ChipRevision::Rev3));
    EXPECT_EQ(bd->DetectSiliconRev(), 3);
    EXPECT_EQ(bd->SiliconRev(), 3);
    EXPECT_EQ(instructionPackets(), 1) << "one read";
    EXPECT_EQ(ioResetPulses(), 0);
    EXPECT_EQ(bd->GetRegLength(0x1F), 40);
    EXPECT_EQ(bd->GetRegMapValue(1, 0x1F), cZR4470XEvalBd::kIdentificationPattern);
    EXPECT_EQ(bd->GetRegMapValue(0, 0x1F),
              QString(31, QLatin1Char('0')) + "1" + QString(8, QLatin1Char('0')));
    expectCleanProtocol();
}

TEST_F(Revision, RevisionOneAndTwoChips)
{
    for (const auto rev : {usb::ChipRevision::Rev1, usb::ChipRevision::Rev2}) {
        bd->InitRegMap(3);
        plug(withChip(rev));
        bd->SetRegMapValue(0, 0x07, bits(1, 32));
        EXPECT_EQ(bd->DetectSiliconRev(), 2);
        EXPECT_EQ(ioResetPulses(), 1);
        EXPECT_EQ(instructionPackets(), 2);
        EXPECT_EQ(bd->GetRegLength(0x17), 40);
        EXPECT_EQ(bd->GetRegLength(0x1F), 8);
        EXPECT_EQ(bd->GetRegMapValue(0, 0x07), bits(0, 32)) << "the layout change reset the maps";
        EXPECT_EQ(bd->GetRegMapValue(1, 0x17), cZR4470XEvalBd::kIdentificationPattern);
        // The first read asks 40 bits of an 8-bit register: the chip sees the extra clocks.
        EXPECT_TRUE(onlyViolations({usb::ViolationKind::ExtraClocks}));
        // Detected again in its own layout: 0x1F reads 8 bits, then 0x17 matches.
        clearRecords();
        EXPECT_EQ(bd->DetectSiliconRev(), 2);
        EXPECT_EQ(instructionPackets(), 2);
        EXPECT_EQ(ioResetPulses(), 1);
        expectCleanProtocol();
    }
}

TEST_F(Revision, NoChip)
{
    plug(withChip(usb::ChipRevision::None));
    EXPECT_EQ(bd->DetectSiliconRev(), 0);
    EXPECT_EQ(ioResetPulses(), 2);
    EXPECT_EQ(instructionPackets(), 2) << "no third read: no line was ever driven";
    EXPECT_EQ(bd->GetRegLength(0x1F), 40);
    EXPECT_EQ(bd->GetRegMapValue(0, 0x1F),
              QString(31, QLatin1Char('0')) + "1" + QString(8, QLatin1Char('0')));
}

TEST_F(Revision, ChipHeldInReset)
{
    plug(withChip(usb::ChipRevision::Rev3));
    chip().setHeldInReset(true);
    EXPECT_EQ(bd->DetectSiliconRev(), 0);
    EXPECT_EQ(ioResetPulses(), 2);
    EXPECT_EQ(bd->GetRegLength(0x17), 8);
}

TEST_F(Revision, NoBoard)
{
    EXPECT_EQ(bd->DetectSiliconRev(), 0);
    EXPECT_EQ(bd->SiliconRev(), 0);
    EXPECT_EQ(bd->GetRegLength(0x1F), 40);
    EXPECT_EQ(bd->GetRegMapValue(1, 0x1F),
              QString(31, QLatin1Char('0')) + "1" + QString(8, QLatin1Char('0')));
}

TEST_F(Revision, RevisionThreeChipMetInTheRevisionOneTwoLayoutIsStillFound)
{
    plug(withChip(usb::ChipRevision::Rev3));
    bd->InitRegMap(2);
    EXPECT_EQ(bd->DetectSiliconRev(), 3);
    EXPECT_EQ(bd->GetRegLength(0x1F), 40);
    EXPECT_EQ(bd->GetRegLength(0x17), 8);
    EXPECT_EQ(bd->GetRegMapValue(1, 0x1F), cZR4470XEvalBd::kIdentificationPattern);
    EXPECT_EQ(ioResetPulses(), 2);
    EXPECT_EQ(instructionPackets(), 3);
    // The chip works normally afterwards.
    clearRecords();
    ASSERT_EQ(bd->USBSerialLoadPKT(0x07, bits(0x1234, 32)), 0);
    EXPECT_EQ(bd->USBSerialReadPKT(0x07), bits(0x1234, 32));
    expectCleanProtocol();
}

TEST_F(Revision, ProductBitOfTheIdentificationRegister)
{
    usb::BoardOptions options;
    options.chip.identification = 0x0040000100ULL; // bit 31 clear
    plug(options);
    EXPECT_EQ(bd->DetectProduct(3), 0);
    EXPECT_EQ(bd->ProductID(), 0);
    plug();
    EXPECT_EQ(bd->DetectProduct(3), 1);
}

TEST_F(Revision, StartUpSequenceIsCleanAndRaisesTheResetEvents)
{
    plug();
    bd->InitIOBuffs();
    bd->setCSB(1);
    bd->USBWritePortBuffVal(kPortA);
    bd->setREGUD_EN(1);
    bd->USBWritePortBuffVal(kPortE);
    bd->StrobeReset();
    const int16_t rev = bd->DetectSiliconRev();
    bd->StrobeReset();
    EXPECT_EQ(rev, 3);
    const std::vector<Kind> strobe = {Kind::RESETAsserted, Kind::RegMapReset, Kind::AfterRESET,
                                      Kind::RESETReleased, Kind::RegMapReset};
    std::vector<Kind> expected = strobe;
    expected.insert(expected.end(), strobe.begin(), strobe.end());
    EXPECT_EQ(eventKinds(), expected);
    EXPECT_EQ(bd->GetRegMapValue(1, 0x1F), QString(31, QLatin1Char('0')) + "1" + QString(8, QLatin1Char('0')))
        << "the second reset put the maps back to their defaults";
    expectCleanProtocol();
}

} // namespace
