// The register debug window against the emulated chip: register rows of every width, with and without a
// board, Read Reg, pasted text, the register list, the port boxes, the lamps and the engineering buttons.

#include "common/register_window_fixture.h"
#include "common/small_file_system.h"
#include "shown_boxes.h"

#include "boardui/form_names.h"
#include "debug/frm_debug.h"
#include "debug/register_windows.h"
#include "profiles/register_windows.h"
#include "shell/frm_graphics.h"

#include "platform/os/os_test_doubles.h"
#include "platform/os/program_folder.h"
#include "platform/ui/test_doubles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using namespace regtest;
using debugtest::Box;
using debugtest::Boxes;
using debugtest::boxesSince;
using debugtest::boxMark;
using debugtest::expectBox;

// A stand-in for a window of another library, reached by name: counts the procedures called on it.
class ProbeWindow : public ui::Form {
public:
    explicit ProbeWindow(const QString& name) : ui::Form(name)
    {
        for (const char* proc : {"RefreshFormVals", "UpdateProfileSel"})
            registerProc(QLatin1String(proc), [this, proc] { calls << QLatin1String(proc); });
    }
    QStringList calls;
};

ProbeWindow& probe(const QString& name)
{
    ui::Forms::registerFactory(name, [name] { return std::make_unique<ProbeWindow>(name); });
    return static_cast<ProbeWindow&>(*ui::Forms::load(name));
}

