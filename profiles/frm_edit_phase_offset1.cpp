#include "profiles/frm_edit_phase_offset1.h"

#include "board/num_base.h"
#include "board/text_util.h"
#include "platform/runtime/locale_info.h"
#include "platform/runtime/number_format.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/msgbox.h"
#include "profiles/mod_edit_dialog_subs.h"

namespace {

const QString kAngleFormat = QStringLiteral("0.000");

QString padded(const QString& text, int width)
{
    return text.size() >= width ? text : QString(width - text.size(), QLatin1Char('0')) + text;
}

} // namespace

frmEditPhaseOffset1::frmEditPhaseOffset1() : EditDialogForm(FormName)
{
    setCaption(QStringLiteral("Edit Phase Offset"));
    lblActualPhaseDelay.setCaption(QStringLiteral("Phase Offset:"));
    txtSearchPhaseOff.setText(QStringLiteral("0.000"));
    txtSearchPhaseOff.setToolTipText(QStringLiteral("Sets the Desired Phase Offset value"));
    txtSearchPhaseOff.setAlignment(ui::vbRightJustify);
    lblPhaseDelDeg.setCaption(QStringLiteral("Deg"));
    setUpSpinBar(vscPhaseOffset);
    Frame1.setCaption(QStringLiteral("Register Values"));
    setUpByteBoxes(txtBinVal, QStringLiteral("Sets the phase offset binary register value"));
    lblBin.setCaption(QStringLiteral("Bin"));
    setUpWordView(txtHexVal, QStringLiteral("0000"),
                  QStringLiteral("Sets the phase offset hexadecimal register value"));
    lblHex.setCaption(QStringLiteral("Hex"));
    setUpWordView(txtDecVal, QStringLiteral("00000"),
                  QStringLiteral("Sets the phase offset decimal register value"));
    lblDec.setCaption(QStringLiteral("Dec"));
    cmdOK.setCaption(QStringLiteral("&OK"));
    setUpCancelButton(cmdCancel);

    wireValueBox(
        txtSearchPhaseOff, [this](int& key) { txtSearchPhaseOff_KeyPress(key); },
        [this] { return txtSearchPhaseOff_Entry(); });
    wireValueBox(
        txtDecVal, [](int& key) { key = KeyFilterNumeric2(key); }, [this] { return txtDecVal_Entry(); });
    wireValueBox(
        txtHexVal, [](int& key) { key = KeyFilterHex(key); }, [this] { return txtHexVal_Entry(); });
    for (int i = 0; i < 2; ++i)
        wireValueBox(
            txtBinVal(i), [](int& key) { key = KeyFilterBinary(key); },
            [this, i] { return txtBinVal_Entry(i); });
    vscPhaseOffset.Change = [this] { vscPhaseOffset_Change(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
}

void frmEditPhaseOffset1::ShowEditDialog(ui::TextBox& box, const profiles::EditValue& clock)
{
    const std::optional<rt::Decimal> asDecimal = clock.decimal();
    gvEditSysClock = asDecimal ? profiles::EditValue(*asDecimal) : clock;
    target_ = &box;
    wordCount_ = 65536;
    opened_ = false;
    Show(1);
    if (IsLoaded())
        Unload();
}

void frmEditPhaseOffset1::Form_Activate()
{
    // Filled once, when the dialog first comes up; later activations leave the user's views alone.
    if (opened_ || !target_)
        return;
    opened_ = true;
    if (target_->Tag.isEmpty())
        target_->Tag = QStringLiteral("0");
    int32_t word = 0;
    const profiles::TypedWord tag = profiles::readTypedWord(target_->Tag);
    if (tag.kind == profiles::TypedKind::Number && tag.value >= rt::Decimal() &&
        tag.value <= rt::Decimal(highestWord()))
        word = static_cast<int32_t>(tag.value.toInt64());
    showText(txtSearchPhaseOff, rt::Format(edtPOWToDegrees(word), kAngleFormat));
    txtSearchPhaseOff.SetFocus();
    UpdateViews(word, &txtSearchPhaseOff);
    dropPendingEntry();
}

void frmEditPhaseOffset1::Form_Unload(int& cancel)
{
    (void)cancel;
    target_ = nullptr;
}

void frmEditPhaseOffset1::UpdateViews(int32_t word, const ui::TextBox* except)
{
    if (except != &txtSearchPhaseOff)
        showText(txtSearchPhaseOff, rt::Format(edtPOWToDegrees(word), kAngleFormat));
    txtSearchPhaseOff.Tag = QString::number(word);
    if (except != &txtDecVal)
        showText(txtDecVal, padded(rt::Format(word, QStringLiteral("00000")), 5));
    if (except != &txtHexVal)
        showText(txtHexVal, padded(cbaseHex(word, 4), 4));
    const QString bits = cbaseDec2Bin(word, 16);
    showText(txtBinVal(0), bits.right(8));
    showText(txtBinVal(1), bits.left(8));
}

void frmEditPhaseOffset1::txtSearchPhaseOff_KeyPress(int& key)
{
    key = KeyFilterNumeric(key);
    key = KeyFilterNoSign(key);
    if (key != 0 && key == edtDecimalSep2(true).toInt() &&
        profiles::separatorAlreadyTyped(txtSearchPhaseOff, rt::numberLocale().decimalSeparator))
        key = 0;
}

bool frmEditPhaseOffset1::txtSearchPhaseOff_Entry()
{
    const double maximum = edtPOWToDegrees(highestWord());
    const profiles::TypedDouble typed = profiles::readTypedDouble(txtSearchPhaseOff.Text());
    double angle = 0.0;
    switch (typed.kind) {
    case profiles::TypedKind::NotANumber:
    case profiles::TypedKind::BelowType:
        angle = 0.0;
        break;
    case profiles::TypedKind::AboveType:
        angle = maximum;
        break;
    case profiles::TypedKind::Number:
        // Above the largest angle: clipped without a message; below 0 likewise to 0.
        angle = std::min(std::max(typed.value, 0.0), maximum);
        break;
    }
    const int32_t word = std::clamp(edtDegreesToPOW(angle), 0, highestWord());
    showText(txtSearchPhaseOff, rt::Format(edtPOWToDegrees(word), kAngleFormat));
    UpdateViews(word, &txtSearchPhaseOff);
    moveFocusTo(cmdOK);
    return true;
}

bool frmEditPhaseOffset1::txtDecVal_Entry()
{
    const profiles::TypedWord typed = profiles::readTypedWord(txtDecVal.Text());
    if (typed.kind == profiles::TypedKind::NotANumber) {
        showText(txtDecVal, QStringLiteral("00000"));
        UpdateViews(0, &txtDecVal);
        moveFocusTo(cmdOK);
        return true;
    }
    if (typed.kind == profiles::TypedKind::Number && typed.value >= rt::Decimal() &&
        typed.value <= rt::Decimal(highestWord())) {
        const int32_t word = static_cast<int32_t>(typed.value.toInt64());
        showText(txtDecVal, rt::Format(word, QStringLiteral("00000")));
        UpdateViews(word, &txtDecVal);
        moveFocusTo(cmdOK);
        return true;
    }
    // Out of range on either side (a negative word has no phase either): the field's message, the word 0,
    // and the focus stays for a new entry.
    ui::MsgBox(QStringLiteral("The decimal value of the Phase Offset should not exceed ") +
               QString::number(highestWord()));
    showText(txtDecVal, QStringLiteral("00000"));
    UpdateViews(0, &txtDecVal);
    return false;
}

bool frmEditPhaseOffset1::txtHexVal_Entry()
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
        showText(txtHexVal, cbaseHex(word, 4));
        UpdateViews(word, &txtHexVal);
        moveFocusTo(cmdOK);
        return true;
    }
    ui::MsgBox(QStringLiteral("The hex value of the Phase Offset should not exceed ") +
               cbaseHex(highestWord(), 2));
    showText(txtHexVal, QStringLiteral("0000"));
    UpdateViews(0, &txtHexVal);
    return false;
}

