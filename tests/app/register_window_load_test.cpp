// The LOAD of every register window, one table: a LOAD refused while the board runs another transfer
// says so and writes nothing, a register write that fails is said and leaves the indicator blinking, and
// the revision-3 windows decide LOAD and READ by the USB poll's connection flag. Plus the writes outside
// LOAD that reach the chip at once (spin bars, "Clear Error").

#include "common/register_window_fixture.h"

#include "debug/frm_adc.h"
#include "debug/frm_gpio.h"
#include "debug/frm_watch_dog_tmr.h"
#include "debug/register_windows.h"
#include "profiles/frm_profile.h"
#include "profiles/frm_qducrsr.h"
#include "profiles/register_windows.h"
#include "shell/frm_io_interface.h"
#include "sweep/frm_freq_and_sweep.h"
#include "sweep/frm_multi_chip_sync.h"
#include "sweep/register_windows.h"

#include "platform/os/os_test_doubles.h"
#include "platform/ui/colors.h"
#include "platform/ui/test_doubles.h"

#include <QApplication>

#include <functional>

namespace {

using regtest::bits;

const QString kRefused = QStringLiteral("The board is busy with another transfer.\r\n"
                                        "Nothing was loaded: press LOAD again when it has finished.");
const QString kFailed = QStringLiteral("Not every register reached the chip.\r\n"
                                       "The load indicator blinks until a LOAD succeeds.");

// One LOAD button of a window: the register it is tried with (changed in the pending map only) and the
// place of that register in the window's load order.
struct LoadCase {
    const char* name;
    std::function<ui::Form&()> open;
    std::function<ui::CommandButton&(ui::Form&)> button;
    std::function<ui::Label&(ui::Form&)> indicator;
    int16_t addr;
    int hi;
    int lo;
    int place; // 1: the first register the LOAD sends
};

template <typename T> ui::Form& openWindow()
{
    auto& w = ui::form<T>();
    w.Show();
    QApplication::setActiveWindow(ui::form<mdiMain>().frameWidget()->window());
    return w;
}

template <typename T> ui::CommandButton& loadOf(ui::Form& form)
{
    return static_cast<T&>(form).cmdLoad;
}

template <typename T> ui::Label& flashOf(ui::Form& form)
{
    return static_cast<T&>(form).lblLoadFlash;
}

const LoadCase kCases[] = {
    {"Control", []() -> ui::Form& { return openWindow<frmControl>(); }, loadOf<frmControl>,
     flashOf<frmControl>, 0x04, 15, 0, 1},
    {"Profiles", []() -> ui::Form& { return openWindow<frmProfile>(); }, loadOf<frmProfile>,
     flashOf<frmProfile>, 0x0E, 15, 0, 3},
    {"DUT I/O", []() -> ui::Form& { return openWindow<frmIOInterface>(); }, loadOf<frmIOInterface>,
     flashOf<frmIOInterface>, 0x00, 1, 1, 1},
    {"RAM segment", []() -> ui::Form& { return openWindow<frmQDUCRSR>(); }, loadOf<frmQDUCRSR>,
     flashOf<frmQDUCRSR>, 0x05, 15, 0, 2},
    {"OSK Control", []() -> ui::Form& { return openWindow<frmFreqAndSweep>(); }, loadOf<frmFreqAndSweep>,
     flashOf<frmFreqAndSweep>, 0x07, 15, 0, 3},
    {"multi-chip sync", []() -> ui::Form& { return openWindow<frmMultiChipSync>(); },
     loadOf<frmMultiChipSync>, flashOf<frmMultiChipSync>, 0x0A, 31, 28, 1},
    {"watchdog", []() -> ui::Form& { return openWindow<frmWatchDogTmr>(); }, loadOf<frmWatchDogTmr>,
     flashOf<frmWatchDogTmr>, 0x17, 7, 0, 1},
    {"ADC", []() -> ui::Form& { return openWindow<frmADC>(); }, loadOf<frmADC>, flashOf<frmADC>, 0x1A, 7, 0,
     1},
    {"GPIO data", []() -> ui::Form& { return openWindow<frmGPIO>(); }, loadOf<frmGPIO>, flashOf<frmGPIO>,
     0x19, 15, 0, 1},
    {"GPIO config", []() -> ui::Form& { return openWindow<frmGPIO>(); },
     [](ui::Form& f) -> ui::CommandButton& { return static_cast<frmGPIO&>(f).cmdLoadConfig; },
     [](ui::Form& f) -> ui::Label& { return static_cast<frmGPIO&>(f).lblLoadConfigFlash; }, 0x18, 15, 0, 1},
};

class RegisterWindowLoad : public regtest::RegisterWindowTest,
                           public ::testing::WithParamInterface<LoadCase> {
protected:
    RegisterWindowLoad()
    {
        RegisterProfilesWindows();
        RegisterSweepWindows();
        RegisterDebugWindows();
        mdi->Show();
        ui::testing::messageBoxes().reset();
        os::testing::soundRecorder().played.clear();
    }
    // A board of revision 3 in the SXI data-port mode (the ADC and GPIO windows need it), the window open
    // and the case's field changed in the pending map only, so that the indicator blinks.
    ui::Form& openChanged(const LoadCase& c)
    {
        plugBoard();
        setPendingField(RegisterField{0x01, 31, 31}, 1);
        setWritten(0x01, pending(0x01));
        ui::Form& form = c.open();
        const RegisterField field{c.addr, c.hi, c.lo};
        setPendingField(field, field.get(RegMap::Written) == 1 ? 2 : 1);
        clearTraffic();
        return form;
    }
    // Runs `action` while the board object waits in the middle of reading a register back.
    void whileBusy(const std::function<void()>& action)
    {
        bool ran = false;
        const auto timer = ui::testing::clock().startTimer(100, [&] {
            if (ran)
                return;
            ran = true;
            ASSERT_TRUE(bd().TransferBusy());
            action();
        });
        bd().USBSerialReadPKT(0x0E);
        ui::testing::clock().stopTimer(timer);
        ASSERT_TRUE(ran);
    }
    bool blinks(ui::Label& label)
    {
        bool seen = false;
        for (int k = 0; k < 4; ++k) {
            ui::testing::clock().advance(300);
            seen = seen || label.Visible();
        }
        return seen;
    }
    QStringList sounds() const { return os::testing::soundRecorder().played; }
};

TEST_P(RegisterWindowLoad, RefusedWhileTheBoardIsBusyIsSaidAndWritesNothing)
{
    const LoadCase& c = GetParam();
    ui::Form& form = openChanged(c);
    const QString writtenBefore = bd().GetRegMapValue(1, c.addr);
    const uint64_t chipBefore = chip().bufferRegister(c.addr);
    const uint64_t cfr1Before = pending(0x00);
    const uint64_t cfr2Before = pending(0x01);
    auto& boxes = ui::testing::messageBoxes();
    boxes.expect(kRefused);
    whileBusy([&] { c.button(form).click(); });
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].prompt, kRefused);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("LOAD"));
    EXPECT_EQ(bd().GetRegMapValue(1, c.addr), writtenBefore) << "nothing written";
    EXPECT_EQ(chip().bufferRegister(c.addr), chipBefore) << "nothing reached the chip";
    EXPECT_EQ(pending(0x00), cfr1Before) << "the pending map is as it was";
    EXPECT_EQ(pending(0x01), cfr2Before);
    EXPECT_TRUE(c.button(form).Enabled());
    EXPECT_TRUE(blinks(c.indicator(form))) << "the indicator blinks on";

    // Once the transfer is over the same LOAD goes through, silently.
    boxes.reset();
    c.button(form).click();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(bd().GetRegMapValue(1, c.addr), bd().GetRegMapValue(0, c.addr));
    EXPECT_FALSE(c.indicator(form).Visible());
}

