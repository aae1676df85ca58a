#include "profiles/frm_edit_phase_offset1.h"

#include "board/num_base.h"
#include "board/text_util.h"
#include "platform/runtime/number_format.h"
#include "profiles/mod_edit_dialog_subs.h"

namespace {

const QString kAngleFormat = QStringLiteral("0.000");

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
    ui::bind(vscPhaseOffset.Change, this, &frmEditPhaseOffset1::vscPhaseOffset_Change);
    ui::bind(cmdOK.Click, this, &frmEditPhaseOffset1::cmdOK_Click);
    ui::bind(cmdCancel.Click, this, &frmEditPhaseOffset1::cmdCancel_Click);
}

void frmEditPhaseOffset1::ShowEditDialog(ui::TextBox& box, const profiles::EditValue& clock)
{
    const std::optional<rt::Decimal> asDecimal = clock.decimal();
    gvEditSysClock = asDecimal ? profiles::EditValue(*asDecimal) : clock;
    wordCount_ = 65536;
    editBoxModally(box);
}

void frmEditPhaseOffset1::Form_Activate()
{
    ui::TextBox* box = boxToFill();
    if (!box)
        return;
    if (box->Tag.isEmpty())
        box->Tag = QStringLiteral("0");
    const int32_t word = readDecimalWord(box->Tag, highestWord()).word;
    showText(txtSearchPhaseOff, rt::Format(edtPOWToDegrees(word), kAngleFormat));
    txtSearchPhaseOff.SetFocus();
    UpdateViews(word, &txtSearchPhaseOff);
    dropPendingEntry();
}

void frmEditPhaseOffset1::UpdateViews(int32_t word, const ui::TextBox* except)
{
    if (except != &txtSearchPhaseOff)
        showText(txtSearchPhaseOff, rt::Format(edtPOWToDegrees(word), kAngleFormat));
    txtSearchPhaseOff.Tag = QString::number(word);
    if (except != &txtDecVal)
        showText(txtDecVal, rt::Format(word, QStringLiteral("00000")));
    if (except != &txtHexVal)
        showText(txtHexVal, cbaseHex(word, 4));
    const QString bits = cbaseDec2Bin(word, 16);
    showText(txtBinVal(0), bits.right(8));
    showText(txtBinVal(1), bits.left(8));
}

void frmEditPhaseOffset1::txtSearchPhaseOff_KeyPress(int& key)
{
    filterUnsignedValueKey(txtSearchPhaseOff, key);
}

bool frmEditPhaseOffset1::txtSearchPhaseOff_Entry()
{
    const double angle = clampedValue(txtSearchPhaseOff.Text(), edtPOWToDegrees(highestWord()));
    const int32_t word = std::clamp(edtDegreesToPOW(angle), 0, highestWord());
    showText(txtSearchPhaseOff, rt::Format(edtPOWToDegrees(word), kAngleFormat));
    UpdateViews(word, &txtSearchPhaseOff);
    moveFocusTo(cmdOK);
    return true;
}

bool frmEditPhaseOffset1::txtDecVal_Entry()
{
    // Out of range on either side (a negative word has no phase either): the field's message, the word 0,
    // and the focus stays for a new entry.
    return settleWordEntry(
        txtDecVal, readDecimalWord(txtDecVal.Text(), highestWord()),
        QStringLiteral("The decimal value of the Phase Offset should not exceed ") +
            QString::number(highestWord()),
        [](int32_t word) { return rt::Format(word, QStringLiteral("00000")); },
        [this](int32_t word) { UpdateViews(word, &txtDecVal); }, cmdOK);
}

bool frmEditPhaseOffset1::txtHexVal_Entry()
{
    return settleWordEntry(
        txtHexVal, readHexWord(txtHexVal.Text(), highestWord()),
        QStringLiteral("The hex value of the Phase Offset should not exceed ") + cbaseHex(highestWord(), 2),
        [](int32_t word) { return cbaseHex(word, 4); },
        [this](int32_t word) { UpdateViews(word, &txtHexVal); }, cmdOK);
}

bool frmEditPhaseOffset1::txtBinVal_Entry(int index)
{
    const int32_t word = readBinaryWord(txtBinVal, index, highestWord());
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
    acceptInto(txtDecVal, txtSearchPhaseOff);
}

void frmEditPhaseOffset1::cmdCancel_Click()
{
    cancelEdit();
}
