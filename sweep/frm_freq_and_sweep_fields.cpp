// The OSK Control window's value fields: eighteen text boxes of four kinds (frequency, phase, amplitude,
// ramp rate) sharing one key filter, one commit and one double-click, and the two spin bars that step a word
// and write its register at once.

#include "sweep/frm_freq_and_sweep.h"

#include "board/system_clock.h"
#include "board/board_flags.h"
#include "board/evalbd.h"
#include "board/globals.h"
#include "board/text_util.h"
#include "profiles/box_edit_dialogs.h"
#include "profiles/frm_edit_out_freq.h"
#include "profiles/frm_edit_phase_offset1.h"
#include "profiles/mod_edit_dialog_subs.h"
#include "profiles/mod_edit_out_freq.h"
#include "profiles/profile_entry.h"
#include "profiles/profile_register.h"
#include "board/form_names.h"
#include "shell/frm_control.h"
#include "shell/startup.h"
#include "sweep/sweep_clock.h"

#include "platform/runtime/number_format.h"
#include "platform/runtime/numeric_text.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"

#include <algorithm>
#include <cmath>
#include <limits>

using profiles::FieldEntry;

namespace {

constexpr int kEnter = 13;
constexpr int16_t kTuningWordBits = 32;
constexpr uint64_t kTopFrequencyWord = 4294967295ULL;
constexpr int32_t kTopPhaseWord = 65535;
constexpr int32_t kTopAmplitudeWord = 16383;
constexpr int32_t kTopRampRateWord = 65535;
const QString kPhaseFormat = QStringLiteral("0.000");
const QString kAmplitudeFormat = QStringLiteral("0.00000");
const QString kRampRateZero = QStringLiteral("0.0000");

using Kind = frmFreqAndSweep::FieldKind;

uint64_t topWord(Kind kind)
{
    switch (kind) {
    case Kind::Frequency:
        return kTopFrequencyWord;
    case Kind::Phase:
        return kTopPhaseWord;
    case Kind::Amplitude:
        return kTopAmplitudeWord;
    case Kind::RampRate:
        return kTopRampRateWord;
    }
    return 0;
}

// A Tag as a word of the field: unreadable text is 0, a negative word 0, a word too large the top word.
uint64_t tagWordWithin(const QString& tag, uint64_t top)
{
    const rt::Decimal word = profiles::tagWord(tag);
    if (word.isNegative())
        return 0;
    if (word > rt::Decimal(static_cast<long long>(top)))
        return top;
    return static_cast<uint64_t>(word.toInt64());
}

// The Tag reads as exactly this word.
bool tagHolds(const QString& tag, uint64_t word)
{
    const std::optional<rt::Decimal> read = rt::Decimal::tryFromInvariantText(tag.trimmed());
    return read && *read == rt::Decimal(static_cast<long long>(word));
}

double numberIn(const QString& text)
{
    const profiles::TypedDouble typed = profiles::readTypedDouble(text);
    return typed.kind == profiles::TypedKind::Number ? typed.value : 0.0;
}

// The key is the decimal separator and the box already holds one outside its selection.
bool secondSeparator(const ui::TextBox& box, int keyAscii, int separatorCode, const QString& separator)
{
    return !separator.isEmpty() && keyAscii == separatorCode && box.Text().contains(separator) &&
           !box.SelText().contains(separator);
}

QString clockText()
{
    return SysClockText();
}

} // namespace

void frmFreqAndSweep::buildValueFields()
{
    const QString rising = QStringLiteral("Rising Sweep Ramp Rate");
    const QString falling = QStringLiteral("Falling Sweep Ramp Rate");
    valueFields_ = {
        {&txtOutFreqST, Kind::Frequency, {0x07, 31, 0}, QStringLiteral("Edit output frequency"), {}},
        {&txtPhaseOffsetST, Kind::Phase, {0x08, 15, 0}, {}, {}},
        {&txtAmpScaleST, Kind::Amplitude, {0x09, 15, 2}, {}, {}},
        {&txtASKRR,
         Kind::RampRate,
         {0x09, 31, 16},
         QStringLiteral("Edit Amplitude Ramp Rate"),
         QStringLiteral("Amplitude Address Ramp Rate")},
        {&txtLSSweepFreq0, Kind::Frequency, {0x0B, 31, 0}, QStringLiteral("Edit Sweep Frequency 0"), {}},
        {&txtLSSweepFreq1, Kind::Frequency, {0x0B, 63, 32}, QStringLiteral("Edit Sweep Frequency 1"), {}},
        {&txtLSRisingDFW0, Kind::Frequency, {0x0C, 31, 0}, QStringLiteral("Edit Sweep Rising Step Size"), {}},
        {&txtLSFallingDFW1,
         Kind::Frequency,
         {0x0C, 63, 32},
         QStringLiteral("Edit Sweep Falling Step Size"),
         {}},
        {&txtLSSweepPhase0, Kind::Phase, {0x0B, 31, 16}, {}, {}},
        {&txtLSSweepPhase1, Kind::Phase, {0x0B, 63, 48}, {}, {}},
        {&txtLSRisingDPW0, Kind::Phase, {0x0C, 31, 16}, {}, {}},
        {&txtLSFallingDPW1, Kind::Phase, {0x0C, 63, 48}, {}, {}},
        {&txtLSSweepAmp0, Kind::Amplitude, {0x0B, 31, 18}, {}, {}},
        {&txtLSSweepAmp1, Kind::Amplitude, {0x0B, 63, 50}, {}, {}},
        {&txtLSRisingDAW0, Kind::Amplitude, {0x0C, 31, 18}, {}, {}},
        {&txtLSFallingDAW1, Kind::Amplitude, {0x0C, 63, 50}, {}, {}},
        {&txtLSRisingRR,
         Kind::RampRate,
         {0x0D, 15, 0},
         QStringLiteral("Edit Rising Sweep Ramp Rate"),
         rising},
        {&txtLSFallingRR,
         Kind::RampRate,
         {0x0D, 31, 16},
         QStringLiteral("Edit Falling Sweep Ramp Rate"),
         falling},
    };
}

