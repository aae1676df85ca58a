#include "profiles/frm_edit_osf.h"

#include "board/num_base.h"
#include "board/text_util.h"
#include "platform/runtime/locale_info.h"
#include "platform/runtime/number_format.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/msgbox.h"
#include "profiles/edit_value.h"
#include "profiles/mod_edit_dialog_subs.h"

#include <algorithm>
#include <cmath>

namespace profiles {

namespace {

QString padded(const QString& text, int width)
{
    return text.size() >= width ? text : QString(width - text.size(), QLatin1Char('0')) + text;
}

// The upper binary box of the 14-bit word: six digits, anything else six zeros.
QString normalizedUpperBits(const QString& text)
{
    const QString bits = padded(text, 6);
    if (bits.size() != 6)
        return QStringLiteral("000000");
    for (QChar c : bits)
        if (c != QLatin1Char('0') && c != QLatin1Char('1'))
            return QStringLiteral("000000");
    return bits;
}

} // namespace

ScaleFactorDialog::ScaleFactorDialog(const QString& name, const ScaleFactorKind& kind)
    : EditDialogForm(name), kind_(kind)
{
    const bool wide = kind_.bits > 8;
    txtBinVal.add(0);
    if (wide)
        txtBinVal.add(1);

    setCaption(QStringLiteral("Edit Output Scale Factor"));
    lblActualPhaseDelay.setCaption(QString::fromLatin1(kind_.valueCaption));
    txtValue.setText(rt::Format(0.0, QString::fromLatin1(kind_.valueFormat)));
    txtValue.setMaxLength(kind_.valueLength);
    txtValue.setToolTipText(QStringLiteral("Sets the Output Scale Factor value"));
    txtValue.setAlignment(ui::vbRightJustify);
    QFont large = txtValue.Font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.4);
    txtValue.setFont(large);
    setUpSpinBar(vscValue);
    Frame1.setCaption(QStringLiteral("Register Values"));
    const QString binaryTip = QStringLiteral("Sets the output scale factor binary register value");
    setUpByteBoxes(txtBinVal, binaryTip);
    if (wide) {
        txtBinVal(1).setText(QStringLiteral("000000"));
        txtBinVal(1).setMaxLength(6);
        txtBinVal(1).setAlignment(ui::vbRightJustify);
    }
    lblBin.setCaption(QStringLiteral("Bin"));
    setUpWordView(txtHexVal, QString(kind_.hexDigits, QLatin1Char('0')),
                  QStringLiteral("Sets the output scale factor hexadecimal register value"));
    txtHexVal.setMaxLength(kind_.hexDigits);
    lblHex.setCaption(QStringLiteral("Hex"));
    setUpWordView(txtDecVal, QString(kind_.decimalDigits, QLatin1Char('0')),
                  QStringLiteral("Sets the output scale factor decimal register value"));
    txtDecVal.setMaxLength(kind_.decimalDigits);
    lblDec.setCaption(QStringLiteral("Dec"));
    cmdOK.setCaption(QStringLiteral("&OK"));
    setUpCancelButton(cmdCancel);