TEST_P(RegisterWindowLoad, AFailedWriteIsSaidAndTheIndicatorKeepsBlinking)
{
    const LoadCase& c = GetParam();
    ui::Form& form = openChanged(c);
    drv.failTransfer(0, 3, c.place);
    auto& boxes = ui::testing::messageBoxes();
    boxes.expect(kFailed);
    c.button(form).click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].prompt, kFailed);
    EXPECT_EQ(boxes.shown[0].buttons, ui::vbExclamation);
    EXPECT_NE(bd().GetRegMapValue(1, c.addr), bd().GetRegMapValue(0, c.addr));
    EXPECT_TRUE(c.button(form).Enabled());
    EXPECT_TRUE(blinks(c.indicator(form)));
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, RegisterWindowLoad, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<LoadCase>& info) {
                             QString name = QString::fromLatin1(info.param.name);
                             name.remove(QLatin1Char(' ')).remove(QLatin1Char('/')).remove(QLatin1Char('-'));
                             return name.toStdString();
                         });

class RegisterWindowWrites : public RegisterWindowLoad {};

// The revision-3 windows go by the USB poll: a board still selected but reported gone gets nothing.
TEST_F(RegisterWindowWrites, AfterAnUnplugTheRevisionThreeWindowsCopyAndAsk)
{
    struct Case {
        const char* name;
        std::function<ui::Form&()> open;
        std::function<ui::CommandButton&(ui::Form&)> load;
        std::function<ui::CommandButton&(ui::Form&)> read;
        int16_t addr;
    } cases[] = {
        {"watchdog", []() -> ui::Form& { return openWindow<frmWatchDogTmr>(); }, loadOf<frmWatchDogTmr>,
         [](ui::Form& f) -> ui::CommandButton& { return static_cast<frmWatchDogTmr&>(f).cmdRead; }, 0x17},
        {"ADC", []() -> ui::Form& { return openWindow<frmADC>(); }, loadOf<frmADC>,
         [](ui::Form& f) -> ui::CommandButton& { return static_cast<frmADC&>(f).cmdRead; }, 0x1A},
        {"GPIO data", []() -> ui::Form& { return openWindow<frmGPIO>(); }, loadOf<frmGPIO>,
         [](ui::Form& f) -> ui::CommandButton& { return static_cast<frmGPIO&>(f).cmdRead; }, 0x19},
        {"GPIO config", []() -> ui::Form& { return openWindow<frmGPIO>(); },
         [](ui::Form& f) -> ui::CommandButton& { return static_cast<frmGPIO&>(f).cmdLoadConfig; },
         [](ui::Form& f) -> ui::CommandButton& { return static_cast<frmGPIO&>(f).cmdReadConfig; }, 0x18},
    };
    plugBoard();
    setPendingField(RegisterField{0x01, 31, 31}, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui::Form& form = c.open();
        gbBoardConnected = false; // the poll saw the board go; the USB object still names it
        ASSERT_TRUE(regwin::boardSelected());
        setPending(c.addr, 0x5A);
        setWritten(c.addr, 0x01);
        const uint64_t chipBefore = chip().bufferRegister(c.addr);
        os::testing::soundRecorder().played.clear();
        clearTraffic();
        c.read(form).click();
        EXPECT_EQ(sounds(), QStringList{QStringLiteral("SystemQuestion")}) << "READ asks";
        EXPECT_EQ(written(c.addr), 0x01U);
        c.load(form).click();
        EXPECT_EQ(written(c.addr), 0x5AU) << "LOAD copies pending to written";
        EXPECT_EQ(chip().bufferRegister(c.addr), chipBefore);
        EXPECT_TRUE(pipeWrites(3).isEmpty()) << "nothing went down the serial pipe";
        EXPECT_EQ(sounds(),
                  (QStringList{QStringLiteral("SystemQuestion"), QStringLiteral("SystemQuestion")}));
        gbBoardConnected = true;
    }
}

