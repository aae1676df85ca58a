#include "profile_fixture.h"

#include "board/board_flags.h"
#include "board/globals.h"
#include "common/emulated_usb.h"
#include "shell/frm_control.h"
#include "shell/mdi_main.h"
#include "shell/startup.h"

#include "platform/ui/forms.h"
#include "platform/ui/test_doubles.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <algorithm>

namespace profiletest {

void RecordingProgress::init(int32_t min, int32_t max, const QString& text)
{
    calls << QStringLiteral("init %1 %2 %3").arg(min).arg(max).arg(text);
}

void RecordingProgress::setValue(int32_t value)
{
    calls << QStringLiteral("value %1").arg(value);
    if (during)
        during();
}

void RecordingProgress::reset()
{
    calls << QStringLiteral("reset");
}

ProfileWindowTest::ProfileWindowTest()
{
    gsDecimalSep = QStringLiteral(".");
    giDecimalSepCode = '.';
    gbBoardConnected = gbPrevConnected = false;
    giRunMode = 0;
    RegisterShellWindows();
    registerControlWindow();
    registerProfileWindow();
    mdi = &ui::form<mdiMain>();
    // The window's traffic only: the USB watch would poll the board between the window's transfers.
    mdi->tmrUSBCheck.setEnabled(false);
    setProgressSink(&progress);
    control = &ui::form<frmControl>();
    setClock(QStringLiteral("1000"));
}

ProfileWindowTest::~ProfileWindowTest()
{
    ui::Forms::discardAll();
    ui::Forms::destroyUnloaded();
    setProgressSink(nullptr);
    gbBoardConnected = gbPrevConnected = false;
    giRunMode = 0;
}

usb::EmulatedBoard& ProfileWindowTest::plugBoard(const usb::BoardOptions& options)
{
    usb::EmulatedBoard& board = testusb::plugAndSelect(drv, bd(), options, static_cast<int32_t>(mdi->hWnd()));
    gbBoardConnected = true;
    clearTraffic();
    return board;
}

void ProfileWindowTest::setClock(const QString& megahertz)
{
    control->txtSysClkTxt.setText(megahertz);
}

frmProfile& ProfileWindowTest::open()
{
    return ui::form<frmProfile>();
}

frmProfile& ProfileWindowTest::openShown()
{
    mdi->Show();
    frmProfile& window = open();
    window.Show();
    QApplication::setActiveWindow(mdi->frameWidget()->window());
    return window;
}

uint64_t ProfileWindowTest::pendingField(int16_t addr, int hi, int lo) const
{
    return (pending(addr) >> lo) & ((uint64_t{1} << (hi - lo + 1)) - 1);
}

void ProfileWindowTest::setPending(int16_t addr, uint64_t value)
{
    bd().SetRegMapValue(0, addr, bits(value, bd().GetRegLength(addr)));
}

void ProfileWindowTest::setPendingField(int16_t addr, int hi, int lo, uint64_t value)
{
    const uint64_t ones = hi - lo + 1 >= 64 ? ~uint64_t{0} : (uint64_t{1} << (hi - lo + 1)) - 1;
    const uint64_t mask = ones << lo;
    setPending(addr, (pending(addr) & ~mask) | ((value << lo) & mask));
}

void ProfileWindowTest::setOperatingMode(int mode, bool ramEnabled)
{
    setPendingField(0x00, 25, 24, static_cast<uint64_t>(mode));
    setPendingField(0x00, 31, 31, ramEnabled ? 1 : 0);
}

void ProfileWindowTest::clearTraffic()
{
    testusb::clearTraffic(drv);
}

QList<ProfileWindowTest::SerialWrite> ProfileWindowTest::serialWrites() const
{
    QString stream;
    for (const QByteArray& packet : pipeWrites(3))
        for (qsizetype k = 0; k + 1 < packet.size(); k += 2)
            stream.append(packet[k] == 1 ? QLatin1Char('1') : QLatin1Char('0'));
    auto reversed = [](QString text) {
        std::reverse(text.begin(), text.end());
        return text;
    };
    QList<SerialWrite> writes;
    bool lsbFirst = false;
    qsizetype at = 0;
    while (at + 8 <= stream.size()) {
        const QString instruction = lsbFirst ? reversed(stream.mid(at, 8)) : stream.mid(at, 8);
        const int addr = static_cast<int>(valueOf(instruction) & 0x1F);
        const int width = bd().GetRegLength(static_cast<int16_t>(addr));
        const QString bitsSent = stream.mid(at + 8, width);
        const QString value = lsbFirst ? reversed(bitsSent) : bitsSent;
        writes.append({addr, value});
        if (addr == 0x00)
            lsbFirst = value.endsWith(QLatin1Char('1'));
        at += 8 + width;
    }
    return writes;
}

void type(ui::TextBox& box, const QString& keys)
{
    QWidget* target = box.widget();
    for (QChar c : keys) {
        int key = c.toUpper().unicode();
        if (c == QLatin1Char('\r'))
            key = Qt::Key_Return;
        const QString text(c);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &release);
    }
}

void clickInto(ui::TextBox& box)
{
    box.SetFocus();
    if (!box.hasFocus())
        box.SetFocus();
}

void retype(ui::TextBox& box, const QString& keys)
{
    clickInto(box);
    box.setSelStart(0);
    box.setSelLength(static_cast<int>(box.Text().size()));
    type(box, keys);
}

void pasteAndEnter(ui::TextBox& box, const QString& text)
{
    clickInto(box);
    box.setSelStart(0);
    box.setSelLength(static_cast<int>(box.Text().size()));
    box.setSelText(text);
    type(box, QStringLiteral("\r"));
}

void doubleClick(ui::Control& control)
{
    QWidget* target = control.widget();
    const QPointF at(4, 4);
    const QPointF global = target->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    QMouseEvent second(QEvent::MouseButtonDblClick, at, global, Qt::LeftButton, Qt::LeftButton,
                       Qt::NoModifier);
    QApplication::sendEvent(target, &second);
    QMouseEvent last(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &last);
}

} // namespace profiletest