QByteArray twoBytes(int first, int second)
{
    QByteArray out;
    out.append(static_cast<char>(first));
    out.append(static_cast<char>(second));
    return out;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class DebugWindowTest : public RegisterWindowTest {
protected:
    DebugWindowTest() { RegisterDebugWindows(); }

    frmDebug& open()
    {
        mdi->Show();
        frmDebug& window = ui::form<frmDebug>();
        window.Show();
        QApplication::setActiveWindow(mdi->frameWidget()->window());
        return window;
    }
    // Picks a register in the list as a user does (the list takes the focus).
    void select(frmDebug& window, int16_t addr)
    {
        window.cmbRegAddr.SetFocus();
        for (int i = 0; i < window.cmbRegAddr.ListCount(); ++i)
            if (window.cmbRegAddr.ItemData(i) == addr)
                return window.cmbRegAddr.setListIndex(i);
        FAIL() << "register " << addr << " is not in the list";
    }
    // Types a value into the rows as a user does: even bytes through the hexadecimal boxes, odd bytes
    // through the bit boxes.
    void enter(frmDebug& window, uint64_t value, int width)
    {
        for (int i = 0; i < width / 8; ++i) {
            const uint64_t byte = (value >> (8 * i)) & 0xFF;
            if (i % 2 == 0)
                retype(window.txtHexDataByte(i), QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')));
            else
                retype(window.txtByte(i), bits(byte, 8));
        }
    }
    QStringList prompts() const { return ui::testing::messageBoxes().prompts(); }
    bool lit(const ui::Image& lamp) const
    {
        return lamp.Picture().toImage() == ui::form<frmGraphics>().imgGreenLed(1).Picture().toImage();
    }
};

struct WidthCase {
    int16_t rev;
    int16_t runMode;
    int16_t addr;
    int width;
};
const WidthCase kWidths[] = {
    {3, 5, 0x17, 8}, {3, 0, 0x08, 16}, {3, 0, 0x07, 32}, {2, 2, 0x17, 40}, {3, 0, 0x05, 48}, {3, 0, 0x0E, 64},
};

uint64_t patternOf(int width)
{
    const uint64_t pattern = 0xA55A3CC30FF01E96ULL;
    return width == 64 ? pattern : pattern & ((uint64_t{1} << width) - 1);
}

TEST_F(DebugWindowTest, LoadRegWritesEveryWidthToTheChipAndBothMaps)
{
    frmDebug& window = open();
    for (const WidthCase& c : kWidths) {
        SCOPED_TRACE(testing::Message() << "register 0x" << std::hex << c.addr);
        usb::BoardOptions options;
        options.chip.revision = c.rev == 2 ? usb::ChipRevision::Rev2 : usb::ChipRevision::Rev3;
        plugBoard(options);
        useRevision(c.rev);
        giRunMode = c.runMode;
        window.SetMode();
        select(window, c.addr);
        for (int i = c.width / 8; i < frmDebug::kByteRows; ++i) {
            EXPECT_FALSE(window.txtByte(i).Enabled());
            EXPECT_EQ(window.txtByte(i).Text(), QStringLiteral("++++++++"));
        }
        const uint64_t value = patternOf(c.width);
        enter(window, value, c.width);
        EXPECT_EQ(window.txtByte(0).ForeColor(), frmDebug::kEditedColour);
        clearTraffic();
        window.cmdLoadReg.click();

        EXPECT_EQ(serialWrites(), (QList<SerialWrite>{{c.addr, bits(value, c.width)}}));
        EXPECT_EQ(pending(c.addr), value);
        EXPECT_EQ(written(c.addr), value);
        if (c.width != 40) { // 17H of revisions 1 and 2 answers the identification pattern
            EXPECT_EQ(chip().activeRegister(c.addr), value) << "the window's own auto update pulsed it in";
        }
        EXPECT_EQ(window.txtByte(c.width / 8 - 1).Text(), bits(value >> (c.width - 8), 8));
        EXPECT_EQ(window.txtByte(0).ForeColor(), frmDebug::kNormalColour);
        drv.detach(0);
    }
}

TEST_F(DebugWindowTest, WithoutABoardLoadRegFillsBothCopiesAndReadRegShowsTheWrittenOne)
{
    frmDebug& window = open();
    for (const WidthCase& c : kWidths) {
        SCOPED_TRACE(testing::Message() << "register 0x" << std::hex << c.addr);
        useRevision(c.rev);
        giRunMode = c.runMode;
        window.SetMode();
        select(window, c.addr);
        const uint64_t value = patternOf(c.width) ^ 0x5;
        enter(window, value, c.width);
        window.cmdLoadReg.click();
        EXPECT_EQ(pending(c.addr), value);
        EXPECT_EQ(written(c.addr), value);
        EXPECT_TRUE(os::testing::soundRecorder().played.isEmpty());
        window.cmdReadReg.click();
        EXPECT_EQ(os::testing::soundRecorder().played, QStringList{QStringLiteral("SystemAsterisk")});
        os::testing::soundRecorder().played.clear();
    }
}

TEST_F(DebugWindowTest, ReadRegShowsTheChipWithoutChangingEitherCopy)
{
    plugBoard();
    frmDebug& window = open();
    for (int16_t addr : {int16_t{0x05}, int16_t{0x0E}, int16_t{0x18}}) {
        const int width = bd().GetRegLength(addr);
        setPending(addr, 1);
        setWritten(addr, 2);
        chip().setBufferRegister(addr, patternOf(width));
        chip().setActiveRegister(addr, patternOf(width));
        select(window, addr);
        window.cmdReadReg.click();
        EXPECT_EQ(window.txtByte(0).Text(), bits(patternOf(width) & 0xFF, 8));
        EXPECT_EQ(
            window.txtHexDataByte(1).Text(),
            QStringLiteral("%1").arg((patternOf(width) >> 8) & 0xFF, 2, 16, QLatin1Char('0')).toUpper());
        EXPECT_EQ(window.txtByte(0).ForeColor(), frmDebug::kReadColour);
        EXPECT_EQ(pending(addr), 1U);
        EXPECT_EQ(written(addr), 2U);
        window.txtByte(3).SetFocus();
        QKeyEvent ctrlR(QEvent::KeyPress, Qt::Key_R, Qt::ControlModifier, QStringLiteral("\x12"));
        QApplication::sendEvent(window.txtByte(3).widget(), &ctrlR);
        EXPECT_EQ(window.txtByte(0).Text(), bits(2, 8)) << "Ctrl+R shows the written copy again";
    }
}

TEST_F(DebugWindowTest, WithoutAutoUpdateTheValueWaitsInTheChipsBuffer)
{
    plugBoard();
    setAutoIOUpdate(true); // the main window's box does not count here: the window has its own
    frmDebug& window = open();
    window.chkAutoUpdate.setValue(0);
    select(window, 0x07);
    const uint64_t active = chip().activeRegister(0x07);
    const int updates = chip().ioUpdateCount();
    enter(window, 0x12345678, 32);
    window.cmdLoadReg.click();
    EXPECT_EQ(chip().bufferRegister(0x07), 0x12345678U);
    EXPECT_EQ(chip().activeRegister(0x07), active);
    EXPECT_EQ(chip().ioUpdateCount(), updates);
    EXPECT_EQ(written(0x07), 0x12345678U);
    window.cmdSendUpdate.click();
    EXPECT_EQ(chip().activeRegister(0x07), 0x12345678U);
}

TEST_F(DebugWindowTest, AFailedLoadLeavesTheWrittenCopyAndMarksNothingAsLoaded)
{
    plugBoard();
    frmDebug& window = open();
    select(window, 0x07);
    setWritten(0x07, 0x11);
    enter(window, 0xCAFEF00D, 32);
    drv.failTransfer(0, usb::kDataPipe, 1, 100);
    window.cmdLoadReg.click();
    EXPECT_EQ(pending(0x07), 0xCAFEF00DU);
    EXPECT_EQ(written(0x07), 0x11U);
    EXPECT_EQ(window.txtByte(0).Text(), bits(0x11, 8));
}

TEST_F(DebugWindowTest, HexAndBitBoxesFollowEachOtherAndColourEdits)
{
    frmDebug& window = open();
    select(window, 0x07);
    retype(window.txtHexDataByte(2), QStringLiteral("a5"));
    EXPECT_EQ(window.txtHexDataByte(2).Text(), QStringLiteral("A5"));
    EXPECT_EQ(window.txtByte(2).Text(), QStringLiteral("10100101"));
    EXPECT_EQ(window.txtByte(2).ForeColor(), frmDebug::kEditedColour);
    EXPECT_EQ(window.txtHexDataByte(2).ForeColor(), frmDebug::kEditedColour);
    retype(window.txtHexDataByte(2), QStringLiteral("00"));
    EXPECT_EQ(window.txtByte(2).ForeColor(), frmDebug::kNormalColour);

    retype(window.txtByte(1), QStringLiteral("1 0x1\r"));
    EXPECT_EQ(window.txtByte(1).Text(), QStringLiteral("101"));
    EXPECT_EQ(window.txtHexDataByte(1).Text(), QStringLiteral("05"));
    clickInto(window.txtByte(3));
    EXPECT_EQ(window.txtByte(1).Text(), QStringLiteral("00000101")) << "leaving the box pads it";

    pasteAndEnter(window.txtHexDataByte(3), QStringLiteral("b7"));
    EXPECT_EQ(window.txtHexDataByte(3).Text(), QStringLiteral("B7")) << "pasted like typed";
    EXPECT_EQ(window.txtByte(3).Text(), QStringLiteral("10110111"));
}

TEST_F(DebugWindowTest, PastedTextThatIsNotAByteReachesNeitherMapNorTheWire)
{
    plugBoard();
    frmDebug& window = open();
    select(window, 0x07);
    setPending(0x07, 0x1234);
    setWritten(0x07, 0x1234);
    struct PasteCase {
        bool hexBox;
        const char* text;
    };
    const Box invalidByte{QStringLiteral("Load Reg"),
                          QStringLiteral("Byte <15:8> does not hold a valid value.\r\n"
                                         "Enter up to eight binary digits (0 or 1) or two hexadecimal digits "
                                         "(0-9, A-F).\r\nNothing was loaded."),
                          ui::vbExclamation};
    for (const PasteCase& c :
         {PasteCase{false, "12x"}, PasteCase{false, "1O1"}, PasteCase{true, "G1"}, PasteCase{true, " 5"}}) {
        SCOPED_TRACE(c.text);
        window.RefreshFormVals();
        const size_t mark = boxMark();
        ui::TextBox& box = c.hexBox ? window.txtHexDataByte(1) : window.txtByte(1);
        pasteAndEnter(box, QLatin1String(c.text));
        EXPECT_TRUE(boxesSince(mark).empty()) << "the paste itself raises no conversion message";
        EXPECT_EQ(box.ForeColor(), frmDebug::kInvalidColour);
        clearTraffic();
        expectBox(invalidByte);
        window.cmdLoadReg.click();
        EXPECT_EQ(boxesSince(mark), Boxes{invalidByte});
        EXPECT_TRUE(pipeWrites(3).isEmpty());
        EXPECT_EQ(pending(0x07), 0x1234U);
        EXPECT_EQ(written(0x07), 0x1234U);
    }
}

TEST_F(DebugWindowTest, RegisterListFollowsRunModeAndRevision)
{
    struct ListCase {
        int16_t rev;
        int16_t runMode;
        QList<int> tail; // addresses after 16H
    };
    const ListCase cases[] = {
        {3, 0, {0x18, 0x19}},
        {3, 4, {0x18, 0x19}},
        {3, 2, {0x18, 0x19, 0x1F}},
        {3, 5, {0x17, 0x18, 0x19, 0x1A, 0x1B}},
        {2, 0, {}},
        {2, 3, {0x17}},
        {2, 5, {}},
        {0, 1, {0x18, 0x19}},
    };
    frmDebug& window = open();
    for (const ListCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "revision " << c.rev << ", run mode " << c.runMode);
        bd().setSiliconRev(c.rev);
        giRunMode = c.runMode;
        window.SetMode();
        QList<int> addrs;
        for (int i = 0; i < window.cmbRegAddr.ListCount(); ++i)
            addrs << window.cmbRegAddr.ItemData(i);
        QList<int> expected;
        for (int a = 0; a <= 0x16; ++a)
            expected << a;
        EXPECT_EQ(addrs, expected + c.tail);
    }
    bd().setSiliconRev(3);
    giRunMode = 5;
    window.SetMode();
    EXPECT_EQ(window.cmbRegAddr.List(0), QStringLiteral("CFR1 - 00H"));
    EXPECT_EQ(window.cmbRegAddr.List(27), QStringLiteral("ADC Results- 1BH"));
    window.cmbRegAddr.setListIndex(27);
    giRunMode = 0;
    window.SetMode();
    EXPECT_EQ(window.cmbRegAddr.ListIndex(), 0) << "a position beyond the new list falls back to the first";
    EXPECT_EQ(window.Width(), 8265 / 15);
    EXPECT_LE(window.Height(), 1000);
    // The window places itself: it must still hold its whole content (Load Reg and the lamps included).
    EXPECT_GE(window.Height(), window.frameSizeForContent().height());
    EXPECT_GT(window.Height(), 300);
}

TEST_F(DebugWindowTest, LoadRegRefreshesTheWindowThatOwnsTheRegister)
{
    ProbeWindow& gpio = probe(QStringLiteral("frmGPIO"));
    ProbeWindow& profiles = probe(QStringLiteral("frmProfile"));
    frmDebug& window = open();
    select(window, 0x18);
    window.cmdLoadReg.click();
    EXPECT_EQ(gpio.calls, QStringList{QStringLiteral("RefreshFormVals")});
    EXPECT_TRUE(profiles.calls.isEmpty());
}

TEST_F(DebugWindowTest, PortBoxesSendTheirPortAndRefreshTheOwningWindows)
{
    usb::EmulatedBoard& board = plugBoard();
    ProbeWindow& ram = probe(QStringLiteral("frmQDUCRSR"));
    ProbeWindow& profiles = probe(QStringLiteral("frmProfile"));
    ProbeWindow& sweep = probe(QStringLiteral("frmFreqAndSweep"));
    frmDebug& window = open();
    struct PortCase {
        ui::ControlArray<ui::CheckBox>* boxes;
        uint8_t command;
        std::function<uint8_t()> boardPort;
        QStringList ram;
        bool profileSelection;
        QStringList sweep;
    };
    const QStringList refresh{QStringLiteral("RefreshFormVals")};
    const QStringList none;
    const PortCase ports[] = {
        {&window.chkPAIO, 1, [&] { return board.portA(); }, refresh + refresh, false, none},
        {&window.chkPEIO, 20, [&] { return board.portE(); }, none, true, refresh},
        {&window.chkCTLIO, 5, [&] { return static_cast<uint8_t>(bd().USBGetPortBuffVal(kPortCtl)); }, none,
         false, none},
    };
    giRunMode = 4; // every port E box on show
    window.SetMode();
    window.chkFlashUSBStatus.setValue(0); // "USB_Status" takes clicks only while the LED does not flash
    for (const PortCase& c : ports)
        for (ui::CheckBox& box : *c.boxes) {
            SCOPED_TRACE(box.Caption().toStdString());
            for (ProbeWindow* p : {&ram, &profiles, &sweep})
                p->calls.clear();
            const auto expected = static_cast<uint8_t>(c.boardPort() ^ (1 << box.Index()));
            clearTraffic();
            box.click();
            EXPECT_EQ(c.boardPort(), expected);
            EXPECT_TRUE(pipeWrites(0).contains(twoBytes(c.command, expected)));
            EXPECT_EQ(ram.calls, c.ram);
            EXPECT_EQ(profiles.calls.contains(QStringLiteral("UpdateProfileSel")), c.profileSelection);
            EXPECT_EQ(sweep.calls, c.sweep);
        }
    clearTraffic();
    window.RefreshFormVals();
    for (const QByteArray& write : pipeWrites(0))
        EXPECT_FALSE(write.size() == 2 && (write.at(0) == 1 || write.at(0) == 20 || write.at(0) == 5))
            << "a refresh writes no port line of its own";

    // Without Auto Apply only the image changes until Apply.
    window.chkPAAutoApply.setValue(0);
    const uint8_t portA = board.portA();
    window.chkPAIO(3).click();
    EXPECT_EQ(board.portA(), portA);
    EXPECT_EQ(window.portAImage(), portA ^ 0x08);
    window.cmdApplyPA.click();
    EXPECT_EQ(board.portA(), portA ^ 0x08);

    // The Control window shows the external power-down line once port A is applied.
    const int extPD = control->chkExternPDPin.Value();
    window.chkPAIO(4).click();
    EXPECT_EQ(control->chkExternPDPin.Value(), extPD) << "not applied yet";
    window.cmdApplyPA.click();
    EXPECT_EQ(control->chkExternPDPin.Value(), 1 - extPD);
    EXPECT_EQ((board.portA() >> 4) & 1, 1 - extPD);
}

TEST_F(DebugWindowTest, UpdatePortValsTakesTheBoardsLinesAndAutoApplySendsThemBack)
{
    usb::EmulatedBoard& board = plugBoard();
    frmDebug& window = open();
    bd().setExtPD(1);
    bd().USBWritePortBuffVal(kPortA);
    ASSERT_EQ(board.portA() & 0x10, 0x10);
    clearTraffic();
    window.UpdatePortVals();
    EXPECT_EQ(window.chkPAIO(4).Value(), 1);
    EXPECT_TRUE(pipeWrites(0).contains(twoBytes(1, board.portA()))) << "Auto Apply wrote port A back";
    EXPECT_EQ(board.portA() & 0x10, 0x10);
}

TEST_F(DebugWindowTest, FlashAndManualIOUpdateSendExactlyTheirPortWrites)
{
    usb::EmulatedBoard& board = plugBoard();
    frmDebug& window = open();
    window.chkFlashUSBStatus.setValue(1);
    EXPECT_FALSE(window.chkPAIO(0).Enabled());
    clearTraffic();
    window.chkFlashUSBStatus.setValue(0);
    EXPECT_TRUE(window.chkPAIO(0).Enabled());
    EXPECT_TRUE(pipeWrites(0).contains(twoBytes(1, window.portAImage())));

    const auto portE = static_cast<uint8_t>(bd().USBGetPortBuffVal(kPortE) & ~0x10);
    const int updates = chip().ioUpdateCount();
    clearTraffic();
    window.cmdSendUpdate.click();
    QList<QByteArray> portEWrites;
    for (const QByteArray& write : pipeWrites(0))
        if (write.at(0) == 20)
            portEWrites << write;
    EXPECT_EQ(portEWrites, (QList<QByteArray>{twoBytes(20, portE | 0x10), twoBytes(20, portE)}));
    EXPECT_EQ(chip().ioUpdateCount(), updates + 1);
    EXPECT_EQ(board.portE(), portE);
}

TEST_F(DebugWindowTest, ClearCCILeavesTheBitClearInBothCopies)
{
    plugBoard();
    frmDebug& window = open();
    window.cmdClearCIC.click();
    ASSERT_EQ(serialWrites().size(), 1);
    EXPECT_EQ(serialWrites()[0].value.at(32 - 1 - 21), QLatin1Char('1')) << "sent with the bit set";
    EXPECT_EQ((pending(0x00) >> 21) & 1, 0U);
    EXPECT_EQ((written(0x00) >> 21) & 1, 0U);
}

TEST_F(DebugWindowTest, LampsShowTheFlagLinesAndTheSerialPortSettings)
{
    usb::EmulatedBoard& board = plugBoard();
    frmDebug& window = open();
    for (uint8_t lines : {uint8_t{0x00}, uint8_t{0xF8}, uint8_t{0x48}, uint8_t{0x90}}) {
        board.setStatusInputs(lines);
        window.cmdReadDUTFlags.click();
        for (int k = 3; k <= 7; ++k)
            EXPECT_EQ(lit(window.imgDUTFlagsPD(k)), ((lines >> k) & 1) == 1)
                << "lines " << int(lines) << " bit " << k;
    }
    // The main window's status poll reads port D and lights the lamps without a click.
    for (uint8_t lines : {uint8_t{0x28}, uint8_t{0x00}}) {
        board.setStatusInputs(lines);
        mdi->tmrUSBCheck_Timer();
        for (int k = 3; k <= 7; ++k)
            EXPECT_EQ(lit(window.imgDUTFlagsPD(k)), ((lines >> k) & 1) == 1)
                << "polled lines " << int(lines) << " bit " << k;
    }
    for (bool on : {true, false}) {
        setWritten(0x00, on ? 0x3 : 0x0); // CFR1 bit 0 LSB first, bit 1 3-wire
        window.UpdateSPIStatus();
        EXPECT_EQ(lit(window.imgLSBFirst), on);
        EXPECT_EQ(lit(window.img3WireMode), on);
    }
}

TEST_F(DebugWindowTest, RunModeFourShowsTheEngineeringControls)
{
    frmDebug& window = open();
    for (int16_t mode = 0; mode <= 5; ++mode) {
        giRunMode = mode;
        window.SetMode();
        for (ui::Control* control : std::initializer_list<ui::Control*>{
                 &window.cmdFIFODebug, &window.cmdRAMDebug, &window.chkPEIO(5), &window.chkPEIO(6)})
            EXPECT_EQ(control->Visible(), mode == 4) << control->Name().toStdString() << " mode " << mode;
        EXPECT_FALSE(window.fraMisc.Visible());
    }
    EXPECT_TRUE(mdi->mnuViewDebugWnd.Checked());
    window.Unload(ui::vbFormControlMenu);
    EXPECT_FALSE(mdi->mnuViewDebugWnd.Checked());
}

TEST_F(DebugWindowTest, EngineeringButtonsBringTheFifoAndRamWindowsToTheFront)
{
    RegisterProfilesWindows();
    giRunMode = 4;
    frmDebug& window = open();
    struct ButtonCase {
        ui::CommandButton& button;
        QString form;
    } cases[] = {{window.cmdFIFODebug, formnames::frmFIFODebug},
                 {window.cmdRAMDebug, formnames::frmRAMDebug}};
    for (const ButtonCase& c : cases) {
        SCOPED_TRACE(c.form.toStdString());
        ASSERT_TRUE(c.button.Visible());
        ASSERT_FALSE(ui::Forms::isLoaded(c.form));
        c.button.click();
        ui::Form* opened = ui::Forms::find(c.form);
        ASSERT_NE(opened, nullptr);
        EXPECT_TRUE(opened->Visible());
        EXPECT_EQ(mdi->activeChild(), opened);

        // Minimised behind the debug window, it comes back at its normal size and in front.
        opened->setWindowState(ui::vbMinimized);
        window.ZOrder(0);
        ASSERT_EQ(mdi->activeChild(), &window);
        c.button.click();
        EXPECT_EQ(opened->WindowState(), ui::vbNormal);
        EXPECT_EQ(mdi->activeChild(), opened);
        window.ZOrder(0);
    }
    EXPECT_TRUE(ui::testing::modalShows().isEmpty()) << "both open modeless";
}

TEST_F(DebugWindowTest, SimulateWritesBothFilesIntoTheProgramFolder)
{
    const QString folder = os::programFolder();
    QTemporaryDir elsewhere;
    const QString before = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    frmDebug& window = open();
    setWritten(0x05, 0x123456789ABCULL);
    QByteArray regMap;
    for (int16_t addr = 0; addr <= 0x1E; ++addr)
        regMap += bd().GetRegMapValue(1, addr).toLatin1() + "\r\n";
    struct ClockCase {
        QChar separator;
        const char* clock;
        const char* line;
    };
    for (const ClockCase& c : {ClockCase{QChar(u'.'), "1000", "1000000000.000"},
                               ClockCase{QChar(u','), "1000,5", "1000500000.000"}}) {
        rt::ScopedNumberLocale locale{c.separator};
        setClock(QLatin1String(c.clock));
        window.cmdSimulate.click();
        EXPECT_EQ(fileBytes(folder + QStringLiteral("/RegMapFile.txt")), regMap);
        EXPECT_EQ(fileBytes(folder + QStringLiteral("/SimParmFile.txt")),
                  QByteArray("RegMapFile.txt\r\n") + c.line + "\r\n");
    }
    EXPECT_FALSE(QFile::exists(elsewhere.filePath(QStringLiteral("SimParmFile.txt"))));
    EXPECT_TRUE(prompts().isEmpty());

    const Box noClock{QStringLiteral("SIMULATE"),
                      QStringLiteral("The System Clock is not a number greater than 0!\r\n"
                                     "RegMapFile.txt and SimParmFile.txt were not written."),
                      ui::vbExclamation};
    for (const char* bad : {"0", "-5", "abc", ""}) {
        SCOPED_TRACE(bad);
        QFile::remove(folder + QStringLiteral("/RegMapFile.txt"));
        QFile::remove(folder + QStringLiteral("/SimParmFile.txt"));
        const size_t mark = boxMark();
        setClock(QLatin1String(bad));
        expectBox(noClock);
        window.cmdSimulate.click();
        EXPECT_EQ(boxesSince(mark), Boxes{noClock});
        EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/RegMapFile.txt")));
        EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/SimParmFile.txt")));
    }
    QDir::setCurrent(before);
}

TEST_F(DebugWindowTest, AFailedRamDumpIsReportedAndKeepsTheOldFile)
{
    const QString path = os::programFolder() + QStringLiteral("/RAMDump.txt");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old dump\r\n");
    }
    frmDebug& window = open();
    const Box notDumped{QStringLiteral("FULL RAM DUMP"),
                        QStringLiteral("The RAM could not be dumped!\r\n") + path +
                            QStringLiteral(" was not written."),
                        ui::vbExclamation};
    expectBox(notDumped);
    window.cmdRAMReadTest.click();
    EXPECT_EQ(boxesSince(0), Boxes{notDumped});
    EXPECT_EQ(fileBytes(path), QByteArray("old dump\r\n"));

    plugBoard();
    chip().setRamWord(1, 0x80000001u);
    window.cmdRAMReadTest.click();
    EXPECT_EQ(boxesSince(1), Boxes{});
    const QList<QByteArray> lines = fileBytes(path).split('\n');
    EXPECT_EQ(lines.size(), 1025);
    EXPECT_EQ(lines.value(1), QByteArray("10000000000000000000000000000001\r"));
}

} // namespace