void frmFreqAndSweep::bindValueFields()
{
    for (const ValueField& field : valueFields_) {
        ui::TextBox* box = field.box;
        box->GotFocus = [box] { SelectAllText(*box); };
        box->KeyPress = [this, box](int& key) {
            if (const ValueField* f = valueField(*box))
                keyPress(*f, key);
        };
        box->Validate = [this, box](bool& cancel) {
            (void)cancel;
            commitField(*box);
        };
        box->DblClick = [this, box] {
            if (const ValueField* f = valueField(*box))
                doubleClick(*f);
        };
    }
}

const frmFreqAndSweep::ValueField* frmFreqAndSweep::valueField(const ui::TextBox& box) const
{
    for (const ValueField& field : valueFields_)
        if (field.box == &box)
            return &field;
    return nullptr;
}

void frmFreqAndSweep::setFieldText(ui::TextBox& box, const QString& text, uint64_t word)
{
    box.setText(text);
    shown_[&box] = {text, word};
}

void frmFreqAndSweep::showWord(const ValueField& field, std::optional<double> clock)
{
    const uint64_t word = tagWordWithin(field.box->Tag, topWord(field.kind));
    const bool clockBound = field.kind == Kind::Frequency || field.kind == Kind::RampRate;
    if (clockBound && !clock) {
        // No clock to convert with: a text that stands for another word would show a value the chip does
        // not hold, so it goes; one that stands for this word stays.
        const auto shown = shown_.find(field.box);
        if (shown == shown_.end() || shown->second.word != word)
            setFieldText(*field.box, QString(), word);
        return;
    }
    switch (field.kind) {
    case Kind::Frequency:
        setFieldText(
            *field.box,
            edtFormatFreq(edtFTWToFreq(rt::Decimal(static_cast<long long>(word)), *clock, kTuningWordBits),
                          kTuningWordBits, *clock),
            word);
        break;
    case Kind::RampRate:
        setFieldText(*field.box, edtFormatRAMRRTime(CalculateRAMRRTime(static_cast<int32_t>(word), *clock)),
                     word);
        break;
    case Kind::Phase:
        setFieldText(*field.box, rt::Format(edtPOWToDegrees(static_cast<double>(word)), kPhaseFormat), word);
        break;
    case Kind::Amplitude:
        setFieldText(*field.box, rt::Format(edtASFToAmpl(static_cast<int32_t>(word)), kAmplitudeFormat),
                     word);
        break;
    }
}

// ---- key filter ----

void frmFreqAndSweep::txtPhOSpinStepST_KeyPress(int& keyAscii)
{
    keyAscii = KeyFilterNoSign(KeyFilterSignedInt(keyAscii));
}

void frmFreqAndSweep::keyPress(const ValueField& field, int& keyAscii)
{
    ui::TextBox& box = *field.box;
    const bool exponentRefused = field.kind == Kind::Frequency || field.kind == Kind::RampRate;
    keyAscii = KeyFilterNoSign(KeyFilterNumeric(keyAscii));
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
    if (keyAscii == kEnter) {
        // Enter is not typed: it commits as leaving the field does.
        keyAscii = 0;
        commit(field);
        return;
    }
    if (field.kind == Kind::Frequency && IsPrintableKey(keyAscii) && !gsDecimalSep.isEmpty()) {
        // While at most two digits stand before the separator and the caret is among them, one more fits.
        const qsizetype p = box.Text().indexOf(gsDecimalSep) + 1;
        if (box.SelStart() < p && p < 4)
            box.setMaxLength(
                static_cast<int>(edtFormatFreq(0.0, kTuningWordBits, sweep::systemClock()).size()) + 1);
    }
}

