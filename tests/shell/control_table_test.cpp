// The Control window's field table walked whole: it names exactly the fields below; each check box, list
// and value box stores into the pending map, LOAD puts the field on the chip and the refresh shows it back;
// and a LOAD refused because a transfer is in progress writes nothing and keeps the indicator blinking.

#include "control_fixture.h"

#include "platform/ui/msgbox.h"
#include "platform/ui/test_doubles.h"

#include <algorithm>
#include <tuple>
#include <vector>

using namespace controltest;

namespace {

// A control, its field, the layout that shows it (0 both, 2 revisions 1/2, 3 revision 3) and the index
// (= field value) a user picks to set it.
struct Expected {
    const char* control;
    int16_t addr;
    int hi;
    int lo;
    int layout;
    int on;
};

const Expected kFields[] = {
    {"lstOppMode", 0x00, 25, 24, 0, 2},
    {"chkEnableRAM", 0x00, 31, 31, 0, 1},
    {"chkEnQDUCRAMEval", 0x00, 28, 28, 0, 1},
    {"chkAutoPD", 0x00, 2, 2, 0, 1},
    {"chkDigitalPD", 0x00, 7, 7, 0, 1},
    {"chkDACPD", 0x00, 6, 6, 0, 1},
    {"chkClkInpPD", 0x00, 5, 5, 0, 1},
    {"chkAuxDACPD", 0x00, 4, 4, 0, 1},
    {"lsbExternPDMode", 0x00, 3, 3, 0, 1},
    {"chkAutoClearPhaseAcc", 0x00, 13, 13, 0, 1},
    {"chkClearPhaseAcc", 0x00, 11, 11, 0, 1},
    {"chkInternalIOUpdate", 0x01, 23, 23, 0, 1},
    {"chkEnableSincClkOut", 0x01, 22, 22, 0, 1},
    {"chkEnMatchedLatency", 0x01, 7, 7, 0, 1},
    {"chkActivateSXIMode", 0x01, 31, 31, 0, 1},
    {"lsbSXIBitOrder", 0x01, 30, 30, 0, 1},
    {"lsbDataFormatSXI", 0x01, 12, 12, 0, 1},
    {"chkEnablePDCLK", 0x01, 11, 11, 0, 1},
    {"chkInvertPDCLK", 0x01, 10, 10, 0, 1},
    {"chkInvertTxEnable", 0x01, 9, 9, 0, 1},
    {"chkEarlyFrameSyncEn", 0x01, 29, 29, 0, 1},
    {"chkPDClkRateCtrl", 0x01, 13, 13, 0, 1},
    {"chkDataAssmHldsLastVal", 0x01, 6, 6, 0, 1},
    {"cmbIOUpdateClkDiv", 0x01, 15, 14, 0, 3},
    {"chkRefclkDivDisable", 0x02, 15, 15, 0, 1},
    {"txtCLKMultiVal", 0x02, 7, 1, 3, 0},
    {"chkEnablePllSR3", 0x02, 8, 8, 3, 1},
    {"chkPFDInputDblr", 0x02, 0, 0, 3, 1},
    {"chkPFDXRST", 0x02, 10, 10, 3, 1},
    {"cmbABPW", 0x02, 12, 11, 3, 3},
    {"cmbChargePumpCurrent", 0x02, 21, 19, 3, 7},
    {"cmbDRV0", 0x02, 31, 30, 3, 3},
    {"cmbXTALOut", 0x02, 29, 28, 3, 3},
    {"lsbVCORangeSR3", 0x02, 26, 24, 3, 0},
    {"chkEnableMulti", 0x02, 8, 8, 2, 1},
    {"cmbRFDividerRatio", 0x02, 7, 2, 2, 63},
    {"chkNDivResetB", 0x02, 14, 14, 2, 1},
    {"cmbMDivider", 0x02, 1, 0, 2, 3},
    {"lstVCORange", 0x02, 29, 24, 2, 62},
    {"txtDACControl", 0x03, 7, 0, 0, 0},
};

const Expected* expectedFor(const regwin::FieldRow& row)
{
    for (const Expected& e : kFields)
        if (row.control->Name() == QLatin1String(e.control))
            return &e;
    return nullptr;
}

class ControlTable : public ControlWindowTest {};

TEST_F(ControlTable, NamesEveryFieldOfTheWindowOnce)
{
    using Row = std::tuple<QString, int, int, int>;
    std::vector<Row> table;
    for (const regwin::FieldRow& row : open().fields().rows())
        table.emplace_back(row.control->Name(), row.field.addr, row.field.hi, row.field.lo);
    std::vector<Row> expected;
    for (const Expected& e : kFields)
        expected.emplace_back(QString::fromLatin1(e.control), e.addr, e.hi, e.lo);
    std::sort(table.begin(), table.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(table, expected);
}

TEST_F(ControlTable, EveryChoiceReachesTheMapAndTheChipAndComesBack)
{
    plugBoard();
    int flipped = 0;
    for (const int16_t rev : {int16_t{3}, int16_t{2}}) {
        useRevision(rev);
        frmControl& w = open();
        // The walk leaves clocks and bands where they fall; their warnings are tested elsewhere.
        w.chkShowWarnings.setValue(0);
        for (const regwin::FieldRow& row : w.fields().rows()) {
            const Expected* e = expectedFor(row);
            ASSERT_NE(e, nullptr) << row.control->Name().toStdString();
            if (row.kind == regwin::FieldRow::Kind::Custom || (e->layout != 0 && e->layout != rev) ||
                (e->layout == 0 && rev != 3))
                continue;
            flipRow(
                row, e->on, static_cast<uint64_t>(e->on), [&] { w.cmdLoad.click(); },
                [&] { w.RefreshFormVals(); });
            ++flipped;
        }
    }
    EXPECT_EQ(flipped, 37);
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
}

TEST_F(ControlTable, ValueBoxesShowTheMapsFields)
{
    useRevision(3);
    frmControl& w = open();
    setPendingField(0x02, 7, 1, 100);
    setPendingField(0x02, 26, 24, 4);
    setPendingField(0x03, 7, 0, 0xA5);
    w.RefreshFormVals();
    EXPECT_EQ(w.txtCLKMultiVal.Text(), QStringLiteral("100"));
    EXPECT_EQ(w.lsbVCORangeSR3.ListIndex(), 4);
    EXPECT_EQ(w.txtDACControl.Text(), QStringLiteral("165"));
}

TEST_F(ControlTable, ValueBoxesStoreWhatIsTypedAndLoadPutsItOnTheChip)
{
    useRevision(3);
    plugBoard();
    frmControl& w = open();
    w.chkShowWarnings.setValue(0);
    w.txtCLKMultiVal.setText(QStringLiteral("20"));
    w.lsbVCORangeSR3.setListIndex(2);
    w.txtDACControl.setText(QStringLiteral("77"));
    bool cancel = false;
    w.txtDACControl.Validate(cancel);
    EXPECT_EQ(pendingField(0x02, 7, 1), 20U);
    EXPECT_EQ(pendingField(0x02, 26, 24), 2U);
    EXPECT_EQ(pendingField(0x03, 7, 0), 77U);
    w.cmdLoad.click();
    EXPECT_EQ(chip().bufferRegister(0x02) >> 1 & 0x7FU, 20U);
    EXPECT_EQ(chip().bufferRegister(0x02) >> 24 & 0x7U, 2U);
    EXPECT_EQ(chip().bufferRegister(0x03) & 0xFFU, 77U);
}

TEST_F(ControlTable, LoadRefusedDuringATransferWritesNothingAndKeepsTheIndicator)
{
    useRevision(3);
    plugBoard();
    frmControl& w = open();
    w.chkDigitalPD.setValue(1);
    ui::testing::clock().advance(200);
    ASSERT_TRUE(w.lblLoadFlash.Visible());
    auto& boxes = ui::testing::messageBoxes();
    boxes.reset();
    // LOAD pressed while the board object waits in the middle of reading a profile register.
    bool clicked = false;
    bool shownBefore = false;
    bool shownAfter = false;
    const auto timer = ui::testing::clock().startTimer(100, [&] {
        if (clicked)
            return;
        clicked = true;
        shownBefore = w.lblLoadFlash.Visible();
        w.cmdLoad.click();
        shownAfter = w.lblLoadFlash.Visible();
    });
    bd().USBSerialReadPKT(0x0E);
    ui::testing::clock().stopTimer(timer);
    ASSERT_TRUE(clicked);
    EXPECT_TRUE(shownBefore);
    EXPECT_TRUE(shownAfter) << "a LOAD that wrote nothing does not hide the indicator";
    EXPECT_EQ(chip().bufferRegister(0x00) >> 7 & 1U, 0U) << "nothing reached the chip";
    EXPECT_EQ(written(0x00) >> 7 & 1U, 0U);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].prompt,
              QStringLiteral("The board is busy with another transfer.\r\n"
                             "Nothing was loaded: press LOAD again when it has finished."));
    QList<bool> blinks;
    for (int k = 0; k < 4; ++k) {
        ui::testing::clock().advance(200);
        blinks << w.lblLoadFlash.Visible();
    }
    EXPECT_TRUE(blinks.contains(true)) << "still blinking: nothing reached the chip";
    EXPECT_TRUE(w.cmdLoad.Enabled());

    boxes.reset();
    w.cmdLoad.click();
    EXPECT_EQ(chip().bufferRegister(0x00) >> 7 & 1U, 1U);
    EXPECT_FALSE(w.lblLoadFlash.Visible());
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
