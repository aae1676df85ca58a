// The RAM segment window's value fields: the beginning and final addresses (0-1023) and the address step
// rate, a time in microseconds whose word is 4 x time / system clock, also edited through the ramp-rate
// dialog.

#include "profiles/frm_qducrsr.h"

#include "board/form_names.h"
#include "board/text_util.h"
#include "profiles/box_edit_dialogs.h"
#include "profiles/edit_dialog_form.h"
#include "profiles/edit_value.h"
#include "profiles/mod_edit_dialog_subs.h"
#include "profiles/profile_entry.h"
#include "profiles/sys_clock.h"

#include "platform/runtime/locale_info.h"
#include "platform/runtime/numeric_text.h"
#include "platform/ui/msgbox.h"

#include <algorithm>

using namespace profiles;

namespace {

constexpr int kEnter = 13;
constexpr int32_t kTopRampRateWord = 65535;
constexpr int64_t kTopAddress = 1023;

// Enter commits the field at once and does not reach the box.
template <typename Validate> void takeEnter(int& keyAscii, Validate validate)
{
    if (keyAscii != kEnter)
        return;
    keyAscii = 0;
    bool cancel = false;
    validate(cancel);
}

} // namespace

void frmQDUCRSR::focusLoad()
{
    if (cmdLoad.Enabled())
        cmdLoad.SetFocus();
}

// ---- addresses ----

void frmQDUCRSR::txtRAMSegBeginAddr_KeyPress(int index, int& keyAscii)
{
    keyAscii = KeyFilterNoSpace(KeyFilterNoSign(KeyFilterSignedInt(keyAscii)));
    takeEnter(keyAscii, [this, index](bool& cancel) { txtRAMSegBeginAddr_Validate(index, cancel); });
}

void frmQDUCRSR::txtRAMSegFinalAddr_KeyPress(int index, int& keyAscii)
{
    keyAscii = KeyFilterNoSpace(KeyFilterNoSign(KeyFilterSignedInt(keyAscii)));
    takeEnter(keyAscii, [this, index](bool& cancel) { txtRAMSegFinalAddr_Validate(index, cancel); });
}

void frmQDUCRSR::txtRAMSegBeginAddr_Validate(int index, bool& cancel)
{
    (void)cancel;
    validateAddress(txtRAMSegBeginAddr(index), beginAddrField(index));
}

void frmQDUCRSR::txtRAMSegFinalAddr_Validate(int index, bool& cancel)
{
    (void)cancel;
    validateAddress(txtRAMSegFinalAddr(index), finalAddrField(index));
}

void frmQDUCRSR::validateAddress(ui::TextBox& box, const RegisterField& field)
{
    // Not a number, beyond any integer, negative or above 1023: "0", without a message (the Profiles window's
    // address rule).
    const WordEntry entry = readWordEntry(box.Text(), 0, kTopAddress);
    const int64_t address = entry.kind == FieldEntry::InRange ? entry.value : 0;
    if (entry.kind != FieldEntry::InRange)
        box.setText(QStringLiteral("0"));
    box.Tag = QString::number(address);
    field.set(static_cast<uint64_t>(address));
}

// ---- step rate ----

void frmQDUCRSR::showRampRate(int segment, uint64_t word)
{
    ui::TextBox& box = txtRAMSegAddrRampRate(segment);
    box.Tag = QString::number(word);
    // Without a clock the time of the word is unknown: the text stays as it was.
    if (const std::optional<double> clock = usableSysClock())
        box.setText(edtFormatRAMRRTime(CalculateRAMRRTime(static_cast<int32_t>(word), EditValue(*clock))));
    rateTextShown_[static_cast<size_t>(segment)] = box.Text();
}

void frmQDUCRSR::txtRAMSegAddrRampRate_GotFocus(int index)
{
    SelectAllText(txtRAMSegAddrRampRate(index));
}

void frmQDUCRSR::txtRAMSegAddrRampRate_KeyPress(int index, int& keyAscii)
{
    ui::TextBox& box = txtRAMSegAddrRampRate(index);
    keyAscii = KeyFilterNoSign(KeyFilterNumeric(keyAscii));
    if (keyAscii == 'E' || keyAscii == 'e')
        keyAscii = 0;
    const QChar separator = rt::numberLocale().decimalSeparator;
    if (keyAscii != 0 && keyAscii == separator.unicode() && separatorAlreadyTyped(box, separator))
        keyAscii = 0;
    takeEnter(keyAscii, [this, index](bool& cancel) { txtRAMSegAddrRampRate_Validate(index, cancel); });
}

void frmQDUCRSR::txtRAMSegAddrRampRate_Validate(int index, bool& cancel)
{
    (void)cancel;
    if (validating_)
        return;
    regwin::ScopedFlag validating(validating_);
    ui::TextBox& box = txtRAMSegAddrRampRate(index);
    const std::optional<double> clockValue = usableSysClock();
    if (!clockValue) {
        // Nothing converts: the word stays and the box shows again what the window last showed for it.
        reportUnusableClock();
        box.setText(rateTextShown_[static_cast<size_t>(index)]);
        return;
    }
    const EditValue clock(*clockValue);
    const double maximum = CalculateRRTime(kTopRampRateWord, clock);
    const double minimum = 0.0;
    const TypedDouble typed = readTypedDouble(box.Text());
    if (typed.kind == TypedKind::NotANumber) {
        box.setText(QStringLiteral("0.0000"));
    } else if (typed.kind != TypedKind::Number || typed.value > maximum || typed.value < minimum) {
        const bool above =
            typed.kind == TypedKind::AboveType || (typed.kind == TypedKind::Number && typed.value > maximum);
        ui::MsgBox(QStringLiteral("The valid range for the Address Step Rate is ") +
                       edtFormatRRTime(minimum) + QStringLiteral(" \u00B5s to ") + rt::CStr(maximum) +
                       QStringLiteral(" \u00B5s.") + QStringLiteral("\r\nThe value entered will be clipped!"),
                   ui::vbOKOnly | ui::vbInformation, QStringLiteral("Maximum Ramp Rate Time Exceeded!!!"));
        box.setText(rt::CStr(above ? maximum : minimum));
    }
    const int32_t word = std::clamp(CalculateRRWord(EditValue(box.Text()), clock), 0, kTopRampRateWord);
    box.Tag = QString::number(word);
    box.setText(edtFormatRRTime(CalculateRRTime(word, clock)));
    rampRateField(index).set(static_cast<uint64_t>(word));
    rateTextShown_[static_cast<size_t>(index)] = box.Text();
    focusLoad();
}

void frmQDUCRSR::txtRAMSegAddrRampRate_DblClick(int index)
{
    ui::TextBox& box = txtRAMSegAddrRampRate(index);
    // The dialog refuses to open (and says why) without a clock it can convert with.
    showRampRateEditDialog(formnames::frmEditRAMAddrRR, box, QStringLiteral("Edit RAM Address Ramp Rate"),
                           sysClockText());
    storeRampRateTag(index);
    focusLoad();
}

void frmQDUCRSR::storeRampRateTag(int segment)
{
    // Whichever button closed the dialog, the Tag's word goes into the register; a Tag that holds no
    // 16-bit word leaves the register as it is.
    const TypedWord typed = readTypedWord(txtRAMSegAddrRampRate(segment).Tag);
    if (typed.kind == TypedKind::Number && typed.value >= rt::Decimal() &&
        typed.value <= rt::Decimal(kTopRampRateWord))
        rampRateField(segment).set(static_cast<uint64_t>(typed.value.toInt64()));
}