TEST_F(RegisterWindowWrites, RamSegmentSingleToneLoadRefusedKeepsRamEnableAndCfr2Bit19)
{
    plugBoard();
    auto& w = static_cast<frmQDUCRSR&>(openWindow<frmQDUCRSR>());
    setOperatingMode(1, true);
    setPendingField(RegisterField{0x01, 19, 19}, 1);
    w.RefreshFormVals();
    ASSERT_EQ(w.chkEnableRAM.Value(), 1);
    ui::testing::messageBoxes().expect(kRefused);
    whileBusy([&] { w.cmdLoad.click(); });
    EXPECT_EQ(ui::testing::messageBoxes().shown.size(), 1u);
    EXPECT_EQ(pendingField(0x00, 31, 31), 1U) << "RAM enable stays until a LOAD goes ahead";
    EXPECT_EQ(pendingField(0x01, 19, 19), 1U);
    EXPECT_EQ(w.chkEnableRAM.Value(), 1);

    // The LOAD that goes ahead clears both and sends CFR1 with the RAM off.
    ui::testing::messageBoxes().reset();
    w.cmdLoad.click();
    EXPECT_EQ(pendingField(0x00, 31, 31), 0U);
    EXPECT_EQ(pendingField(0x01, 19, 19), 0U);
    EXPECT_EQ(chip().bufferRegister(0x00) >> 31 & 1U, 0U);
    EXPECT_EQ(w.chkEnableRAM.Value(), 0);
}

