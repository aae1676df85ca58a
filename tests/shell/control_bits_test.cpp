// Every check box and list of the Control window against its register bits (both ways), the refresh
// guard, the operating-mode greying, the external power-down pin and the auxiliary DAC.

#include "control_fixture.h"

#include "shell/frm_graphics.h"

#include "platform/os/os_test_doubles.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"

#include <QImage>

using namespace controltest;

namespace {

constexpr int16_t kCFR1 = 0x00;
constexpr int16_t kCFR2 = 0x01;
constexpr int16_t kCFR3 = 0x02;
constexpr int16_t kDAC = 0x03;

enum Layout { Any, Rev3Only, Rev12Only };

struct BitBox {
    const char* name;
    int16_t addr;
    int bit;
    Layout layout;
};

const BitBox kBitBoxes[] = {
    {"chkEnableRAM", kCFR1, 31, Any},
    {"chkEnQDUCRAMEval", kCFR1, 28, Any},
    {"chkAutoClearPhaseAcc", kCFR1, 13, Any},
    {"chkClearPhaseAcc", kCFR1, 11, Any},
    {"chkDigitalPD", kCFR1, 7, Any},
    {"chkDACPD", kCFR1, 6, Any},
    {"chkClkInpPD", kCFR1, 5, Any},
    {"chkAuxDACPD", kCFR1, 4, Any},
    {"chkAutoPD", kCFR1, 2, Any},
    {"chkActivateSXIMode", kCFR2, 31, Any},
    {"chkEarlyFrameSyncEn", kCFR2, 29, Any},
    {"chkInternalIOUpdate", kCFR2, 23, Any},
    {"chkEnableSincClkOut", kCFR2, 22, Any},
    {"chkPDClkRateCtrl", kCFR2, 13, Any},
    {"chkEnablePDCLK", kCFR2, 11, Any},
    {"chkInvertPDCLK", kCFR2, 10, Any},
    {"chkInvertTxEnable", kCFR2, 9, Any},
    {"chkEnMatchedLatency", kCFR2, 7, Any},
    {"chkDataAssmHldsLastVal", kCFR2, 6, Any},
    {"chkRefclkDivDisable", kCFR3, 15, Any},
    {"chkNDivResetB", kCFR3, 14, Rev12Only},
    {"chkPFDXRST", kCFR3, 10, Rev3Only},
    {"chkEnableMulti", kCFR3, 8, Rev12Only},
    {"chkEnablePllSR3", kCFR3, 8, Rev3Only},
    {"chkPFDInputDblr", kCFR3, 0, Rev3Only},
};

struct FieldList {
    const char* name;
    int16_t addr;
    int hi;
    int lo;
    int items;
    Layout layout;
};

const FieldList kFieldLists[] = {
    {"lstOppMode", kCFR1, 25, 24, 3, Any},
    {"lsbExternPDMode", kCFR1, 3, 3, 2, Any},
    {"lsbSXIBitOrder", kCFR2, 30, 30, 2, Any},
    {"cmbIOUpdateClkDiv", kCFR2, 15, 14, 4, Any},
    {"lsbDataFormatSXI", kCFR2, 12, 12, 2, Any},
    {"cmbDRV0", kCFR3, 31, 30, 4, Rev3Only},
    {"cmbXTALOut", kCFR3, 29, 28, 4, Rev3Only},
    {"lsbVCORangeSR3", kCFR3, 26, 24, 6, Rev3Only},
    {"cmbChargePumpCurrent", kCFR3, 21, 19, 8, Rev3Only},
    {"cmbABPW", kCFR3, 12, 11, 4, Rev3Only},
    {"lstVCORange", kCFR3, 29, 24, 63, Rev12Only},
    {"cmbRFDividerRatio", kCFR3, 7, 2, 64, Rev12Only},
    {"cmbMDivider", kCFR3, 1, 0, 4, Rev12Only},
};

// A list or a drop-down list, by name.
struct AnyList {
    ui::ListBox* list = nullptr;
    ui::ComboBox* combo = nullptr;
    int count() const { return list ? list->ListCount() : combo->ListCount(); }
    int index() const { return list ? list->ListIndex() : combo->ListIndex(); }
    void select(int i) const { list ? list->setListIndex(i) : combo->setListIndex(i); }
};

AnyList listNamed(frmControl& w, const char* name)
{
    ui::Control* control = w.control(QString::fromLatin1(name));
    return {dynamic_cast<ui::ListBox*>(control), dynamic_cast<ui::ComboBox*>(control)};
}

ui::CheckBox& boxNamed(frmControl& w, const char* name)
{
    return dynamic_cast<ui::CheckBox&>(*w.control(QString::fromLatin1(name)));
}

bool applies(Layout layout, int16_t rev)
{
    return layout == Any || (layout == Rev3Only) == (rev == 3);
}

class ControlBitsBothLayouts : public ControlWindowTest, public ::testing::WithParamInterface<int16_t> {
protected:
    void SetUp() override { useRevision(GetParam()); }
};

TEST_P(ControlBitsBothLayouts, EveryCheckBoxWritesItsBitAndShowsIt)
{
    frmControl& w = open();
    for (const BitBox& b : kBitBoxes) {
        if (!applies(b.layout, GetParam()))
            continue;
        SCOPED_TRACE(b.name);
        ui::CheckBox& box = boxNamed(w, b.name);
        for (int value : {1, 0, 1}) {
            box.setValue(value);
            EXPECT_EQ(pendingField(b.addr, b.bit, b.bit), uint64_t(value));
        }
        // And back: the refresh puts the map's bit into the box.
        for (int value : {0, 1}) {
            setPendingField(b.addr, b.bit, b.bit, value);
            w.RefreshFormVals();
            EXPECT_EQ(box.Value(), value);
        }
    }
}

TEST_P(ControlBitsBothLayouts, EveryListWritesItsFieldAndShowsIt)
{
    frmControl& w = open();
    for (const FieldList& f : kFieldLists) {
        if (!applies(f.layout, GetParam()))
            continue;
        SCOPED_TRACE(f.name);
        const AnyList list = listNamed(w, f.name);
        ASSERT_TRUE(list.list || list.combo);
        ASSERT_EQ(list.count(), f.items);
        for (int i = f.items - 1; i >= 0; --i) {
            list.select(i);
            EXPECT_EQ(pendingField(f.addr, f.hi, f.lo), uint64_t(i));
        }
        for (int i = 0; i < f.items; ++i) {
            setPendingField(f.addr, f.hi, f.lo, i);
            w.RefreshFormVals();
            EXPECT_EQ(list.index(), i);
            EXPECT_EQ(pendingField(f.addr, f.hi, f.lo), uint64_t(i)) << "the refresh keeps the map's value";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Control, ControlBitsBothLayouts, ::testing::Values(int16_t{2}, int16_t{3}),
                         [](const auto& info) { return "Rev" + std::to_string(info.param); });

class ControlBits : public ControlWindowTest {
protected:
    void SetUp() override { useRevision(3); }
};

TEST_F(ControlBits, ModeFieldThreeShowsTheLastModeAndAClickWritesTwo)
{
    frmControl& w = open();
    setPendingField(kCFR1, 25, 24, 3);
    w.RefreshFormVals();
    EXPECT_EQ(w.lstOppMode.ListIndex(), 2);
    EXPECT_EQ(w.lstOppMode.Text(), QStringLiteral("Interpolating DAC"));
    EXPECT_EQ(pendingField(kCFR1, 25, 24), 3u);
    w.lstOppMode.setListIndex(2);
    EXPECT_EQ(pendingField(kCFR1, 25, 24), 2u);
}

TEST_F(ControlBits, WhileRefreshingNothingIsWrittenButTheGreyingRuns)
{
    frmControl& w = open();
    const QString before[3] = {bd().GetRegMapValue(0, kCFR1), bd().GetRegMapValue(0, kCFR2),
                               bd().GetRegMapValue(0, kCFR3)};
    auto refreshing = w.refreshingScope();
    for (const BitBox& b : kBitBoxes)
        boxNamed(w, b.name).click();
    for (const FieldList& f : kFieldLists)
        listNamed(w, f.name).select(1);
    w.txtCLKMultiVal.setText(QStringLiteral("33"));
    EXPECT_EQ(bd().GetRegMapValue(0, kCFR1), before[0]);
    EXPECT_EQ(bd().GetRegMapValue(0, kCFR2), before[1]);
    EXPECT_EQ(bd().GetRegMapValue(0, kCFR3), before[2]);
    // The mode list still greys by the map's mode (0 here): the single-tone boxes stay grey.
    w.chkEnMatchedLatency.setForeColor(ui::colors::vbWindowText);
    w.lstOppMode.setListIndex(1);
    EXPECT_EQ(w.chkEnMatchedLatency.ForeColor(), ui::colors::vbGrayText);
}

// Which controls apply in each operating mode, with RAM enable and SXI activation.
TEST_F(ControlBits, OperatingModeGreying)
{
    frmControl& w = open();
    const auto normal = [](const ui::Control& c) { return c.ForeColor() == ui::colors::vbWindowText; };
    struct Case {
        int mode;
        int ram;
        int sxi;
        bool dataFormat, options, ramBox, ramDest, singleTone, sxiBox, sxiOptions;
    };
    const Case cases[] = {
        {0, 0, 0, true, true, true, false, false, true, false},
        {0, 1, 1, true, true, true, true, false, true, true},
        {1, 1, 1, false, false, false, false, true, false, false},
        {2, 1, 1, false, true, false, false, false, false, false},
        {3, 1, 1, false, true, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " ram " << c.ram << " sxi " << c.sxi);
        setPendingField(kCFR1, 25, 24, c.mode);
        setPendingField(kCFR1, 31, 31, c.ram);
        setPendingField(kCFR2, 31, 31, c.sxi);
        w.UdControlState();
        EXPECT_EQ(normal(w.lblDataFormatSXI), c.dataFormat);
        EXPECT_EQ(normal(w.lsbDataFormatSXI), c.dataFormat);
        for (const ui::Control* option : std::initializer_list<const ui::Control*>{
                 &w.chkAutoPD, &w.fraModulationOptions, &w.chkEnablePDCLK, &w.chkInvertPDCLK,
                 &w.chkInvertTxEnable, &w.chkPDClkRateCtrl, &w.chkDataAssmHldsLastVal})
            EXPECT_EQ(normal(*option), c.options) << option->Name().toStdString();
        EXPECT_EQ(normal(w.chkEnableRAM), c.ramBox);
        EXPECT_EQ(normal(w.chkEnQDUCRAMEval), c.ramDest);
        EXPECT_EQ(normal(w.chkEnMatchedLatency), c.singleTone);
        EXPECT_EQ(normal(w.chkAutoClearPhaseAcc), c.singleTone);
        EXPECT_EQ(normal(w.chkClearPhaseAcc), c.singleTone);
        EXPECT_EQ(normal(w.chkActivateSXIMode), c.sxiBox);
        EXPECT_EQ(normal(w.chkEarlyFrameSyncEn), c.sxiOptions);
        EXPECT_EQ(normal(w.lsbSXIBitOrder), c.sxiOptions);
        EXPECT_EQ(normal(w.lblBitOrderSXI), c.sxiOptions);
        const QImage logo = ui::form<frmGraphics>().imgSXLogo(c.sxiOptions ? 1 : 0).Picture().toImage();
        EXPECT_EQ(w.imgSXLogo.Picture().toImage(), logo);
    }
}

TEST_F(ControlBits, PdclkEnableGreysItsTwoOptions)
{
    frmControl& w = open();
    w.chkEnablePDCLK.setValue(1);
    EXPECT_EQ(w.chkInvertPDCLK.ForeColor(), ui::colors::vbWindowText);
    EXPECT_EQ(w.chkPDClkRateCtrl.ForeColor(), ui::colors::vbWindowText);
    w.chkEnablePDCLK.setValue(0);
    EXPECT_EQ(w.chkInvertPDCLK.ForeColor(), ui::colors::vbGrayText);
    EXPECT_EQ(w.chkPDClkRateCtrl.ForeColor(), ui::colors::vbGrayText);
}

TEST_F(ControlBits, ExternalPowerDownPinDrivesPortA)
{
    usb::EmulatedBoard& board = plugBoard();
    frmControl& w = open();
    w.chkExternPDPin.setValue(1);
    EXPECT_EQ(bd().ExtPD(), 1);
    EXPECT_TRUE(board.portA() & usb::kPortAExtPd);
    w.chkExternPDPin.setValue(0);
    EXPECT_FALSE(board.portA() & usb::kPortAExtPd);

    // The refresh shows the line without driving it.
    bd().setExtPD(1);
    clearTraffic();
    w.RefreshFormVals();
    EXPECT_EQ(w.chkExternPDPin.Value(), 1);
    EXPECT_FALSE(board.portA() & usb::kPortAExtPd);
}

TEST_F(ControlBits, DacCodeIsClippedIntoTheLowByte)
{
    frmControl& w = open();
    setPending(kDAC, 0xABCDEF00u);
    bool cancel = false;
    w.txtDACControl.setText(QStringLiteral("300"));
    w.txtDACControl.Validate(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(w.txtDACControl.Text(), QStringLiteral("255"));
    EXPECT_EQ(pending(kDAC), 0xABCDEFFFu) << "the upper 24 bits stay";

    w.txtDACControl.setText(QStringLiteral("96"));
    w.txtDACControl.Validate(cancel);
    EXPECT_EQ(pending(kDAC), 0xABCDEF60u);
    EXPECT_EQ(w.txtDACI_Out.Text().trimmed() + QLatin1Char(' ') + w.lblIoutUnits.Caption(),
              QStringLiteral("17.280000 mA"));

    // Nothing usable typed: the box takes the code back from DAC CTRL and nothing is written.
    for (const char* typed : {"", "x"}) {
        w.txtDACControl.setText(QString::fromLatin1(typed));
        w.txtDACControl.Validate(cancel);
        EXPECT_FALSE(cancel);
        EXPECT_EQ(w.txtDACControl.Text(), QStringLiteral("96"));
        EXPECT_EQ(pending(kDAC), 0xABCDEF60u);
    }
}

TEST_F(ControlBits, DacCurrentAtTheEndsOfTheCode)
{
    frmControl& w = open();
    for (const auto& [code, text] : {std::pair{0, "8.640000 mA"}, std::pair{255, "31.590000 mA"}}) {
        setPendingField(kDAC, 7, 0, code);
        w.RefreshFormVals();
        EXPECT_EQ(w.txtDACControl.Text(), QString::number(code));
        EXPECT_EQ(w.txtDACI_Out.Text().trimmed() + QLatin1Char(' ') + w.lblIoutUnits.Caption(),
                  QString::fromLatin1(text));
    }
}

TEST_F(ControlBits, DacSpinWrapsWithABeep)
{
    frmControl& w = open();
    auto& sounds = os::testing::soundRecorder().played;
    struct Case {
        const char* from;
        bool up;
        const char* to;
        bool beep;
    };
    for (const Case& c : {Case{"255", true, "0", true}, Case{"0", false, "255", true},
                          Case{"10", true, "11", false}, Case{"10", false, "9", false}}) {
        SCOPED_TRACE(testing::Message() << c.from << (c.up ? " up" : " down"));
        w.txtDACControl.setText(QString::fromLatin1(c.from));
        sounds.clear();
        c.up ? w.vscDACControl.stepUp() : w.vscDACControl.stepDown();
        EXPECT_EQ(w.vscDACControl.Value(), 0);
        EXPECT_EQ(w.txtDACControl.Text(), QString::fromLatin1(c.to));
        EXPECT_EQ(pendingField(kDAC, 7, 0), QString::fromLatin1(c.to).toULongLong());
        EXPECT_EQ(sounds.size(), c.beep ? 1 : 0);
    }
}

TEST_F(ControlBits, DacKeyFilter)
{
    frmControl& w = open();
    for (int key : {int('0'), int('9'), 8}) {
        int k = key;
        w.txtDACControl.KeyPress(k);
        EXPECT_EQ(k, key);
    }
    for (int key : {int('-'), int('.'), int('a')}) {
        int k = key;
        w.txtDACControl.KeyPress(k);
        EXPECT_EQ(k, 0);
    }
    w.txtDACControl.setText(QStringLiteral("999"));
    int enter = 13;
    w.txtDACControl.KeyPress(enter);
    EXPECT_EQ(enter, 0);
    EXPECT_EQ(w.txtDACControl.Text(), QStringLiteral("255"));
}

} // namespace