    wireValueBox(
        txtValue, [this](int& key) { txtValue_KeyPress(key); }, [this] { return txtValue_Entry(); });
    wireValueBox(
        txtDecVal, [](int& key) { key = KeyFilterNumeric2(key); }, [this] { return txtDecVal_Entry(); });
    wireValueBox(
        txtHexVal, [](int& key) { key = KeyFilterHex(key); }, [this] { return txtHexVal_Entry(); });
    for (ui::TextBox& box : txtBinVal) {
        const int i = box.Index();
        wireValueBox(
            box, [](int& key) { key = KeyFilterBinary(key); }, [this, i] { return txtBinVal_Entry(i); });
    }
    vscValue.Change = [this] { vscValue_Change(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
}

void ScaleFactorDialog::ShowEditDialog(ui::TextBox& box)
{
    target_ = &box;
    opened_ = false;
    Show(1);
    if (IsLoaded())
        Unload();
}

void ScaleFactorDialog::Form_Activate()
{
    // Filled once, when the dialog first comes up; later activations leave the user's views alone.
    if (opened_ || !target_)
        return;
    opened_ = true;
    // A Tag that holds no word of this dialog opens it at 0; the Tag itself stays until OK.
    int32_t word = 0;
    const TypedWord tag = readTypedWord(target_->Tag);
    if (tag.kind == TypedKind::Number && tag.value >= rt::Decimal() &&
        tag.value <= rt::Decimal(highestWord()))
        word = static_cast<int32_t>(tag.value.toInt64());
    showText(txtValue, valueText(word));
    txtValue.SetFocus();
    UpdateViews(word, &txtValue);
    dropPendingEntry();
}

void ScaleFactorDialog::Form_Unload(int& cancel)
{
    (void)cancel;
    target_ = nullptr;
}

QString ScaleFactorDialog::valueText(int32_t word) const
{
    return rt::Format(kind_.valueOf(word), QString::fromLatin1(kind_.valueFormat));
}

QString ScaleFactorDialog::decimalText(int32_t word) const
{
    return padded(rt::Format(word, QString(kind_.decimalDigits, QLatin1Char('0'))), kind_.decimalDigits);
}

void ScaleFactorDialog::UpdateViews(int32_t word, const ui::TextBox* except)
{
    if (except != &txtValue)
        showText(txtValue, valueText(word));
    if (except != &txtDecVal)
        showText(txtDecVal, decimalText(word));
    if (except != &txtHexVal)
        showText(txtHexVal, padded(cbaseHex(word, kind_.hexDigits), kind_.hexDigits));
    // Both dialogs split the word as 14 bits; the 8-bit one shows only the low byte.
    const QString bits = cbaseDec2Bin(word, 14);
    showText(txtBinVal(0), bits.right(8));
    if (txtBinVal.exists(1))
        showText(txtBinVal(1), bits.left(6));
}

void ScaleFactorDialog::txtValue_KeyPress(int& key)
{
    key = KeyFilterNumeric(key);
    key = KeyFilterNoSign(key);
    if (key != 0 && key == edtDecimalSep2(true).toInt() &&
        separatorAlreadyTyped(txtValue, rt::numberLocale().decimalSeparator))
        key = 0;
}

bool ScaleFactorDialog::txtValue_Entry()
{
    const double largest = kind_.valueOf(highestWord());
    const TypedDouble typed = readTypedDouble(txtValue.Text());
    double value = 0.0;
    switch (typed.kind) {
    case TypedKind::NotANumber:
    case TypedKind::BelowType:
        value = 0.0;
        break;
    case TypedKind::AboveType:
        value = largest;
        break;
    case TypedKind::Number:
        // Above the largest value: clipped without a message; a pasted negative value likewise to 0.
        value = std::clamp(typed.value, 0.0, largest);
        break;
    }
    const int32_t word = static_cast<int32_t>(std::clamp<int64_t>(kind_.wordOf(value), 0, highestWord()));
    showText(txtValue, valueText(word));
    UpdateViews(word, &txtValue);
    moveFocusTo(cmdOK);
    return true;
}

bool ScaleFactorDialog::txtDecVal_Entry()
{
    const TypedWord typed = readTypedWord(txtDecVal.Text());
    if (typed.kind == TypedKind::NotANumber) {
        showText(txtDecVal, decimalText(0));
        UpdateViews(0, &txtDecVal);
        moveFocusTo(cmdOK);
        return true;
    }
    if (typed.kind == TypedKind::Number && typed.value >= rt::Decimal() &&
        typed.value <= rt::Decimal(highestWord())) {
        const int32_t word = static_cast<int32_t>(typed.value.toInt64());
        showText(txtDecVal, decimalText(word));
        UpdateViews(word, &txtDecVal);
        moveFocusTo(cmdOK);
        return true;
    }
    // Out of range on either side (a negative word has no scale factor either): the limit message, the
    // word 0, and the focus stays for a new entry.
    ui::MsgBox(QStringLiteral("The decimal value of the output scale factor should not exceed ") +
               QString::number(highestWord()));
    showText(txtDecVal, decimalText(0));
    UpdateViews(0, &txtDecVal);
    return false;
}

bool ScaleFactorDialog::txtHexVal_Entry()
{
    rt::Decimal value;
    bool fits = true;
    try {
        value = cbaseHexStr2DecExact(txtHexVal.Text().trimmed());
    } catch (const rt::RuntimeError& error) {
        // Invalid digits read as 0; too many digits stand above the limit.
        fits = error.number() == rt::errTypeMismatch;
    }
    if (fits && value <= rt::Decimal(highestWord())) {
        const int32_t word = static_cast<int32_t>(value.toInt64());
        showText(txtHexVal, padded(cbaseHex(word, kind_.hexDigits), kind_.hexDigits));
        UpdateViews(word, &txtHexVal);
        moveFocusTo(cmdOK);
        return true;
    }
    ui::MsgBox(QStringLiteral("The hex value of the Output Scale Factor should not exceed ") +
               cbaseHex(highestWord(), 2));
    showText(txtHexVal, QString(kind_.hexDigits, QLatin1Char('0')));
    UpdateViews(0, &txtHexVal);
    return false;
}

bool ScaleFactorDialog::txtBinVal_Entry(int index)
{
    const auto normalized = [](int i, const QString& text) {
        return i == 1 ? normalizedUpperBits(text) : normalizedByte(text);
    };
    showText(txtBinVal(index), normalized(index, txtBinVal(index).Text()));
    QString bits = normalized(0, txtBinVal(0).Text());
    if (txtBinVal.exists(1))
        bits.prepend(normalized(1, txtBinVal(1).Text()));
    const rt::Decimal value = cbaseBinS2Dec(bits);
    const int32_t word = value <= rt::Decimal(highestWord()) ? static_cast<int32_t>(value.toInt64()) : 0;
    UpdateViews(word, &txtBinVal(index));
    moveFocusTo(cmdOK);
    return true;
}

void ScaleFactorDialog::vscValue_Change()
{
    stepWord(vscValue, txtDecVal, rt::Decimal(), rt::Decimal(highestWord()),
             [this](const rt::Decimal& next) { UpdateViews(static_cast<int32_t>(next.toInt64()), nullptr); });
}

void ScaleFactorDialog::cmdOK_Click()
{
    if (!finishPendingEntry())
        return;
    if (target_) {
        target_->Tag = txtDecVal.Text();
        target_->setText(txtValue.Text());
    }
    target_ = nullptr;
    Unload();
}

void ScaleFactorDialog::cmdCancel_Click()
{
    dropPendingEntry();
    target_ = nullptr;
    Unload();
}

} // namespace profiles

namespace {

double amplitudeOf(int32_t word)
{
    return edtASFToAmpl(word);
}

int64_t amplitudeWord(double value)
{
    return edtAmplToASF(value);
}

double gainOf(int32_t word)
{
    return edtOSFToGain(static_cast<int16_t>(word));
}

int64_t gainWord(double value)
{
    return edtGainToOSF(value);
}

const profiles::ScaleFactorKind kAmplitudeScale{
    14, "0.00000", 7, 5, 4, "Output Scale Factor:", amplitudeOf, amplitudeWord};
const profiles::ScaleFactorKind kOutputScale{
    8, "0.0000000", 9, 3, 2, " Output Scale Factor:", gainOf, gainWord};

} // namespace

frmEditOSF::frmEditOSF() : ScaleFactorDialog(FormName, kAmplitudeScale)
{
}

frmEditOSF_QM::frmEditOSF_QM() : ScaleFactorDialog(FormName, kOutputScale)
{
}