TEST_F(RegisterWindowWrites, ClearErrorWhileBusyIsRefusedAndTheBoxKeepsItsState)
{
    plugBoard();
    auto& w = static_cast<frmMultiChipSync&>(openWindow<frmMultiChipSync>());
    setPendingField(RegisterField{0x01, 5, 5}, 0);
    w.RefreshFormVals();
    ASSERT_EQ(w.chkEnableSyncSampleErr.Value(), 0);
    clearTraffic();
    ui::testing::messageBoxes().expect(kRefused);
    whileBusy([&] { w.cmdClearSampleError.click(); });
    ASSERT_EQ(ui::testing::messageBoxes().shown.size(), 1u);
    EXPECT_EQ(ui::testing::messageBoxes().shown[0].prompt, kRefused);
    EXPECT_EQ(w.chkEnableSyncSampleErr.Value(), 0) << "not shown as done";
    EXPECT_EQ(pendingField(0x01, 5, 5), 0U);

    ui::testing::messageBoxes().reset();
    w.cmdClearSampleError.click();
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
    EXPECT_EQ(w.chkEnableSyncSampleErr.Value(), 1);
    EXPECT_EQ(chip().bufferRegister(0x01) >> 5 & 1U, 1U);
}

TEST_F(RegisterWindowWrites, OskSpinBarsWhileBusyMoveNothing)
{
    plugBoard();
    auto& w = static_cast<frmFreqAndSweep&>(openWindow<frmFreqAndSweep>());
    w.txtAmpScaleStepST.setText(QStringLiteral("5"));
    const QString tagBefore = w.txtAmpScaleST.Tag;
    const uint64_t pendingBefore = pending(0x09);
    ui::testing::messageBoxes().expect(kRefused);
    whileBusy([&] { w.vscAmpScaleSpinST.setValue(1); });
    ASSERT_EQ(ui::testing::messageBoxes().shown.size(), 1u);
    EXPECT_EQ(w.txtAmpScaleST.Tag, tagBefore);
    EXPECT_EQ(pending(0x09), pendingBefore) << "the pending word stays with the chip's";
    EXPECT_EQ(w.vscAmpScaleSpinST.Value(), 0);

    ui::testing::messageBoxes().reset();
    w.vscAmpScaleSpinST.setValue(1);
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
    EXPECT_NE(pending(0x09), pendingBefore);
    EXPECT_EQ(chip().bufferRegister(0x09), pending(0x09)) << "the spin reaches the chip at once";
}

} // namespace

