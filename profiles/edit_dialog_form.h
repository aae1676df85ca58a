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
#include <cstdint>
#include <functional>
#include <vector>

namespace profiles {

class EditDialogForm : public ui::Form {
public:
    using ui::Form::Form;

protected:
    // What an entry step made of a word view: the word (0 when refused) and whether the entry stands.
    struct WordReading {
        int32_t word = 0;
        bool accepted = true;
    };

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
    // Moves the focus from inside an entry step without running that step a second time. An entry that
    // runs because the user left its box (a click into another box, Tab) leaves the focus where the user
    // sent it; Enter's entry moves it.
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

    // Keys of a value box that holds an unsigned number with decimals: digits and one separator.
    static void filterUnsignedValueKey(const ui::TextBox& box, int& key);
    // A typed value, brought within 0 to `largest`: no number or below what a number can hold reads as 0,
    // above it as `largest`; a number beyond either end is clipped without a message.
    static double clampedValue(const QString& text, double largest);
    // A decimal word view: no number reads as 0; a word from 0 to `highest` stands; anything else (negative,
    // above) is refused.
    static WordReading readDecimalWord(const QString& text, int32_t highest);
    // A hexadecimal word view: invalid digits read as 0; too many digits or a word above `highest` is
    // refused.
    static WordReading readHexWord(const QString& text, int32_t highest);
    // The word of a binary view's boxes (box 0 the lowest bits), each box's text as `normalize` of its index
    // and text makes it (byte boxes by default); the edited box shows its normalised text. A word above
    // `highest` reads as 0.
    using BitsRule = std::function<QString(int index, const QString& text)>;
    int32_t readBinaryWord(ui::ControlArray<ui::TextBox>& boxes, int edited, int32_t highest,
                           const BitsRule& normalize = byteBits);
    static QString byteBits(int index, const QString& text);
    // Ends the entry of a word view: `limitMessage` when the reading was refused, the view rewritten with
    // `viewText` of the word, the other views from `showWord`, and the focus on to `next` when it stands.
    bool settleWordEntry(ui::TextBox& view, const WordReading& reading, const QString& limitMessage,
                         const std::function<QString(int32_t)>& viewText,
                         const std::function<void(int32_t)>& showWord, ui::Control& next);

    // A dialog that edits a caller's box in place (word in its Tag, value in its text): shows modally on it
    // and unloads when the user closes it.
    void editBoxModally(ui::TextBox& box);
    // The box being edited on the dialog's first activation; nullptr on later ones (they leave the user's
    // views alone) and once it has closed.
    ui::TextBox* boxToFill();
    // OK: runs a pending entry (a refusal keeps the dialog open), then hands `wordView` to the box's Tag and
    // `valueView` to its text and closes.
    void acceptInto(const ui::TextBox& wordView, const ui::TextBox& valueView);
    // Cancel or the close box: the box stays as it was.
    void cancelEdit();
    void Form_Unload(int& cancel) override;

private:
    struct WiredBox {
        ui::TextBox* box;
        Entry entry;
    };
    bool runEntry(ui::TextBox& box);
    const WiredBox* wiredFor(const ui::TextBox* box) const;

    std::vector<WiredBox> boxes_;
    ui::TextBox* pending_ = nullptr;
    ui::TextBox* editedBox_ = nullptr;
    bool opened_ = false;
    bool writing_ = false;
    bool inEntry_ = false;
    // Set while an entry runs because the user left its box for another control.
    bool leavingBox_ = false;
};

// The separator key is refused while the box already holds a separator outside its selection.
bool separatorAlreadyTyped(const ui::TextBox& box, QChar separator);

// The text of one byte box of a binary view: padded in front with "0" to 8 characters; anything that is
// then not 8 binary digits (a longer text, other digits, signs, blanks) becomes "00000000".
QString normalizedByte(const QString& text);

} // namespace profiles
