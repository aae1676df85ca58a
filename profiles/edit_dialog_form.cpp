#include "profiles/edit_dialog_form.h"

#include "board/text_util.h"

namespace profiles {

void EditDialogForm::wireValueBox(ui::TextBox& box, KeyRule rule, Entry entry)
{
    boxes_.push_back({&box, std::move(entry)});
    ui::TextBox* target = &box;
    box.GotFocus = [target] { SelectAllText(*target); };
    box.KeyPress = [this, target, rule = std::move(rule)](int& key) {
        if (key == 13) {
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
        cancel = !runEntry(*target);
    };
    box.Change = [this, target] {
        if (!writing_)
            pending_ = target;
    };
}

void EditDialogForm::showText(ui::TextBox& box, const QString& text)
{
    const bool was = writing_;
    writing_ = true;
    box.setText(text);
    writing_ = was;
}

void EditDialogForm::moveFocusTo(ui::Control& control)
{
    const bool was = inEntry_;
    inEntry_ = true;
    control.SetFocus();
    inEntry_ = was;
}

bool EditDialogForm::finishPendingEntry()
{
    if (!pending_)
        return true;
    return runEntry(*pending_);
}

bool EditDialogForm::runEntry(ui::TextBox& box)
{
    const WiredBox* wired = wiredFor(&box);
    if (!wired)
        return true;
    if (pending_ == &box)
        pending_ = nullptr;
    const bool was = inEntry_;
    inEntry_ = true;
    const bool stands = wired->entry();
    inEntry_ = was;
    return stands;
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
    const QString padded = QString(8 - text.size(), QLatin1Char('0')) + text;
    for (QChar c : padded)
        if (c != QLatin1Char('0') && c != QLatin1Char('1'))
            return zeros;
    return padded;
}

} // namespace profiles
