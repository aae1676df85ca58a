#pragma once

// What the word edit dialogs share: value boxes whose entry step runs when the box is left or Enter is
// pressed in it, texts written by the dialog itself without counting as the user's edits, the byte
// boxes of the binary view, the spin bar that steps the word and the Cancel button.

#include "platform/runtime/decimal.h"
#include "platform/ui/controls_array.h"
#include "platform/ui/controls_button.h"
#include "platform/ui/controls_label.h"
#include "platform/ui/controls_scrollbar.h"
#include "platform/ui/controls_textbox.h"
#include "platform/ui/form.h"

#include <QChar>
#include <QString>
#include <functional>
#include <vector>

namespace profiles {

class EditDialogForm : public ui::Form {
public:
    using ui::Form::Form;

protected:
    // An entry step: reads the box, brings every view into line and tells whether the entry stands
    // (false keeps the focus in the box).
    using Entry = std::function<bool()>;
    // A key filter: sets the key code to 0 to drop it, or rewrites it.
    using KeyRule = std::function<void(int&)>;

    // Wires a value box: its whole text is selected when it gets the focus, keys pass `rule` (Enter is
    // dropped and runs the entry at once), leaving the box runs the entry, and the user's edits mark the box
    // as pending until its entry has run.
    void wireValueBox(ui::TextBox& box, KeyRule rule, Entry entry);
    // Writes a view's text as the dialog (not the user) does.
    void showText(ui::TextBox& box, const QString& text);
    // Moves the focus from inside an entry step without running that step a second time.
    void moveFocusTo(ui::Control& control);
    // Runs the entry of a box the user edited and did not leave (so OK never hands back a half-typed
    // view); false when that entry refused.
    bool finishPendingEntry();
    // Forgets a pending edit (the dialog closes without taking it).
    void dropPendingEntry() { pending_ = nullptr; }

    // A word view as it first shows: `text`, `tip` as its tool tip, centred.
    static void setUpWordView(ui::TextBox& box, const QString& text, const QString& tip);
    // The byte boxes of the binary view: eight zeros, at most eight digits, centred.
    static void setUpByteBoxes(ui::ControlArray<ui::TextBox>& boxes, const QString& tip);
    // A spin bar that steps by one either way and rests at 0.
    static void setUpSpinBar(ui::ScrollBar& bar);
    static void setUpCancelButton(ui::CommandButton& button);
    // One step of the spin bar: the word in `decimalView` plus the bar's direction goes to `apply` when it
    // stays within `lowest` to `highest` (a view that holds no number steps nothing); the bar rests again.
    static void stepWord(ui::ScrollBar& bar, const ui::TextBox& decimalView, const rt::Decimal& lowest,
                         const rt::Decimal& highest, const std::function<void(const rt::Decimal&)>& apply);

private:
    struct WiredBox {
        ui::TextBox* box;
        Entry entry;
    };
    bool runEntry(ui::TextBox& box);
    const WiredBox* wiredFor(const ui::TextBox* box) const;

    std::vector<WiredBox> boxes_;
    ui::TextBox* pending_ = nullptr;
    bool writing_ = false;
    bool inEntry_ = false;
};

// The separator key is refused while the box already holds a separator outside its selection.
bool separatorAlreadyTyped(const ui::TextBox& box, QChar separator);

// The text of one byte box of a binary view: padded in front with "0" to 8 characters; anything that is
// then not 8 binary digits (a longer text, other digits, signs, blanks) becomes "00000000".
QString normalizedByte(const QString& text);

} // namespace profiles
