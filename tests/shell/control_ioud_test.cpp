// The internal I/O update rate: period and total from IOUD Rt, a typed period back into a count, its
// limits and messages, the unedited box, and the spin button that loads the register at once.

#include "control_fixture.h"

#include "board/vco_tables.h"

#include "platform/ui/colors.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/test_doubles.h"

using namespace controltest;

namespace {

constexpr int16_t kCFR2 = 0x01;
constexpr int16_t kIOUD = 0x04;
constexpr uint64_t kMaxCount = 0xFFFFFFFFu;

class ControlIOUpdate : public ControlWindowTest {
protected:
    void SetUp() override { useRevision(3); }

    // Revision 3 with the PLL off and the ÷2 divider disabled: the system clock is the reference.
    frmControl& openAt(const char* systemClockMHz)
    {
        frmControl& w = open();
        w.chkEnablePllSR3.setValue(0);
        w.chkRefclkDivDisable.setValue(1);
        w.txtExternClk.setText(QString::fromLatin1(systemClockMHz));
        return w;
    }

    // Types a period into the box and leaves it; returns whether the validation kept the focus.
    bool typePeriod(frmControl& w, const QString& text)
    {
        w.txtInternalIOUDRate.setText(text);
        bool cancel = false;
        w.txtInternalIOUDRate.Validate(cancel);
        return cancel;
    }

    const ui::testing::MessageBoxRecord* onlyBox() const
    {
        const auto& shown = ui::testing::messageBoxes().shown;
        return shown.size() == 1 ? &shown[0] : nullptr;
    }
};

TEST_F(ControlIOUpdate, PeriodAndTotalFromTheCount)
{
    frmControl& w = openAt("100");
    setPending(kIOUD, 25);
    w.cmbIOUpdateClkDiv.setListIndex(0);
    EXPECT_EQ(w.txtInternalIOUDRate.Text(), QStringLiteral("1.0000000e-06"));
    EXPECT_EQ(w.lblIOUDRateVal.Caption(), QStringLiteral("1.000 uS"));
    w.cmbIOUpdateClkDiv.setListIndex(2); // ÷4
    EXPECT_EQ(pendingField(kCFR2, 15, 14), 2u);
    EXPECT_EQ(w.txtInternalIOUDRate.Text(), QStringLiteral("1.0000000e-06")) << "the period has no divider";
    EXPECT_EQ(w.lblIOUDRateVal.Caption(), QStringLiteral("4.000 uS"));

    w.txtExternClk.setText(QStringLiteral("1000")); // a new clock refreshes the texts
    EXPECT_EQ(w.txtInternalIOUDRate.Text(), QStringLiteral("100.0000000e-09"));
    EXPECT_EQ(w.lblIOUDRateVal.Caption(), QStringLiteral("400.000 nS"));
}

TEST_F(ControlIOUpdate, TypedPeriodsBecomeCounts)
{
    frmControl& w = openAt("100");
    struct Case {
        const char* clock;
        const char* typed;
        uint64_t count;
    };
    const Case cases[] = {{"100", "1.0000000e-06", 25},     {"100", "1e-6", 25},
                          {"1000", "0.000001", 250}, // 249.99999999999997 is written as 250 first
                          {"1000", "0.000000015", 3},       {"1000", "0", 0},
                          {"100", "171.7986918", kMaxCount}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        w.txtExternClk.setText(QString::fromLatin1(c.clock));
        EXPECT_FALSE(typePeriod(w, QString::fromLatin1(c.typed)));
        EXPECT_EQ(pending(kIOUD), c.count);
    }
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());

    // Enter runs the validation too.
    w.txtInternalIOUDRate.setText(QStringLiteral("2e-6"));
    int key = 13;
    w.txtInternalIOUDRate.KeyPress(key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(pending(kIOUD), 50u);
    EXPECT_EQ(w.txtInternalIOUDRate.Text(), QStringLiteral("2.0000000e-06"));
}

TEST_F(ControlIOUpdate, PeriodsOutsideTheCountsAreReportedAndClamped)
{
    frmControl& w = openAt("100");
    const QString prompt = QStringLiteral("Invald Internal I/O Update Rate entered.\r\n"
                                          "The min value is 40.000 nS.\r\n"
                                          "The max value is 171.799 S.");
    struct Case {
        const char* typed;
        uint64_t count;
    };
    // Too long a period takes the largest count (never count 7); a negative one count 7.
    for (const Case& c : {Case{"1000", kMaxCount}, Case{"171.7986919", kMaxCount}, Case{"-1", 7}}) {
        SCOPED_TRACE(c.typed);
        setPending(kIOUD, 25);
        ui::testing::messageBoxes().reset();
        ui::testing::messageBoxes().answer(ui::vbOK);
        EXPECT_FALSE(typePeriod(w, QString::fromLatin1(c.typed)));
        EXPECT_EQ(pending(kIOUD), c.count);
        const auto* box = onlyBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->prompt, prompt);
        EXPECT_EQ(box->title, QStringLiteral("Invalid I/O Update Rate"));
        EXPECT_EQ(box->buttons, ui::vbExclamation);
        EXPECT_EQ(w.txtInternalIOUDRate.SelLength(), w.txtInternalIOUDRate.Text().size()) << "text selected";
    }

