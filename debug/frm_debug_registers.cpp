// The register side of the debug window: the register rows (a bit box and a hexadecimal box per byte,
// kept in step), Load Reg, Read Reg and the watchdog test.

#include "board/chip_registers.h"
#include "debug/frm_debug.h"

#include "board/board_flags.h"
#include "board/evalbd.h"
#include "board/form_names.h"
#include "board/num_base.h"
#include "board/sound.h"
#include "board/text_util.h"
#include "board/utility.h"
#include "boardui/text_selection.h"
#include "shell/startup.h"

#include "platform/runtime/numeric_text.h"
#include "platform/ui/forms.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/msgbox.h"

#include <QRegularExpression>

namespace {

// What a bit box may hold: up to eight "0"/"1" characters, left-padded to eight when it is left.
bool isBitText(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^[01]{0,8}$"));
    return pattern.match(text).hasMatch();
}

// What a hexadecimal box may hold: up to two hexadecimal digits.
bool isHexText(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9A-Fa-f]{0,2}$"));
    return pattern.match(text).hasMatch();
}

QString padded(const QString& text, int width)
{
    return text.rightJustified(width, QLatin1Char('0'));
}

QString hexOfByte(const QString& bits)
{
    return cbaseBinStr2Hex(bits, 2);
}

} // namespace

int16_t frmDebug::selectedAddress() const
{
    const int index = cmbRegAddr.ListIndex();
    return index < 0 ? int16_t{-1} : static_cast<int16_t>(cmbRegAddr.ItemData(index));
}

void frmDebug::colourRow(int index, uint32_t colour)
{
    txtByte(index).setForeColor(colour);
    txtHexDataByte(index).setForeColor(colour);
}

void frmDebug::colourAllRows(uint32_t colour)
{
    for (int i = 0; i < kByteRows; ++i)
        colourRow(i, colour);
}

void frmDebug::showValue(const QString& value, bool blankMissingHex)
{
    const int bytes = static_cast<int>(value.size() / 8);
    for (int i = 0; i < kByteRows; ++i) {
        const bool present = i < bytes;
        for (ui::Control* control : std::initializer_list<ui::Control*>{&txtByte(i), &lblBitRange(i),
                                                                        &txtHexDataByte(i), &lblHex(i)})
            control->setEnabled(present);
        if (present) {
            // The value is cut into bytes from the right: byte 0 is the last eight characters.
            const QString byte = value.mid(qsizetype{bytes - i - 1} * 8, 8);
            txtByte(i).Tag = byte;
            txtByte(i).setText(byte);
            // Also when the bit box already held the byte: a hexadecimal box left with other text follows.
            txtHexDataByte(i).setText(hexOfByte(byte));
        } else {
            txtByte(i).Tag = QStringLiteral("++++++++");
            txtByte(i).setText(txtByte(i).Tag);
            if (blankMissingHex)
                txtHexDataByte(i).setText(QStringLiteral("++"));
        }
    }
}

void frmDebug::cmbRegAddr_Click()
{
    const int16_t addr = selectedAddress();
    if (addr < 0 || !goEvalBd)
        return;
    hexEntry_ = false;
    showValue(goEvalBd->GetRegMapValue(1, addr), true);
    colourAllRows(kNormalColour);
}

// ---- bit boxes ----

void frmDebug::txtByte_KeyPress(int index, int& keyAscii)
{
    (void)index;
    keyAscii = KeyFilterBinary(keyAscii);
    if (keyAscii == ui::vbKeySpace || keyAscii == ui::vbKeyReturn)
        keyAscii = 0;
}

void frmDebug::txtByte_GotFocus(int index)
{
    hexEntry_ = false;
    SelectAllText(txtByte(index));
}

void frmDebug::txtByte_Validate(int index, bool& cancel)
{
    (void)cancel;
    ui::TextBox& box = txtByte(index);
    if (box.Text().size() < 8 && isBitText(box.Text()))
        box.setText(padded(box.Text(), 8));
}

void frmDebug::txtByte_Change(int index)
{
    ui::TextBox& box = txtByte(index);
    const QString text = box.Text();
    // Pasted text passes no key filter: anything but binary digits stays in the box, marked, and goes
    // nowhere (Load Reg refuses it).
    if (box.Enabled() && !isBitText(text)) {
        box.setForeColor(kInvalidColour);
        return;
    }
    colourRow(index, text != box.Tag ? kEditedColour : kNormalColour);
    if (box.Enabled() && !text.isEmpty() && !hexEntry_)
        txtHexDataByte(index).setText(hexOfByte(text));
}

// ---- hexadecimal boxes ----

void frmDebug::txtHexDataByte_KeyPress(int index, int& keyAscii)
{
    (void)index;
    keyAscii = KeyFilterHex(keyAscii);
    if (keyAscii == ui::vbKeySpace)
        keyAscii = 0;
}

void frmDebug::txtHexDataByte_GotFocus(int index)
{
    hexEntry_ = true;
    SelectAllText(txtHexDataByte(index));
}

void frmDebug::txtHexDataByte_Validate(int index, bool& cancel)
{
    (void)cancel;
    ui::TextBox& box = txtHexDataByte(index);
    if (box.Text().size() < 2 && isHexText(box.Text()))
        box.setText(padded(box.Text(), 2));
}