bool frmEditPhaseOffset1::txtBinVal_Entry(int index)
{
    showText(txtBinVal(index), profiles::normalizedByte(txtBinVal(index).Text()));
    const rt::Decimal value = cbaseBinS2Dec(profiles::normalizedByte(txtBinVal(1).Text()) +
                                            profiles::normalizedByte(txtBinVal(0).Text()));
    const int32_t word = value <= rt::Decimal(highestWord()) ? static_cast<int32_t>(value.toInt64()) : 0;
    UpdateViews(word, &txtBinVal(index));
    moveFocusTo(cmdOK);
    return true;
}

void frmEditPhaseOffset1::vscPhaseOffset_Change()
{
    stepWord(vscPhaseOffset, txtDecVal, rt::Decimal(), rt::Decimal(highestWord()),
             [this](const rt::Decimal& next) { UpdateViews(static_cast<int32_t>(next.toInt64()), nullptr); });
}

void frmEditPhaseOffset1::cmdOK_Click()
{
    if (!finishPendingEntry())
        return;
    if (target_) {
        target_->Tag = txtDecVal.Text();
        target_->setText(txtSearchPhaseOff.Text());
    }
    target_ = nullptr;
    Unload();
}

void frmEditPhaseOffset1::cmdCancel_Click()
{
    dropPendingEntry();
    target_ = nullptr;
    Unload();
}