namespace {

using regtest::bits;

class RefreshEffects : public RegisterWindowLoad {};

// A refresh that changes output shift keying or the RAM enable brings the Profiles window along, as the
// user's click does.
TEST_F(RefreshEffects, OskAndRamEnableChangedByARefreshReachTheProfilesWindow)
{
    plugBoard();
    setOperatingMode(1);
    setPendingField(RegisterField{0x00, 9, 9}, 0);
    auto& profiles = static_cast<frmProfile&>(openWindow<frmProfile>());
    auto& osk = static_cast<frmFreqAndSweep&>(openWindow<frmFreqAndSweep>());
    auto& ram = static_cast<frmQDUCRSR&>(openWindow<frmQDUCRSR>());
    profiles.RefreshFormVals();
    ASSERT_EQ(profiles.chkUseProfileOSK.ForeColor(), ui::colors::vbWindowText);

    // Another window sets output shift keying; the OSK window's refresh shows it.
    setPendingField(RegisterField{0x00, 9, 9}, 1);
    osk.RefreshFormVals();
    ASSERT_EQ(osk.chkEnableASF.Value(), 1);
    EXPECT_EQ(profiles.chkUseProfileOSK.ForeColor(), ui::colors::vbGrayText)
        << "the Profiles window greys profile OSK once output shift keying is on";

    // A profile word changed behind the Profiles window's back shows once the RAM window's refresh
    // changes the RAM enable (quadrature modulation: the Profiles window keeps its form).
    setOperatingMode(0, false);
    ram.RefreshFormVals();
    profiles.RefreshFormVals();
    ASSERT_EQ(ram.chkEnableRAM.Value(), 0);
    setPendingField(RegisterField{0x0E, 31, 0}, 12345);
    ASSERT_NE(profiles.txtOutFreqQD(0).Tag, QStringLiteral("12345"));
    setOperatingMode(0, true);
    ram.RefreshFormVals();
    ASSERT_EQ(ram.chkEnableRAM.Value(), 1);
    EXPECT_EQ(profiles.txtOutFreqQD(0).Tag, QStringLiteral("12345"));

    // A refresh that changes nothing leaves the Profiles window alone.
    setPendingField(RegisterField{0x0E, 31, 0}, 777);
    ram.RefreshFormVals();
    EXPECT_EQ(profiles.txtOutFreqQD(0).Tag, QStringLiteral("12345"));
}

} // namespace

namespace {

class TableIndicator : public RegisterWindowLoad {};

// The multi-chip sync window's indicator comes from its table: every row but the sample error enable,
// whose CFR2 bit another window's LOAD sends.
TEST_F(TableIndicator, MultiChipSyncBlinksForItsOwnRowsOnly)
{
    plugBoard();
    auto& w = static_cast<frmMultiChipSync&>(openWindow<frmMultiChipSync>());
    const struct {
        RegisterField field;
        bool blinks;
    } cases[] = {
        {{0x0A, 31, 28}, true}, {{0x0A, 23, 18}, true}, {{0x0A, 27, 27}, true}, {{0x0A, 25, 25}, true},
        {{0x0A, 15, 11}, true}, {{0x0A, 7, 3}, true},   {{0x01, 5, 5}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field.addr * 100 + c.field.hi);
        setWritten(c.field.addr, pending(c.field.addr));
        ui::testing::clock().advance(600);
        ASSERT_FALSE(blinks(w.lblLoadFlash));
        setPendingField(c.field, c.field.get() == 0 ? 1 : 0);
        EXPECT_EQ(blinks(w.lblLoadFlash), c.blinks);
        setPending(c.field.addr, written(c.field.addr));
    }
}

} // namespace
