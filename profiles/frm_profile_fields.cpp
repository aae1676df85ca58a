// The Profiles window's fields: handler binding, key filters, the validation that clips or resets a typed
// value and splices its word into the profile register, the edit dialogs of a double-click, the spin bars
// of the single-tone form, and the check boxes and lists.

#include "profiles/frm_profile.h"

#include "board/system_clock.h"
#include "board/evalbd.h"
#include "board/form_names.h"
#include "board/num_base.h"
#include "board/text_util.h"
#include "profiles/box_edit_dialogs.h"
#include "profiles/frm_edit_out_freq.h"
#include "profiles/frm_edit_phase_offset1.h"
#include "profiles/mod_edit_dialog_subs.h"
#include "profiles/mod_edit_out_freq.h"
#include "profiles/profile_entry.h"
#include "profiles/profile_register.h"
#include "shell/frm_control.h"
#include "shell/startup.h"

#include "platform/runtime/number_format.h"
#include "platform/runtime/numeric_text.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace profiles;

namespace {

constexpr int kEnter = 13;
constexpr int16_t kTuningWordBits = 32;
const QString kPhaseFormat = QStringLiteral("0.000");
const QString kAmplitudeFormat = QStringLiteral("0.00000");
const QString kOutputScaleFormat = QStringLiteral("0.0000000");
constexpr int32_t kTopPhaseWord = 65535;
constexpr int32_t kTopAmplitudeWord = 16383;
constexpr int32_t kTopOutputScaleWord = 255;
constexpr int32_t kTopRampRateWord = 65535;

QString plainWord(const rt::Decimal& word)
{
    return word.toInvariantString();
}

QString plainWord(int64_t word)
{
    return QString::number(word);
}

// The key is the decimal separator and the box already holds one outside its selection.
bool secondSeparator(const ui::TextBox& box, int keyAscii, int separatorCode, const QString& separator)
{
    return !separator.isEmpty() && keyAscii == separatorCode && box.Text().contains(separator) &&
           !box.SelText().contains(separator);
}

double numberIn(const QString& text)
{
    const TypedDouble typed = readTypedDouble(text);
    return typed.kind == TypedKind::Number ? typed.value : 0.0;
}

} // namespace

// ---- binding ----