namespace {

TEST_F(DebugWindowTest, WatchdogTestRefusesWithoutABoardOrWithABadDelay)
{
    frmDebug& window = open();
    struct RefusalCase {
        bool board;
        const char* delay; // nullptr: "Use Delay" unchecked
        Box box;
    };
    const RefusalCase cases[] = {
        {false,
         nullptr,
         {QString(), QStringLiteral("Connect an evaluation board for this feature!!!"), ui::vbExclamation}},
        {true, "5x", {QString(), QStringLiteral("Invalid delay value! Aborting opperation!"), ui::vbOKOnly}},
        {true, "", {QString(), QStringLiteral("Invalid delay value! Aborting opperation!"), ui::vbOKOnly}},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.box.text.toStdString());
        if (c.board && !gbBoardConnected)
            plugBoard();
        window.chkWDTDelay.setValue(c.delay ? 1 : 0);
        if (c.delay)
            window.txtWDTDelay.setText(QLatin1String(c.delay));
        const uint64_t cfr3 = pending(0x02);
        clearTraffic();
        const size_t mark = boxMark();
        expectBox(c.box);
        window.cmdResetandWriteReg_Click();
        const Boxes shown = boxesSince(mark);
        ASSERT_EQ(shown.size(), 1U);
        EXPECT_EQ(shown[0].text, c.box.text);
        EXPECT_EQ(shown[0].style, c.box.style);
        EXPECT_TRUE(serialWrites().isEmpty());
        EXPECT_EQ(pending(0x02), cfr3);
        EXPECT_TRUE(window.cmdResetandWriteReg.Enabled()) << "the button comes back after a refusal";
    }
}

