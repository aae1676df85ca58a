// The Control window's clock: the system clock of both PLL layouts, the reference and system clock
// marks, the revision 3 multiplier, and the VCO band choices of both layouts at their boundaries.

#include "control_fixture.h"

#include "platform/ui/test_doubles.h"

#include <QStringList>

using namespace controltest;

namespace {

constexpr int16_t kCFR3 = 0x02;
constexpr int16_t kIOUD = 0x04;

class ControlClockRev3 : public ControlWindowTest {
protected:
    void SetUp() override { useRevision(3); }

    // PLL on with a multiplier and no doubler: the system clock is reference x multiplier.
    frmControl& openWithPll(int multiplier)
    {
        frmControl& w = open();
        w.chkEnablePllSR3.setValue(1);
        w.txtCLKMultiVal.setText(QString::number(multiplier));
        w.chkPFDInputDblr.setValue(0);
        return w;
    }
};

class ControlClockRev12 : public ControlWindowTest {
protected:
    void SetUp() override { useRevision(2); }
};

TEST_F(ControlClockRev12, SystemClockIsRatioOverDividerTimesReference)
{
    frmControl& w = open();
    w.chkEnableMulti.setValue(0);
    w.chkRefclkDivDisable.setValue(0);
    w.txtExternClk.setText(QStringLiteral("1000"));
    EXPECT_EQ(w.txtSysClkTxt.Text(), QStringLiteral("500.00000"));
    EXPECT_EQ(w.txtRefClk.Text(), QStringLiteral("500.00000"));
    EXPECT_EQ(w.txtVCOFreq.Text(), QStringLiteral("VCOFreq"));
    EXPECT_TRUE(w.txtMultiBypassed.Visible());

    w.chkEnableMulti.setValue(1);
    w.cmbRFDividerRatio.setListIndex(19); // 20x
    w.chkRefclkDivDisable.setValue(1);
    w.txtExternClk.setText(QStringLiteral("25"));
    EXPECT_EQ(w.txtSysClkTxt.Text(), QStringLiteral("500.00000"));
    EXPECT_EQ(w.txtRefClk.Text(), QStringLiteral("25.00000"));
    EXPECT_FALSE(w.txtMultiBypassed.Visible());
    w.cmbMDivider.setListIndex(2); // x4
    EXPECT_EQ(w.txtVCOFreq.Text(), QStringLiteral("2000.00000"));
    EXPECT_DOUBLE_EQ(w.GetVCOFreqVal(), 2000);
    // The PLL bits went into CFR3: enable, ratio index, M divider, ÷2 disable.
    EXPECT_EQ(pendingField(kCFR3, 8, 8), 1u);
    EXPECT_EQ(pendingField(kCFR3, 7, 2), 19u);
    EXPECT_EQ(pendingField(kCFR3, 1, 0), 2u);
    EXPECT_EQ(pendingField(kCFR3, 15, 15), 1u);
}

TEST_F(ControlClockRev3, SystemClockIsReferenceTimesMultiplierAndDoublerOrReferenceOverDivider)
{
    frmControl& w = openWithPll(20);
    w.chkPFDInputDblr.setValue(1);
    w.txtExternClk.setText(QStringLiteral("25"));
    EXPECT_EQ(w.txtSysClkTxt.Text(), QStringLiteral("1000.00000"));
    EXPECT_FALSE(w.lblErr(1).Visible());
    EXPECT_EQ(pendingField(kCFR3, 7, 1), 20u);
    EXPECT_EQ(pendingField(kCFR3, 0, 0), 1u);
    EXPECT_EQ(pendingField(kCFR3, 8, 8), 1u);

    // PLL off: the doubler no longer counts, the ÷2 divider does.
    w.chkEnablePllSR3.setValue(0);
    w.chkRefclkDivDisable.setValue(0);
    EXPECT_EQ(w.txtSysClkTxt.Text(), QStringLiteral("12.50000"));
    EXPECT_EQ(w.txtRefClk.Text(), QStringLiteral("12.50000"));
    EXPECT_EQ(pendingField(kCFR3, 8, 8), 0u);
}

TEST_F(ControlClockRev3, ReferenceClockMarkAndItsFormat)
{
    frmControl& w = open();
    struct Case {
        const char* text;
        bool marked;
    };
    for (const Case& c : {Case{"2000", false}, Case{"2000.00001", true}, Case{"0", true}, Case{"abc", true},
                          Case{"1", false}}) {
        SCOPED_TRACE(c.text);
        w.txtExternClk.setText(QString::fromLatin1(c.text));
        EXPECT_EQ(w.lblErr(0).Visible(), c.marked);
    }
    // Leaving the box writes the number in the clock format.
    w.txtExternClk.setText(QStringLiteral("25.5"));
    bool cancel = false;
    w.txtExternClk.Validate(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(w.txtExternClk.Text(), QStringLiteral("25.50000"));
}

TEST_F(ControlClockRev3, AReferenceOutOfRangeKeepsItsMarkWhenThePllRecomputes)
{
    frmControl& w = openWithPll(10);
    w.txtExternClk.setText(QStringLiteral("2500"));
    ASSERT_TRUE(w.lblErr(0).Visible());
    w.chkPFDInputDblr.setValue(1); // recomputes the clock from the rejected reference
    EXPECT_TRUE(w.lblErr(0).Visible());
}

TEST_F(ControlClockRev3, ReferenceKeysAndEnter)
{
    frmControl& w = open();
    w.txtExternClk.setText(QStringLiteral("12.5"));
    w.txtExternClk.setSelStart(4);
    w.txtExternClk.setSelLength(0);
    int key = '.';
    w.txtExternClk.KeyPress(key);
    EXPECT_EQ(key, 0) << "a second decimal separator";
    w.txtExternClk.setSelStart(0);
    w.txtExternClk.setSelLength(4); // the separator is inside the selection
    key = '.';
    w.txtExternClk.KeyPress(key);
    EXPECT_EQ(key, '.');
    for (const int refused : {int{'-'}, int{'+'}, int{'x'}}) {
        key = refused;
        w.txtExternClk.KeyPress(key);
        EXPECT_EQ(key, 0) << char(refused);
    }
    key = 'e';
    w.txtExternClk.KeyPress(key);
    EXPECT_EQ(key, 'E');
    key = 13;
    w.txtExternClk.KeyPress(key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(w.txtExternClk.Text(), QStringLiteral("12.50000")) << "Enter runs the validation";
}

// The system clock is valid from above 0 to 1000 MHz; only then are the I/O update texts recomputed.
TEST_F(ControlClockRev3, SystemClockLimitsAndTheZeroClock)
{
    frmControl& w = open();
    w.chkEnablePllSR3.setValue(0);
    w.chkRefclkDivDisable.setValue(1); // system clock = reference
    setPending(kIOUD, 25);
    w.txtExternClk.setText(QStringLiteral("100"));
    EXPECT_EQ(w.txtInternalIOUDRate.Text(), QStringLiteral("1.0000000e-06"));

    w.txtExternClk.setText(QStringLiteral("1000"));
    EXPECT_EQ(w.txtSysClkTxt.Text(), QStringLiteral("1000.00000"));
    EXPECT_FALSE(w.lblErr(1).Visible());
    EXPECT_EQ(w.txtInternalIOUDRate.Text(), QStringLiteral("100.0000000e-09"));

    setPending(kIOUD, 50);
    w.txtExternClk.setText(QStringLiteral("1000.00001"));
    EXPECT_EQ(w.txtSysClkTxt.Text(), QStringLiteral("1000.00001"));
    EXPECT_TRUE(w.lblErr(1).Visible());
    EXPECT_EQ(w.txtInternalIOUDRate.Text(), QStringLiteral("100.0000000e-09")) << "nothing refreshed";

    // A tiny reference gives a clock that shows as 0: marked like one above the limit.
    w.txtExternClk.setText(QStringLiteral("0.000001"));
    EXPECT_FALSE(w.lblErr(0).Visible());
    EXPECT_EQ(w.txtSysClkTxt.Text(), QStringLiteral("0.00000"));
    EXPECT_TRUE(w.lblErr(1).Visible());
    EXPECT_EQ(w.txtInternalIOUDRate.Text(), QStringLiteral("100.0000000e-09")) << "nothing refreshed";
    // The period is never worked out with it.
    w.cmbIOUpdateClkDiv.setListIndex(1);
    EXPECT_EQ(w.txtInternalIOUDRate.Text(), QString());
    EXPECT_EQ(w.lblIOUDRateVal.Caption(), QString());
    w.txtInternalIOUDRate.setText(QStringLiteral("0.001"));
    bool cancel = false;
    w.txtInternalIOUDRate.Validate(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(pending(kIOUD), 50u) << "no count from a zero clock";
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
}

TEST_F(ControlClockRev3, MultiplierMarksWritesAndClips)
{
    frmControl& w = openWithPll(20);
    struct Case {
        const char* text;
        bool marked;
        int written; // -1: the field keeps its value
    };
    const Case cases[] = {{"11", true, 11},    {"128", true, -1}, {"12", false, 12},
                          {"10", false, 10},   {"8", false, 8},   {"7", true, 7},
                          {"127", false, 127}, {"0", true, 0},    {"", true, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const uint64_t before = pendingField(kCFR3, 7, 1);
        w.txtCLKMultiVal.setText(QString::fromLatin1(c.text));
        EXPECT_EQ(w.lblErr(4).Visible(), c.marked);
        EXPECT_EQ(pendingField(kCFR3, 7, 1), c.written < 0 ? before : uint64_t(c.written));
    }
    // Leaving the box clips into 8-127.
    for (const auto& [typed, shown] : {std::pair{"128", "127"}, std::pair{"5", "8"}, std::pair{"64", "64"}}) {
        w.txtCLKMultiVal.setText(QString::fromLatin1(typed));
        bool cancel = false;
        w.txtCLKMultiVal.Validate(cancel);
        EXPECT_EQ(w.txtCLKMultiVal.Text(), QString::fromLatin1(shown));
    }
    EXPECT_EQ(pendingField(kCFR3, 7, 1), 64u);
}

TEST_F(ControlClockRev3, MultiplierSpinAndArrowKeysWrapAtTheEnds)
{
    frmControl& w = openWithPll(20);
    const auto spin = [&](const char* from, bool up) {
        w.txtCLKMultiVal.setText(QString::fromLatin1(from));
        up ? w.vscMultiplier.stepUp() : w.vscMultiplier.stepDown();
        EXPECT_EQ(w.vscMultiplier.Value(), 0);
        return w.txtCLKMultiVal.Text();
    };
    EXPECT_EQ(spin("20", true), QStringLiteral("21"));
    EXPECT_EQ(spin("20", false), QStringLiteral("19"));
    EXPECT_EQ(spin("127", true), QStringLiteral("0"));
    EXPECT_EQ(spin("0", false), QStringLiteral("127"));
    EXPECT_EQ(pendingField(kCFR3, 7, 1), 127u);

    w.txtCLKMultiVal.setText(QStringLiteral("30"));
    int key = 38;
    w.txtCLKMultiVal.KeyDown(key, 0);
    EXPECT_EQ(w.txtCLKMultiVal.Text(), QStringLiteral("31"));
    key = 40;
    w.txtCLKMultiVal.KeyDown(key, 0);
    key = 40;
    w.txtCLKMultiVal.KeyDown(key, 0);
    EXPECT_EQ(w.txtCLKMultiVal.Text(), QStringLiteral("29"));
    key = 'a';
    w.txtCLKMultiVal.KeyPress(key);
    EXPECT_EQ(key, 0);
}

TEST_F(ControlClockRev3, WithThePllOffEverySystemClockChangeMarksTheBand)
{
    frmControl& w = open();
    w.chkEnablePllSR3.setValue(0);
    for (const char* reference : {"100", "800", "1500"}) {
        w.lblErr(5).setVisible(false);
        w.txtExternClk.setText(QString::fromLatin1(reference));
        EXPECT_TRUE(w.lblErr(5).Visible()) << reference;
    }
}

// Bands (MHz): 0: 420-485, 1: 482-562, 2: 562-656, 3: 656-832, 4: 832-920, 5: 920-1080. Where two hold
// the clock the first wins; outside them the list keeps its row and the band is marked.
TEST_F(ControlClockRev3, BandFollowsTheSystemClockAtItsBoundaries)
{
    frmControl& w = openWithPll(10);
    struct Case {
        const char* reference; // x 10 = system clock
        int band;              // -1: none holds it
    };
    const Case cases[] = {{"42", 0},   {"41.99999", -1}, {"48.2", 0}, {"48.5", 0},  {"48.6", 1}, {"56.2", 1},
                          {"56.3", 2}, {"65.6", 2},      {"65.7", 3}, {"83.2", 3},  {"83.3", 4}, {"92", 4},
                          {"92.1", 5}, {"100", 5},       {"108", 5},  {"108.1", -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reference);
        const int before = w.lsbVCORangeSR3.ListIndex();
        const uint64_t bitsBefore = pendingField(kCFR3, 26, 24);
        w.txtExternClk.setText(QString::fromLatin1(c.reference));
        EXPECT_EQ(w.GetVCORangeSR3(), c.band < 0 ? 6 : c.band);
        if (c.band >= 0) {
            EXPECT_EQ(w.lsbVCORangeSR3.ListIndex(), c.band);
            EXPECT_EQ(pendingField(kCFR3, 26, 24), uint64_t(c.band));
            EXPECT_FALSE(w.lblErr(5).Visible());
        } else {
            EXPECT_EQ(w.lsbVCORangeSR3.ListIndex(), before);
            EXPECT_EQ(pendingField(kCFR3, 26, 24), bitsBefore);
            EXPECT_TRUE(w.lblErr(5).Visible());
        }
    }
    // A band picked by hand that does not hold the clock is marked.
    w.txtExternClk.setText(QStringLiteral("50"));
    w.lsbVCORangeSR3.setListIndex(4);
    EXPECT_TRUE(w.lblErr(5).Visible());
    EXPECT_EQ(pendingField(kCFR3, 26, 24), 4u);
    w.lsbVCORangeSR3.setListIndex(1);
    EXPECT_FALSE(w.lblErr(5).Visible());
}

// With ratio 1x (or 2x), M divider x1 and ÷2 disabled the VCO runs at the reference (or twice it).
TEST_F(ControlClockRev12, BandFollowsTheVcoFrequencyAtItsBoundariesAndGaps)
{
    frmControl& w = open();
    w.chkEnableMulti.setValue(1);
    w.chkRefclkDivDisable.setValue(1);
    w.cmbMDivider.setListIndex(0);
    struct Case {
        int ratio;
        const char* reference;
        int band; // -1: in no band
    };
    const Case cases[] = {{1, "872.9", -1},  {1, "873", 0},     {1, "899", 0},   {1, "899.5", 1},
                          {1, "1004", 4},    {1, "1004.5", -1}, {1, "1005", 5},  {1, "1172", 15},
                          {1, "1190", 16},   {1, "1210", 17},   {1, "1260", -1}, {1, "1264", 21},
                          {2, "1040.5", 61}, {2, "1045", -1},   {2, "1069", 62}, {2, "1069.5", -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reference);
        w.cmbRFDividerRatio.setListIndex(c.ratio - 1);
        w.txtExternClk.setText(QString::fromLatin1(c.reference));
        EXPECT_EQ(w.GetVCORange(), c.band < 0 ? 63 : c.band);
        EXPECT_EQ(w.lstVCORange.ListIndex(), c.band < 0 ? 0 : c.band);
        EXPECT_EQ(pendingField(kCFR3, 29, 24), uint64_t(c.band < 0 ? 0 : c.band));
        EXPECT_EQ(w.lblErr(3).Visible(), c.band < 0);
    }
    w.chkEnableMulti.setValue(0);
    EXPECT_EQ(w.GetVCORange(), 64);
    EXPECT_EQ(w.SetVCORange(), -1);
}

TEST_F(ControlClockRev12, AutoFindsTheBandOrWarns)
{
    frmControl& w = open();
    w.chkEnableMulti.setValue(1);
    w.chkRefclkDivDisable.setValue(1);
    w.cmbRFDividerRatio.setListIndex(0);
    w.cmbMDivider.setListIndex(0);
    w.txtExternClk.setText(QStringLiteral("1005"));
    w.lstVCORange.setListIndex(30);
    ASSERT_TRUE(w.lblErr(3).Visible());
    w.cmdFindVCORange.click();
    EXPECT_EQ(w.lstVCORange.ListIndex(), 5);
    EXPECT_FALSE(w.lblErr(3).Visible());
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());

    w.txtExternClk.setText(QStringLiteral("1260"));
    w.lstVCORange.setListIndex(30);
    ui::testing::messageBoxes().answer(ui::vbOK);
    w.cmdFindVCORange.click();
    ASSERT_EQ(ui::testing::messageBoxes().shown.size(), 1u);
    const auto& box = ui::testing::messageBoxes().shown[0];
    EXPECT_EQ(box.prompt, QStringLiteral("A valid VCO Range could not be determined!\r\n\r\n"
                                         "A default VCO Range of 0 has been selected.\r\n"
                                         "This setting may be incorrect!\r\n\r\n"
                                         "Please manualy select a VCO Range!"));
    EXPECT_EQ(box.title, QStringLiteral("Warning"));
    EXPECT_EQ(box.buttons, ui::vbExclamation);
    EXPECT_EQ(w.lstVCORange.ListIndex(), 0);
    EXPECT_EQ(pendingField(kCFR3, 29, 24), 0u);
    EXPECT_TRUE(w.lblErr(3).Visible());
}

// Revision 1/2 silicon keeps its VCO range in bits 29:24; the revision 3 band logic leaves them alone and
// its mark stays down.
TEST_F(ControlClockRev12, TheRevision3BandNeverTouchesRevision12Silicon)
{
    frmControl& w = open();
    w.chkEnableMulti.setValue(1);
    w.chkRefclkDivDisable.setValue(1);
    w.cmbRFDividerRatio.setListIndex(0);
    w.txtExternClk.setText(QStringLiteral("1190"));
    ASSERT_EQ(pendingField(kCFR3, 29, 24), 16u);
    EXPECT_FALSE(w.lblErr(5).Visible());

    // Even with the revision 3 group shown by hand and its PLL box ticked.
    w.chkSR3.setValue(1);
    EXPECT_TRUE(w.rrfMultiplier.Visible());
    w.chkEnablePllSR3.setValue(1);
    w.lsbVCORangeSR3.setListIndex(3);
    w.txtExternClk.setText(QStringLiteral("1191"));
    EXPECT_EQ(pendingField(kCFR3, 29, 24), 16u);
    EXPECT_FALSE(w.lblErr(5).Visible());
}

TEST_F(ControlClockRev12, ListsAreFilledFromTheBandTables)
{
    frmControl& w = open();
    ASSERT_EQ(w.lstVCORange.ListCount(), 63);
    EXPECT_EQ(w.lstVCORange.List(0), QStringLiteral("873 MHz - 899 MHz"));
    EXPECT_EQ(w.lstVCORange.List(62), QStringLiteral("2105 MHz - 2138 MHz"));
    ASSERT_EQ(w.lsbVCORangeSR3.ListCount(), 6);
    EXPECT_EQ(w.lsbVCORangeSR3.List(5), QStringLiteral("920 MHz - 1080 MHz"));
    ASSERT_EQ(w.cmbRFDividerRatio.ListCount(), 64);
    EXPECT_EQ(w.cmbRFDividerRatio.List(0), QStringLiteral("1x"));
    EXPECT_EQ(w.cmbRFDividerRatio.List(63), QStringLiteral("64x"));
    ASSERT_EQ(w.cmbChargePumpCurrent.ListCount(), 8);
    EXPECT_EQ(w.cmbChargePumpCurrent.List(7), QStringLiteral("387 \u00B5A"));
}

} // namespace