void frmProfile::bindHandlers()
{
    using ui::TextBox;
    // Every value box and both step boxes select their whole text when clicked or entered.
    for (auto* array : {&txtOutFreqQD, &txtPhaseOffsetQD, &txtOSFValQD, &txtCCIValQD, &txtRAMSegBeginAddr,
                        &txtRAMSegFinalAddr, &txtRAMSegAddrRampRate, &txtOutFreqST, &txtPhOSpinStepST,
                        &txtPhaseOffsetST, &txtAmpScaleStepST, &txtAmpScaleST}) {
        array->on(&TextBox::Click, [array](int index) { SelectAllText((*array)(index)); });
        array->on(&TextBox::GotFocus, [array](int index) { SelectAllText((*array)(index)); });
    }

    txtOutFreqQD.on(&TextBox::KeyPress, [this](int i, int& key) { txtOutFreqQD_KeyPress(i, key); });
    txtOutFreqQD.on(&TextBox::Validate, [this](int i, bool& cancel) { txtOutFreqQD_Validate(i, cancel); });
    txtOutFreqQD.on(&TextBox::DblClick, [this](int i) { txtOutFreqQD_DblClick(i); });
    txtOutFreqST.on(&TextBox::KeyPress, [this](int i, int& key) { txtOutFreqST_KeyPress(i, key); });
    txtOutFreqST.on(&TextBox::Validate, [this](int i, bool& cancel) { txtOutFreqST_Validate(i, cancel); });
    txtOutFreqST.on(&TextBox::DblClick, [this](int i) { txtOutFreqST_DblClick(i); });

    txtPhaseOffsetQD.on(&TextBox::KeyPress, [this](int i, int& key) { txtPhaseOffsetQD_KeyPress(i, key); });
    txtPhaseOffsetQD.on(&TextBox::Validate,
                        [this](int i, bool& cancel) { txtPhaseOffsetQD_Validate(i, cancel); });
    txtPhaseOffsetQD.on(&TextBox::DblClick, [this](int i) { txtPhaseOffsetQD_DblClick(i); });
    txtPhaseOffsetST.on(&TextBox::KeyPress, [this](int i, int& key) { txtPhaseOffsetST_KeyPress(i, key); });
    txtPhaseOffsetST.on(&TextBox::Validate,
                        [this](int i, bool& cancel) { txtPhaseOffsetST_Validate(i, cancel); });
    txtPhaseOffsetST.on(&TextBox::DblClick, [this](int i) { txtPhaseOffsetST_DblClick(i); });

    txtAmpScaleST.on(&TextBox::KeyPress, [this](int i, int& key) { txtAmpScaleST_KeyPress(i, key); });
    txtAmpScaleST.on(&TextBox::Validate, [this](int i, bool& cancel) { txtAmpScaleST_Validate(i, cancel); });
    txtAmpScaleST.on(&TextBox::DblClick, [this](int i) { txtAmpScaleST_DblClick(i); });
    txtOSFValQD.on(&TextBox::KeyPress, [this](int i, int& key) { txtOSFValQD_KeyPress(i, key); });
    txtOSFValQD.on(&TextBox::Validate, [this](int i, bool& cancel) { txtOSFValQD_Validate(i, cancel); });
    txtOSFValQD.on(&TextBox::DblClick, [this](int i) { txtOSFValQD_DblClick(i); });

    txtCCIValQD.on(&TextBox::Change, [this](int i) { txtCCIValQD_Change(i); });
    txtCCIValQD.on(&TextBox::KeyPress, [this](int i, int& key) { txtCCIValQD_KeyPress(i, key); });
    txtCCIValQD.on(&TextBox::Validate, [this](int i, bool& cancel) { txtCCIValQD_Validate(i, cancel); });
    txtRAMSegBeginAddr.on(&TextBox::KeyPress,
                          [this](int i, int& key) { txtRAMSegBeginAddr_KeyPress(i, key); });
    txtRAMSegBeginAddr.on(&TextBox::Validate,
                          [this](int i, bool& cancel) { txtRAMSegBeginAddr_Validate(i, cancel); });
    txtRAMSegFinalAddr.on(&TextBox::KeyPress,
                          [this](int i, int& key) { txtRAMSegFinalAddr_KeyPress(i, key); });
    txtRAMSegFinalAddr.on(&TextBox::Validate,
                          [this](int i, bool& cancel) { txtRAMSegFinalAddr_Validate(i, cancel); });
    txtRAMSegAddrRampRate.on(&TextBox::KeyPress,
                             [this](int i, int& key) { txtRAMSegAddrRampRate_KeyPress(i, key); });
    txtRAMSegAddrRampRate.on(&TextBox::Validate,
                             [this](int i, bool& cancel) { txtRAMSegAddrRampRate_Validate(i, cancel); });
    txtRAMSegAddrRampRate.on(&TextBox::DblClick, [this](int i) { txtRAMSegAddrRampRate_DblClick(i); });

    txtPhOSpinStepST.on(&TextBox::KeyPress, [this](int, int& key) { txtStepBox_KeyPress(key); });
    txtAmpScaleStepST.on(&TextBox::KeyPress, [this](int, int& key) { txtStepBox_KeyPress(key); });
    vscAmpScaleSpinST.on(&ui::ScrollBar::Change, [this](int i) { vscAmpScaleSpinST_Change(i); });
    vscPhaseOSpinST.on(&ui::ScrollBar::Change, [this](int i) { vscPhaseOSpinST_Change(i); });

    // The check boxes and lists are bound by buildFieldTable.
    optProfileSel.on(&ui::OptionButton::Click, [this](int i) { optProfileSel_Click(i); });
    cmdLoad.Click = [this] { cmdLoad_Click(); };
    tmrLoadFlash.Timer = [this] { tmrLoadFlash_Timer(); };
}

