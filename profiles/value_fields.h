#pragma once

// The value boxes of the register windows (Profiles, RAM segment, OSK Control): frequency, phase,
// amplitude, output scale, ramp rate, RAM address and plain words, each kind with one key filter, one
// commit and one double-click. A window lists its boxes as rows; what a row does differently from its
// kind is an explicit option of the row.
//
// A commit reads the box's text, clips or resets it as its kind does (with the kind's message), shows the
// quantised value, keeps the word in the box's Tag and stores it into the row's field of the pending map.
// Frequency and ramp-rate kinds convert with the system clock; a clock that is not a positive number
// converts nothing: the word stays, the box shows again what it showed for it, and the user is told why.

#include "board/register_field.h"
#include "shell/register_window.h"

#include "platform/ui/controls.h"

#include <QString>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>

namespace profiles {

enum class ValueKind { Frequency, Phase, Amplitude, OutputScale, RampRate, Address, Word };

struct ValueRow {
    ui::TextBox* box = nullptr;
    ValueKind kind = ValueKind::Frequency;
    RegisterField field;
    // The edit dialog's caption (frequency and ramp-rate kinds).
    QString caption{};
    // Ramp-rate kind: the time's name in its range message, and whether the range reads from the longest
    // time down to 0 (the sweep fields) or from 0 up (the RAM address step rates).
    QString rateName{};
    bool rangeFromLongest = true;
    // Address and word kinds: only digits reach the box (no separator, exponent or blank).
    bool digitsOnly = false;
    // A click selects the whole text too, not only the focus coming in.
    bool selectOnClick = false;
    // Word kind: every numeric text sets the box's tool tip to the word in hexadecimal and binary digits.
    bool numberToolTip = false;
    // Word kind: the range a typed word must lie in, and the word that replaces one outside it.
    int64_t lowest = 0;
    int64_t highest = 0;
    int64_t fallback = 0;
};

class ValueFields {
public:
    // The system clock's text (`sysClockText`), and the focus to `load` when it is enabled.
    explicit ValueFields(ui::CommandButton& load);
    ValueFields(const ValueFields&) = delete;
    ValueFields& operator=(const ValueFields&) = delete;

    // Adds a row and binds its box's GotFocus, KeyPress, Validate and DblClick.
    const ValueRow& add(ValueRow row);
    // Adds a row and a row of the window's field table for its box: a refresh shows the field's word in
    // the box (`show`); the commit stores it.
    regwin::FieldRow& addTo(regwin::FieldTable& table, ValueRow row);
    const std::deque<ValueRow>& rows() const { return rows_; }
    const ValueRow* row(const ui::TextBox& box) const;

    // Shows a word in its box and Tag, as a refresh does. Without a usable clock a frequency or ramp-rate
    // text that stood for this word stays; one that stood for another word goes.
    void show(const ValueRow& row, uint64_t word);
    // A text that stands for `word` (a design text), kept for a commit without a clock.
    void showText(ui::TextBox& box, const QString& text, uint64_t word);
    // The word the box's Tag holds, within its field (unreadable or negative 0, too large the top).
    uint64_t tagWord(const ValueRow& row) const;
    // Runs the box's commit, as leaving it or pressing Enter in it does.
    void commit(ui::TextBox& box);
    // A spin bar's step box: only digits reach it (no validation), and the focus coming in, and with
    // `selectOnClick` a click, selects its whole text.
    static void bindStepBox(ui::TextBox& box, bool selectOnClick);
    // A spin bar's change: steps the word of `valueBox` by the whole number in `stepBox` (1 .. maxStep;
    // anything else steps nothing), wrapping past either end, and writes its register to the chip at once
    // with an I/O update, "Auto" or not. The bar rests at 0 again.
    void spin(ui::ScrollBar& bar, const ui::TextBox& stepBox, ui::TextBox& valueBox, int64_t maxStep);

    // The system clock when it converts: a number above 0.
    std::optional<double> clock() const;
    static uint64_t topWord(const ValueRow& row);

private:
    void keyPress(const ValueRow& row, int& keyAscii);
    static void showNumberToolTip(const ValueRow& row);
    void commit(const ValueRow& row);
    void commitFrequency(const ValueRow& row, double clock);
    void commitPhase(const ValueRow& row);
    void commitScale(const ValueRow& row);
    void commitRampRate(const ValueRow& row);
    void commitWord(const ValueRow& row);
    void doubleClick(const ValueRow& row);
    void store(const ValueRow& row, const QString& text, uint64_t word);
    QString textOf(const ValueRow& row, uint64_t word, double clock) const;

    // The focus to the window's LOAD (when it is enabled), as every commit ends.
    void focusLoad();

    ui::CommandButton& load_;
    std::deque<ValueRow> rows_;
    struct Shown {
        QString text;
        uint64_t word = 0;
    };
    // What each box last showed, and for which word.
    std::map<const ui::TextBox*, Shown> shown_;
    // The focus move to LOAD at the end of a commit validates the box again; that second pass does nothing.
    bool committing_ = false;
};

} // namespace profiles
