// The main window's handlers of the board object's events: the progress bar, the busy window, the lamp
// settings during a transfer and the refresh after a reset.

#include "main_window_fixture.h"

#include "board/evalbd.h"
#include "board/progress.h"
#include "widgets/progress_global.h"

#include "platform/ui/forms.h"

using namespace mainwindowtest;

namespace {

struct BarState {
    QString text;
    int32_t max = 0;
    int32_t value = 0;
    uint32_t back = 0;
    bool busyShown = false;
    QString busyText;
};

BarState barNow()
{
    BarState state;
    state.text = goProgressBar().Text();
    state.max = goProgressBar().Max();
    state.value = goProgressBar().Value();
    state.back = goProgressBar().BackColor();
    if (ui::Form* busy = ui::Forms::find(QStringLiteral("frmWorkingHard"))) {
        state.busyShown = busy->Visible();
        if (auto* label = dynamic_cast<ui::Label*>(busy->control(QStringLiteral("lblMessage"))))
            state.busyText = label->Caption();
    }
    return state;
}

class BoardEvents : public MainWindowTest {
protected:
    std::vector<BarState> duringPackets; // one per packet event and one at the end event

    void SetUp() override
    {
        plugAndSelect();
        goEvalBd->setEventTap([this](const EvalBdEventRecord& record) {
            // The tap runs just before each handler: what it sees is what the handlers before left.
            if (record.kind == EvalBdEventRecord::RAMPacketXfered ||
                record.kind == EvalBdEventRecord::FIFOPacketSent ||
                record.kind == EvalBdEventRecord::RAMCOMFinished ||
                record.kind == EvalBdEventRecord::FIFOLoadFinished)
                duringPackets.push_back(barNow());
        });
    }

    QStringList ramImage() const
    {
        QStringList words;
        for (int k = 0; k < 1024; ++k)
            words << QString(32, QLatin1Char(k % 3 ? '1' : '0'));
        return words;
    }
};

TEST_F(BoardEvents, RamTransfersShowTheirDirectionOnTheBarAndInTheBusyWindow)
{
    struct Case {
        const char* text;
        bool read;
    };
    for (const Case& c : {Case{"Writing RAM", false}, Case{"Reading RAM", true}}) {
        SCOPED_TRACE(c.text);
        duringPackets.clear();
        QStringList words = ramImage();
        ASSERT_TRUE(c.read ? goEvalBd->USBSerialReadRAM(words) : goEvalBd->USBSerialLoadRAM(words));
        ASSERT_FALSE(duringPackets.empty());
        const BarState& first = duringPackets.front();
        EXPECT_EQ(first.text, c.text);
        EXPECT_EQ(first.max, 1024);
        EXPECT_TRUE(first.busyShown);
        EXPECT_EQ(first.busyText, c.text);
        // The bar follows the words moved before each packet: the last of 128 packets of 8 starts at 1016.
        EXPECT_EQ(duringPackets.back().value, 1016);
        // Afterwards: an empty bar and no busy window.
        const BarState after = barNow();
        EXPECT_EQ(after.text, "");
        EXPECT_EQ(after.value, 0);
        EXPECT_FALSE(ui::Forms::isLoaded(QStringLiteral("frmWorkingHard")));
    }
}

TEST_F(BoardEvents, FailedFifoLoadLeavesARedBarAndRestoresTheLamp)
{
    const int16_t usbStatusBefore = goEvalBd->USBStatus();
    const std::vector<int32_t> values(600, 0x155);
    drv.failTransfer(0, 3, 2); // the second FIFO packet fails
    EXPECT_FALSE(goEvalBd->USBLoadFIFOData(values));
    ASSERT_FALSE(duringPackets.empty());
    EXPECT_EQ(duringPackets.front().text, "Loading FIFO");
    EXPECT_EQ(duringPackets.front().max, 600);
    EXPECT_TRUE(duringPackets.front().busyShown);
    const BarState after = barNow();
    EXPECT_EQ(after.text, "FIFO Load Error!");
    EXPECT_EQ(after.back, 0x0000FFu);
    EXPECT_EQ(after.value, 0);
    EXPECT_FALSE(ui::Forms::isLoaded(QStringLiteral("frmWorkingHard")));
    EXPECT_EQ(goEvalBd->USBStatus(), usbStatusBefore);
    EXPECT_EQ(drv.board(0)->portA() & 1, usbStatusBefore) << "port A sent with the saved lamp bit";

    // The next transfer starts on the normal background again.
    duringPackets.clear();
    EXPECT_TRUE(goEvalBd->USBLoadFIFOData(values));
    EXPECT_EQ(duringPackets.front().back, 0x8000000Fu);
}

TEST_F(BoardEvents, FailedRamTransferSaysSo)
{
    drv.failTransfer(0, 3, 3);
    EXPECT_FALSE(goEvalBd->USBSerialLoadRAM(ramImage()));
    EXPECT_EQ(barNow().text, "RAM Load Error!");
    EXPECT_EQ(barNow().back, 0x0000FFu);
    ResetProgressBar();
    EXPECT_EQ(barNow().back, 0x8000000Fu);
    EXPECT_EQ(barNow().text, "");
}

TEST_F(BoardEvents, LampIsSteadyDuringATransfer)
{
    QList<int> lampBits;
    goEvalBd->setEventTap([&](const EvalBdEventRecord& record) {
        if (record.kind == EvalBdEventRecord::RAMPacketXfered && lampBits.isEmpty())
            lampBits << (drv.board(0)->portA() & 1);
    });
    goEvalBd->setUSBStatus(0);
    goEvalBd->USBWritePortBuffVal(kPortA);
    ASSERT_TRUE(goEvalBd->USBSerialLoadRAM(ramImage()));
    EXPECT_EQ(lampBits, QList<int>({1}));
    EXPECT_EQ(drv.board(0)->portA() & 1, 0);
}

TEST_F(BoardEvents, ResetRefreshesTheLoadedChipWindowsInOrder)
{
    StandIn regMap("frmRegMapVals", {"RefreshFormVals"});
    StandIn gpio("frmGPIO", {"RefreshFormVals"});
    StandIn profile("frmProfile", {"RefreshFormVals"});
    StandIn control("frmControl", {"RefreshFormVals"});
    regMap.Load();
    gpio.Load();
    profile.Load();
    control.Load();
    goEvalBd->StrobeReset();
    EXPECT_EQ(journal(), QStringList({"frmControl.RefreshFormVals", "frmProfile.RefreshFormVals",
                                      "frmGPIO.RefreshFormVals"}));
    EXPECT_FALSE(ui::Forms::isLoaded(QStringLiteral("frmDebug"))) << "the refresh creates no window";
}

} // namespace