// ---- the map and the clock ----

void frmProfile::storeField(const RegisterField& field, const QString& tag)
{
    field.set(fieldWord(field, tagWord(tag)));
}

QString frmProfile::sysClockText() const
{
    return SysClockText();
}

double frmProfile::sysClock() const
{
    return numberIn(sysClockText());
}

void frmProfile::focusLoad()
{
    if (cmdLoad.Enabled())
        cmdLoad.SetFocus();
}

// ---- key filters ----

bool frmProfile::takeEnter(int& keyAscii, int index, FieldValidator validator)
{
    if (keyAscii != kEnter)
        return false;
    // Enter is not typed: it runs the box's validation as leaving the box does.
    keyAscii = 0;
    bool cancel = false;
    (this->*validator)(index, cancel);
    return true;
}

void frmProfile::frequencyKeyPress(ui::TextBox& box, int& keyAscii, int index, FieldValidator validator)
{
    if (takeEnter(keyAscii, index, validator))
        return;
    keyAscii = KeyFilterNoSign(KeyFilterNumeric(keyAscii));
    if (keyAscii == 'E' || keyAscii == 'e' ||
        secondSeparator(box, keyAscii, giDecimalSepCode, gsDecimalSep)) {
        keyAscii = 0;
        return;
    }
    // Room for one more integer digit in front of the separator: as many characters as the display shows
    // with one digit before it, plus one.
    if (IsPrintableKey(keyAscii) && !gsDecimalSep.isEmpty()) {
        const qsizetype separator = box.Text().indexOf(gsDecimalSep);
        if (separator >= 0 && separator <= 2 && box.SelStart() <= separator)
            box.setMaxLength(static_cast<int>(edtFormatFreq(0.0, kTuningWordBits, sysClock()).size()) + 1);
    }
}

void frmProfile::valueKeyPress(ui::TextBox& box, int& keyAscii, int index, FieldValidator validator,
                               bool refuseExponent)
{
    if (takeEnter(keyAscii, index, validator))
        return;
    keyAscii = KeyFilterNoSign(KeyFilterNumeric(keyAscii));
    if (refuseExponent && (keyAscii == 'E' || keyAscii == 'e')) {
        keyAscii = 0;
        return;
    }
    const int separatorCode = refuseExponent ? giDecimalSepCode : edtDecimalSep2(true).toInt();
    const QString separator = refuseExponent ? gsDecimalSep : edtDecimalSep2(false).toString();
    if (secondSeparator(box, keyAscii, separatorCode, separator))
        keyAscii = 0;
}

void frmProfile::wholeNumberKeyPress(int& keyAscii, int index, FieldValidator validator)
{
    if (takeEnter(keyAscii, index, validator))
        return;
    keyAscii = KeyFilterNoSign(KeyFilterNumeric2(keyAscii));
}

void frmProfile::txtStepBox_KeyPress(int& keyAscii)
{
    keyAscii = KeyFilterNoSign(KeyFilterSignedInt(keyAscii));
}

void frmProfile::txtOutFreqQD_KeyPress(int index, int& keyAscii)
{
    frequencyKeyPress(txtOutFreqQD(index), keyAscii, index, &frmProfile::txtOutFreqQD_Validate);
}

void frmProfile::txtOutFreqST_KeyPress(int index, int& keyAscii)
{
    frequencyKeyPress(txtOutFreqST(index), keyAscii, index, &frmProfile::txtOutFreqST_Validate);
}

void frmProfile::txtPhaseOffsetQD_KeyPress(int index, int& keyAscii)
{
    valueKeyPress(txtPhaseOffsetQD(index), keyAscii, index, &frmProfile::txtPhaseOffsetQD_Validate, false);
}