TEST_F(DebugWindowTest, WatchdogTestRestoresCFR3AndReportsTheEventIndicator)
{
    plugBoard();
    useRevision(3);
    ProbeWindow& watchdog = probe(QStringLiteral("frmWatchDogTmr"));
    frmDebug& window = open();
    watchdog.calls.clear();
    setPending(0x02, 0x1F3F41);
    setPending(0x17, 0x80);
    clearTraffic();
    ui::testing::messageBoxes().expect(QStringLiteral("WDT Event Indicator = 1"), ui::vbOK);
    window.cmdResetandWriteReg_Click();
    // After the chip's reset: CFR3 as it was, then 17H with its event bit, then 17H read back.
    EXPECT_EQ(serialWrites(),
              (QList<SerialWrite>{{0x02, bits(0x1F3F41, 32)}, {0x17, bits(0x81, 8)}, {0x17, QString()}}));
    EXPECT_EQ(pending(0x02), 0x1F3F41U);
    EXPECT_EQ(written(0x17), 0x81U) << "the value read back is stored in the written copy";
    EXPECT_FALSE(watchdog.calls.isEmpty());
    EXPECT_TRUE(window.cmdResetandWriteReg.Enabled());
}

} // namespace

namespace {

TEST_F(DebugWindowTest, SimulateWritesBothFilesOrNeitherAndKeepsTheOldPair)
{
    const QDir folder(os::programFolder());
    const QString regMap = folder.filePath(QStringLiteral("RegMapFile.txt"));
    const QString parm = folder.filePath(QStringLiteral("SimParmFile.txt"));
    frmDebug& window = open();
    const Box unwritten{QStringLiteral("SIMULATE"),
                        QStringLiteral("The files could not be written:\r\n") + regMap +
                            QStringLiteral("\r\n") + parm,
                        ui::vbExclamation};
    for (const QString& blocked : {regMap, parm}) {
        SCOPED_TRACE(blocked.toStdString());
        for (const QString& file : {regMap, parm}) {
            QFile::remove(file);
            QFile old(file);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old pair\r\n");
        }
        // A folder in one file's place: the other file is not replaced either.
        ASSERT_TRUE(QFile::remove(blocked));
        ASSERT_TRUE(folder.mkpath(blocked));
        const QString other = blocked == regMap ? parm : regMap;
        const size_t mark = boxMark();
        expectBox(unwritten);
        window.cmdSimulate.click();
        EXPECT_EQ(boxesSince(mark), Boxes{unwritten});
        QFile kept(other);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), QByteArray("old pair\r\n"));
        ASSERT_TRUE(QDir(blocked).removeRecursively());
    }
    // With room for both, both are replaced.
    window.cmdSimulate.click();
    for (const QString& file : {regMap, parm}) {
        QFile written(file);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_NE(written.readAll(), QByteArray("old pair\r\n"));
    }

    // A register of the written copy that is not whole never reaches the simulator.
    bd().SetRegMapValue(1, 0x05, QStringLiteral("101"));
    const Box incomplete{QStringLiteral("Error!"),
                         QStringLiteral("Register 05H is incomplete!\r\n") + regMap +
                             QStringLiteral(" was not written."),
                         ui::vbExclamation};
    QFile::remove(regMap);
    QFile::remove(parm);
    const size_t mark = boxMark();
    expectBox(incomplete);
    window.cmdSimulate.click();
    EXPECT_EQ(boxesSince(mark), Boxes{incomplete});
    EXPECT_FALSE(QFile::exists(regMap));
    EXPECT_FALSE(QFile::exists(parm)) << "without its register map the parameter file is not written";
}

} // namespace

