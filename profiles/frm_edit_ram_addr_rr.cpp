#include "profiles/frm_edit_ram_addr_rr.h"

#include "board/num_base.h"
#include "board/text_util.h"
#include "profiles/mod_edit_dialog_subs.h"
#include "profiles/sys_clock.h"
#include "profiles/value_messages.h"

#include "platform/runtime/locale_info.h"
#include "platform/runtime/number_format.h"
#include "platform/runtime/numeric_text.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/msgbox.h"

#include <algorithm>

using namespace profiles;

namespace {

constexpr int32_t kTopWord = 65535;
const QString kWordFormat = QStringLiteral("00000");

// The word a value box's Tag holds; anything else opens the dialog at 0.
int32_t tagWord(const QString& tag)
{
    const TypedWord typed = readTypedWord(tag);
    if (typed.kind == TypedKind::Number && typed.value >= rt::Decimal() &&
        typed.value <= rt::Decimal(kTopWord))
        return static_cast<int32_t>(typed.value.toInt64());
    return 0;
}

} // namespace

frmEditRAMAddrRR::frmEditRAMAddrRR() : EditDialogForm(FormName)
{
    setCaption(QStringLiteral("Edit RAM Address Ramp Rate"));
    Label1.setCaption(QStringLiteral("Ramp Rate"));
    lbDelta.setCaption(QStringLiteral("\u0394"));
    lblDTime.setCaption(QStringLiteral("t:"));
    txtRampRateTime.setText(QStringLiteral("0.0000"));
    txtRampRateTime.setMaxLength(10);
    txtRampRateTime.setAlignment(ui::vbRightJustify);
    QFont large = txtRampRateTime.Font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.4);
    txtRampRateTime.setFont(large);
    lblMhz.setCaption(QStringLiteral("\u00B5"));
    lblSec.setCaption(QStringLiteral("s"));
    setUpSpinBar(vscRampRateTime);
    fraRampRate.setCaption(QStringLiteral("Ramp Rate Register Values"));
    setUpByteBoxes(txtBin, QString());
    lblTWBin.setCaption(QStringLiteral("Bin"));
    setUpWordView(txtHex, QStringLiteral("0000"), QString());
    txtHex.setMaxLength(4);
    lblHex.setCaption(QStringLiteral("Hex"));
    setUpWordView(txtDec, kWordFormat, QString());
    txtDec.setMaxLength(5);
    txtDec.setAlignment(ui::vbRightJustify);
    lblDec.setCaption(QStringLiteral("Dec"));
    shpOKHilight.setShape(ui::vbShapeRectangle);
    shpOKHilight.setBorderWidth(2);
    OKButton.setCaption(QStringLiteral("OK"));
    setUpCancelButton(CancelButton);

    wireValueBox(
        txtRampRateTime, [this](int& key) { txtRampRateTime_KeyPress(key); },
        [this] { return txtRampRateTime_Entry(); });
    wireValueBox(
        txtDec, [](int& key) { key = KeyFilterNumeric2(key); }, [this] { return txtDec_Entry(); });
    wireValueBox(
        txtHex, [](int& key) { key = KeyFilterHex(key); }, [this] { return txtHex_Entry(); });
    for (int i = 0; i < 2; ++i)
        wireValueBox(
            txtBin(i), [](int& key) { key = KeyFilterBinary(key); }, [this, i] { return txtBin_Entry(i); });
    ui::bind(vscRampRateTime.Change, this, &frmEditRAMAddrRR::vscRampRateTime_Change);
    ui::bind(OKButton.Click, this, &frmEditRAMAddrRR::OKButton_Click);
    ui::bind(CancelButton.Click, this, &frmEditRAMAddrRR::CancelButton_Click);
    OKButton.GotFocus = [this] { shpOKHilight.setVisible(false); };
    OKButton.LostFocus = [this] { shpOKHilight.setVisible(true); };
}

void frmEditRAMAddrRR::ShowEditDialog(ui::TextBox& box, const QString& caption, const QString& clock)
{
    ShowEditDialog(box, caption, EditValue(clock));
}

void frmEditRAMAddrRR::ShowEditDialog(ui::TextBox& box, const QString& caption, const EditValue& clock)
{
    if (!usableClock(clock)) {
        // Every view of this dialog is a conversion with the clock: it cannot open without one.
        reportUnusableClock();
        if (IsLoaded())
            Unload();
        return;
    }
    gvEditSysClock = clock;
    Load();
    // The dialog may have been loaded by name before the clock was known: the limits follow this clock.
    Form_Load();
    setCaption(caption);
    mctlTarget = &box;
    mbOKPressed = false;
    showText(txtRampRateTime, box.Text());
    const int32_t word = tagWord(box.Tag);
    showText(txtDec, rt::Format(word, kWordFormat));
    ShowWord(word, &txtDec);
    txtRampRateTime.SetFocus();
    dropPendingEntry();
    Show(1);

    if (mbOKPressed) {
        box.Tag = txtDec.Text();
        box.setText(txtRampRateTime.Text());
    }
    Unload();
}

QString frmEditRAMAddrRR::GetClosestRRTime(const QString& time) const
{
    const int32_t word = std::clamp(CalculateRAMRRWord(EditValue(time)), 0, kTopWord);
    return rt::CStr(CalculateRAMRRTime(word));
}

void frmEditRAMAddrRR::Form_Load()
{
    if (!gvEditSysClock || !usableClock(*gvEditSysClock))
        return;
    mdMaxRRTime = CalculateRAMRRTime(kTopWord);
    mdMinRRTime = CalculateRAMRRTime(0);
}

void frmEditRAMAddrRR::Form_Unload(int& cancel)
{
    (void)cancel;
    mbOKPressed = false;
    mctlTarget = nullptr;
}