void frmProfile::txtPhaseOffsetST_KeyPress(int index, int& keyAscii)
{
    valueKeyPress(txtPhaseOffsetST(index), keyAscii, index, &frmProfile::txtPhaseOffsetST_Validate, false);
}

void frmProfile::txtAmpScaleST_KeyPress(int index, int& keyAscii)
{
    valueKeyPress(txtAmpScaleST(index), keyAscii, index, &frmProfile::txtAmpScaleST_Validate, false);
}

void frmProfile::txtOSFValQD_KeyPress(int index, int& keyAscii)
{
    valueKeyPress(txtOSFValQD(index), keyAscii, index, &frmProfile::txtOSFValQD_Validate, false);
}

void frmProfile::txtRAMSegAddrRampRate_KeyPress(int index, int& keyAscii)
{
    valueKeyPress(txtRAMSegAddrRampRate(index), keyAscii, index, &frmProfile::txtRAMSegAddrRampRate_Validate,
                  true);
}

void frmProfile::txtCCIValQD_KeyPress(int index, int& keyAscii)
{
    wholeNumberKeyPress(keyAscii, index, &frmProfile::txtCCIValQD_Validate);
}

void frmProfile::txtRAMSegBeginAddr_KeyPress(int index, int& keyAscii)
{
    wholeNumberKeyPress(keyAscii, index, &frmProfile::txtRAMSegBeginAddr_Validate);
}

void frmProfile::txtRAMSegFinalAddr_KeyPress(int index, int& keyAscii)
{
    wholeNumberKeyPress(keyAscii, index, &frmProfile::txtRAMSegFinalAddr_Validate);
}

// ---- validation ----

void frmProfile::applyFrequencyLengthRule(ui::TextBox& box)
{
    if (gsDecimalSep.isEmpty())
        return;
    const QString text = box.Text();
    const qsizetype separator = text.indexOf(gsDecimalSep);
    if (separator < 0 || separator <= 2)
        box.setMaxLength(static_cast<int>(text.size()));
}

void frmProfile::validateFrequency(ui::TextBox& box, int n)
{
    if (validating_)
        return;
    regwin::ScopedFlag validating(validating_);
    const double clock = sysClock();
    const FieldEntry entry = readValueEntry(box.Text(), 0.0, clock, true);
    double frequency = 0.0;
    switch (entry.kind) {
    case FieldEntry::NotANumber:
        box.setText(edtFormatFreq(0.0, kTuningWordBits, clock));
        break;
    case FieldEntry::Below:
        // A negative frequency (pasted) is the lowest one.
        break;
    case FieldEntry::Above:
        ui::MsgBox(QStringLiteral("The DDS output frequency can not exceed the system clock."),
                   ui::vbOKOnly | ui::vbInformation, QStringLiteral("Output Frequency to High!!!"));
        frequency = edtFTWToFreq(4294967295.0, clock, kTuningWordBits).toDouble();
        break;
    case FieldEntry::InRange:
        frequency = entry.value;
        break;
    }
    rt::Decimal word = edtFreqToFTW(frequency, clock, kTuningWordBits);
    // Just below the clock the word can round up to 2^32, which the register would hold as 0 Hz.
    const rt::Decimal topWord(4294967295ULL);
    if (word > topWord)
        word = topWord;
    if (word.isNegative())
        word = rt::Decimal();
    box.setText(edtFormatFreq(edtFTWToFreq(word, clock, kTuningWordBits), kTuningWordBits, clock));
    applyFrequencyLengthRule(box);
    box.Tag = plainWord(word);
    storeField(ofProfile(kFrequencyField, n), box.Tag);
    focusLoad();
}

