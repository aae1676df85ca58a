#include "profiles/edit_dialog_form.h"

#include "board/num_base.h"
#include "board/text_util.h"
#include "boardui/text_selection.h"
#include "platform/runtime/locale_info.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/msgbox.h"
#include "profiles/edit_value.h"
#include "profiles/mod_edit_dialog_subs.h"
#include "shell/register_window.h"

#include <algorithm>

namespace profiles {

void EditDialogForm::wireValueBox(ui::TextBox& box, KeyRule rule, Entry entry)
{
    boxes_.push_back({&box, std::move(entry)});
    ui::TextBox* target = &box;
    box.GotFocus = [target] { SelectAllText(*target); };
    box.KeyPress = [this, target, rule = std::move(rule)](int& key) {
        if (key == ui::vbKeyReturn) {
            key = 0;
            runEntry(*target);
            return;
        }
        rule(key);
    };
    box.Validate = [this, target](bool& cancel) {
        // The entry itself moving the focus must not run it again.
        if (inEntry_)
            return;
        regwin::ScopedFlag leaving(leavingBox_);
        cancel = !runEntry(*target);
    };
    box.Change = [this, target] {
        if (!writing_)
            pending_ = target;
    };
}

void EditDialogForm::showText(ui::TextBox& box, const QString& text)
{
    regwin::ScopedFlag writing(writing_);
    box.setText(text);
}

void EditDialogForm::moveFocusTo(ui::Control& control)
{
    if (leavingBox_)
        return;
    regwin::ScopedFlag entering(inEntry_);
    control.SetFocus();
}

bool EditDialogForm::finishPendingEntry()
{
    if (!pending_)
        return true;
    return runEntry(*pending_);
}

void EditDialogForm::setUpWordView(ui::TextBox& box, const QString& text, const QString& tip)
{
    box.setText(text);
    box.setToolTipText(tip);
    box.setAlignment(ui::vbCenter);
}

void EditDialogForm::setUpByteBoxes(ui::ControlArray<ui::TextBox>& boxes, const QString& tip)
{
    for (ui::TextBox& box : boxes) {
        setUpWordView(box, QStringLiteral("00000000"), tip);
        box.setMaxLength(8);
    }
}

void EditDialogForm::setUpSpinBar(ui::ScrollBar& bar)
{
    bar.setMax(1);
    bar.setMin(-1);
    bar.setValue(0);
}

void EditDialogForm::setUpCancelButton(ui::CommandButton& button)
{
    button.setCaption(QStringLiteral("Cancel"));
    button.setCancel(true);
    // Cancel leaves whatever is typed: it must not be held up by a view's refusal.
    button.setCausesValidation(false);
}

void EditDialogForm::stepWord(ui::ScrollBar& bar, const ui::TextBox& decimalView, const rt::Decimal& lowest,
                              const rt::Decimal& highest,
                              const std::function<void(const rt::Decimal&)>& apply)
{
    const int step = bar.Value();
    if (step == 0)
        return;
    const TypedWord current = readTypedWord(decimalView.Text());
    if (current.kind == TypedKind::Number) {
        const rt::Decimal next = current.value + rt::Decimal(step);
        if (next >= lowest && next <= highest)
            apply(next);
    }
    bar.setValue(0);
}

void EditDialogForm::filterUnsignedValueKey(const ui::TextBox& box, int& key)
{
    key = KeyFilterNumeric(key);
    key = KeyFilterNoSign(key);
    if (key != 0 && key == edtDecimalSep2(true).toInt() &&
        separatorAlreadyTyped(box, rt::numberLocale().decimalSeparator))
        key = 0;
}

double EditDialogForm::clampedValue(const QString& text, double largest)
{
    const TypedDouble typed = readTypedDouble(text);
    switch (typed.kind) {
    case TypedKind::NotANumber:
    case TypedKind::BelowType:
        return 0.0;
    case TypedKind::AboveType:
        return largest;
    case TypedKind::Number:
        break;
    }
    return std::clamp(typed.value, 0.0, largest);
}

EditDialogForm::WordReading EditDialogForm::readDecimalWord(const QString& text, int32_t highest)
{
    const TypedWord typed = readTypedWord(text);
    if (typed.kind == TypedKind::NotANumber)
        return {};
    if (typed.kind == TypedKind::Number && typed.value >= rt::Decimal() &&
        typed.value <= rt::Decimal(highest))
        return {static_cast<int32_t>(typed.value.toInt64()), true};
    return {0, false};
}

EditDialogForm::WordReading EditDialogForm::readHexWord(const QString& text, int32_t highest)
{
    rt::Decimal value;
    bool fits = true;
    try {
        value = cbaseHexStr2DecExact(text.trimmed());
    } catch (const rt::RuntimeError& error) {
        // Invalid digits read as 0; too many digits stand above the limit.
        fits = error.number() == rt::errTypeMismatch;
    }
    if (fits && value <= rt::Decimal(highest))
        return {static_cast<int32_t>(value.toInt64()), true};
    return {0, false};
}

int32_t EditDialogForm::readBinaryWord(ui::ControlArray<ui::TextBox>& boxes, int edited, int32_t highest,
                                       const BitsRule& normalize)
{
    showText(boxes(edited), normalize(edited, boxes(edited).Text()));
    QString bits;
    for (const ui::TextBox& box : boxes)
        bits.prepend(normalize(box.Index(), box.Text()));
    const rt::Decimal value = cbaseBinS2Dec(bits);
    return value <= rt::Decimal(highest) ? static_cast<int32_t>(value.toInt64()) : 0;
}

QString EditDialogForm::byteBits(int index, const QString& text)
{
    (void)index;
    return normalizedByte(text);
}

bool EditDialogForm::settleWordEntry(ui::TextBox& view, const WordReading& reading,
                                     const QString& limitMessage,
                                     const std::function<QString(int32_t)>& viewText,
                                     const std::function<void(int32_t)>& showWord, ui::Control& next)
{
    if (!reading.accepted)
        ui::MsgBox(limitMessage);
    showText(view, viewText(reading.word));
    showWord(reading.word);
    if (reading.accepted)
        moveFocusTo(next);
    return reading.accepted;
}

void EditDialogForm::editBoxModally(ui::TextBox& box)
{
    editedBox_ = &box;
    opened_ = false;
    Show(1);
    if (IsLoaded())
        Unload();
}

ui::TextBox* EditDialogForm::boxToFill()
{
    if (opened_ || !editedBox_)
        return nullptr;
    opened_ = true;
    return editedBox_;
}

void EditDialogForm::acceptInto(const ui::TextBox& wordView, const ui::TextBox& valueView)
{
    if (!finishPendingEntry())
        return;
    if (editedBox_) {
        editedBox_->Tag = wordView.Text();
        editedBox_->setText(valueView.Text());
    }
    editedBox_ = nullptr;
    Unload();
}

void EditDialogForm::cancelEdit()
{
    dropPendingEntry();
    editedBox_ = nullptr;
    Unload();
}

void EditDialogForm::Form_Unload(int& cancel)
{
    (void)cancel;
    editedBox_ = nullptr;
}

bool EditDialogForm::runEntry(ui::TextBox& box)
{
    const WiredBox* wired = wiredFor(&box);
    if (!wired)
        return true;
    if (pending_ == &box)
        pending_ = nullptr;
    regwin::ScopedFlag entering(inEntry_);
    return wired->entry();
}

const EditDialogForm::WiredBox* EditDialogForm::wiredFor(const ui::TextBox* box) const
{
    for (const WiredBox& wired : boxes_)
        if (wired.box == box)
            return &wired;
    return nullptr;
}

bool separatorAlreadyTyped(const ui::TextBox& box, QChar separator)
{
    return box.Text().contains(separator) && !box.SelText().contains(separator);
}

QString normalizedByte(const QString& text)
{
    static const QString zeros(8, QLatin1Char('0'));
    if (text.size() > 8)
        return zeros;
    QString padded = QString(8 - text.size(), QLatin1Char('0')) + text;
    for (QChar c : padded)
        if (c != QLatin1Char('0') && c != QLatin1Char('1'))
            return zeros;
    return padded;
}

} // namespace profiles