void frmEditRAMAddrRR::ShowWord(int32_t word, const ui::TextBox* except)
{
    if (except != &txtRampRateTime)
        showText(txtRampRateTime, edtFormatRAMRRTime(CalculateRAMRRTime(word)));
    if (except != &txtDec)
        showText(txtDec, rt::Format(word, kWordFormat));
    if (except != &txtHex)
        showText(txtHex, cbaseHex(word, 4));
    const QString bits = cbaseDec2Bin(word, 16);
    if (except != &txtBin(0))
        showText(txtBin(0), bits.right(8));
    if (except != &txtBin(1))
        showText(txtBin(1), bits.left(8));
}

void frmEditRAMAddrRR::txtRampRateTime_KeyPress(int& key)
{
    key = KeyFilterNumeric(key);
    key = KeyFilterNoSign(key);
    if (key == 'E' || key == 'e')
        key = 0;
    const QChar separator = rt::numberLocale().decimalSeparator;
    if (key != 0 && key == separator.unicode() && separatorAlreadyTyped(txtRampRateTime, separator))
        key = 0;
    if (key == 0 || key == ui::vbKeyReturn)
        return;
    // A separator among the first three characters with the caret before it: the integer part may not
    // grow past what the longest time needs.
    const int p = static_cast<int>(txtRampRateTime.Text().indexOf(separator)) + 1;
    if (p >= 1 && p <= 3 && txtRampRateTime.SelStart() < p) {
        static constexpr int kLengthFor[] = {0, 4, 6, 5};
        txtRampRateTime.setMaxLength(kLengthFor[p]);
    }
}

bool frmEditRAMAddrRR::txtRampRateTime_Entry()
{
    if (txtRampRateTime.Text().isEmpty())
        showText(txtRampRateTime,
                 QStringLiteral("0") + rt::numberLocale().decimalSeparator + QStringLiteral("00"));
    const TypedDouble typed = readTypedDouble(txtRampRateTime.Text());
    // A time that is not a number stays as typed; OK rewrites it from the word.
    if (typed.kind == TypedKind::NotANumber)
        return true;
    const bool above =
        typed.kind == TypedKind::AboveType || (typed.kind == TypedKind::Number && typed.value > mdMaxRRTime);
    const bool below =
        typed.kind == TypedKind::BelowType || (typed.kind == TypedKind::Number && typed.value < mdMinRRTime);
    if (above || below) {
        ui::MsgBox(rampRateRangeText(QStringLiteral("Delta Frequency Ramp Rate"),
                                     rt::Format(mdMaxRRTime, QStringLiteral("0.0000")), rt::CStr(mdMinRRTime),
                                     QStringLiteral("uS")),
                   ui::vbOKOnly | ui::vbExclamation, QStringLiteral("Maximum Ramp Rate Time Exceeded!!!"));
        // A pasted negative time is clipped to the shortest time.
        showText(txtRampRateTime, rt::CStr(above ? mdMaxRRTime : mdMinRRTime));
    }
    const int32_t word = std::clamp(CalculateRAMRRWord(EditValue(txtRampRateTime.Text())), 0, kTopWord);
    showText(txtRampRateTime, edtFormatRAMRRTime(CalculateRAMRRTime(word)));
    ShowWord(word, &txtRampRateTime);
    moveFocusTo(OKButton);
    return true;
}

bool frmEditRAMAddrRR::txtDec_Entry()
{
    // Above 65535, beyond any integer, or negative: the limit message and the word 0; the box keeps the
    // focus.
    return settleWordEntry(
        txtDec, readDecimalWord(txtDec.Text(), kTopWord),
        QStringLiteral("The decimal value of the Delta Frequency Ramp Rate Word should not exceed 65535"),
        [](int32_t word) { return rt::Format(word, kWordFormat); },
        [this](int32_t word) { ShowWord(word, &txtDec); }, OKButton);
}

bool frmEditRAMAddrRR::txtHex_Entry()
{
    int32_t word = 0;
    try {
        const rt::Decimal value = cbaseHexStr2DecExact(txtHex.Text().trimmed());
        if (value <= rt::Decimal(kTopWord))
            word = static_cast<int32_t>(value.toInt64());
    } catch (const rt::RuntimeError&) {
        // Pasted text that is no hexadecimal number reads as 0.
    }
    showText(txtHex, cbaseHex(word, 4));
    ShowWord(word, &txtHex);
    moveFocusTo(OKButton);
    return true;
}

bool frmEditRAMAddrRR::txtBin_Entry(int index)
{
    const int32_t word = readBinaryWord(txtBin, index, kTopWord);
    ShowWord(word, &txtBin(index));
    moveFocusTo(OKButton);
    return true;
}

void frmEditRAMAddrRR::vscRampRateTime_Change()
{
    stepWord(vscRampRateTime, txtDec, rt::Decimal(), rt::Decimal(kTopWord),
             [this](const rt::Decimal& next) { ShowWord(static_cast<int32_t>(next.toInt64()), nullptr); });
}

void frmEditRAMAddrRR::OKButton_Click()
{
    if (!finishPendingEntry())
        return;
    // The caller gets a time that belongs to the word it gets.
    if (readTypedDouble(txtRampRateTime.Text()).kind != TypedKind::Number) {
        const int32_t word = tagWord(txtDec.Text());
        showText(txtRampRateTime, edtFormatRAMRRTime(CalculateRAMRRTime(word)));
    }
    mbOKPressed = true;
    Hide();
}

void frmEditRAMAddrRR::CancelButton_Click()
{
    dropPendingEntry();
    mbOKPressed = false;
    Hide();
}