void frmProfile::validatePhase(ui::TextBox& box, int n)
{
    if (validating_)
        return;
    regwin::ScopedFlag validating(validating_);
    const double max = edtPOWToDegrees(kTopPhaseWord);
    const double shownMax = std::round(max * 1000.0) / 1000.0;
    const FieldEntry entry = readValueEntry(box.Text(), 0.0, shownMax);
    if (entry.kind == FieldEntry::NotANumber) {
        box.setText(rt::Format(0.0, kPhaseFormat));
    } else if (entry.kind == FieldEntry::Above || entry.kind == FieldEntry::Below) {
        box.setText(rt::Format(entry.kind == FieldEntry::Above ? max : 0.0, kPhaseFormat));
        ui::MsgBox(QStringLiteral("The vaid range for the Phase Offset is ") + rt::Format(0.0, kPhaseFormat) +
                       QStringLiteral(" Deg to ") + rt::Format(max, kPhaseFormat) + QStringLiteral(" Deg.") +
                       QStringLiteral("\r\nThe value entered has been clipped!"),
                   ui::vbOKOnly | ui::vbInformation, QStringLiteral("Maximum Phase Offset Exceeded!!!"));
    }
    const int32_t word = std::clamp(edtDegreesToPOW(numberIn(box.Text())), 0, kTopPhaseWord);
    box.setText(rt::Format(edtPOWToDegrees(word), kPhaseFormat));
    box.Tag = plainWord(word);
    SelectAllText(box);
    storeField(ofProfile(kPhaseField, n), box.Tag);
    focusLoad();
}

void frmProfile::txtOutFreqQD_Validate(int index, bool& cancel)
{
    (void)cancel;
    validateFrequency(txtOutFreqQD(index), index);
}

void frmProfile::txtOutFreqST_Validate(int index, bool& cancel)
{
    (void)cancel;
    validateFrequency(txtOutFreqST(index), index);
}

void frmProfile::txtPhaseOffsetQD_Validate(int index, bool& cancel)
{
    (void)cancel;
    validatePhase(txtPhaseOffsetQD(index), index);
}

void frmProfile::txtPhaseOffsetST_Validate(int index, bool& cancel)
{
    (void)cancel;
    validatePhase(txtPhaseOffsetST(index), index);
}

void frmProfile::validateScale(ui::TextBox& box, const ScaleField& scale)
{
    if (validating_)
        return;
    regwin::ScopedFlag validating(validating_);
    const double max = scale.toValue(scale.topWord);
    const FieldEntry entry = readValueEntry(box.Text(), 0.0, max);
    if (entry.kind == FieldEntry::NotANumber || entry.kind == FieldEntry::Below)
        box.setText(rt::Format(0.0, scale.format));
    else if (entry.kind == FieldEntry::Above)
        box.setText(rt::Format(max, scale.format));
    const int32_t word = std::clamp(scale.toWord(numberIn(box.Text())), 0, scale.topWord);
    box.Tag = plainWord(word);
    box.setText(rt::Format(scale.toValue(word), scale.format));
    storeField(scale.field, box.Tag);
    focusLoad();
}

void frmProfile::txtAmpScaleST_Validate(int index, bool& cancel)
{
    (void)cancel;
    validateScale(txtAmpScaleST(index), {kAmplitudeFormat, kTopAmplitudeWord,
                                         ofProfile(kAmplitudeField, index), edtASFToAmpl, edtAmplToASF});
}

void frmProfile::txtOSFValQD_Validate(int index, bool& cancel)
{
    (void)cancel;
    // Truncated, not rounded: a gain never rounds up to a word above it.
    validateScale(txtOSFValQD(index),
                  {kOutputScaleFormat, kTopOutputScaleWord, ofProfile(kOutputScaleField, index),
                   [](int32_t word) { return edtOSFToGain(static_cast<int16_t>(word)); },
                   [](double gain) { return static_cast<int32_t>(edtGainToOSF(gain)); }});
}