    // Not a number: the same box, the focus stays and nothing is written.
    setPending(kIOUD, 25);
    ui::testing::messageBoxes().reset();
    ui::testing::messageBoxes().answer(ui::vbOK);
    EXPECT_TRUE(typePeriod(w, QStringLiteral("fast")));
    EXPECT_EQ(pending(kIOUD), 25u);
    ASSERT_NE(onlyBox(), nullptr);
    EXPECT_EQ(onlyBox()->prompt, prompt);
}

// At 1000 MHz the largest counts show with fewer digits than they have: read back, the shown period
// would come out above the largest count.
TEST_F(ControlIOUpdate, LeavingTheBoxUneditedKeepsTheCount)
{
    frmControl& w = openAt("1000");
    setPending(kIOUD, 4294967291u);
    w.UpdateIOUDClk();
    const QString shown = w.txtInternalIOUDRate.Text();
    ASSERT_EQ(shown, QStringLiteral("17.1798692e+00"));
    ASSERT_EQ(ebTimeToSysClkCount(17.1798692, 1000), -1) << "the shown text does not convert back";

    bool cancel = false;
    w.txtInternalIOUDRate.Validate(cancel);
    w.txtInternalIOUDRate.Validate(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(pending(kIOUD), 4294967291u);
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());

    // Typed once and converted, the next unedited leave converts nothing again.
    EXPECT_FALSE(typePeriod(w, QStringLiteral("1e-3")));
    EXPECT_EQ(pending(kIOUD), 250000u);
    setPending(kIOUD, 250001u);
    w.txtInternalIOUDRate.Validate(cancel);
    EXPECT_EQ(pending(kIOUD), 250001u);
}

TEST_F(ControlIOUpdate, KeyFilter)
{
    frmControl& w = openAt("100");
    for (int key : {int('1'), int('.'), int('E'), int('-'), 8}) {
        int k = key;
        w.txtInternalIOUDRate.KeyPress(k);
        EXPECT_EQ(k, key) << char(key);
    }
    int k = 'x';
    w.txtInternalIOUDRate.KeyPress(k);
    EXPECT_EQ(k, 0);
}

TEST_F(ControlIOUpdate, SpinStepsTheCountAndLoadsItAtOnce)
{
    plugBoard();
    frmControl& w = openAt("100");
    struct Case {
        uint64_t from;
        bool up;
        uint64_t to;
    };
    const Case cases[] = {{kMaxCount, true, 2}, {7, true, 8},  {7, false, 6},
                          {2, false, 2},        {1, false, 0}, {0, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << (c.up ? " up" : " down"));
        setPending(kIOUD, c.from);
        clearTraffic();
        const int updatesBefore = chip().ioUpdateCount();
        c.up ? w.vscIOUDRate.stepUp() : w.vscIOUDRate.stepDown();
        EXPECT_EQ(w.vscIOUDRate.Value(), 0);
        EXPECT_EQ(pending(kIOUD), c.to);
        EXPECT_EQ(serialWrites(), (QList<SerialWrite>{{kIOUD, bits(c.to, 32)}}));
        EXPECT_EQ(written(kIOUD), c.to);
        EXPECT_EQ(chip().bufferRegister(kIOUD), c.to);
        EXPECT_EQ(chip().activeRegister(kIOUD), c.to) << "the I/O update pulse moved it into use";
        EXPECT_EQ(chip().ioUpdateCount(), updatesBefore + 1);
    }
    EXPECT_EQ(w.txtInternalIOUDRate.Text(), QStringLiteral("0.0000000e+00"));
}

TEST_F(ControlIOUpdate, SpinWithoutABoardStillStepsThePendingCount)
{
    frmControl& w = openAt("100");
    setPending(kIOUD, kMaxCount);
    w.vscIOUDRate.stepUp();
    EXPECT_EQ(pending(kIOUD), 2u);
    EXPECT_EQ(w.txtInternalIOUDRate.Text(), QStringLiteral("80.0000000e-09"));
    EXPECT_EQ(written(kIOUD), kMaxCount) << "nothing reached a chip";
}

TEST_F(ControlIOUpdate, InternalUpdateColoursItsGroup)
{
    frmControl& w = openAt("100");
    w.chkInternalIOUpdate.setValue(1);
    EXPECT_EQ(pendingField(kCFR2, 23, 23), 1u);
    ASSERT_GT(w.lneIOUDIll.Count(), 0);
    for (const ui::Line& line : w.lneIOUDIll)
        EXPECT_EQ(line.BorderColor(), 0x00FF00u);
    EXPECT_EQ(w.lblIOUDRateVal.ForeColor(), 0x00FF00u);
    EXPECT_EQ(w.lblIOUpdateRateTotal.ForeColor(), 0x00FF00u);
    EXPECT_EQ(w.txtInternalIOUDRate.ForeColor(), ui::colors::vbWindowText);
    EXPECT_EQ(w.cmbIOUpdateClkDiv.ForeColor(), ui::colors::vbWindowText);

    w.chkInternalIOUpdate.setValue(0);
    EXPECT_EQ(pendingField(kCFR2, 23, 23), 0u);
    for (const ui::Line& line : w.lneIOUDIll)
        EXPECT_EQ(line.BorderColor(), 0x808080u);
    EXPECT_EQ(w.lblIOUDRateVal.ForeColor(), 0x808080u);
    EXPECT_EQ(w.lblInternalIOUpdateRate.ForeColor(), ui::colors::vbGrayText);
    EXPECT_EQ(w.lblIOUDClkDivVal.ForeColor(), ui::colors::vbGrayText);
    EXPECT_EQ(w.txtInternalIOUDRate.ForeColor(), ui::colors::vbGrayText);
}

} // namespace
