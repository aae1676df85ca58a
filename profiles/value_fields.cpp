#include "profiles/value_fields.h"

#include "board/evalbd.h"
#include "board/num_base.h"
#include "board/text_util.h"
#include "boardui/form_names.h"
#include "boardui/text_selection.h"
#include "profiles/box_edit_dialogs.h"
#include "profiles/edit_value.h"
#include "profiles/frm_edit_out_freq.h"
#include "profiles/frm_edit_phase_offset1.h"
#include "profiles/mod_edit_dialog_subs.h"
#include "profiles/mod_edit_out_freq.h"
#include "profiles/profile_entry.h"
#include "profiles/profile_register.h"
#include "profiles/sys_clock.h"
#include "profiles/value_messages.h"
#include "shell/register_window.h"
#include "shell/startup.h"

#include "platform/runtime/number_format.h"
#include "platform/runtime/numeric_text.h"
#include "platform/ui/forms.h"
#include "platform/ui/key_codes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace profiles {

namespace {

constexpr int16_t kTuningWordBits = 32;
constexpr uint64_t kTopFrequencyWord = 4294967295ULL;
constexpr int32_t kTopPhaseWord = 65535;
constexpr int32_t kTopAmplitudeWord = 16383;
constexpr int32_t kTopOutputScaleWord = 255;
constexpr int32_t kTopRampRateWord = 65535;
const QString kPhaseFormat = QStringLiteral("0.000");
const QString kAmplitudeFormat = QStringLiteral("0.00000");
const QString kOutputScaleFormat = QStringLiteral("0.0000000");
const QString kRampRateZero = QStringLiteral("0.0000");

bool needsClock(ValueKind kind)
{
    return kind == ValueKind::Frequency || kind == ValueKind::RampRate;
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

// The Tag reads as exactly this word.
bool tagHolds(const QString& tag, uint64_t word)
{
    const std::optional<rt::Decimal> read = rt::Decimal::tryFromInvariantText(tag.trimmed());
    return read && *read == rt::Decimal(static_cast<long long>(word));
}

// The amplitude and output scale factors: a value from 0 to the value of the top word.
struct Scale {
    QString format;
    int32_t topWord;
    double (*toValue)(int32_t word);
    int32_t (*toWord)(double value);
};

Scale scaleOf(ValueKind kind)
{
    if (kind == ValueKind::OutputScale)
        // Truncated, not rounded: a gain never rounds up to a word above it.
        return {kOutputScaleFormat, kTopOutputScaleWord,
                [](int32_t word) { return edtOSFToGain(static_cast<int16_t>(word)); },
                [](double gain) { return static_cast<int32_t>(edtGainToOSF(gain)); }};
    return {kAmplitudeFormat, kTopAmplitudeWord, [](int32_t word) { return edtASFToAmpl(word); },
            [](double value) { return edtAmplToASF(value); }};
}

} // namespace

ValueFields::ValueFields(ui::CommandButton& load) : load_(load)
{
}

void ValueFields::focusLoad()
{
    if (load_.Enabled())
        load_.SetFocus();
}

const ValueRow& ValueFields::add(ValueRow row)
{
    if (row.kind == ValueKind::Address) {
        row.lowest = 0;
        row.highest = 1023;
        row.fallback = 0;
    }
    const ValueRow& added = rows_.emplace_back(std::move(row));
    ui::TextBox* box = added.box;
    box->GotFocus = [box] { SelectAllText(*box); };
    box->KeyPress = [this, &added](int& key) { keyPress(added, key); };
    box->Validate = [this, &added](bool& cancel) {
        // A commit never keeps the focus in the box.
        (void)cancel;
        commit(added);
    };
    box->DblClick = [this, &added] { doubleClick(added); };
    if (added.selectOnClick)
        box->Click = [box] { SelectAllText(*box); };
    if (added.numberToolTip)
        box->Change = [&added] { showNumberToolTip(added); };
    return added;
}

regwin::FieldRow& ValueFields::addTo(regwin::FieldTable& table, ValueRow row)
{
    const ValueRow& added = add(std::move(row));
    return table.custom(*added.box, added.field, [this, &added](uint64_t word) { show(added, word); }, {});
}

void ValueFields::showNumberToolTip(const ValueRow& row)
{
    const WordEntry entry = readWordEntry(row.box->Text(), std::numeric_limits<int16_t>::min(),
                                          std::numeric_limits<int16_t>::max());
    if (entry.kind != FieldEntry::InRange)
        return;
    const int bits = row.field.width();
    row.box->setToolTipText(QStringLiteral("Hex: ") + cbaseDec2Hex(entry.value, (bits + 3) / 4) +
                            QStringLiteral("   Bin: ") + cbaseDec2Bin(entry.value, bits));
}

const ValueRow* ValueFields::row(const ui::TextBox& box) const
{
    for (const ValueRow& row : rows_)
        if (row.box == &box)
            return &row;
    return nullptr;
}

std::optional<double> ValueFields::clock() const
{
    return usableClock(EditValue(sysClockText()));
}

uint64_t ValueFields::topWord(const ValueRow& row)
{
    switch (row.kind) {
    case ValueKind::Frequency:
        return kTopFrequencyWord;
    case ValueKind::Phase:
        return kTopPhaseWord;
    case ValueKind::Amplitude:
        return kTopAmplitudeWord;
    case ValueKind::OutputScale:
        return kTopOutputScaleWord;
    case ValueKind::RampRate:
        return kTopRampRateWord;
    case ValueKind::Address:
    case ValueKind::Word:
        return static_cast<uint64_t>(row.highest);
    }
    return 0;
}

uint64_t ValueFields::tagWord(const ValueRow& row) const
{
    const rt::Decimal word = profiles::tagWord(row.box->Tag);
    if (word.isNegative())
        return 0;
    const uint64_t top = topWord(row);
    if (word > rt::Decimal(static_cast<long long>(top)))
        return top;
    return static_cast<uint64_t>(word.toInt64());
}

// ---- showing ----

QString ValueFields::textOf(const ValueRow& row, uint64_t word, double clock) const
{
    switch (row.kind) {
    case ValueKind::Frequency:
        return edtFormatFreq(edtFTWToFreq(rt::Decimal(static_cast<long long>(word)), clock, kTuningWordBits),
                             kTuningWordBits, clock);
    case ValueKind::RampRate:
        return edtFormatRAMRRTime(CalculateRAMRRTime(static_cast<int32_t>(word), clock));
    case ValueKind::Phase:
        return rt::Format(edtPOWToDegrees(static_cast<double>(word)), kPhaseFormat);
    case ValueKind::Amplitude:
    case ValueKind::OutputScale: {
        const Scale scale = scaleOf(row.kind);
        return rt::Format(scale.toValue(static_cast<int32_t>(word)), scale.format);
    }
    case ValueKind::Address:
    case ValueKind::Word:
        break;
    }
    return QString::number(word);
}

void ValueFields::showText(ui::TextBox& box, const QString& text, uint64_t word)
{
    box.setText(text);
    shown_[&box] = {text, word};
}

void ValueFields::show(const ValueRow& row, uint64_t word)
{
    row.box->Tag = QString::number(word);
    const std::optional<double> clockValue = clock();
    if (needsClock(row.kind) && !clockValue) {
        // No clock to convert with: a text that stands for another word would show a value the chip does
        // not hold, so it goes; one that stands for this word stays.
        const auto shown = shown_.find(row.box);
        if (shown == shown_.end() || shown->second.word != word)
            showText(*row.box, QString(), word);
        return;
    }
    showText(*row.box, textOf(row, word, clockValue.value_or(0.0)), word);
}

// ---- key filter ----

void ValueFields::keyPress(const ValueRow& row, int& keyAscii)
{
    ui::TextBox& box = *row.box;
    if (keyAscii == ui::vbKeyReturn) {
        // Enter is not typed: it commits as leaving the box does.
        keyAscii = 0;
        commit(row);
        return;
    }
    if (row.kind == ValueKind::Address || row.kind == ValueKind::Word) {
        keyAscii = row.digitsOnly ? KeyFilterNoSpace(KeyFilterNoSign(KeyFilterSignedInt(keyAscii)))
                                  : KeyFilterNoSign(KeyFilterNumeric2(keyAscii));
        return;
    }
    keyAscii = KeyFilterNoSign(KeyFilterNumeric(keyAscii));
    const bool exponentRefused = needsClock(row.kind);
    if (exponentRefused && (keyAscii == 'E' || keyAscii == 'e')) {
        keyAscii = 0;
        return;
    }
    const int separatorCode = exponentRefused ? giDecimalSepCode : edtDecimalSep2(true).toInt();
    const QString separator = exponentRefused ? gsDecimalSep : edtDecimalSep2(false).toString();
    if (secondSeparator(box, keyAscii, separatorCode, separator)) {
        keyAscii = 0;
        return;
    }
    if (row.kind == ValueKind::Frequency && IsPrintableKey(keyAscii) && !gsDecimalSep.isEmpty()) {
        // While at most two digits stand before the separator and the caret is among them, one more fits.
        const qsizetype p = box.Text().indexOf(gsDecimalSep) + 1;
        if (box.SelStart() < p && p < 4)
            box.setMaxLength(
                static_cast<int>(edtFormatFreq(0.0, kTuningWordBits, clock().value_or(0.0)).size()) + 1);
    }
}

// ---- commit ----

void ValueFields::commit(ui::TextBox& box)
{
    if (const ValueRow* found = row(box))
        commit(*found);
}

void ValueFields::commit(const ValueRow& row)
{
    if (committing_)
        return;
    regwin::ScopedFlag committing(committing_);
    const auto shown = shown_.find(row.box);
    if (shown != shown_.end() && shown->second.text == row.box->Text() &&
        tagHolds(row.box->Tag, shown->second.word)) {
        // Left as it was shown: the word goes into the register again as it stands, and nothing is said.
        row.field.set(shown->second.word);
        if (row.kind != ValueKind::Address && row.kind != ValueKind::Word)
            focusLoad();
        return;
    }
    if (needsClock(row.kind)) {
        const std::optional<double> clockValue = clock();
        if (!clockValue) {
            // Nothing to convert with: the word stays, and so does what the box showed for it.
            reportUnusableClock();
            if (shown != shown_.end())
                row.box->setText(shown->second.text);
            focusLoad();
            return;
        }
        if (row.kind == ValueKind::Frequency)
            commitFrequency(row, *clockValue);
        else
            commitRampRate(row);
        return;
    }
    switch (row.kind) {
    case ValueKind::Phase:
        commitPhase(row);
        break;
    case ValueKind::Amplitude:
    case ValueKind::OutputScale:
        commitScale(row);
        break;
    default:
        commitWord(row);
        break;
    }
}

void ValueFields::store(const ValueRow& row, const QString& text, uint64_t word)
{
    showText(*row.box, text, word);
    row.box->Tag = QString::number(word);
    row.field.set(word);
}

void ValueFields::commitFrequency(const ValueRow& row, double clock)
{
    ui::TextBox& box = *row.box;
    const FieldEntry entry = readValueEntry(box.Text(), 0.0, clock, true);
    rt::Decimal word;
    switch (entry.kind) {
    case FieldEntry::NotANumber:
        box.setText(edtFormatFreq(0.0, kTuningWordBits, clock));
        break;
    case FieldEntry::Below:
        // A negative frequency (pasted) is the lowest one.
        break;
    case FieldEntry::Above:
        reportFrequencyTooHigh();
        word = rt::Decimal(static_cast<long long>(kTopFrequencyWord));
        break;
    case FieldEntry::InRange:
        word = edtFreqToFTW(entry.value, clock, kTuningWordBits);
        break;
    }
    // Less than half a step below the clock the word rounds up to 2^32, which the register would hold as 0.
    const rt::Decimal top(static_cast<long long>(kTopFrequencyWord));
    if (word > top)
        word = top;
    if (word.isNegative())
        word = rt::Decimal();
    const QString text = edtFormatFreq(edtFTWToFreq(word, clock, kTuningWordBits), kTuningWordBits, clock);
    store(row, text, static_cast<uint64_t>(word.toInt64()));
    // No more decimals can be typed than the display shows.
    const qsizetype p = gsDecimalSep.isEmpty() ? 0 : text.indexOf(gsDecimalSep) + 1;
    if (p < 4)
        box.setMaxLength(static_cast<int>(text.size()));
    focusLoad();
}

void ValueFields::commitPhase(const ValueRow& row)
{
    ui::TextBox& box = *row.box;
    const double max = edtPOWToDegrees(kTopPhaseWord);
    const double shownMax = std::round(max * 1000.0) / 1000.0;
    const FieldEntry entry = readValueEntry(box.Text(), 0.0, shownMax);
    if (entry.kind == FieldEntry::NotANumber) {
        box.setText(rt::Format(0.0, kPhaseFormat));
    } else if (entry.kind == FieldEntry::Above || entry.kind == FieldEntry::Below) {
        // A pasted negative phase is clipped to 0 as one too large is to the top, and said so.
        box.setText(rt::Format(entry.kind == FieldEntry::Above ? max : 0.0, kPhaseFormat));
        reportPhaseClipped();
    }
    const int32_t word = std::clamp(edtDegreesToPOW(numberIn(box.Text())), 0, kTopPhaseWord);
    store(row, rt::Format(edtPOWToDegrees(word), kPhaseFormat), static_cast<uint64_t>(word));
    SelectAllText(box);
    focusLoad();
}

void ValueFields::commitScale(const ValueRow& row)
{
    ui::TextBox& box = *row.box;
    const Scale scale = scaleOf(row.kind);
    const double max = scale.toValue(scale.topWord);
    const FieldEntry entry = readValueEntry(box.Text(), 0.0, max);
    // Out of range the value is clipped without a word to the user.
    if (entry.kind == FieldEntry::NotANumber || entry.kind == FieldEntry::Below)
        box.setText(rt::Format(0.0, scale.format));
    else if (entry.kind == FieldEntry::Above)
        box.setText(rt::Format(max, scale.format));
    const int32_t word = std::clamp(scale.toWord(numberIn(box.Text())), 0, scale.topWord);
    store(row, rt::Format(scale.toValue(word), scale.format), static_cast<uint64_t>(word));
    focusLoad();
}

void ValueFields::commitRampRate(const ValueRow& row)
{
    ui::TextBox& box = *row.box;
    const EditValue clock(sysClockText());
    const double max = CalculateRRTime(kTopRampRateWord, clock);
    const double min = 0.0;
    const FieldEntry entry = readValueEntry(box.Text(), min, max);
    if (entry.kind == FieldEntry::NotANumber) {
        box.setText(kRampRateZero);
    } else if (entry.kind == FieldEntry::Above || entry.kind == FieldEntry::Below) {
        // A pasted negative time is clipped to the shortest as one too long is to the longest.
        if (row.rangeFromLongest)
            reportRampRateClipped(row.rateName, edtFormatRRTime(max), rt::CStr(min));
        else
            reportRampRateClipped(row.rateName, edtFormatRRTime(min), rt::CStr(max));
        box.setText(rt::CStr(entry.kind == FieldEntry::Above ? max : min));
    }
    const int32_t word = std::clamp(CalculateRRWord(EditValue(box.Text()), clock), 0, kTopRampRateWord);
    store(row, edtFormatRRTime(CalculateRRTime(word, clock)), static_cast<uint64_t>(word));
    focusLoad();
}

void ValueFields::commitWord(const ValueRow& row)
{
    // Outside its range, or not a number, the word is the row's fallback, without a message; the box shows
    // the word the register gets (a typed fraction rounded). The focus stays.
    const WordEntry entry = readWordEntry(row.box->Text(), row.lowest, row.highest);
    const int64_t word = entry.kind == FieldEntry::InRange ? entry.value : row.fallback;
    store(row, QString::number(word), static_cast<uint64_t>(word));
}

// ---- edit dialogs ----

void ValueFields::doubleClick(const ValueRow& row)
{
    ui::TextBox& box = *row.box;
    const std::optional<double> clockValue = clock();
    switch (row.kind) {
    case ValueKind::Frequency:
        if (!clockValue) {
            reportUnusableClock();
            return;
        }
        ui::form<frmEditOutFreq>().ShowEditDialog(box, row.caption, *clockValue, kTuningWordBits);
        break;
    case ValueKind::Phase:
        ui::form<frmEditPhaseOffset1>().ShowEditDialog(box, clockValue.value_or(0.0));
        break;
    case ValueKind::Amplitude:
    case ValueKind::OutputScale:
        if (!showBoxEditDialog(
                row.kind == ValueKind::Amplitude ? formnames::frmEditOSF : formnames::frmEditOSF_QM, box))
            return;
        break;
    case ValueKind::RampRate:
        // The dialog refuses to open (and says why) without a clock it can convert with.
        if (!showRampRateEditDialog(formnames::frmEditRAMAddrRR, box, row.caption, sysClockText()))
            return;
        break;
    case ValueKind::Address:
    case ValueKind::Word:
        return;
    }
    // Accepted or cancelled, the word the Tag now holds goes into the register, within the field's range.
    // A Tag that holds no such word (unreadable, negative, too large) is mended, and the text with it.
    const uint64_t word = tagWord(row);
    if (!tagHolds(box.Tag, word))
        show(row, word);
    shown_[&box] = {box.Text(), word};
    row.field.set(word);
    // The dialog wrote a new text: a selection left from the old one would cover only part of it.
    SelectAllText(box);
    // Leaving the box for LOAD would commit the dialog's text again; the dialog has already said it all.
    regwin::ScopedFlag committing(committing_);
    focusLoad();
}

// ---- spin bars ----

void ValueFields::bindStepBox(ui::TextBox& box, bool selectOnClick)
{
    box.KeyPress = [](int& keyAscii) { keyAscii = KeyFilterNoSign(KeyFilterSignedInt(keyAscii)); };
    box.GotFocus = [&box] { SelectAllText(box); };
    if (selectOnClick)
        box.Click = [&box] { SelectAllText(box); };
}

void ValueFields::spin(ui::ScrollBar& bar, const ui::TextBox& stepBox, ui::TextBox& valueBox, int64_t maxStep)
{
    const int direction = bar.Value();
    const ValueRow* found = row(valueBox);
    if (direction == 0 || !found)
        return;
    // The word moves only when it can reach the chip at once.
    if (regwin::refusedWhileBusy()) {
        bar.setValue(0);
        return;
    }
    const WordEntry step = readWordEntry(stepBox.Text(), 0, maxStep);
    if (step.kind == FieldEntry::InRange && step.value > 0) {
        const int64_t words = static_cast<int64_t>(topWord(*found)) + 1;
        const int64_t current = static_cast<int64_t>(tagWord(*found));
        int64_t word = (current + (direction < 0 ? -step.value : step.value)) % words;
        // Past either end the word wraps around.
        if (word < 0)
            word += words;
        show(*found, static_cast<uint64_t>(word));
        found->field.set(static_cast<uint64_t>(word));
        // The spin bars reach the chip at once, board or not, "Auto" or not.
        if (goEvalBd) {
            const int16_t addr = found->field.addr;
            goEvalBd->USBSerialLoadPKT(addr, goEvalBd->GetRegMapValue(0, addr));
            goEvalBd->StrobeREGUD();
        }
    }
    bar.setValue(0);
}

} // namespace profiles
