// The multi-chip sync window: the MCS fields, LOAD, the indicator, the error label and Clear Error.

#include "sweep_fixture.h"

#include "platform/usb/emulated_board.h"

namespace {

using namespace sweeptest;

TEST_F(SweepWindowTest, SyncFieldsSetTheirBitsAndKeepTheOthers)
{
    mdi->mnuViewMultiChipSync.choose();
    frmMultiChipSync& sync = *ui::loadedForm<frmMultiChipSync>();
    EXPECT_TRUE(mdi->mnuViewMultiChipSync.Checked());
    EXPECT_EQ(sync.cmbSysClkOffset.ListCount(), 64);
    EXPECT_EQ(sync.cmbSyncWndDel.List(15), QStringLiteral("15"));
    sync.cmbSyncWndDel.setListIndex(15);
    EXPECT_EQ(bd().GetRegMapValue(0, kMCS), QStringLiteral("1111") + QString(28, QLatin1Char('0')));

    setPending(kMCS, 0x00030707U); // bits 17:16, 10:8 and 2:0 belong to nobody here
    sync.cmbSysClkOffset.setListIndex(63);
    sync.cmbOutpSyncPulseDelay.setListIndex(31);
    sync.cmbInpSyncPulseDelay.setListIndex(1);
    sync.chkSyncEnable.setValue(1);
    sync.chkSyncDriverEn.setValue(1);
    sync.optSyncPolarity(1).setValue(true);
    sync.chkInternSyncLoopEn.setValue(1);
    EXPECT_EQ(pending(kMCS), 0x0FFFFF0FU);
    sync.optSyncPolarity(0).setValue(true);
    EXPECT_EQ(pendingField(regBit(kMCS, 25)), 0U);
    sync.chkEnableSyncSampleErr.setValue(1);
    EXPECT_EQ(pendingField(regBit(kCFR2, 5)), 1U);

    setPending(kMCS, 0xA5000000U);
    sync.RefreshFormVals();
    EXPECT_EQ(sync.cmbSyncWndDel.ListIndex(), 10);
    EXPECT_EQ(sync.chkSyncDriverEn.Value(), 1);
    EXPECT_TRUE(sync.optSyncPolarity(0).Value());
    EXPECT_EQ(sync.chkInternSyncLoopEn.Value(), 1);
    EXPECT_EQ(pending(kMCS), 0xA5000000U) << "a refresh writes nothing back";
    sync.Unload(ui::vbFormControlMenu);
    EXPECT_FALSE(mdi->mnuViewMultiChipSync.Checked());
}

TEST_F(SweepWindowTest, SyncLoadWritesMcsAloneAndTheIndicatorIgnoresForeignBits)
{
    plugBoard();
    frmMultiChipSync& sync = openSync();
    setPending(kMCS, 0x00030707U);
    setPendingField(regBit(kCFR2, 5), 1);
    sync.tmrLoadFlash_Timer();
    EXPECT_FALSE(sync.lblLoadFlash.Visible());
    sync.chkSyncEnable.setValue(1);
    sync.tmrLoadFlash_Timer();
    EXPECT_TRUE(sync.lblLoadFlash.Visible());
    clearTraffic();
    sync.cmdLoad.click();
    EXPECT_EQ(writtenAddresses(), QList<int>{kMCS});
    EXPECT_EQ(written(kMCS), 0x08030707U);
    EXPECT_FALSE(sync.lblLoadFlash.Visible());
    const QRect frame = sync.lblLoadFlash.widget()->geometry();
    EXPECT_TRUE(frame.contains(sync.cmdLoad.widget()->geometry().adjusted(-1, -1, 1, 1)))
        << "the indicator rims LOAD";
}

TEST_F(SweepWindowTest, ClearErrorPulsesTheEnableAndTheBoxFollows)
{
    plugBoard();
    setAutoIOUpdate(false);
    setPendingField(regBit(kCFR2, 5), 0);
    frmMultiChipSync& sync = openSync();
    EXPECT_EQ(sync.chkEnableSyncSampleErr.Value(), 0);
    clearTraffic();
    const int pulses = chip().ioUpdateCount();
    sync.cmdClearSampleError.click();
    const QList<regtest::SerialWrite> writes = serialWrites();
    ASSERT_EQ(writes.size(), 2);
    EXPECT_EQ(writes[0].addr, kCFR2);
    EXPECT_EQ(regBit(kCFR2, 5).of(writes[0].value), 0U);
    EXPECT_EQ(regBit(kCFR2, 5).of(writes[1].value), 1U);
    EXPECT_EQ(chip().ioUpdateCount(), pulses + 2);
    EXPECT_EQ(pendingField(regBit(kCFR2, 5)), 1U);
    EXPECT_EQ(writtenField(regBit(kCFR2, 5)), 1U);
    EXPECT_EQ(sync.chkEnableSyncSampleErr.Value(), 1);
}

TEST_F(SweepWindowTest, SyncErrorLabelFollowsTheWatchedLine)
{
    usb::EmulatedBoard& board = plugBoard();
    frmMultiChipSync& sync = openSync();
    board.setStatusInputs(usb::kPortDSyncSmplErr);
    mdi->tmrUSBCheck_Timer();
    EXPECT_EQ(sync.lblSyncSampleError.Caption(), QStringLiteral("Error Detected!"));
    EXPECT_EQ(sync.lblSyncSampleError.BackColor(), 0x0000FFU);
    board.setStatusInputs(0);
    mdi->tmrUSBCheck_Timer();
    EXPECT_EQ(sync.lblSyncSampleError.Caption(), QStringLiteral("No Error"));
    EXPECT_EQ(sync.lblSyncSampleError.BackColor(), 0x000040U);
    EXPECT_EQ(sync.lblSyncSampleError.ForeColor(), 0xFFFFFFU);
}

} // namespace
