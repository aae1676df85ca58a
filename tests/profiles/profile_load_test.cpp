#include "load_indicator_probe.h"
#include "profile_fixture.h"
#include "qstring_print.h"

#include "board/board_flags.h"
#include "shell/mdi_main.h"

#include "platform/os/os_test_doubles.h"
#include "platform/ui/form.h"
#include "platform/ui/test_doubles.h"

#include <gtest/gtest.h>

namespace {

using namespace profiletest;

const QList<int16_t> kLoadOrder = {0x01, 0x00, 0x0E, 0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15};

class ProfileLoad : public ProfileWindowTest {
protected:
    // A distinct pending value in each register the LOAD writes (serial mode bits of CFR1 left alone).
    void fillPendingRegisters()
    {
        setPending(0x01, 0x01400920);
        setPending(0x00, 0x015F0200);
        for (int n = 0; n < 8; ++n)
            setPending(static_cast<int16_t>(0x0E + n), 0x0123456789ABCDEFULL ^ (uint64_t{0x1111} * (n + 1)));
    }

    void tick(int ticks = 1) { ui::testing::clock().advance(int64_t{200} * ticks); }
};

TEST_F(ProfileLoad, WritesCFR2CFR1AndTheEightProfilesInOrderWithOneProgressStepEach)
{
    plugBoard();
    fillPendingRegisters();
    frmProfile& w = open();
    QStringList seen;
    progress.during = [&] { seen << QStringLiteral("%1 %2").arg(w.cmdLoad.Enabled()).arg(w.MousePointer()); };
    clearTraffic();
    w.cmdLoad.click();

    const QList<SerialWrite> writes = serialWrites();
    ASSERT_EQ(writes.size(), kLoadOrder.size());
    for (qsizetype k = 0; k < writes.size(); ++k) {
        EXPECT_EQ(writes[k].addr, kLoadOrder[k]) << k;
        EXPECT_EQ(writes[k].value, bd().GetRegMapValue(0, kLoadOrder[k])) << k;
        EXPECT_EQ(written(kLoadOrder[k]), pending(kLoadOrder[k])) << k;
        EXPECT_EQ(chip().bufferRegister(kLoadOrder[k]), pending(kLoadOrder[k])) << k;
    }
    QStringList expected{QStringLiteral("init 0 10 Loading...")};
    for (int k = 1; k <= 10; ++k)
        expected << QStringLiteral("value %1").arg(k);
    expected << QStringLiteral("reset");
    EXPECT_EQ(progress.calls, expected);
    // LOAD is disabled and the pointer an hourglass while the registers go; both come back afterwards.
    EXPECT_EQ(seen, QStringList(10, QStringLiteral("0 11")));
    EXPECT_TRUE(w.cmdLoad.Enabled());
    EXPECT_EQ(w.MousePointer(), ui::vbDefault);
    EXPECT_TRUE(drv.violationTexts().isEmpty())
        << drv.violationTexts().join(QStringLiteral("; ")).toStdString();
    EXPECT_TRUE(os::testing::soundRecorder().played.isEmpty());
}

TEST_F(ProfileLoad, TheFocusStaysWhereTheUserWas)
{
    plugBoard();
    fillPendingRegisters();
    frmProfile& w = openShown();
    struct Place {
        const char* name;
        ui::Control* control;
    };
    const Place places[] = {
        {"LOAD itself (clicked)", &w.cmdLoad},
        {"a profile option", &w.optProfileSel(2)},
        {"a phase box", &w.txtPhaseOffsetST(0)},
    };
    for (const Place& place : places) {
        ASSERT_TRUE(place.control->widget()->isVisible()) << place.name;
        place.control->SetFocus();
        ASSERT_TRUE(place.control->hasFocus()) << place.name;
        // LOAD is disabled while the registers go (Qt then hands the focus on) and the fields are refreshed.
        w.cmdLoad.click();
        EXPECT_TRUE(place.control->hasFocus()) << place.name;
        EXPECT_TRUE(w.cmdLoad.Enabled()) << place.name;
    }
}

TEST_F(ProfileLoad, ClearCCIReachesTheChipOnceAndIsClearedInBothCopies)
{
    plugBoard();
    frmProfile& w = open();
    w.chkClearCCI.click();
    ASSERT_EQ(pendingField(0x00, 21, 21), 1U);
    clearTraffic();
    w.cmdLoad.click();
    ASSERT_GE(serialWrites().size(), 2);
    EXPECT_EQ(valueOf(serialWrites()[1].value) >> 21 & 1U, 1U);
    EXPECT_EQ(w.chkClearCCI.Value(), 0);
    EXPECT_EQ(pendingField(0x00, 21, 21), 0U);
    EXPECT_EQ((written(0x00) >> 21) & 1U, 0U);
    clearTraffic();
    w.cmdLoad.click();
    EXPECT_EQ(valueOf(serialWrites()[1].value) >> 21 & 1U, 0U);
}

TEST_F(ProfileLoad, PulsesIOUpdateOnlyWhenAutoIsChecked)
{
    plugBoard();
    frmProfile& w = open();
    mdi->chkAutoIOUd.setValue(0);
    const int before = chip().ioUpdateCount();
    setPendingField(0x0E, 31, 0, 12345);
    w.cmdLoad.click();
    EXPECT_EQ(chip().ioUpdateCount(), before);
    EXPECT_NE(chip().activeRegister(0x0E), pending(0x0E));
    mdi->chkAutoIOUd.setValue(1);
    w.cmdLoad.click();
    EXPECT_EQ(chip().ioUpdateCount(), before + 1);
    EXPECT_EQ(chip().activeRegister(0x0E), pending(0x0E));
}

TEST_F(ProfileLoad, IndicatorBlinksOnlyForTheBitsTheWindowOwns)
{
    frmProfile& w = open();
    w.cmdLoad.click();
    tick(2);
    ASSERT_FALSE(w.lblLoadFlash.Visible());

    // CFR1 bit 9 belongs to another window.
    setPendingField(0x00, 9, 9, 1);
    tick();
    EXPECT_FALSE(w.lblLoadFlash.Visible());

    setPendingField(0x01, 8, 8, 1);
    tick();
    EXPECT_TRUE(w.lblLoadFlash.Visible());
    tick();
    EXPECT_FALSE(w.lblLoadFlash.Visible());
    tick();
    EXPECT_TRUE(w.lblLoadFlash.Visible());
    w.cmdLoad.click();
    tick(2);
    EXPECT_FALSE(w.lblLoadFlash.Visible());

    setPendingField(0x15, 0, 0, 1);
    tick();
    EXPECT_TRUE(w.lblLoadFlash.Visible());
}

TEST_F(ProfileLoad, ARegisterThatFailedToReachTheChipKeepsTheIndicatorBlinking)
{
    plugBoard();
    frmProfile& w = open();
    setPendingField(0x0E, 15, 0, 0x1234);
    setPendingField(0x10, 15, 0, 0xBEEF);
    // The third register's only packet (high speed) fails: that is Profile0; the others still go.
    drv.failTransfer(0, 3, 3);
    auto& boxes = ui::testing::messageBoxes();
    boxes.reset();
    boxes.expect(QStringLiteral("Not every register reached the chip.\r\n"
                                "The load indicator blinks until a LOAD succeeds."));
    w.cmdLoad.click();
    ASSERT_EQ(boxes.shown.size(), 1u) << "the failed write is said";
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("LOAD"));
    EXPECT_NE(written(0x0E), pending(0x0E));
    EXPECT_EQ(written(0x10), pending(0x10));
    tick();
    EXPECT_TRUE(w.lblLoadFlash.Visible());
}

// The window's bits are CFR1 22:16 (20:17 without a box), CFR2 24 and 8 and the eight profiles whole; the
// bits of the other windows' registers and of CFR1 and CFR2 beyond these never make it blink.
TEST_F(ProfileLoad, IndicatorBlinksForEveryBitTheWindowOwnsAndForNoOther)
{
    frmProfile& w = open();
    w.cmdLoad.click();
    tick(2);
    ASSERT_FALSE(w.lblLoadFlash.Visible());
    struct Case {
        int16_t addr;
        QList<int> owned;
    };
    const Case cases[] = {
        {0x00, bitRange(22, 16)},
        {0x01, {8, 24}},
        {0x0E, bitRange(63, 0)},
        {0x12, bitRange(63, 0)},
        {0x15, bitRange(63, 0)},
        // The Control window's, the RAM segment window's and the OSK Control window's registers.
        {0x02, {}},
        {0x05, {}},
        {0x06, {}},
        {0x07, {}},
        {0x09, {}},
        {0x0A, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(blinkingBits(w.lblLoadFlash, c.addr), c.owned) << "register " << c.addr;
}

} // namespace
