// The watchdog, ADC and GPIO windows of silicon revision 3 against the emulated chip: each bit field, LOAD
// and READ, the load indicators, and their controls disabled on revisions 1 and 2 and (ADC, GPIO) without
// the SXI data-port mode.

#include "debug_fixture.h"

#include "debug/frm_adc.h"
#include "debug/frm_fifo_control.h"
#include "debug/frm_fifo_debug.h"
#include "debug/frm_gpio.h"
#include "debug/frm_watch_dog_tmr.h"
#include "shell/frm_graphics.h"

#include "platform/ui/forms.h"

#include <QApplication>
#include <QImage>
#include <QPalette>

namespace {

using namespace debugtest;
using regtest::bits;

constexpr int16_t kCFR2 = 0x01;

class Rev3WindowsTest : public DebugWindowTest {
protected:
    template <typename T> T& open()
    {
        auto& w = ui::form<T>();
        w.Show();
        QApplication::setActiveWindow(mdi->frameWidget()->window());
        return w;
    }
    void setSxi(bool on) { setPendingField(regBit(kCFR2, 31), on ? 1 : 0); }
    void tick(int ms) { ui::testing::clock().advance(ms); }
    // True when every control but the timer has this enabled state.
    static bool allEnabled(const ui::Form& form, bool enabled)
    {
        for (const ui::Control* control : form.controls())
            if (control->Enabled() != enabled)
                return false;
        return true;
    }
};

TEST_F(Rev3WindowsTest, WatchdogFieldsLoadAndRead)
{
    plugFifoBoard();
    setAutoIOUpdate(true);
    setPending(0x17, 0);
    setWritten(0x17, 0);
    auto& w = open<frmWatchDogTmr>();
    EXPECT_EQ(w.Caption(), QStringLiteral("Watchdog Timer"));
    struct Case {
        ui::CheckBox* box;
        uint64_t value;
    } cases[] = {{&w.chkWDTSingleShotEn, 0x80},
                 {&w.chkWDTContUseOpEn, 0x10},
                 {&w.chkExtSysResetDisable, 0x08},
                 {&w.chkEnablePwrMon, 0x04},
                 {&w.chkWDTTest, 0x02}};
    for (const Case& c : cases) {
        c.box->click();
        EXPECT_EQ(pending(0x17), c.value) << c.box->Name().toStdString();
        c.box->click();
    }
    setPending(0x17, 0x9F);
    w.cmbWDTPeriod.setListIndex(3);
    EXPECT_EQ(pending(0x17), 0xFFU) << "\"2^24  Cycles\" sets bits 6:5 only";
    EXPECT_EQ(w.cmbWDTPeriod.Text(), QStringLiteral("2^24  Cycles"));

    tick(200);
    EXPECT_TRUE(w.lblLoadFlash.Visible());
    clearTraffic();
    const int updates = chip().ioUpdateCount();
    w.cmdLoad.click();
    EXPECT_EQ(serialWrites(), (QList<regtest::SerialWrite>{{0x17, QStringLiteral("11111111")}}));
    EXPECT_EQ(chip().ioUpdateCount(), updates + 1);
    tick(400);
    EXPECT_FALSE(w.lblLoadFlash.Visible());

    chip().setBufferRegister(0x17, 0xA5); // single shot, period 01, power monitor, event
    w.cmdRead.click();
    EXPECT_EQ(pending(0x17), 0xA5U) << "the read value shows, not only the indicator";
    EXPECT_EQ(written(0x17), 0xA5U);
    EXPECT_EQ(w.chkWDTSingleShotEn.Value(), 1);
    EXPECT_EQ(w.cmbWDTPeriod.ListIndex(), 1);
    EXPECT_EQ(w.chkEnablePwrMon.Value(), 1);
    EXPECT_EQ(w.chkWDTTest.Value(), 0);
    tick(400);
    EXPECT_FALSE(w.lblLoadFlash.Visible());
}

TEST_F(Rev3WindowsTest, AdcShowsTheResultRegister)
{
    struct Case {
        uint64_t results;
        const char* code;
        const char* volts;
        int source;
        bool complete;
    } cases[] = {{0xFF10, "11111111", "1.0000 V", 0, true},
                 {0x0080, "00000000", "0.0000 V", 4, false},
                 {0x80C0, "10000000", "0.5020 V", -1, false}, // source code 6 names no input
                 {0x01E0, "00000001", "0.0039 V", -1, false}};
    plugFifoBoard();
    setSxi(true);
    auto& w = open<frmADC>();
    for (const Case& c : cases) {
        chip().setLiveValue(0x1B, c.results);
        w.cmdReadResult.click();
        EXPECT_EQ(w.txtConversionResultVal.Text(), QString::fromLatin1(c.code));
        EXPECT_EQ(w.txtADCInpVal.Text(), QString::fromLatin1(c.volts));
        EXPECT_EQ(w.lsbResultSrc.ListIndex(), c.source) << c.code;
        EXPECT_EQ(pending(0x1B), c.results);
    }
    tick(600);
    EXPECT_FALSE(w.lblLoadFlash.Visible()) << "a read leaves both maps alike";
    {
        rt::ScopedNumberLocale comma{QChar(u',')};
        chip().setLiveValue(0x1B, 0x8000);
        w.cmdReadResult.click();
        EXPECT_EQ(w.txtADCInpVal.Text(), QStringLiteral("0,5020 V")) << "the locale's decimal separator";
        chip().setLiveValue(0x1B, 0x01E0);
        w.cmdReadResult.click();
    }

    // A failed read changes neither map.
    drv.failTransfer(0, 5, 1, 100);
    w.cmdReadResult.click();
    drv.clearFaults();
    EXPECT_EQ(pending(0x1B), 0x01E0U);
    EXPECT_EQ(written(0x1B), 0x01E0U);
}

TEST_F(Rev3WindowsTest, AdcControlFieldsAndInputMarker)
{
    plugFifoBoard();
    setSxi(true);
    setPending(0x1A, 0xC6); // input 110, bits 2 and 1 set
    auto& w = open<frmADC>();
    EXPECT_EQ(pending(0x1A), 0xC6U);
    EXPECT_EQ(w.lsbInputSel.ListIndex(), -1);
    EXPECT_TRUE(w.lblErr(0).Visible());
    w.lsbInputSel.setListIndex(2);
    EXPECT_EQ(pending(0x1A), 0x46U);
    w.RefreshFormVals();
    EXPECT_FALSE(w.lblErr(0).Visible());
    w.lsbConversionMode.setListIndex(1);
    w.chkStartSingleConvert.click();
    w.chkPowerDown.click();
    EXPECT_EQ(pending(0x1A), 0x5FU) << "bits 2 and 1 are left as they were";
    clearTraffic();
    w.cmdLoad.click();
    EXPECT_EQ(writtenAddresses(), QList<int>{0x1A});
    chip().setBufferRegister(0x1A, 0x20);
    w.cmdRead.click();
    EXPECT_EQ(pending(0x1A), 0x20U);
    EXPECT_EQ(w.lsbInputSel.ListIndex(), 1);
}

TEST_F(Rev3WindowsTest, GpioLinesConfigAndData)
{
    plugFifoBoard();
    setSxi(true);
    setPending(0x18, 0);
    setWritten(0x18, 0);
    setPending(0x19, 0);
    setWritten(0x19, 0);
    auto& w = open<frmGPIO>();
    EXPECT_EQ(w.lblGPIOConfig(4).Caption(), QStringLiteral("D6"));
    EXPECT_EQ(w.lblGPIOConfig(15).Caption(), QStringLiteral("D17"));
    EXPECT_EQ(w.cmdOutConfig(4).ToolTipText(), QStringLiteral("Configure pin D6 as an Output"));
    EXPECT_EQ(w.cmdInConfig(0).ToolTipText(), QStringLiteral("Configure pin D0 as an input"));

    w.cmdOutConfig(4).click();
    EXPECT_EQ(pending(0x18), 0x0010U);
    EXPECT_EQ(w.lblGPIOConfig(4).BackColor(), frmGPIO::kOutputColour);
    tick(300);
    EXPECT_TRUE(w.lblLoadConfigFlash.Visible());
    EXPECT_FALSE(w.lblLoadFlash.Visible());

    w.cmdGPIOData(15).click();
    EXPECT_EQ(pending(0x19), 0x8000U) << "line 15 is the first character";
    EXPECT_EQ(w.cmdGPIOData(15).Caption(), QStringLiteral("1"));
    tick(300);
    w.cmdGPIOData(15).click();
    EXPECT_EQ(pending(0x19), 0U);
    tick(300);
    tick(300);
    EXPECT_FALSE(w.lblLoadFlash.Visible()) << "pending equals written again";

    clearTraffic();
    w.cmdLoadConfig.click();
    EXPECT_EQ(serialWrites(), (QList<regtest::SerialWrite>{{0x18, QStringLiteral("0000000000010000")}}));
    chip().setBufferRegister(0x18, 0x0003);
    chip().setLiveValue(0x19, 0x0005);
    w.cmdReadConfig.click();
    EXPECT_EQ(pending(0x18), 0x0003U);
    EXPECT_EQ(pending(0x19), 0U) << "each READ reads its own register";
    EXPECT_EQ(w.lblGPIOConfig(1).BackColor(), frmGPIO::kOutputColour);
    EXPECT_EQ(w.lblGPIOConfig(4).BackColor(), frmGPIO::kInputColour);
    w.cmdRead.click();
    EXPECT_EQ(pending(0x19), 0x0005U);
    EXPECT_EQ(w.cmdGPIOData(2).Caption(), QStringLiteral("1"));
}

TEST_F(Rev3WindowsTest, ControlsFollowRevisionAndSxi)
{
    plugFifoBoard();
    setSxi(false);
    auto& adc = open<frmADC>();
    auto& gpio = open<frmGPIO>();
    auto& wdt = open<frmWatchDogTmr>();
    EXPECT_TRUE(allEnabled(adc, true)) << "activation enables them on revision 3";
    EXPECT_TRUE(allEnabled(gpio, true));
    control->chkActivateSXIMode.setValue(1); // the Control window's switch refreshes them by name
    EXPECT_TRUE(allEnabled(adc, true));
    EXPECT_TRUE(allEnabled(gpio, true));
    control->chkActivateSXIMode.setValue(0);
    EXPECT_TRUE(allEnabled(adc, false)) << "without SXI";
    EXPECT_TRUE(allEnabled(gpio, false));
    EXPECT_TRUE(allEnabled(wdt, true)) << "the watchdog does not depend on SXI";

    for (ui::Form* form : std::initializer_list<ui::Form*>{&adc, &gpio, &wdt})
        form->Unload();
    useRevision(2);
    setSxi(true);
    struct Case {
        ui::Form* form;
        const char* caption;
    } cases[] = {{&open<frmWatchDogTmr>(), "Watchdog Timer (SR3)"},
                 {&open<frmADC>(), "ADC Control (Silicon Rev 3)"},
                 {&open<frmGPIO>(), "GPIO (Silicon Rev 3)"}};
    for (const Case& c : cases) {
        c.form->Show();
        EXPECT_EQ(c.form->Caption(), QString::fromLatin1(c.caption));
        EXPECT_TRUE(allEnabled(*c.form, false)) << c.caption;
    }
    setWritten(0x17, 0);
    setPending(0x17, 0x80);
    tick(1000);
    EXPECT_FALSE(ui::form<frmWatchDogTmr>().lblLoadFlash.Visible()) << "the flash stops with the controls";

    // Their lamps are drawn dark, not left out, and the greyed captions of the coloured GPIO buttons stay
    // readable on their colours.
    const QImage dark = ui::form<frmGraphics>().imgGreenLed(0).Picture().toImage();
    ASSERT_FALSE(dark.isNull());
    EXPECT_EQ(ui::form<frmWatchDogTmr>().imgIndicate.Picture().toImage(), dark);
    EXPECT_EQ(ui::form<frmADC>().imgConvertCmplete.Picture().toImage(), dark);
    auto& greyed = ui::form<frmGPIO>();
    for (ui::CommandButton* button : {&greyed.cmdInConfig(0), &greyed.cmdOutConfig(0)}) {
        const QPalette palette = button->widget()->palette();
        const QColor text = palette.color(QPalette::Disabled, QPalette::ButtonText);
        const QColor back = palette.color(QPalette::Disabled, QPalette::Button);
        const auto brightness = [](const QColor& c) {
            return (299 * c.red() + 587 * c.green() + 114 * c.blue()) / 1000;
        };
        EXPECT_GE(std::abs(brightness(text) - brightness(back)), 90) << button->Caption().toStdString();
    }
}

TEST_F(Rev3WindowsTest, IndicatorsBlinkAtTheirWindowsPeriod)
{
    plugFifoBoard();
    setSxi(true);
    for (const int16_t addr : {int16_t{0x17}, int16_t{0x18}, int16_t{0x19}, int16_t{0x1A}, int16_t{0x1B}}) {
        setPending(addr, 0);
        setWritten(addr, 0);
    }
    auto& wdt = open<frmWatchDogTmr>();
    auto& adc = open<frmADC>();
    auto& gpio = open<frmGPIO>();
    struct Case {
        const char* what;
        int16_t addr;
        uint64_t differing; // a pending value that differs from the written 0
        ui::Label* indicator;
        int period;
    } cases[] = {{"watchdog event bit", 0x17, 0x01, &wdt.lblLoadFlash, 200},
                 {"ADC control", 0x1A, 0x10, &adc.lblLoadFlash, 300},
                 {"ADC results", 0x1B, 0x8000, &adc.lblLoadFlash, 300},
                 {"GPIO config", 0x18, 0x0100, &gpio.lblLoadConfigFlash, 300},
                 {"GPIO data", 0x19, 0x0001, &gpio.lblLoadFlash, 300}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tick(600); // every indicator dark
        ASSERT_FALSE(c.indicator->Visible());
        setPending(c.addr, c.differing);
        int waited = 0;
        while (!c.indicator->Visible() && waited < 1000) {
            tick(1);
            ++waited;
        }
        EXPECT_LE(waited, c.period) << "shown at the next tick";
        tick(c.period - 1);
        EXPECT_TRUE(c.indicator->Visible());
        tick(1);
        EXPECT_FALSE(c.indicator->Visible()) << "it blinks at the period";
        tick(c.period);
        EXPECT_TRUE(c.indicator->Visible());
        setPending(c.addr, 0);
        tick(c.period);
        EXPECT_FALSE(c.indicator->Visible());
    }
}

TEST_F(Rev3WindowsTest, WithoutABoardLoadCopiesAndReadChangesNothing)
{
    setSxi(true);
    auto& wdt = open<frmWatchDogTmr>();
    auto& adc = open<frmADC>();
    auto& gpio = open<frmGPIO>();
    struct Case {
        ui::CommandButton* load;
        ui::CommandButton* read;
        int16_t addr;
    } cases[] = {{&wdt.cmdLoad, &wdt.cmdRead, 0x17},
                 {&adc.cmdLoad, &adc.cmdRead, 0x1A},
                 {&gpio.cmdLoadConfig, &gpio.cmdReadConfig, 0x18},
                 {&gpio.cmdLoad, &gpio.cmdRead, 0x19}};
    for (const Case& c : cases) {
        setPending(c.addr, 0x5A);
        setWritten(c.addr, 0x01);
        os::testing::soundRecorder().played.clear();
        c.read->click();
        EXPECT_EQ(pending(c.addr), 0x5AU) << c.addr;
        EXPECT_EQ(written(c.addr), 0x01U) << c.addr;
        c.load->click();
        EXPECT_EQ(written(c.addr), 0x5AU) << c.addr;
        EXPECT_EQ(sounds(), (QStringList{QStringLiteral("SystemQuestion"), QStringLiteral("SystemQuestion")}))
            << c.addr;
    }
}

TEST_F(Rev3WindowsTest, EveryWindowOpensWhollyOnTheScreen)
{
    plugFifoBoard();
    for (const QString& name : {frmFIFOControl::FormName, frmFIFODebug::FormName, frmWatchDogTmr::FormName,
                                frmADC::FormName, frmGPIO::FormName}) {
        ASSERT_TRUE(ui::Forms::showByName(name));
        const ui::Form* form = ui::Forms::find(name);
        ASSERT_NE(form, nullptr);
        const QSize size = form->frameWidget()->frameGeometry().size();
        EXPECT_GT(size.height(), 100) << name.toStdString() << ": laid out";
        EXPECT_LE(size.width(), 1600) << name.toStdString();
        EXPECT_LE(size.height(), 1000 - 120)
            << name.toStdString() << ": below the menu, toolbar and status bar";
    }
}

} // namespace
