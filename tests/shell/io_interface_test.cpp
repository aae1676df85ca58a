// The DUT I/O window (serial wiring, bit order, load, I/O reset) and the busy window of RAM transfers.

#include "startup_fixture.h"

#include "board/board_flags.h"
#include "board/evalbd.h"
#include "platform/os/os_test_doubles.h"
#include "platform/ui/app.h"
#include "platform/ui/forms.h"
#include "platform/ui/test_doubles.h"
#include "platform/usb/emulated_board.h"
#include "platform/usb/emulated_chip.h"
#include "shell/frm_io_interface.h"
#include "shell/frm_working_hard.h"
#include "shell/mdi_main.h"
#include "shell/startup.h"

using namespace shelltest;

namespace {

constexpr int16_t kCFR1 = 0x00;

class DutIO : public ShellTest {
protected:
    DutIO()
    {
        RegisterShellWindows();
        mainWindow();
    }
    cZR4470XEvalBd& board() { return *goEvalBd; }
    frmIOInterface& window() { return ui::form<frmIOInterface>(); }
    // Selects a board at slot 0 as start-up does.
    usb::EmulatedBoard& selectBoard()
    {
        usb::EmulatedBoard& attached = plug(0);
        goEZUSB().GetDevices();
        goEZUSB().SelectDevice(0, static_cast<int32_t>(ourHostId()));
        board().InitIOBuffs();
        gbBoardConnected = true;
        return attached;
    }
    int portAWrites() const
    {
        int writes = 0;
        for (const QByteArray& c : drv.transfers(0, 0))
            writes += c.size() == 2 && c[0] == 1;
        return writes;
    }
    void blink() { ui::testing::clock().advance(200); }
};

TEST_F(DutIO, ShowsTheBitsOfThePendingMap)
{
    for (int wiring : {0, 1}) {
        for (int order : {0, 1}) {
            board().SetRegMapBitValue(0, kCFR1, 1, wiring);
            board().SetRegMapBitValue(0, kCFR1, 0, order);
            frmIOInterface& w = window();
            w.RefreshFormVals();
            EXPECT_TRUE(w.opt2Wire3Wire(wiring).Value());
            EXPECT_FALSE(w.opt2Wire3Wire(1 - wiring).Value());
            EXPECT_TRUE(w.optMSBLSB(order).Value());
            EXPECT_EQ(board().GetRegMapBitValue(0, kCFR1, 1), wiring) << "a refresh writes nothing back";
        }
    }
}

TEST_F(DutIO, OptionsChangeOnlyThePendingMap)
{
    frmIOInterface& w = window();
    const QString written = board().GetRegMapValue(1, kCFR1);
    w.opt2Wire3Wire(1).click();
    w.optMSBLSB(1).click();
    EXPECT_EQ(board().GetRegMapBitValue(0, kCFR1, 1), 1);
    EXPECT_EQ(board().GetRegMapBitValue(0, kCFR1, 0), 1);
    EXPECT_EQ(board().GetRegMapValue(1, kCFR1), written);
    EXPECT_EQ(drv.count(usb::RequestKind::Open), 0);
}

TEST_F(DutIO, LoadIndicatorBlinksOnlyForItsTwoBits)
{
    frmIOInterface& w = window();
    w.Show();
    blink();
    EXPECT_FALSE(w.lblLoadFlash.Visible());
    w.optMSBLSB(1).click();
    blink();
    EXPECT_TRUE(w.lblLoadFlash.Visible());
    blink();
    EXPECT_FALSE(w.lblLoadFlash.Visible()) << "it blinks";
    blink();
    EXPECT_TRUE(w.lblLoadFlash.Visible());
    w.optMSBLSB(0).click(); // back to what was written
    blink();
    EXPECT_FALSE(w.lblLoadFlash.Visible());
    board().SetRegMapBitValue(0, kCFR1, 5, 1 - board().GetRegMapBitValue(1, kCFR1, 5));
    blink();
    blink();
    EXPECT_FALSE(w.lblLoadFlash.Visible()) << "other CFR1 bits are not this window's";
}

TEST_F(DutIO, LoadWithoutBoardFillsTheWrittenMapAndAsks)
{
    frmIOInterface& w = window();
    w.Show();
    w.opt2Wire3Wire(1).click();
    blink();
    w.cmdLoad.click();
    EXPECT_EQ(board().GetRegMapValue(1, kCFR1), board().GetRegMapValue(0, kCFR1));
    EXPECT_EQ(os::testing::soundRecorder().played, QStringList{"SystemQuestion"});
    EXPECT_FALSE(w.lblLoadFlash.Visible());
    EXPECT_TRUE(w.cmdLoad.Enabled());
    EXPECT_EQ(ui::ScreenMousePointer(), 0);
    blink();
    EXPECT_FALSE(w.lblLoadFlash.Visible());
}

TEST_F(DutIO, LoadWritesCfr1ToTheChipAndPulsesIOUpdateWhenAuto)
{
    usb::EmulatedBoard& attached = selectBoard();
    frmIOInterface& w = window();
    w.optMSBLSB(1).click();
    const QString cfr1 = board().GetRegMapValue(0, kCFR1);
    ASSERT_EQ(mainWindow().chkAutoIOUd.Value(), 1);
    w.cmdLoad.click();
    EXPECT_EQ(board().GetRegMapValue(1, kCFR1), cfr1);
    EXPECT_EQ(attached.chip()->activeRegister(kCFR1) & 1u, 1u) << "written and transferred by I/O update";
    EXPECT_TRUE(os::testing::soundRecorder().played.isEmpty());

    mainWindow().chkAutoIOUd.setValue(0);
    w.optMSBLSB(0).click();
    w.cmdLoad.click();
    EXPECT_EQ(attached.chip()->bufferRegister(kCFR1) & 1u, 0u);
    EXPECT_EQ(attached.chip()->activeRegister(kCFR1) & 1u, 1u) << "no I/O update without Auto";
}

TEST_F(DutIO, IOResetSendsPortAThreeTimes)
{
    usb::EmulatedBoard& attached = selectBoard();
    drv.clearTrace();
    QStringList calls;
    RecordingForm debug(QStringLiteral("frmDebug"), calls);
    debug.Load();
    window().cmdIOReset.click();
    const QList<QByteArray> commands = drv.transfers(0, 0);
    ASSERT_EQ(commands.size(), 3);
    const QList<int> ioReset = {0, usb::kPortAIoReset, 0};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(commands[k][0], 1);
        EXPECT_EQ(static_cast<uint8_t>(commands[k][1]) & usb::kPortAIoReset, ioReset[k]);
    }
    EXPECT_EQ(attached.portA() & usb::kPortAIoReset, 0);
    EXPECT_EQ(calls, QStringList{"frmDebug.RefreshFormVals"});
}

