#include "shell/register_window_base.h"

#include <utility>

namespace regwin {

void RegisterWindow::indicateLoadOn(ui::Label& label, std::vector<RegisterField> extra)
{
    loadIndicator_.emplace(label, LoadIndicator::table(fields_, std::move(extra)));
}

void RegisterWindow::indicateLoadOn(ui::Label& label, LoadIndicator::Differs differs)
{
    loadIndicator_.emplace(label, std::move(differs));
}

LoadOutcome RegisterWindow::loadWindow(ui::CommandButton& button, std::span<const int16_t> addrs,
                                       const LoadOptions& options)
{
    return runLoad(button, loadIndicator_ ? &*loadIndicator_ : nullptr, addrs, options);
}

} // namespace regwin
