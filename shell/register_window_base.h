#pragma once

// The base of a register window: the refreshing flag that keeps a refresh from writing back what it shows,
// the window's field table guarded by it, the load indicator (by default the table's own bits) and the
// window's LOAD through the kit's one routine. A window adds its rows in its constructor, names its
// indicator label and keeps only what is its own.

#include "shell/register_window.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <vector>

namespace regwin {

class RegisterWindow : public ui::Form {
public:
    const FieldTable& fields() const { return fields_; }
    // True while the window's own bits differ between the pending and the written map.
    bool loadPending() const { return loadIndicator_ && loadIndicator_->pending(); }
    // True while a refresh puts the map's values into the controls; `refreshingScope` raises the flag for
    // the life of the scope it returns, as a refresh does.
    bool refreshing() const { return bRefreshing_; }
    [[nodiscard]] ScopedFlag refreshingScope() { return ScopedFlag(bRefreshing_); }

protected:
    explicit RegisterWindow(const QString& name) : ui::Form(name) {}

    // The indicator blinks `label` while the table's indicated fields, and `extra`, differ between the maps
    // (rows added later count too).
    void indicateLoadOn(ui::Label& label, std::vector<RegisterField> extra = {});
    // The indicator blinks `label` while `differs` says so (a window that compares whole registers).
    void indicateLoadOn(ui::Label& label, LoadIndicator::Differs differs);

    // The window's LOAD: `button` disabled and the hourglass shown, `addrs` written in order, the outcome
    // told and the indicator hidden only when the load reached the chip.
    LoadOutcome loadWindow(ui::CommandButton& button, std::span<const int16_t> addrs,
                           const LoadOptions& options = {});
    LoadOutcome loadWindow(ui::CommandButton& button, std::initializer_list<int16_t> addrs,
                           const LoadOptions& options = {})
    {
        return loadWindow(button, std::span<const int16_t>(addrs.begin(), addrs.size()), options);
    }
    // The indicator's timer tick.
    void tickLoadIndicator()
    {
        if (loadIndicator_)
            loadIndicator_->tick();
    }

    bool bRefreshing_ = false;
    FieldTable fields_{bRefreshing_};

private:
    std::optional<LoadIndicator> loadIndicator_;
};

} // namespace regwin
