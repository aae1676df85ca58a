#pragma once

// Header only (tessaron_testmain links the UI layer alone): a fixture for any register window. It sets up
// the main window (its board object, its "Auto" I/O update box, the USB watch stopped so that the traffic
// is the window's own), the Control window with a 1000 MHz clock, a recorder of the status-bar progress
// calls, and helpers to plug a board, read and set both register maps, read the chip and list the register
// writes that crossed the wire since a mark. Plus what a user does to a control: type, paste, double-click.

#include "board/board_flags.h"
#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "board/globals.h"
#include "board/progress.h"
#include "board/register_field.h"
#include "common/bit_strings.h"
#include "common/emulated_usb.h"
#include "common/qstring_print.h"
#include "common/user_input.h"
#include "shell/frm_control.h"
#include "shell/mdi_main.h"
#include "shell/register_window.h"
#include "shell/startup.h"

#include "platform/runtime/locale_info.h"
#include "platform/ui/forms.h"
#include "platform/usb/emulated_driver.h"

#include <QApplication>
#include <QKeyEvent>
#include <QList>
#include <QMouseEvent>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <ostream>
#include <utility>

namespace regtest {

using testbits::bits;
using testbits::valueOf;

// The progress calls in order: "init 0 10 Loading...", "value 3", "reset".
class RecordingProgress : public ProgressSink {
public:
    void init(int32_t min, int32_t max, const QString& text) override
    {
        calls << QStringLiteral("init %1 %2 %3").arg(min).arg(max).arg(text);
    }
    void setValue(int32_t value) override
    {
        calls << QStringLiteral("value %1").arg(value);
        if (during)
            during();
    }
    void reset() override { calls << QStringLiteral("reset"); }
    QStringList calls;
    std::function<void()> during;
};

// One register write as it crossed pipe 3: the instruction's address and the value's bits as the chip
// reads them.
struct SerialWrite {
    int addr = -1;
    QString value;
    bool operator==(const SerialWrite&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const SerialWrite& write)
{
    return out << "{0x" << std::hex << write.addr << std::dec << ", " << write.value.toStdString() << "}";
}

class RegisterWindowTest : public ::testing::Test {
protected:
    rt::ScopedNumberLocale locale{QChar(u'.')};
    usb::ScopedEmulatedDriver scoped;
    usb::EmulatedDriver& drv = scoped.get();
    ScopedEZUSB ezusb;
    RecordingProgress progress;
    mdiMain* mdi = nullptr;
    frmControl* control = nullptr;

    RegisterWindowTest()
    {
        gsDecimalSep = QStringLiteral(".");
        giDecimalSepCode = '.';
        gbBoardConnected = gbPrevConnected = false;
        giRunMode = 0;
        RegisterShellWindows();
        registerControlWindow();
        mdi = &ui::form<mdiMain>();
        mdi->tmrUSBCheck.setEnabled(false);
        setProgressSink(&progress);
        control = &ui::form<frmControl>();
        setClock(QStringLiteral("1000"));
    }
    ~RegisterWindowTest() override
    {
        ui::Forms::discardAll();
        ui::Forms::destroyUnloaded();
        setProgressSink(nullptr);
        gbBoardConnected = gbPrevConnected = false;
        giRunMode = 0;
    }

    cZR4470XEvalBd& bd() const { return *goEvalBd; }
    // Plugs a board into slot 0, selects it with this copy's identifier, lays the maps out for the
    // board's silicon revision, takes its port levels and forgets the traffic so far.
    usb::EmulatedBoard& plugBoard(const usb::BoardOptions& options = {})
    {
        usb::EmulatedBoard& board =
            testusb::plugAndSelect(drv, bd(), options, static_cast<int32_t>(mdi->hWnd()));
        gbBoardConnected = true;
        clearTraffic();
        return board;
    }
    usb::EmulatedChip& chip() { return *drv.board(0)->chip(); }
    // Lays both maps out for a silicon revision (2 stands for revisions 1 and 2).
    void useRevision(int16_t rev)
    {
        bd().setSiliconRev(rev);
        bd().InitRegMap(rev);
    }
    void setClock(const QString& megahertz) { control->txtSysClkTxt.setText(megahertz); }
    void setAutoIOUpdate(bool on) { mdi->chkAutoIOUd.setValue(on ? 1 : 0); }

