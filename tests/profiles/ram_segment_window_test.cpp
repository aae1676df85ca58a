// The RAM segment window against the emulated board: its fields in RSR0/RSR1, the mode lists, LOAD with
// its three I/O update pulses, the greying per operating mode, the load indicator and a clock that cannot
// convert.

#include "common/register_window_fixture.h"
#include "load_indicator_probe.h"

#include "board/globals.h"
#include "profiles/frm_edit_ram_addr_rr.h"
#include "profiles/frm_qducrsr.h"
#include "profiles/register_windows.h"

#include "platform/os/os_test_doubles.h"
#include "platform/ui/colors.h"
#include "platform/ui/test_doubles.h"

#include <functional>
#include <string>
#include <utility>

namespace {

using namespace regtest;

constexpr int16_t kCFR1 = 0x00;
constexpr int16_t kCFR2 = 0x01;
constexpr int16_t kRSR0 = 0x05;
constexpr int16_t kRSR1 = 0x06;
// Bits 21:16 and 5:3 of a segment register, which the window never touches.
constexpr uint64_t kUntouched = 0x3F0038;
constexpr uint32_t kGrey = ui::colors::vbGrayText;
constexpr uint32_t kNormal = ui::colors::vbWindowText;

class RamSegmentWindow : public RegisterWindowTest {
protected:
    RamSegmentWindow() { RegisterProfilesWindows(); }
    frmQDUCRSR& open()
    {
        frmQDUCRSR& w = ui::form<frmQDUCRSR>();
        w.Show();
        return w;
    }
    QStringList modeItems(const frmQDUCRSR& w, int i) const
    {
        QStringList items;
        for (int k = 0; k < w.cmbRAMSegModeControl(i).ListCount(); ++k)
            items << w.cmbRAMSegModeControl(i).List(k);
        return items;
    }
};

// With the 1000 MHz clock the step rate reaches 4 x 65535 / 1000 us.
const QString kClipMessage =
    QStringLiteral("The vaid range for the Address Step Rate Time is 0.0000\u00B5s to 262.14\u00B5s ."
                   "\r\nThe value entered will be clipped!");
const QString kUnusableClock =
    QStringLiteral("Invalid system clock value.\r\nA ramp rate time cannot be converted while the system "
                   "clock is not a positive number; the ramp rate word stays as it is.");

struct FieldCase {
    const char* name;
    int box; // 0 begin, 1 final, 2 step rate
    const char* typed;
    bool pasted;
    uint64_t stored;
    const char* shown;
    bool message;
};

class RamSegmentFields : public RamSegmentWindow, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(RamSegmentFields, EntryIsStoredInItsBitsOnlyInBothSegments)
{
    const FieldCase c = GetParam();
    for (int i = 0; i < frmQDUCRSR::kSegments; ++i) {
        const int16_t addr = static_cast<int16_t>(kRSR0 + i);
        setPending(addr, kUntouched | 2);
        frmQDUCRSR& w = open();
        w.RefreshFormVals();
        auto& messages = ui::testing::messageBoxes();
        const size_t shownBefore = messages.shown.size();
        if (c.message)
            messages.expect(kClipMessage, ui::vbOK);
        ui::TextBox* boxes[] = {&w.txtRAMSegBeginAddr(i), &w.txtRAMSegFinalAddr(i),
                                &w.txtRAMSegAddrRampRate(i)};
        const RegisterField fields[] = {frmQDUCRSR::beginAddrField(i), frmQDUCRSR::finalAddrField(i),
                                        frmQDUCRSR::rampRateField(i)};
        if (c.pasted)
            pasteAndEnter(*boxes[c.box], QString::fromLatin1(c.typed));
        else
            retype(*boxes[c.box], QString::fromLatin1(c.typed) + QStringLiteral("\r"));
        EXPECT_EQ(pendingField(fields[c.box]), c.stored) << i;
        EXPECT_EQ(boxes[c.box]->Text(), QString::fromUtf8(c.shown)) << i;
        EXPECT_EQ(boxes[c.box]->Tag, QString::number(c.stored)) << i;
        EXPECT_EQ(pending(addr) & ~(fields[c.box].maxValue() << fields[c.box].lo), kUntouched | 2) << i;
        ASSERT_EQ(messages.shown.size(), shownBefore + (c.message ? 1u : 0u)) << i;
        if (c.message) {
            EXPECT_EQ(messages.shown.back().title, QStringLiteral("Maximum Ramp Rate Time Exceeded!!!"));
            EXPECT_EQ(messages.shown.back().buttons, ui::vbOKOnly | ui::vbInformation);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RamSegmentFields,
                         ::testing::Values(FieldCase{"BeginHighest", 0, "1023", false, 1023, "1023", false},
                                           FieldCase{"BeginTooHigh", 0, "1024", false, 0, "0", false},
                                           FieldCase{"BeginBeyondInt", 0, "99999999999", true, 0, "0", false},
                                           FieldCase{"BeginNegative", 0, "-5", true, 0, "0", false},
                                           FieldCase{"FinalHighest", 1, "1023", false, 1023, "1023", false},
                                           FieldCase{"FinalHalfToEven", 1, "12.5", true, 12, "12", false},
                                           FieldCase{"FinalNotANumber", 1, "abc", true, 0, "0", false},
                                           FieldCase{"RateOne", 2, "1", false, 250, "1.0000", false},
                                           FieldCase{"RateHalfUp", 2, "0.006", false, 2, "0.0080", false},
                                           FieldCase{"RateHalfDown", 2, "0.01", false, 2, "0.0080", false},
                                           FieldCase{"RateClipped", 2, "300", false, 65535, "262.1400", true},
                                           FieldCase{"RateNegative", 2, "-3", true, 0, "0.0000", true},
                                           FieldCase{"RateNotANumber", 2, "x", true, 0, "0.0000", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RamSegmentWindow, ModeListOffersCodesByTheDestinationBitAndMarksCodesItLacks)
{
    frmQDUCRSR& w = open();
    const QStringList two{"Ramp Up", "Bi-directional Ramp"};
    const QStringList four = two + QStringList{"Continuous Bi-directional Ramp", "Continuous Re - circulate"};
    // Every code the list can select is written by picking it.
    w.chkEnQDUCRAMEval.setValue(1);
    EXPECT_EQ(pendingField(frmQDUCRSR::kQDUCRAMDest), 1u);
    ASSERT_EQ(modeItems(w, 1), four);
    for (int k = 0; k < 4; ++k) {
        w.cmbRAMSegModeControl(1).setListIndex(k);
        EXPECT_EQ(pendingField(frmQDUCRSR::modeField(1)), static_cast<uint64_t>(k + 1));
    }
    // Code 4 kept while the destination is off; the marker shows until it is back.
    w.chkEnQDUCRAMEval.setValue(0);
    EXPECT_EQ(modeItems(w, 1), two);
    EXPECT_EQ(w.cmbRAMSegModeControl(1).ListIndex(), -1);
    EXPECT_TRUE(w.lblMCErr(1).Visible());
    EXPECT_EQ(pendingField(frmQDUCRSR::modeField(1)), 4u);
    w.chkEnQDUCRAMEval.setValue(1);
    EXPECT_EQ(w.cmbRAMSegModeControl(1).ListIndex(), 3);
    EXPECT_FALSE(w.lblMCErr(1).Visible());
    // Code 0 is never offered.
    setPendingField(frmQDUCRSR::modeField(0), 0);
    w.RefreshFormVals();
    EXPECT_EQ(w.cmbRAMSegModeControl(0).ListIndex(), -1);
    EXPECT_TRUE(w.lblMCErr(0).Visible());
    w.cmbRAMSegModeControl(0).setListIndex(1);
    EXPECT_FALSE(w.lblMCErr(0).Visible());
    EXPECT_EQ(pendingField(frmQDUCRSR::modeField(0)), 2u);
}

TEST_F(RamSegmentWindow, LoadSendsCfr1ThenBothSegmentsWithAPulseAfterEach)
{
    plugBoard();
    frmQDUCRSR& w = open();
    setPending(kRSR0, 0x1234'5678'9ABCull);
    setPending(kRSR1, 0x0000'FFC0'0041ull);
    setPendingField(frmQDUCRSR::kRAMEnable, 1);
    setAutoIOUpdate(true);
    clearTraffic();
    w.cmdLoad.click();
    EXPECT_EQ(writtenAddresses(), (QList<int>{kCFR1, kRSR0, kRSR1}));
    EXPECT_EQ(chip().ioUpdateCount(), 3);
    for (int16_t addr : {kCFR1, kRSR0, kRSR1}) {
        EXPECT_EQ(chip().activeRegister(addr), pending(addr)) << addr;
        EXPECT_EQ(written(addr), pending(addr)) << addr;
    }
    setAutoIOUpdate(false);
    w.cmdLoad.click();
    EXPECT_EQ(chip().ioUpdateCount(), 3) << "no pulse without Auto";
}

TEST_F(RamSegmentWindow, OfflineLoadCopiesIntoTheWrittenMapAndAsks)
{
    frmQDUCRSR& w = open();
    setPending(kRSR1, 77);
    os::testing::soundRecorder().played.clear();
    w.cmdLoad.click();
    EXPECT_EQ(written(kRSR1), 77u);
    EXPECT_EQ(os::testing::soundRecorder().played, QStringList{QStringLiteral("SystemQuestion")});
}

TEST_F(RamSegmentWindow, SingleToneLoadTakesTheRamOffByThePendingBitOutsideRunModeFour)
{
    plugBoard();
    for (const int16_t runMode : {int16_t{0}, int16_t{4}}) {
        frmQDUCRSR& w = open();
        giRunMode = runMode;
        setOperatingMode(1, false);
        w.RefreshFormVals();
        // Another window sets the RAM enable after this one last looked: the box is stale.
        setPendingField(frmQDUCRSR::kRAMEnable, 1);
        setPendingField(regBit(kCFR2, 19), 1);
        EXPECT_EQ(w.chkEnableRAM.Value(), 0);
        clearTraffic();
        w.cmdLoad.click();
        const uint64_t kept = runMode == 4 ? 1 : 0;
        EXPECT_EQ(pendingField(frmQDUCRSR::kRAMEnable), kept) << runMode;
        EXPECT_EQ(pendingField(regBit(kCFR2, 19)), kept) << runMode;
        EXPECT_EQ(valueOf(serialWrites().value(0).value) >> 31, kept) << runMode;
        EXPECT_EQ(w.chkEnableRAM.Value(), 0) << "the box follows the bit";
        EXPECT_EQ(writtenAddresses(), (QList<int>{kCFR1, kRSR0, kRSR1})) << "CFR2 is not sent";
    }
}

struct GreyCase {
    int mode;
    bool ram;
    int code;
    bool enableGrey, destGrey, beginGrey, finalGrey, loadFrameGrey;
};

class RamSegmentGreying : public RamSegmentWindow, public ::testing::WithParamInterface<GreyCase> {};

TEST_P(RamSegmentGreying, ColoursFollowTheOperatingModeRamAndCode)
{
    const GreyCase c = GetParam();
    frmQDUCRSR& w = open();
    // Single tone first, so that the load frame has been grey before.
    setOperatingMode(1, false);
    w.RefreshFormVals();
    setOperatingMode(c.mode, c.ram);
    setPendingField(frmQDUCRSR::modeField(0), static_cast<uint64_t>(c.code));
    w.RefreshFormVals();
    const auto colour = [](bool grey) { return grey ? kGrey : kNormal; };
    EXPECT_EQ(w.chkEnableRAM.ForeColor(), colour(c.enableGrey));
    EXPECT_EQ(w.chkEnQDUCRAMEval.ForeColor(), colour(c.destGrey));
    EXPECT_EQ(w.txtRAMSegBeginAddr(0).ForeColor(), colour(c.beginGrey));
    EXPECT_EQ(w.fraProfileRAM(0).ForeColor(), colour(c.beginGrey));
    EXPECT_EQ(w.txtRAMSegFinalAddr(0).ForeColor(), colour(c.finalGrey));
    EXPECT_EQ(w.txtRAMSegAddrRampRate(0).ForeColor(), colour(c.finalGrey));
    EXPECT_EQ(w.fraRAMFile.ForeColor(), colour(c.loadFrameGrey));
    EXPECT_EQ(w.txtQDRAMFile.ForeColor(), colour(c.loadFrameGrey));
}

INSTANTIATE_TEST_SUITE_P(Modes, RamSegmentGreying,
                         ::testing::Values(GreyCase{0, true, 1, false, false, false, false, false},
                                           GreyCase{0, true, 0, false, false, false, true, false},
                                           GreyCase{0, false, 1, false, true, true, true, false},
                                           GreyCase{1, true, 1, true, true, true, true, true},
                                           GreyCase{2, true, 2, false, true, false, false, false},
                                           GreyCase{3, true, 0, false, true, false, true, false},
                                           GreyCase{3, false, 1, false, true, true, true, false}));

TEST_F(RamSegmentWindow, IndicatorBlinksForItsOwnBitsOnly)
{
    frmQDUCRSR& w = open();
    const auto ticks = [&](int count) {
        QList<bool> shown;
        for (int k = 0; k < count; ++k) {
            ui::testing::clock().advance(200);
            shown << w.lblLoadFlash.Visible();
        }
        return shown;
    };
    setPendingField(regBit(kCFR1, 9), 1);
    EXPECT_EQ(ticks(2), (QList<bool>{false, false}));
    setPendingField(frmQDUCRSR::kQDUCRAMDest, 1);
    EXPECT_EQ(ticks(2), (QList<bool>{true, false}));
    w.cmdLoad.click();
    EXPECT_EQ(ticks(2), (QList<bool>{false, false}));
}

TEST_F(RamSegmentWindow, ClockThatCannotConvertKeepsTheWordAndTheText)
{
    frmQDUCRSR& w = open();
    setPendingField(frmQDUCRSR::rampRateField(0), 250);
    w.RefreshFormVals();
    ASSERT_EQ(w.txtRAMSegAddrRampRate(0).Text(), QStringLiteral("1.0000"));
    setClock(QStringLiteral("0.00000"));
    auto& messages = ui::testing::messageBoxes();
    messages.expect(kUnusableClock, ui::vbOK);
    retype(w.txtRAMSegAddrRampRate(0), QStringLiteral("2\r"));
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(w.txtRAMSegAddrRampRate(0).Text(), QStringLiteral("1.0000"));
    EXPECT_EQ(pendingField(frmQDUCRSR::rampRateField(0)), 250u);
    messages.expect(kUnusableClock, ui::vbOK);
    doubleClick(w.txtRAMSegAddrRampRate(0));
    EXPECT_EQ(messages.shown.size(), 2u);
    for (const auto& box : messages.shown)
        EXPECT_EQ(box.title, QStringLiteral("Invalid Parameter Passed"));
    EXPECT_TRUE(ui::testing::modalShows().isEmpty());
    EXPECT_EQ(pendingField(frmQDUCRSR::rampRateField(0)), 250u);
}

TEST_F(RamSegmentWindow, DoubleClickStoresTheDialogsWordAndIsfcButtonsDriveTheLine)
{
    plugBoard();
    frmQDUCRSR& w = open();
    ui::testing::onModal<frmEditRAMAddrRR>([](frmEditRAMAddrRR& d) {
        d.txtDec.SetFocus();
        d.txtDec.setText(QStringLiteral("1000"));
        d.OKButton.SetFocus();
        d.OKButton.click();
    });
    doubleClick(w.txtRAMSegAddrRampRate(1));
    EXPECT_EQ(pendingField(frmQDUCRSR::rampRateField(1)), 1000u);
    EXPECT_EQ(w.txtRAMSegAddrRampRate(1).Text(), QStringLiteral("4.0000"));
    EXPECT_EQ(ui::testing::modalShows(), QStringList{QStringLiteral("frmEditRAMAddrRR")});

    for (int line : {1, 0}) {
        w.cmdSetISFCPin(line).click();
        EXPECT_EQ(chip().isfc(), line == 1);
        EXPECT_EQ(w.lblISFCHilight(line).Visible(), true);
        EXPECT_EQ(w.lblISFCHilight(1 - line).Visible(), false);
    }
}

TEST_F(RamSegmentWindow, ViewEntryOpensTheWindowAndTheCloseBoxUnticksIt)
{
    mdi->mnuViewQDRSR.choose();
    frmQDUCRSR* w = ui::loadedForm<frmQDUCRSR>();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(mdi->mnuViewQDRSR.Checked());
    EXPECT_EQ(w->Caption(), QStringLiteral("QDUC RAM Control"));
    const QSize size = w->frameWidget()->sizeHint();
    EXPECT_LE(size.width(), 1600);
    EXPECT_LE(size.height(), 1000);
    w->Unload(ui::vbFormControlMenu);
    EXPECT_FALSE(mdi->mnuViewQDRSR.Checked());
}

// Both segment registers whole and of CFR1 the RAM enable and destination; the untouched segment bits too,
// since LOAD sends them.
TEST_F(RamSegmentWindow, IndicatorBlinksForEveryBitTheWindowOwnsAndForNoOther)
{
    frmQDUCRSR& w = open();
    w.cmdLoad.click();
    ui::testing::clock().advance(400);
    ASSERT_FALSE(w.lblLoadFlash.Visible());
    const struct {
        int16_t addr;
        QList<int> owned;
    } cases[] = {
        {kCFR1, {28, 31}},
        {kCFR2, {}},
        {kRSR0, profiletest::bitRange(47, 0)},
        {kRSR1, profiletest::bitRange(47, 0)},
        {0x0E, {}},
        {0x07, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(profiletest::blinkingBits(w.lblLoadFlash, c.addr), c.owned) << "register " << c.addr;
}

// How a LOAD of the window ends, with "Auto" checked and a change in each of its three registers.
struct LoadOutcomeCase {
    const char* name;
    bool board;
    bool busy;
    int failedWrite; // the nth register's write fails (0: none)
    const char* message;
    QList<int> sent;      // the registers that went down the serial pipe
    QList<int> reached;   // the registers whose written copy is the pending value afterwards
    int pulses;           // I/O update pulses
    bool question;        // "SystemQuestion" played
    bool indicatorBlinks; // afterwards
};

class RamSegmentLoadOutcome : public RamSegmentWindow, public ::testing::WithParamInterface<LoadOutcomeCase> {
protected:
    // Runs `action` while the board object waits in the middle of reading a register back.
    void whileBusy(const std::function<void()>& action)
    {
        bool ran = false;
        const auto timer = ui::testing::clock().startTimer(100, [&] {
            if (!std::exchange(ran, true))
                action();
        });
        bd().USBSerialReadPKT(0x0E);
        ui::testing::clock().stopTimer(timer);
        ASSERT_TRUE(ran);
    }
};

TEST_P(RamSegmentLoadOutcome, IsToldAndLeavesTheMapsAndTheIndicatorAsItSays)
{
    const LoadOutcomeCase& c = GetParam();
    if (c.board)
        plugBoard();
    gbBoardConnected = c.board;
    frmQDUCRSR& w = open();
    setAutoIOUpdate(true);
    setPendingField(frmQDUCRSR::kQDUCRAMDest, 1);
    setPendingField(frmQDUCRSR::beginAddrField(0), 100);
    setPendingField(frmQDUCRSR::finalAddrField(1), 200);
    const QList<int> ours = {kCFR1, kRSR0, kRSR1};
    QList<uint64_t> writtenBefore;
    for (int addr : ours)
        writtenBefore << written(static_cast<int16_t>(addr));
    if (c.failedWrite > 0)
        drv.failTransfer(0, 3, c.failedWrite);
    auto& boxes = ui::testing::messageBoxes();
    boxes.reset();
    if (c.message)
        boxes.expect(QString::fromLatin1(c.message));
    os::testing::soundRecorder().played.clear();
    const int pulsesBefore = c.board ? chip().ioUpdateCount() : 0;
    if (c.board)
        clearTraffic();

    if (c.busy)
        whileBusy([&] { w.cmdLoad.click(); });
    else
        w.cmdLoad.click();

    if (c.message) {
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].prompt, QString::fromLatin1(c.message));
        EXPECT_EQ(boxes.shown[0].title, QStringLiteral("LOAD"));
    } else {
        EXPECT_TRUE(boxes.shown.empty()) << boxes.shown[0].prompt.toStdString();
    }
    if (c.board) {
        QList<int> sent;
        for (const SerialWrite& write : serialWrites())
            if (write.addr != 0x0E) // the read-back that kept the board busy
                sent << write.addr;
        EXPECT_EQ(sent, c.sent);
        EXPECT_EQ(chip().ioUpdateCount() - pulsesBefore, c.pulses);
    }
    for (qsizetype k = 0; k < ours.size(); ++k) {
        const auto addr = static_cast<int16_t>(ours[k]);
        if (c.reached.contains(ours[k]))
            EXPECT_EQ(written(addr), pending(addr)) << addr;
        else
            EXPECT_EQ(written(addr), writtenBefore[k]) << addr;
    }
    EXPECT_EQ(os::testing::soundRecorder().played.contains(QStringLiteral("SystemQuestion")), c.question);
    EXPECT_TRUE(w.cmdLoad.Enabled());
    bool blinked = false;
    for (int k = 0; k < 2; ++k) {
        ui::testing::clock().advance(200);
        blinked = blinked || w.lblLoadFlash.Visible();
    }
    EXPECT_EQ(blinked, c.indicatorBlinks);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, RamSegmentLoadOutcome,
    ::testing::Values(
        LoadOutcomeCase{
            "loaded", true, false, 0, nullptr, {kCFR1, kRSR0, kRSR1}, {kCFR1, kRSR0, kRSR1}, 3, false, false},
        // The rest still go, each with its pulse; the failed one keeps the indicator blinking.
        LoadOutcomeCase{
            "failed",
            true,
            false,
            2,
            "Not every register reached the chip.\r\nThe load indicator blinks until a LOAD succeeds.",
            {kCFR1, kRSR1},
            {kCFR1, kRSR1},
            3,
            false,
            true},
        LoadOutcomeCase{
            "refused",
            true,
            true,
            0,
            "The board is busy with another transfer.\r\nNothing was loaded: press LOAD again when it "
            "has finished.",
            {},
            {},
            0,
            false,
            true},
        LoadOutcomeCase{"offline", false, false, 0, nullptr, {}, {kCFR1, kRSR0, kRSR1}, 0, true, false}),
    [](const ::testing::TestParamInfo<LoadOutcomeCase>& info) { return std::string(info.param.name); });

} // namespace
