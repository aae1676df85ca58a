#include "shell/register_window.h"

#include "board/board_flags.h"
#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "board/globals.h"
#include "board/progress.h"
#include "board/sound.h"

#include "platform/ui/app.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"

namespace regwin {

namespace {

int defaultIndex(const FieldRow& row, uint64_t value, int count)
{
    if (row.indexOf)
        return row.indexOf(value);
    return value < static_cast<uint64_t>(count) ? static_cast<int>(value) : -1;
}

std::optional<uint64_t> listValue(const FieldRow& row, int index)
{
    if (index < 0)
        return std::nullopt;
    if (row.valueOf)
        return row.valueOf(index);
    return static_cast<uint64_t>(index);
}

} // namespace

FieldRow& FieldTable::add(FieldRow row)
{
    rows_.push_back(std::move(row));
    return rows_.back();
}

namespace {

FieldRow makeRow(FieldRow::Kind kind, ui::Control& control, RegisterField field, std::function<void()> after)
{
    FieldRow row;
    row.kind = kind;
    row.control = &control;
    row.field = field;
    row.after = std::move(after);
    return row;
}

} // namespace

FieldRow& FieldTable::check(ui::CheckBox& box, RegisterField field, std::function<void()> after)
{
    return add(makeRow(FieldRow::Kind::Check, box, field, std::move(after)));
}

FieldRow& FieldTable::list(ui::ListBox& list, RegisterField field, std::function<void()> after)
{
    return add(makeRow(FieldRow::Kind::List, list, field, std::move(after)));
}

FieldRow& FieldTable::combo(ui::ComboBox& combo, RegisterField field, std::function<void()> after)
{
    return add(makeRow(FieldRow::Kind::Combo, combo, field, std::move(after)));
}

FieldRow& FieldTable::option(ui::OptionButton& button, RegisterField field, uint64_t value,
                             std::function<void()> after)
{
    FieldRow& row = add(makeRow(FieldRow::Kind::Option, button, field, std::move(after)));
    row.optionValue = value;
    return row;
}

FieldRow& FieldTable::custom(ui::Control& control, RegisterField field, std::function<void(uint64_t)> show,
                             std::function<std::optional<uint64_t>()> read)
{
    FieldRow& row = add(makeRow(FieldRow::Kind::Custom, control, field, {}));
    row.show = std::move(show);
    row.read = std::move(read);
    return row;
}

void FieldTable::bindClicks()
{
    for (FieldRow& row : rows_) {
        const FieldRow* r = &row;
        auto clicked = [this, r] {
            if (refreshing_) {
                if (r->after && r->afterOnRefresh)
                    r->after();
                return;
            }
            store(*r);
            if (r->after)
                r->after();
        };
        switch (row.kind) {
        case FieldRow::Kind::Check:
            static_cast<ui::CheckBox*>(row.control)->Click = clicked;
            break;
        case FieldRow::Kind::List:
            static_cast<ui::ListBox*>(row.control)->Click = clicked;
            break;
        case FieldRow::Kind::Combo:
            static_cast<ui::ComboBox*>(row.control)->Click = clicked;
            break;
        case FieldRow::Kind::Option:
            static_cast<ui::OptionButton*>(row.control)->Click = clicked;
            break;
        case FieldRow::Kind::Custom:
            break;
        }
    }
}

bool FieldTable::store(const FieldRow& row) const
{
    std::optional<uint64_t> value;
    switch (row.kind) {
    case FieldRow::Kind::Check: {
        const int v = static_cast<ui::CheckBox*>(row.control)->Value();
        value = v == 1 ? 1U : 0U;
        break;
    }
    case FieldRow::Kind::List:
        value = listValue(row, static_cast<ui::ListBox*>(row.control)->ListIndex());
        break;
    case FieldRow::Kind::Combo:
        value = listValue(row, static_cast<ui::ComboBox*>(row.control)->ListIndex());
        break;
    case FieldRow::Kind::Option:
        if (static_cast<ui::OptionButton*>(row.control)->Value())
            value = row.optionValue;
        break;
    case FieldRow::Kind::Custom:
        if (row.read)
            value = row.read();
        break;
    }
    return value && row.field.set(*value);
}

bool FieldTable::store(const ui::Control& control) const
{
    const FieldRow* row = rowOf(control);
    return row && store(*row);
}

void FieldTable::show(const FieldRow& row) const
{
    const uint64_t value = row.field.get();
    switch (row.kind) {
    case FieldRow::Kind::Check:
        static_cast<ui::CheckBox*>(row.control)->setValue(value != 0 ? 1 : 0);
        break;
    case FieldRow::Kind::List: {
        auto* list = static_cast<ui::ListBox*>(row.control);
        list->setListIndex(defaultIndex(row, value, list->ListCount()));
        break;
    }
    case FieldRow::Kind::Combo: {
        auto* combo = static_cast<ui::ComboBox*>(row.control);
        combo->setListIndex(defaultIndex(row, value, combo->ListCount()));
        break;
    }
    case FieldRow::Kind::Option:
        if (value == row.optionValue)
            static_cast<ui::OptionButton*>(row.control)->setValue(true);
        break;
    case FieldRow::Kind::Custom:
        if (row.show)
            row.show(value);
        break;
    }
}

void FieldTable::refresh() const
{
    if (!goEvalBd)
        return;
    ScopedFlag refreshing(refreshing_);
    for (const FieldRow& row : rows_)
        if (!row.applies || row.applies())
            show(row);
}

void FieldTable::refresh(int16_t addr) const
{
    if (!goEvalBd)
        return;
    ScopedFlag refreshing(refreshing_);
    for (const FieldRow& row : rows_)
        if (row.field.addr == addr && (!row.applies || row.applies()))
            show(row);
}

void FieldTable::refresh(const ui::Control& control) const
{
    const FieldRow* row = rowOf(control);
    if (!goEvalBd || !row)
        return;
    ScopedFlag refreshing(refreshing_);
    show(*row);
}

std::vector<RegisterField> FieldTable::fields() const
{
    std::vector<RegisterField> out;
    out.reserve(rows_.size());
    for (const FieldRow& row : rows_)
        out.push_back(row.field);
    return out;
}

std::vector<RegisterField> FieldTable::indicatedFields() const
{
    std::vector<RegisterField> out;
    for (const FieldRow& row : rows_)
        if (row.indicated)
            out.push_back(row.field);
    return out;
}

const FieldRow* FieldTable::rowOf(const ui::Control& control) const
{
    for (const FieldRow& row : rows_)
        if (row.control == &control)
            return &row;
    return nullptr;
}

// ---- LOAD ----

bool boardSelected()
{
    return goEZUSB().BoardSelected();
}

namespace {
bool gAutoIOUpdate = false;
} // namespace

bool autoIOUpdate()
{
    return gAutoIOUpdate;
}

void publishAutoIOUpdate(bool on)
{
    gAutoIOUpdate = on;
}

LoadOutcome loadRegisters(std::span<const int16_t> addrs, const LoadOptions& options)
{
    if (!goEvalBd)
        return LoadOutcome::Refused;
    if (goEvalBd->TransferBusy())
        return LoadOutcome::Refused;
    if (options.beforeFirst)
        options.beforeFirst();
    const bool progress = !options.progressText.isEmpty();
    if (progress)
        InitProgressBar(0, static_cast<int32_t>(addrs.size()), options.progressText);
    const bool byConnection = options.sendWhen == LoadOptions::SendWhen::BoardConnected;
    bool ok = true;
    bool anySent = false;
    int32_t done = 0;
    for (int16_t addr : addrs) {
        const QString value = goEvalBd->GetRegMapValue(RegMap::Pending, addr);
        // Asked anew for each register: the board may go away in the middle of the load.
        const bool send = byConnection ? gbBoardConnected : boardSelected();
        if (send)
            ok = goEvalBd->USBSerialLoadPKT(addr, value) == 0 && ok;
        else
            goEvalBd->SetRegMapValue(RegMap::Written, addr, value);
        anySent = anySent || send;
        if (options.strobeEach && options.strobeWhenAuto && (send || !byConnection) && autoIOUpdate())
            goEvalBd->StrobeREGUD();
        if (progress)
            SetProgressBarValue(++done);
        if (options.afterEach)
            options.afterEach(addr);
    }
    if (progress)
        ResetProgressBar();
    if (!options.strobeEach && options.strobeWhenAuto && (anySent || !byConnection) && autoIOUpdate())
        goEvalBd->StrobeREGUD();
    if (options.questionSoundOffline && !gbBoardConnected)
        PlaySoundAsync(QStringLiteral("SystemQuestion"));
    const LoadOutcome outcome = ok ? LoadOutcome::Loaded : LoadOutcome::Failed;
    if (options.afterAll)
        options.afterAll(outcome);
    return outcome;
}

LoadOutcome runLoad(ui::CommandButton& button, LoadIndicator* indicator, std::span<const int16_t> addrs,
                    const LoadOptions& options)
{
    LoadOutcome outcome = LoadOutcome::Refused;
    {
        LoadingScope loading(button, options.pointerForm);
        outcome = loadRegisters(addrs, options);
        ui::DoEvents();
    }
    if (options.afterLoad)
        options.afterLoad(outcome);
    if (indicator)
        indicator->loaded(outcome);
    reportLoad(outcome);
    return outcome;
}

bool refusedWhileBusy()
{
    if (!goEvalBd || !goEvalBd->TransferBusy())
        return false;
    reportLoad(LoadOutcome::Refused);
    return true;
}

bool reportLoad(LoadOutcome outcome)
{
    if (outcome == LoadOutcome::Refused && goEvalBd)
        ui::MsgBox(QStringLiteral("The board is busy with another transfer.\r\n"
                                  "Nothing was loaded: press LOAD again when it has finished."),
                   ui::vbExclamation, QStringLiteral("LOAD"));
    else if (outcome == LoadOutcome::Failed)
        ui::MsgBox(QStringLiteral("Not every register reached the chip.\r\n"
                                  "The load indicator blinks until a LOAD succeeds."),
                   ui::vbExclamation, QStringLiteral("LOAD"));
    return outcome == LoadOutcome::Loaded;
}

LoadingScope::LoadingScope(ui::CommandButton& button, ui::Form* form)
    : button_(button), form_(form), previousPointer_(form ? form->MousePointer() : ui::ScreenMousePointer())
{
    button_.setEnabled(false);
    if (form_)
        form_->setMousePointer(ui::vbHourglass);
    else
        ui::setScreenMousePointer(ui::vbHourglass);
}

LoadingScope::~LoadingScope()
{
    button_.setEnabled(true);
    if (form_)
        form_->setMousePointer(previousPointer_);
    else
        ui::setScreenMousePointer(previousPointer_);
}

// ---- load indicator ----

LoadIndicator::Differs LoadIndicator::registers(std::vector<int16_t> addrs)
{
    return [addrs = std::move(addrs)] {
        if (!goEvalBd)
            return false;
        for (int16_t addr : addrs)
            if (goEvalBd->GetRegMapValue(RegMap::Pending, addr) !=
                goEvalBd->GetRegMapValue(RegMap::Written, addr))
                return true;
        return false;
    };
}

LoadIndicator::Differs LoadIndicator::table(const FieldTable& table, std::vector<RegisterField> extra)
{
    return [&table, extra = std::move(extra)] {
        for (const FieldRow& row : table.rows())
            if (row.indicated && row.field.differs())
                return true;
        for (const RegisterField& field : extra)
            if (field.differs())
                return true;
        return false;
    };
}

void LoadIndicator::tick()
{
    const bool differs = pending();
    label_.setVisible(differs && !label_.Visible());
    label_.Refresh();
}

void LoadIndicator::loaded(LoadOutcome outcome)
{
    // A load that did not reach the chip leaves the indicator to blink on.
    if (outcome == LoadOutcome::Loaded)
        label_.setVisible(false);
}

} // namespace regwin

namespace regwin {

bool readRegister(int16_t addr)
{
    if (!goEvalBd || !boardSelected())
        return false;
    const QString value = goEvalBd->USBSerialReadPKT(addr);
    if (value.isEmpty() || value.size() != goEvalBd->GetRegLength(addr))
        return false;
    goEvalBd->SetRegMapValue(RegMap::Written, addr, value);
    goEvalBd->SetRegMapValue(RegMap::Pending, addr, value);
    return true;
}

void enableControls(ui::Form& form, bool enabled)
{
    for (ui::Control* control : form.controls())
        control->setEnabled(enabled);
}

} // namespace regwin