    uint64_t pending(int16_t addr) const { return valueOf(bd().GetRegMapValue(0, addr)); }
    uint64_t written(int16_t addr) const { return valueOf(bd().GetRegMapValue(1, addr)); }
    uint64_t pendingField(const RegisterField& field) const { return field.get(RegMap::Pending); }
    uint64_t pendingField(int16_t addr, int hi, int lo) const
    {
        return pendingField(RegisterField{addr, hi, lo});
    }
    uint64_t writtenField(const RegisterField& field) const { return field.get(RegMap::Written); }
    void setPending(int16_t addr, uint64_t value)
    {
        bd().SetRegMapValue(0, addr, bits(value, bd().GetRegLength(addr)));
    }
    void setWritten(int16_t addr, uint64_t value)
    {
        bd().SetRegMapValue(1, addr, bits(value, bd().GetRegLength(addr)));
    }
    void setPendingField(const RegisterField& field, uint64_t value) { ASSERT_TRUE(field.set(value)); }
    void setPendingField(int16_t addr, int hi, int lo, uint64_t value)
    {
        setPendingField(RegisterField{addr, hi, lo}, value);
    }
    // CFR1 operating mode (bits 25:24) and RAM enable (bit 31) in the pending map.
    void setOperatingMode(int mode, bool ramEnabled = false)
    {
        setPendingField({0x00, 25, 24}, static_cast<uint64_t>(mode));
        setPendingField(regBit(0x00, 31), ramEnabled ? 1 : 0);
    }

    void clearTraffic() { testusb::clearTraffic(drv); }
    // Bulk writes on a pipe of slot 0 since the last clear, in order.
    QList<QByteArray> pipeWrites(int pipe) const { return drv.transfers(0, pipe); }
    // Register writes on pipe 3 since the last clear, read most significant first until a CFR1 write sets
    // the LSB-first bit (as the chip reads them).
    QList<SerialWrite> serialWrites() const
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
            const QString sent = stream.mid(at + 8, width);
            const QString value = lsbFirst ? reversed(sent) : sent;
            writes.append({addr, value});
            if (addr == 0x00)
                lsbFirst = value.endsWith(QLatin1Char('1'));
            at += 8 + width;
        }
        return writes;
    }
    // A field's bits of a register value, worked out here rather than through RegisterField.
    static uint64_t fieldBits(uint64_t registerValue, const RegisterField& field)
    {
        const int width = field.hi - field.lo + 1;
        const uint64_t mask = width >= 64 ? ~uint64_t{0} : (uint64_t{1} << width) - 1;
        return (registerValue >> field.lo) & mask;
    }

    // Flips one row of a window's field table both ways. The control chooses `on` then 0 (a check box's
    // value, a list's index), each stored into the pending map as the field value `onValue` / 0 and put on
    // the chip by `load`; then the map holds each value and `refresh` shows it in the control.
    void flipRow(const regwin::FieldRow& row, int on, uint64_t onValue, const std::function<void()>& load,
                 const std::function<void()>& refresh)
    {
        const RegisterField& field = row.field;
        SCOPED_TRACE(rowName(row).toStdString());
        for (const auto& [index, value] : {std::pair{on, onValue}, std::pair{0, uint64_t{0}}}) {
            choose(row, index);
            EXPECT_EQ(fieldBits(pending(field.addr), field), value) << "chosen " << index;
            load();
            EXPECT_EQ(fieldBits(chip().bufferRegister(field.addr), field), value) << "loaded " << index;
        }
        for (const auto& [index, value] : {std::pair{on, onValue}, std::pair{0, uint64_t{0}}}) {
            setPendingField(field, value);
            refresh();
            EXPECT_EQ(shown(row), index) << "refreshed " << value;
        }
    }
    static QString rowName(const regwin::FieldRow& row)
    {
        const int index = row.control->Index();
        return row.control->Name() + (index >= 0 ? QStringLiteral("(%1)").arg(index) : QString());
    }
    static void choose(const regwin::FieldRow& row, int index)
    {
        switch (row.kind) {
        case regwin::FieldRow::Kind::Check:
            static_cast<ui::CheckBox*>(row.control)->setValue(index);
            break;
        case regwin::FieldRow::Kind::List:
            static_cast<ui::ListBox*>(row.control)->setListIndex(index);
            break;
        case regwin::FieldRow::Kind::Combo:
            static_cast<ui::ComboBox*>(row.control)->setListIndex(index);
            break;
        default:
            ADD_FAILURE() << "not a control a user chooses from";
        }
    }
    static int shown(const regwin::FieldRow& row)
    {
        switch (row.kind) {
        case regwin::FieldRow::Kind::Check:
            return static_cast<ui::CheckBox*>(row.control)->Value();
        case regwin::FieldRow::Kind::List:
            return static_cast<ui::ListBox*>(row.control)->ListIndex();
        case regwin::FieldRow::Kind::Combo:
            return static_cast<ui::ComboBox*>(row.control)->ListIndex();
        default:
            return -2;
        }
    }

    // The addresses of those writes, in order.
    QList<int> writtenAddresses() const
    {
        QList<int> out;
        for (const SerialWrite& w : serialWrites())
            out << w.addr;
        return out;
    }
};

// ---- driving a window as a user does ----

// Replaces the text as a paste does (past the key filters), then presses Enter.
inline void pasteAndEnter(ui::TextBox& box, const QString& text)
{
    paste(box, text);
    type(box, QStringLiteral("\r"));
}

// A double-click with the left button.
inline void doubleClick(ui::Control& control)
{
    QWidget* target = control.widget();
    const QPointF at(4, 4);
    const QPointF global = target->mapToGlobal(at);
    auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, global, Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
}

} // namespace regtest
