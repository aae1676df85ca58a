#pragma once

// What every register window shares: the table from its controls to register fields (walked by the
// controls' Click handlers and by RefreshFormVals, so each field is named once), the LOAD of its registers,
// the blinking load indicator and the restoring flag that keeps a refresh from writing back what it shows.
//
// A window keeps a `regwin::FieldTable` member, fills it in its constructor and calls `bindClicks` once;
// its RefreshFormVals calls `refresh()`, its LOAD button `regwin::loadRegisters`, and its tmrLoadFlash_Timer
// `LoadIndicator::tick`.

#include "board/register_field.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <vector>

namespace regwin {

// Sets a flag for the life of a scope and gives it back the value it had, so that a refresh nested in
// another refresh leaves the guard up until the outer one ends.
class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag, bool value = true) : flag_(flag), before_(flag) { flag_ = value; }
    ~ScopedFlag() { flag_ = before_; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
    bool before_;
};

// One row of a window's table: a control and the field it shows and edits.
struct FieldRow {
    enum class Kind { Check, List, Combo, Option, Custom };
    Kind kind = Kind::Custom;
    ui::Control* control = nullptr;
    RegisterField field;
    // Option buttons: the field value the button stands for.
    uint64_t optionValue = 0;
    // Lists: the list index for a field value (-1: no selection); default: the value itself when the list
    // has that item, else -1. And the field value for a list index (default: the index).
    std::function<int(uint64_t)> indexOf;
    std::function<uint64_t(int)> valueOf;
    // Custom rows: show the field value / read it from the control (nullopt: nothing to write).
    std::function<void(uint64_t)> show;
    std::function<std::optional<uint64_t>()> read;
    // Runs after the user's change was stored (greying, dependent windows).
    std::function<void()> after;
    // Also run `after` when a refresh changes the control (greying and clocks that follow what is shown).
    bool afterOnRefresh = false;
    // False for bits another window's LOAD sends: the load indicator leaves them out.
    bool indicated = true;
    // While false, a refresh leaves the control alone (a layout of another silicon revision, a form not
    // shown); the user's clicks still store.
    std::function<bool()> applies;
};

class FieldTable {
public:
    explicit FieldTable(bool& refreshing) : refreshing_(refreshing) {}

    FieldRow& check(ui::CheckBox& box, RegisterField field, std::function<void()> after = {});
    FieldRow& list(ui::ListBox& list, RegisterField field, std::function<void()> after = {});
    FieldRow& combo(ui::ComboBox& combo, RegisterField field, std::function<void()> after = {});
    FieldRow& option(ui::OptionButton& button, RegisterField field, uint64_t value,
                     std::function<void()> after = {});
    FieldRow& custom(ui::Control& control, RegisterField field, std::function<void(uint64_t)> show,
                     std::function<std::optional<uint64_t>()> read);

    // Binds each check box, list and option button's Click to store its value into the pending map (never
    // while the refreshing flag is up) and run its `after`. Call once, after the rows are added.
    void bindClicks();
    // Stores the control's value of one row (what its Click does); false when nothing was stored.
    bool store(const FieldRow& row) const;
    bool store(const ui::Control& control) const;
    // Shows every row (or those whose register is `addr`) from the pending map under the refreshing flag.
    void refresh() const;
    void refresh(int16_t addr) const;
    // Shows the one row of a control (a step that must follow others in the window's refresh).
    void refresh(const ui::Control& control) const;

    const std::deque<FieldRow>& rows() const { return rows_; }
    // The fields of the table; `indicatedFields` those the load indicator compares.
    std::vector<RegisterField> fields() const;
    std::vector<RegisterField> indicatedFields() const;
    const FieldRow* rowOf(const ui::Control& control) const;

private:
    FieldRow& add(FieldRow row);
    void show(const FieldRow& row) const;

    bool& refreshing_;
    // Stable addresses: the bound handlers keep pointers to their rows.
    std::deque<FieldRow> rows_;
};

// True while a board is selected (the USB object names one). With none, LOAD only copies the pending
// registers into the written map.
bool boardSelected();
// The "Auto" I/O update state, as the main window publishes it (its box checked while it is loaded).
bool autoIOUpdate();
void publishAutoIOUpdate(bool on);

enum class LoadOutcome {
    Loaded,  // every register reached the chip (or the written map, offline)
    Failed,  // at least one register write failed; the rest were still sent
    Refused, // a transfer was in progress: nothing was written
};