namespace {

// The program folder on a full disk: every file of the window's actions stays as it was, and each action
// says so once.
TEST_F(DebugWindowTest, OnAFullDiskSimulateAndTheRamDumpKeepTheOldFilesAndSaySoOnce)
{
    testing_fs::SmallFileSystem fs;
    SKIP_WITHOUT_SMALL_FILE_SYSTEM(fs);
    const QString programFolder = os::programFolder();
    os::setProgramFolder(fs.folder());
    struct OldFile {
        const char* name;
        QByteArray bytes;
    };
    const OldFile olds[] = {{"RegMapFile.txt", "old map\r\n"},
                            {"SimParmFile.txt", "RegMapFile.txt\r\n1.000\r\n"},
                            {"RAMDump.txt", "old dump\r\n"}};
    for (const OldFile& old : olds) {
        QFile file(fs.path(QLatin1String(old.name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old.bytes);
    }
    plugBoard();
    frmDebug& window = open();
    fs.fill();
    const Box pair{QStringLiteral("SIMULATE"),
                   QStringLiteral("The files could not be written:\r\n") +
                       fs.path(QStringLiteral("RegMapFile.txt")) + QStringLiteral("\r\n") +
                       fs.path(QStringLiteral("SimParmFile.txt")),
                   ui::vbExclamation};
    const Box dump{QStringLiteral("FULL RAM DUMP"),
                   QStringLiteral("The RAM dump file could not be written:\r\n") +
                       fs.path(QStringLiteral("RAMDump.txt")),
                   ui::vbExclamation};
    size_t mark = boxMark();
    expectBox(pair);
    window.cmdSimulate.click();
    EXPECT_EQ(boxesSince(mark), Boxes{pair});
    mark = boxMark();
    expectBox(dump);
    window.cmdRAMReadTest.click();
    EXPECT_EQ(boxesSince(mark), Boxes{dump}) << "one message, not two";
    for (const OldFile& old : olds)
        EXPECT_EQ(fileBytes(fs.path(QLatin1String(old.name))), old.bytes) << old.name;
    os::setProgramFolder(programFolder);
}

} // namespace
