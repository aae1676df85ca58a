// The USB watch: connect and disconnect edges, the indicators, the blink, the live lamps, and the ticks it
// must leave alone.

#include "main_window_fixture.h"

#include "board/board_flags.h"
#include "board/evalbd.h"
#include "shell/frm_graphics.h"

#include "platform/ui/forms.h"

using namespace mainwindowtest;

namespace {

class Watch : public MainWindowTest {
protected:
    bool iconIs(int index) const
    {
        return mdi->imgUSBIco.Picture().toImage() ==
               ui::form<frmGraphics>().imgUSBIcon(index).Picture().toImage();
    }
};

TEST_F(Watch, TimerRunsEvery300Milliseconds)
{
    EXPECT_TRUE(mdi->tmrUSBCheck.isRunning());
    EXPECT_EQ(mdi->tmrUSBCheck.Interval(), 300);
    plugAndSelect();
    tick();
    EXPECT_TRUE(gbBoardConnected);
    EXPECT_TRUE(gbPrevConnected);
    EXPECT_EQ(mdi->lblUSBStat.Caption(), "Ezssp-0");
}

TEST_F(Watch, ConnectEdgeShowsTheBoardAndItsFifo)
{
    struct Case {
        const char* what;
        bool fifo;
        const char* caption;
        uint32_t fore;
        uint32_t back;
        const char* tip;
    };
    const Case cases[] = {
        {"with FIFO", true, "FIFO Present", 0x00FF00, 0x004000, "All FIFO features have been enabled"},
        {"without FIFO", false, "FIFO Missing", 0x00FFFF, 0x004040, "All FIFO features have been disabled"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gbBoardConnected = gbPrevConnected = false;
        usb::BoardOptions options;
        options.fifoPresent = c.fifo;
        plugAndSelect(0, options);
        mdi->tmrUSBCheck_Timer();
        EXPECT_EQ(mdi->lblUSBStat.Caption(), "Ezssp-0");
        EXPECT_EQ(mdi->lblUSBStat.ForeColor(), 0x00FF00u);
        EXPECT_EQ(mdi->lblUSBStat.BackColor(), 0x004000u);
        EXPECT_FALSE(mdi->imgUsbAttention.Visible());
        EXPECT_TRUE(iconIs(0));
        EXPECT_EQ(gbHasFIFO, c.fifo);
        EXPECT_EQ(mdi->lblFIFOStat.Caption(), c.caption);
        EXPECT_EQ(mdi->lblFIFOStat.ForeColor(), c.fore);
        EXPECT_EQ(mdi->lblFIFOStat.BackColor(), c.back);
        EXPECT_EQ(mdi->lblFIFOStat.ToolTipText(), c.tip);
        EXPECT_EQ(goEvalBd->SiliconRev(), 3);
    }
}

TEST_F(Watch, PullingTheBoardOutShowsNotConnectedAndBlinks)
{
    plugAndSelect();
    mdi->tmrUSBCheck_Timer();
    drv.detach(0);
    drv.clearTrace();

    mdi->tmrUSBCheck_Timer();
    EXPECT_FALSE(gbBoardConnected);
    EXPECT_EQ(mdi->lblUSBStat.Caption(), "Not Connected!");
    EXPECT_EQ(mdi->lblUSBStat.BackColor(), 0x000040u);
    EXPECT_TRUE(iconIs(1));
    // The FIFO indicator greys out and keeps its text.
    EXPECT_EQ(mdi->lblFIFOStat.Caption(), "FIFO Present");
    EXPECT_EQ(mdi->lblFIFOStat.ForeColor(), 0x80000011u);
    EXPECT_EQ(mdi->lblFIFOStat.BackColor(), 0x8000000Fu);
    EXPECT_EQ(mdi->lblFIFOStat.ToolTipText(), "Waiting for eval board to be detected");

    // The sign and the red text take turns, one each tick.
    bool signShown = mdi->imgUsbAttention.Visible();
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(mdi->lblUSBStat.ForeColor(), signShown ? 0x000040u : 0x0000FFu) << k;
        mdi->tmrUSBCheck_Timer();
        EXPECT_NE(mdi->imgUsbAttention.Visible(), signShown) << k;
        signShown = mdi->imgUsbAttention.Visible();
    }
    EXPECT_EQ(bulkCount(), 0) << "nothing is sent while no board is there";
}

TEST_F(Watch, EachEdgeRunsItsStepOnce)
{
    StandIn control("frmControl", {"RefreshFormVals", "UdStatusIndicators"});
    control.Load();
    plugAndSelect();
    tick(4);
    EXPECT_EQ(journal().count("frmControl.RefreshFormVals"), 1) << journal().join(", ").toStdString();
    EXPECT_GE(journal().count("frmControl.UdStatusIndicators"), 3);

    drv.detach(0);
    journal().clear();
    tick(3);
    EXPECT_TRUE(journal().isEmpty()) << "no window is refreshed or updated while the board is away";

    drv.attach(0);
    tick(3);
    EXPECT_EQ(journal().count("frmControl.RefreshFormVals"), 1);
}

TEST_F(Watch, ATickInsideTheConnectPathIsSkipped)
{
    StandIn control("frmControl", {"RefreshFormVals", "UdStatusIndicators"});
    control.during = [this] {
        if (journal().last() == "frmControl.RefreshFormVals")
            mdi->tmrUSBCheck_Timer();
    };
    control.Load();
    plugAndSelect();
    mdi->tmrUSBCheck_Timer();
    // The nested tick neither attached the board again nor updated the lamps from inside the refresh.
    EXPECT_EQ(journal().count("frmControl.RefreshFormVals"), 1);
    EXPECT_EQ(journal().count("frmControl.UdStatusIndicators"), 1);
}

TEST_F(Watch, LiveLampsFollowPortDInTheirOrder)
{
    StandIn debug("frmDebug", {"UdStatusIndicators"});
    StandIn sync("frmMultiChipSync", {"UdStatusIndicators"});
    StandIn control("frmControl", {"UdStatusIndicators"});
    StandIn regMap("frmRegMapVals", {"UdStatusIndicators"});
    debug.Load();
    sync.Load();
    control.Load();
    regMap.Load();
    usb::EmulatedBoard& board = plugAndSelect();
    mdi->tmrUSBCheck_Timer();
    EXPECT_EQ(journal(), QStringList({"frmControl.UdStatusIndicators", "frmMultiChipSync.UdStatusIndicators",
                                      "frmDebug.UdStatusIndicators"}));
    EXPECT_EQ(goEvalBd->PLL_Lock(), 1);
    board.setStatusInputs(0x08);
    mdi->tmrUSBCheck_Timer();
    EXPECT_EQ(goEvalBd->PLL_Lock(), 0);
    EXPECT_EQ(goEvalBd->LS_OVR(), 1);
}

TEST_F(Watch, LeavesTheBoardAloneDuringATransfer)
{
    plugAndSelect();
    mdi->tmrUSBCheck_Timer();
    int requestsBefore = -1;
    int requestsAfter = -1;
    bool probed = false;
    goEvalBd->setEventTap([&](const EvalBdEventRecord& record) {
        if (record.kind != EvalBdEventRecord::RAMPacketXfered || probed)
            return;
        probed = true;
        requestsBefore = requestCount();
        mdi->tmrUSBCheck_Timer();
        requestsAfter = requestCount();
    });
    QStringList words;
    for (int k = 0; k < 1024; ++k)
        words << QString(32, QLatin1Char(k % 2 ? '1' : '0'));
    goEvalBd->USBSerialLoadRAM(words);
    ASSERT_TRUE(probed);
    EXPECT_EQ(requestsAfter, requestsBefore);
}

} // namespace
