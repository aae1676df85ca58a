#include "profiles/frm_edit_osf.h"

#include "board/num_base.h"
#include "board/text_util.h"
#include "platform/runtime/number_format.h"
#include "profiles/edit_value.h"
#include "profiles/mod_edit_dialog_subs.h"

#include <algorithm>

namespace profiles {

namespace {

QString padded(const QString& text, int width)
{
    return text.size() >= width ? text : QString(width - text.size(), QLatin1Char('0')) + text;
}

// The upper binary box of the 14-bit word: six digits, anything else six zeros.
QString normalizedUpperBits(const QString& text)
{
    QString bits = padded(text, 6);
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
    editBoxModally(box);
}

void ScaleFactorDialog::Form_Activate()
{
    ui::TextBox* box = boxToFill();
    if (!box)
        return;
    // A Tag that holds no word of this dialog opens it at 0; the Tag itself stays until OK.
    const int32_t word = readDecimalWord(box->Tag, highestWord()).word;
    showText(txtValue, valueText(word));
    txtValue.SetFocus();
    UpdateViews(word, &txtValue);
    dropPendingEntry();
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
        showText(txtHexVal, cbaseHex(word, kind_.hexDigits));
    // Both dialogs split the word as 14 bits; the 8-bit one shows only the low byte.
    const QString bits = cbaseDec2Bin(word, 14);
    showText(txtBinVal(0), bits.right(8));
    if (txtBinVal.exists(1))
        showText(txtBinVal(1), bits.left(6));
}

void ScaleFactorDialog::txtValue_KeyPress(int& key)
{
    filterUnsignedValueKey(txtValue, key);
}

bool ScaleFactorDialog::txtValue_Entry()
{
    const double value = clampedValue(txtValue.Text(), kind_.valueOf(highestWord()));
    const int32_t word = static_cast<int32_t>(std::clamp<int64_t>(kind_.wordOf(value), 0, highestWord()));
    showText(txtValue, valueText(word));
    UpdateViews(word, &txtValue);
    moveFocusTo(cmdOK);
    return true;
}

bool ScaleFactorDialog::txtDecVal_Entry()
{
    // Out of range on either side (a negative word has no scale factor either): the limit message, the
    // word 0, and the focus stays for a new entry.
    return settleWordEntry(
        txtDecVal, readDecimalWord(txtDecVal.Text(), highestWord()),
        QStringLiteral("The decimal value of the output scale factor should not exceed ") +
            QString::number(highestWord()),
        [this](int32_t word) { return decimalText(word); },
        [this](int32_t word) { UpdateViews(word, &txtDecVal); }, cmdOK);
}

bool ScaleFactorDialog::txtHexVal_Entry()
{
    return settleWordEntry(
        txtHexVal, readHexWord(txtHexVal.Text(), highestWord()),
        QStringLiteral("The hex value of the Output Scale Factor should not exceed ") +
            cbaseHex(highestWord(), 2),
        [this](int32_t word) { return cbaseHex(word, kind_.hexDigits); },
        [this](int32_t word) { UpdateViews(word, &txtHexVal); }, cmdOK);
}

bool ScaleFactorDialog::txtBinVal_Entry(int index)
{
    const int32_t word = readBinaryWord(txtBinVal, index, highestWord(), [](int i, const QString& text) {
        return i == 1 ? normalizedUpperBits(text) : normalizedByte(text);
    });
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
    acceptInto(txtDecVal, txtValue);
}

void ScaleFactorDialog::cmdCancel_Click()
{
    cancelEdit();
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