TEST_F(DutIO, IOResetWithoutBoardStillRuns)
{
    plug(0); // attached but not selected
    window().cmdIOReset.click();
    EXPECT_EQ(board().IO_RESET(), 0);
    EXPECT_EQ(drv.count(usb::RequestKind::Open), 3) << "port A is sent three times all the same";
    EXPECT_TRUE(drv.transfers(0, 0).isEmpty()) << "and reaches no board";
}

TEST_F(DutIO, MenuEntryFollowsTheWindow)
{
    mdiMain& main = mainWindow();
    main.Show();
    frmIOInterface& w = window();
    w.Show();
    EXPECT_TRUE(main.mnuIODUTIO.Checked());
    w.Unload(ui::vbFormControlMenu);
    EXPECT_FALSE(main.mnuIODUTIO.Checked());
}

TEST_F(DutIO, RefreshedAfterAResetAndAfterARegisterWrite)
{
    frmIOInterface& w = window();
    board().SetRegMapBitValue(0, kCFR1, 1, 1);
    RefreshFormsForRegister(kCFR1);
    EXPECT_TRUE(w.opt2Wire3Wire(1).Value());
}

TEST_F(DutIO, BusyWindowDuringARamTransfer)
{
    selectBoard();
    QStringList seen;
    board().setEventTap([&](const EvalBdEventRecord& record) {
        if (record.kind != EvalBdEventRecord::RAMPacketXfered || !seen.isEmpty())
            return;
        const frmWorkingHard* busy = ui::loadedForm<frmWorkingHard>();
        seen << (busy != nullptr && busy->Visible() ? busy->lblMessage.Caption() : QStringLiteral("none"));
        seen << (busy != nullptr && busy->ownerForm() == &mainWindow() ? "owned" : "not owned");
    });
    QStringList words;
    for (int k = 0; k < 64; ++k)
        words << QString(32, QLatin1Char(k % 2 ? '1' : '0'));
    board().USBSerialLoadRAM(words);
    EXPECT_EQ(seen, (QStringList{"Writing RAM", "owned"}));
    EXPECT_FALSE(ui::Forms::isLoaded(frmWorkingHard::FormName)) << "gone when the transfer ends";
}

} // namespace