void frmDebug::txtHexDataByte_Change(int index)
{
    ui::TextBox& box = txtHexDataByte(index);
    const QString text = box.Text();
    if (!box.Enabled())
        return;
    if (!isHexText(text)) {
        box.setForeColor(kInvalidColour);
        return;
    }
    // Pasted lower-case digits read as the typed ones do.
    if (text != text.toUpper()) {
        box.setText(text.toUpper());
        return;
    }
    ui::TextBox& bits = txtByte(index);
    colourRow(index, bits.Text() != bits.Tag ? kEditedColour : kNormalColour);
    if (!text.isEmpty() && hexEntry_)
        bits.setText(cbaseDec2Bin(QStringLiteral("&h") + text, 8));
}

// ---- Load Reg and Read Reg ----

std::optional<QString> frmDebug::composedValue()
{
    const int16_t addr = selectedAddress();
    const int width = goEvalBd->GetRegLength(addr);
    QString value;
    for (int i = width / 8 - 1; i >= 0; --i) {
        if (!txtByte(i).Enabled())
            continue;
        const QString bits = txtByte(i).Text();
        const QString hex = txtHexDataByte(i).Text();
        if (!isBitText(bits) || !isHexText(hex) || hex.isEmpty()) {
            ui::MsgBox(QStringLiteral("Byte %1 does not hold a valid value.").arg(lblBitRange(i).Caption()) +
                           QStringLiteral("\r\nEnter up to eight binary digits (0 or 1) or two hexadecimal "
                                          "digits (0-9, A-F).\r\nNothing was loaded."),
                       ui::vbExclamation, QStringLiteral("Load Reg"));
            return std::nullopt;
        }
        value += padded(bits, 8);
    }
    if (value.size() != width) {
        ui::MsgBox(
            QStringLiteral("The bytes shown do not make up the whole register.\r\nNothing was loaded."),
            ui::vbExclamation, QStringLiteral("Load Reg"));
        return std::nullopt;
    }
    return value;
}

void frmDebug::cmdLoadReg_Click()
{
    const int16_t addr = selectedAddress();
    if (addr < 0 || !goEvalBd)
        return;
    const std::optional<QString> value = composedValue();
    if (!value)
        return;
    if (gbBoardConnected) {
        // A failed write leaves the written copy as it was while the pending copy takes the value: the
        // window that owns the register then shows the two differ.
        goEvalBd->USBSerialLoadPKT(addr, *value);
        if (chkAutoUpdate.Value() == 1)
            goEvalBd->StrobeREGUD();
        goEvalBd->SetRegMapValue(0, addr, *value);
        for (int i = 0; i < static_cast<int>(value->size() / 8); ++i)
            colourRow(i, kNormalColour);
    } else {
        goEvalBd->SetRegMapValue(1, addr, *value);
        goEvalBd->SetRegMapValue(0, addr, *value);
    }
    if (!IsLoaded())
        return;
    RefreshFormVals();
    RefreshFormsForRegister(addr);
}

void frmDebug::cmdReadReg_Click()
{
    const int16_t addr = selectedAddress();
    if (addr < 0 || !goEvalBd)
        return;
    const bool connected = gbBoardConnected;
    QString value;
    if (connected) {
        // Shown only: neither copy takes what the chip answers.
        value = goEvalBd->USBSerialReadPKT(addr, true);
    } else {
        value = goEvalBd->GetRegMapValue(1, addr);
        PlaySoundAsync(QStringLiteral("SystemAsterisk"));
    }
    // A profile register's read waits with events running: the window may have gone meanwhile.
    if (value.isEmpty() || !IsLoaded())
        return;
    hexEntry_ = false;
    showValue(value, false);
    colourAllRows(connected ? kReadColour : kNormalColour);
    UpdateSPIStatus();
}

// ---- watchdog test ----

void frmDebug::cmdResetandWriteReg_Click()
{
    struct Reenable {
        ui::CommandButton& button;
        ~Reenable() { button.setEnabled(true); }
    } reenable{cmdResetandWriteReg};
    cmdResetandWriteReg.setEnabled(false);

    if (!gbBoardConnected || !goEvalBd) {
        ui::MsgBox(QStringLiteral("Connect an evaluation board for this feature!!!"), ui::vbExclamation);
        return;
    }
    double delay = 0.0;
    const bool useDelay = chkWDTDelay.Value() == 1;
    if (useDelay) {
        if (!rt::IsNumeric(txtWDTDelay.Text())) {
            ui::MsgBox(QStringLiteral("Invalid delay value! Aborting opperation!"));
            return;
        }
        delay = static_cast<float>(rt::CDbl(txtWDTDelay.Text())) / 1000.0;
    }
    cZR4470XEvalBd& bd = *goEvalBd;
    const QString savedCfr3 = bd.GetRegMapValue(0, kCFR3);
    bd.SetRegMapBitValue(0, kWDT, 0, 1);
    const QString wdt = bd.GetRegMapValue(0, kWDT);
    bd.StrobeReset();
    bd.USBSerialLoadPKT(kCFR3, savedCfr3);
    bd.SetRegMapValue(0, kCFR3, savedCfr3);
    bd.StrobeREGUD();
    if (useDelay)
        Pause(delay, true);
    bd.USBSerialLoadPKT(kWDT, wdt);
    const QString result = bd.USBSerialReadPKT(kWDT);
    ui::Forms::callIfLoaded(formnames::frmControl, formnames::RefreshFormVals);
    ui::MsgBox(QStringLiteral("WDT Event Indicator = ") + result.left(1));
    ui::Forms::callIfLoaded(formnames::frmWatchDogTmr, formnames::RefreshFormVals);
}