void frmProfile::txtCCIValQD_Change(int index)
{
    const WordEntry entry = readWordEntry(txtCCIValQD(index).Text(), std::numeric_limits<int16_t>::min(),
                                          std::numeric_limits<int16_t>::max());
    if (entry.kind != FieldEntry::InRange)
        return;
    txtCCIValQD(index).setToolTipText(QStringLiteral("Hex: ") + cbaseDec2Hex(entry.value, 2) +
                                      QStringLiteral("   Bin: ") + cbaseDec2Bin(entry.value, 6));
}

void frmProfile::txtCCIValQD_Validate(int index, bool& cancel)
{
    (void)cancel;
    ui::TextBox& box = txtCCIValQD(index);
    const WordEntry entry = readWordEntry(box.Text(), 1, 63);
    const int64_t rate = entry.kind == FieldEntry::InRange ? entry.value : 2;
    // The box shows the rate the register gets (a fraction typed is rounded).
    box.setText(plainWord(rate));
    storeField(ofProfile(kCCIRateField, index), plainWord(rate));
}

void frmProfile::validateAddress(ui::TextBox& box, const RegisterField& field)
{
    const WordEntry entry = readWordEntry(box.Text(), 0, 1023);
    const int64_t address = entry.kind == FieldEntry::InRange ? entry.value : 0;
    box.setText(plainWord(address));
    storeField(field, plainWord(address));
}

void frmProfile::txtRAMSegBeginAddr_Validate(int index, bool& cancel)
{
    (void)cancel;
    validateAddress(txtRAMSegBeginAddr(index), ofProfile(kRAMBeginField, index));
}

void frmProfile::txtRAMSegFinalAddr_Validate(int index, bool& cancel)
{
    (void)cancel;
    validateAddress(txtRAMSegFinalAddr(index), ofProfile(kRAMFinalField, index));
}

void frmProfile::txtRAMSegAddrRampRate_Validate(int index, bool& cancel)
{
    (void)cancel;
    if (validating_)
        return;
    regwin::ScopedFlag validating(validating_);
    ui::TextBox& box = txtRAMSegAddrRampRate(index);
    const EditValue clock(sysClockText());
    const double max = CalculateRRTime(kTopRampRateWord, clock);
    const double min = CalculateRRTime(0, clock);
    const FieldEntry entry = readValueEntry(box.Text(), min, max);
    if (entry.kind == FieldEntry::NotANumber) {
        box.setText(QStringLiteral("0.0000"));
    } else if (entry.kind == FieldEntry::Above || entry.kind == FieldEntry::Below) {
        ui::MsgBox(QStringLiteral("The valid range for the Address Step Rate is ") + edtFormatRRTime(min) +
                       QStringLiteral(" \u00B5s to ") + rt::CStr(max) + QStringLiteral(" \u00B5s.") +
                       QStringLiteral("\r\nThe value entered will be clipped!"),
                   ui::vbOKOnly | ui::vbInformation, QStringLiteral("Maximum Ramp Rate Time Exceeded!!!"));
        box.setText(rt::CStr(entry.kind == FieldEntry::Above ? max : min));
    }
    const int32_t word = std::clamp(CalculateRRWord(box.Text(), clock), 0, kTopRampRateWord);
    box.Tag = plainWord(word);
    box.setText(edtFormatRRTime(CalculateRRTime(word, clock)));
    storeField(ofProfile(kRAMRampRateField, index), box.Tag);
    focusLoad();
}

// ---- edit dialogs ----

void frmProfile::openFrequencyDialog(ui::TextBox& box, int n)
{
    ui::form<frmEditOutFreq>().ShowEditDialog(box, QStringLiteral("Edit output frequency"), sysClock(),
                                              kTuningWordBits);
    // After Cancel the Tag is unchanged, and so is the register.
    storeField(ofProfile(kFrequencyField, n), box.Tag);
    // The dialog wrote a new text: a selection left from the old one would cover only part of it.
    SelectAllText(box);
}