// ---- commit ----

void frmFreqAndSweep::commitField(ui::TextBox& box)
{
    if (const ValueField* field = valueField(box))
        commit(*field);
}

void frmFreqAndSweep::commit(const ValueField& field)
{
    // The focus move to LOAD at the end validates the field again; that second pass has nothing to do.
    if (committing_)
        return;
    regwin::ScopedFlag committing(committing_);
    if (field.kind == Kind::Frequency || field.kind == Kind::RampRate) {
        const std::optional<double> clock = sweep::systemClock();
        if (!clock) {
            // Nothing to convert with: the word stays, and so does what the field showed for it.
            const auto shown = shown_.find(field.box);
            if (shown != shown_.end())
                field.box->setText(shown->second.text);
            focusLoad();
            return;
        }
        if (field.kind == Kind::Frequency)
            commitFrequency(field, *clock);
        else
            commitRampRate(field, *clock);
        return;
    }
    if (field.kind == Kind::Phase)
        commitPhase(field);
    else
        commitAmplitude(field);
}

void frmFreqAndSweep::commitFrequency(const ValueField& field, double clock)
{
    ui::TextBox& box = *field.box;
    const FieldEntry entry = profiles::readValueEntry(box.Text(), 0.0, clock, true);
    rt::Decimal word;
    switch (entry.kind) {
    case FieldEntry::NotANumber:
        box.setText(edtFormatFreq(0.0, kTuningWordBits, clock));
        break;
    case FieldEntry::Below:
        break;
    case FieldEntry::Above:
        ui::MsgBox(QStringLiteral("The DDS output frequency can not exceed the system clock."),
                   ui::vbOKOnly | ui::vbInformation, QStringLiteral("Output Frequency to High!!!"));
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
    setFieldText(box, text, static_cast<uint64_t>(word.toInt64()));
    const qsizetype p = gsDecimalSep.isEmpty() ? 0 : text.indexOf(gsDecimalSep) + 1;
    if (p < 4)
        box.setMaxLength(static_cast<int>(text.size()));
    storeWord(field, static_cast<uint64_t>(word.toInt64()));
}

void frmFreqAndSweep::commitPhase(const ValueField& field)
{
    ui::TextBox& box = *field.box;
    const double max = edtPOWToDegrees(kTopPhaseWord);
    const double shownMax = std::round(max * 1000.0) / 1000.0;
    const FieldEntry entry = profiles::readValueEntry(box.Text(), 0.0, shownMax);
    if (entry.kind == FieldEntry::NotANumber || entry.kind == FieldEntry::Below) {
        box.setText(rt::Format(0.0, kPhaseFormat));
    } else if (entry.kind == FieldEntry::Above) {
        box.setText(rt::Format(max, kPhaseFormat));
        ui::MsgBox(QStringLiteral("The vaid range for the Phase Offset is ") + rt::Format(0.0, kPhaseFormat) +
                       QStringLiteral(" Deg to ") + rt::Format(max, kPhaseFormat) + QStringLiteral(" Deg.") +
                       QStringLiteral("\r\nThe value entered has been clipped!"),
                   ui::vbOKOnly | ui::vbInformation, QStringLiteral("Maximum Phase Offset Exceeded!!!"));
    }
    const int32_t word = std::clamp(edtDegreesToPOW(numberIn(box.Text())), 0, kTopPhaseWord);
    setFieldText(box, rt::Format(edtPOWToDegrees(word), kPhaseFormat), static_cast<uint64_t>(word));
    SelectAllText(box);
    storeWord(field, static_cast<uint64_t>(word));
}

void frmFreqAndSweep::commitAmplitude(const ValueField& field)
{
    ui::TextBox& box = *field.box;
    const double max = edtASFToAmpl(kTopAmplitudeWord);
    const FieldEntry entry = profiles::readValueEntry(box.Text(), 0.0, max);
    // Above the top the value is clipped without a word to the user.
    if (entry.kind == FieldEntry::NotANumber || entry.kind == FieldEntry::Below)
        box.setText(rt::Format(0.0, kAmplitudeFormat));
    else if (entry.kind == FieldEntry::Above)
        box.setText(rt::Format(max, kAmplitudeFormat));
    const int32_t word = std::clamp(edtAmplToASF(numberIn(box.Text())), 0, kTopAmplitudeWord);
    setFieldText(box, rt::Format(edtASFToAmpl(word), kAmplitudeFormat), static_cast<uint64_t>(word));
    storeWord(field, static_cast<uint64_t>(word));
}

void frmFreqAndSweep::commitRampRate(const ValueField& field, double clock)
{
    ui::TextBox& box = *field.box;
    const double max = 4.0 * kTopRampRateWord / clock;
    const FieldEntry entry = profiles::readValueEntry(box.Text(), 0.0, max);
    if (entry.kind == FieldEntry::NotANumber || entry.kind == FieldEntry::Below) {
        box.setText(kRampRateZero);
    } else if (entry.kind == FieldEntry::Above) {
        // The field's unit is the microsecond, and so is the range the message gives.
        ui::MsgBox(QStringLiteral("The vaid range for the ") + field.rateName + QStringLiteral(" Time is ") +
                       edtFormatRRTime(max) + QStringLiteral("\u00B5s to ") + rt::CStr(0.0) +
                       QStringLiteral("\u00B5s .") + QStringLiteral("\r\nThe value entered will be clipped!"),
                   ui::vbOKOnly | ui::vbInformation, QStringLiteral("Maximum Ramp Rate Time Exceeded!!!"));
        box.setText(rt::CStr(max));
    }
    const int32_t word = std::clamp(CalculateRRWord(numberIn(box.Text()), clock), 0, kTopRampRateWord);
    setFieldText(box, edtFormatRRTime(CalculateRRTime(word, clock)), static_cast<uint64_t>(word));
    storeWord(field, static_cast<uint64_t>(word));
}

void frmFreqAndSweep::storeWord(const ValueField& field, uint64_t word)
{
    field.box->Tag = QString::number(word);
    field.field.set(word);
    focusLoad();
}

void frmFreqAndSweep::focusLoad()
{
    if (cmdLoad.Enabled())
        cmdLoad.SetFocus();
}

// ---- edit dialogs ----

void frmFreqAndSweep::doubleClick(const ValueField& field)
{
    ui::TextBox& box = *field.box;
    const std::optional<double> clock = sweep::systemClock();
    switch (field.kind) {
    case Kind::Frequency:
        // Without a clock there is no frequency to show.
        if (!clock)
            return;
        ui::form<frmEditOutFreq>().ShowEditDialog(box, field.caption, *clock, kTuningWordBits);
        break;
    case Kind::Phase:
        ui::form<frmEditPhaseOffset1>().ShowEditDialog(box, clock.value_or(0.0));
        break;
    case Kind::Amplitude:
        if (!profiles::showBoxEditDialog(formnames::frmEditOSF, box))
            return;
        break;
    case Kind::RampRate:
        if (!clock ||
            !profiles::showRampRateEditDialog(formnames::frmEditRAMAddrRR, box, field.caption, clockText()))
            return;
        break;
    }
    // Accepted or cancelled, the word the Tag now holds goes into the register, within the field's range.
    // A Tag that holds no such word (unreadable, negative, too large) is mended, and the text with it.
    const uint64_t word = tagWordWithin(box.Tag, topWord(field.kind));
    if (!tagHolds(box.Tag, word)) {
        box.Tag = QString::number(word);
        showWord(field, clock);
    }
    shown_[&box] = {box.Text(), word};
    field.field.set(word);
    focusLoad();
}

// ---- spin bars ----

void frmFreqAndSweep::spin(ui::ScrollBar& bar, const ui::TextBox& stepBox, const ValueField& field)
{
    const int direction = bar.Value();
    if (direction == 0)
        return;
    // The word moves only when it can reach the chip at once.
    if (regwin::refusedWhileBusy()) {
        bar.setValue(0);
        return;
    }
    // A step box that holds no whole number from 0 to 32767 steps nothing.
    const profiles::WordEntry step =
        profiles::readWordEntry(stepBox.Text(), 0, std::numeric_limits<int16_t>::max());
    if (step.kind == FieldEntry::InRange && goEvalBd) {
        const int64_t words = static_cast<int64_t>(topWord(field.kind)) + 1;
        const int64_t current = static_cast<int64_t>(tagWordWithin(field.box->Tag, topWord(field.kind)));
        int64_t word = (current + (direction < 0 ? -step.value : step.value)) % words;
        // Past either end the word wraps around.
        if (word < 0)
            word += words;
        field.box->Tag = QString::number(word);
        showWord(field, std::nullopt);
        field.field.set(static_cast<uint64_t>(word));
        // The spin bars reach the chip at once, board or not, "Auto" or not.
        const int16_t addr = field.field.addr;
        goEvalBd->USBSerialLoadPKT(addr, goEvalBd->GetRegMapValue(0, addr));
        goEvalBd->StrobeREGUD();
    }
    bar.setValue(0);
}

void frmFreqAndSweep::vscAmpScaleSpinST_Change()
{
    spin(vscAmpScaleSpinST, txtAmpScaleStepST, *valueField(txtAmpScaleST));
}

void frmFreqAndSweep::vscPhaseOSpinST_Change()
{
    spin(vscPhaseOSpinST, txtPhOSpinStepST, *valueField(txtPhaseOffsetST));
}
