// Board attach and detach, the chip's layout on attach, the refresh of every window, the mode decoder and
// the DAC current formula.

#include "evalbd_fixture.h"

#include "board/board_flags.h"
#include "boardui/board_attach.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/form.h"

#include <stdexcept>

using namespace evalbdtest;

namespace {

QStringList& journal()
{
    static QStringList calls;
    return calls;
}

// A window that records the procedures called on it by name.
class Recorder : public ui::Form {
public:
    explicit Recorder(const QString& name, const QStringList& procs, bool throwing = false) : Form(name)
    {
        for (const QString& proc : procs)
            registerProc(proc, [this, proc, throwing] {
                journal() << Name() + "." + proc;
                if (throwing)
                    throw std::runtime_error("refresh failed");
            });
    }
};

class BoardAttach : public EvalBdTest {
protected:
    void SetUp() override
    {
        journal().clear();
        gbBoardConnected = gbPrevConnected = gbHasFIFO = false;
    }
};

TEST_F(BoardAttach, RefreshReachesEveryLoadedWindowInLoadOrderDespiteFailures)
{
    Recorder second("frmProfile", {"RefreshFormVals"});
    Recorder first("frmControl", {"RefreshFormVals"}, true);
    Recorder without("frmAbout", {"SetMode"});
    Recorder notLoaded("frmDebug", {"RefreshFormVals"});
    first.Load();
    without.Load();
    second.Load();
    ebRefreshAllForms();
    EXPECT_EQ(journal(), QStringList({"frmControl.RefreshFormVals", "frmProfile.RefreshFormVals"}));
    EXPECT_FALSE(notLoaded.IsLoaded());
}

TEST_F(BoardAttach, ConnectDetectsChipAndFifoAndUpdatesTheIndicators)
{
    struct Case {
        const char* what;
        usb::BoardOptions options;
        int16_t revision;
        bool fifo;
    };
    const Case cases[] = {
        {"revision 3 with FIFO", {}, 3, true},
        {"revision 2 without FIFO",
         {.chip = {.revision = usb::ChipRevision::Rev2}, .fifoPresent = false},
         2,
         false},
        {"no chip", {.chip = {.revision = usb::ChipRevision::None}}, 0, true},
    };
    Recorder mainWindow("mdiMain", {"UpdateUSBStat", "UpdateFIFOStat"});
    Recorder control("frmControl", {"RefreshFormVals"});
    mainWindow.Load();
    control.Load();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        plug(c.options);
        bd->InitRegMap(3);
        journal().clear();
        gbBoardConnected = true;
        ebOnBoardConnect();
        EXPECT_EQ(bd->SiliconRev(), c.revision);
        EXPECT_EQ(gbHasFIFO, c.fifo);
        EXPECT_EQ(journal(), QStringList({"mdiMain.UpdateUSBStat", "frmControl.RefreshFormVals",
                                          "mdiMain.UpdateFIFOStat"}));
        // The layout follows the chip: 0x17 is 40 bits wide only in the revision 1/2 layout.
        EXPECT_EQ(bd->GetRegLength(0x17), c.revision == 2 ? 40 : 8);
    }
}

TEST_F(BoardAttach, RevisionThreeKeepsPendingValuesOthersStartFromDefaults)
{
    const QString edited = bits(0x12345678, 32);
    plug();
    bd->SetRegMapValue(0, 0x02, edited);
    ebInitBoard();
    EXPECT_EQ(bd->GetRegMapValue(0, 0x02), edited);

    plug({.chip = {.revision = usb::ChipRevision::None}});
    bd->SetRegMapValue(0, 0x02, edited);
    ebInitBoard();
    EXPECT_NE(bd->GetRegMapValue(0, 0x02), edited);
    EXPECT_EQ(bd->GetRegMapValue(0, 0x02), bd->GetRegMapValue(1, 0x02));
}

TEST_F(BoardAttach, DisconnectTouchesOnlyTheIndicators)
{
    plug();
    Recorder mainWindow("mdiMain", {"UpdateUSBStat", "UpdateFIFOStat"});
    mainWindow.Load();
    clearRecords();
    gbHasFIFO = true;
    ebOnBoardDisconnect();
    EXPECT_EQ(journal(), QStringList({"mdiMain.UpdateUSBStat", "mdiMain.UpdateFIFOStat"}));
    EXPECT_EQ(bulkCount(), 0);
    EXPECT_TRUE(gbHasFIFO) << "the FIFO flag stays when the board goes";
}

TEST_F(BoardAttach, ModesDecodeFromThePendingMap)
{
    bd->SetRegMapValue(0, 0x00, "10000001000000000000000000000000");
    bd->SetRegMapValue(0, 0x01, "10000000000010000000000000000000");
    int16_t op = -1, ram = -1, ramp = -1, sxi = -1;
    ebGetDUTModes(op, ram, ramp, sxi);
    EXPECT_EQ(op, 1);
    EXPECT_EQ(ram, 1);
    EXPECT_EQ(ramp, 1);
    EXPECT_EQ(sxi, 1);
    bd->SetRegMapValue(0, 0x00, "00000010000000000000000000000000");
    bd->SetRegMapValue(0, 0x01, QString(32, QLatin1Char('0')));
    ebGetDUTModes(op, ram, ramp, sxi);
    EXPECT_EQ(op, 2);
    EXPECT_EQ(ram, 0);
    EXPECT_EQ(ramp, 0);
    EXPECT_EQ(sxi, 0);
}

TEST(BoardAttachFormula, FullScaleCurrent)
{
    EXPECT_DOUBLE_EQ(ebRateFormula(0, 10000), 0.00864);
    EXPECT_DOUBLE_EQ(ebRateFormula(96, 10000), 2 * 0.00864);
    try {
        ebRateFormula(5, 0);
        FAIL() << "no division error";
    } catch (const rt::RuntimeError& error) {
        EXPECT_EQ(error.number(), rt::errDivisionByZero);
    }
}

} // namespace