void frmProfile::openPhaseDialog(ui::TextBox& box, int n)
{
    ui::form<frmEditPhaseOffset1>().ShowEditDialog(box, sysClock());
    // The register is read only now, so that nothing done while the dialog was open is overwritten.
    storeField(ofProfile(kPhaseField, n), box.Tag);
    focusLoad();
}

void frmProfile::txtOutFreqQD_DblClick(int index)
{
    openFrequencyDialog(txtOutFreqQD(index), index);
}

void frmProfile::txtOutFreqST_DblClick(int index)
{
    openFrequencyDialog(txtOutFreqST(index), index);
}

void frmProfile::txtPhaseOffsetQD_DblClick(int index)
{
    openPhaseDialog(txtPhaseOffsetQD(index), index);
}

void frmProfile::txtPhaseOffsetST_DblClick(int index)
{
    openPhaseDialog(txtPhaseOffsetST(index), index);
}

void frmProfile::openScaleDialog(const QString& formName, ui::TextBox& box, const RegisterField& field)
{
    if (!showBoxEditDialog(formName, box))
        return;
    storeField(field, box.Tag);
    focusLoad();
}

void frmProfile::txtAmpScaleST_DblClick(int index)
{
    openScaleDialog(formnames::frmEditOSF, txtAmpScaleST(index), ofProfile(kAmplitudeField, index));
}

void frmProfile::txtOSFValQD_DblClick(int index)
{
    openScaleDialog(formnames::frmEditOSF_QM, txtOSFValQD(index), ofProfile(kOutputScaleField, index));
}

void frmProfile::txtRAMSegAddrRampRate_DblClick(int index)
{
    ui::TextBox& box = txtRAMSegAddrRampRate(index);
    if (!showRampRateEditDialog(formnames::frmEditRAMAddrRR, box,
                                QStringLiteral("Edit RAM Address Ramp Rate"), sysClockText()))
        return;
    storeField(ofProfile(kRAMRampRateField, index), box.Tag);
    focusLoad();
}

// ---- spin bars: step the word and write the profile to the chip at once ----

void frmProfile::spin(ui::ScrollBar& bar, ui::TextBox& stepBox, ui::TextBox& valueBox, int n, bool amplitude)
{
    const int direction = bar.Value();
    if (direction == 0)
        return;
    // The word moves only when it can reach the chip at once.
    if (regwin::refusedWhileBusy()) {
        bar.setValue(0);
        return;
    }
    // An empty step box steps nothing.
    const WordEntry step = readWordEntry(stepBox.Text(), 0, 999);
    if (step.kind == FieldEntry::InRange && step.value > 0) {
        const RegisterField field = ofProfile(amplitude ? kAmplitudeField : kPhaseField, n);
        const rt::Decimal words(static_cast<long long>(1) << field.width());
        rt::Decimal word = cbaseDecMod(
            tagWord(valueBox.Tag) + rt::Decimal(static_cast<long long>(direction * step.value)), words);
        // Stepping past either end wraps around.
        if (word.isNegative())
            word += words;
        valueBox.Tag = plainWord(word);
        const int32_t value = static_cast<int32_t>(word.toInt64());
        valueBox.setText(amplitude ? rt::Format(edtASFToAmpl(value), kAmplitudeFormat)
                                   : rt::Format(edtPOWToDegrees(value), kPhaseFormat));
        storeField(field, valueBox.Tag);
        if (goEvalBd) {
            goEvalBd->USBSerialLoadPKT(field.addr, goEvalBd->GetRegMapValue(0, field.addr));
            goEvalBd->StrobeREGUD();
        }
    }
    bar.setValue(0);
}

void frmProfile::vscAmpScaleSpinST_Change(int index)
{
    spin(vscAmpScaleSpinST(index), txtAmpScaleStepST(index), txtAmpScaleST(index), index, true);
}

void frmProfile::vscPhaseOSpinST_Change(int index)
{
    spin(vscPhaseOSpinST(index), txtPhOSpinStepST(index), txtPhaseOffsetST(index), index, false);
}