struct LoadOptions {
    // Which test sends a register to the chip; the other case copies it into the written map.
    enum class SendWhen {
        BoardSelected,  // the USB object names a board
        BoardConnected, // the USB poll sees the board (`gbBoardConnected`)
    };
    SendWhen sendWhen = SendWhen::BoardSelected;
    // Pulse I/O update when "Auto" is checked: once at the end, or after each register (`strobeEach`). With
    // `BoardConnected` only registers that were sent are followed by a pulse.
    bool strobeWhenAuto = true;
    bool strobeEach = false;
    // Drive the status-bar progress bar 0..n with this text ("" : leave the bar alone).
    QString progressText;
    // Play "SystemQuestion" when no board is connected.
    bool questionSoundOffline = true;
    // The window's own steps. `beforeFirst` and `afterAll` run only when the load goes ahead (not when it
    // is refused), around the registers; `afterEach` after each register with its address; `afterLoad`
    // once the button is enabled again, whatever the outcome, before the outcome is told.
    std::function<void()> beforeFirst;
    std::function<void(int16_t)> afterEach;
    std::function<void(LoadOutcome)> afterAll;
    std::function<void(LoadOutcome)> afterLoad;
    // The hourglass over this window only (default: over the whole screen).
    ui::Form* pointerForm = nullptr;
};

// Writes the listed registers from the pending map in order: through the chip when a board is selected
// (or connected, as `sendWhen` says), otherwise into the written map. Refused, writing nothing, while the
// board object runs another transfer. The window's LOAD uses `runLoad`, which wraps this.
LoadOutcome loadRegisters(std::span<const int16_t> addrs, const LoadOptions& options = {});
inline LoadOutcome loadRegisters(std::initializer_list<int16_t> addrs, const LoadOptions& options = {})
{
    return loadRegisters(std::span<const int16_t>(addrs.begin(), addrs.size()), options);
}

class LoadIndicator;

// The LOAD of a register window: `button` disabled and the hourglass shown, the registers written in
// order, queued events run once, the button enabled again, then `afterLoad`, the indicator hidden when the
// load reached the chip, and the outcome told (`reportLoad`). A window without an indicator passes null.
LoadOutcome runLoad(ui::CommandButton& button, LoadIndicator* indicator, std::span<const int16_t> addrs,
                    const LoadOptions& options = {});
inline LoadOutcome runLoad(ui::CommandButton& button, LoadIndicator& indicator,
                           std::span<const int16_t> addrs, const LoadOptions& options = {})
{
    return runLoad(button, &indicator, addrs, options);
}
inline LoadOutcome runLoad(ui::CommandButton& button, LoadIndicator& indicator,
                           std::initializer_list<int16_t> addrs, const LoadOptions& options = {})
{
    return runLoad(button, indicator, std::span<const int16_t>(addrs.begin(), addrs.size()), options);
}

// A write that goes to the chip at once, outside LOAD (spin bars, "Clear Error"): true, after telling the
// user as a refused LOAD does, while the board object runs another transfer; the caller then changes
// nothing.
bool refusedWhileBusy();

// Tells the user that a LOAD refused because a transfer was in progress wrote nothing, or that a register
// write failed on the way (its indicator then blinks on, `LoadIndicator::loaded`). True when the load
// reached the chip.
bool reportLoad(LoadOutcome outcome);

// The LOAD button disabled and the hourglass shown for the life of a scope: over the whole screen, or over
// one window (`form`) only.
class LoadingScope {
public:
    explicit LoadingScope(ui::CommandButton& button, ui::Form* form = nullptr);
    ~LoadingScope();
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;

private:
    ui::CommandButton& button_;
    ui::Form* form_;
    int previousPointer_;
};

// The window's load indicator: at each tick of its timer it compares the window's own bits in the two
// maps and blinks while they differ; after a LOAD, `loaded(outcome)` hides it only when the load reached
// the chip.
class LoadIndicator {
public:
    using Differs = std::function<bool()>;
    LoadIndicator(ui::Label& label, Differs differs) : label_(label), differs_(std::move(differs)) {}
    // Compares whole registers.
    static Differs registers(std::vector<int16_t> addrs);
    // Compares the table's indicated fields (read at each tick, so rows added later count) and `extra`.
    static Differs table(const FieldTable& table, std::vector<RegisterField> extra = {});

    void tick();
    void loaded(LoadOutcome outcome);
    bool pending() const { return differs_ && differs_(); }

private:
    ui::Label& label_;
    Differs differs_;
};

} // namespace regwin

namespace regwin {

// READ of a register window: reads the register back from the chip and keeps a good answer (one of the
// register's width) in both maps, so that the window shows what the chip holds. A failed read changes
// neither map. False without a board or when the read failed.
bool readRegister(int16_t addr);

// Enables or disables every control of the window, its timers included.
void enableControls(ui::Form& form, bool enabled);

} // namespace regwin
