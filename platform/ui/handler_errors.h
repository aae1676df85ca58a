#pragma once

#include <exception>

namespace ui {

// What happens to an error that leaves an event handler. Events are dispatched through Event (controls,
// menus, timers) and the window bridge (activation, painting, sizing, closing from the frame); an error
// that a handler did not handle stops there and is shown in the classic error box, so it never crosses
// the Qt event loop and the program goes on:
//     "<number> <source> <description>" (OK, critical icon, the application title).
// A rt::RuntimeError shows its own number, source and description; std::out_of_range shows 9
// ("Subscript out of range"), any other exception 51 ("Internal error") with its text. The end of the
// program in tests (ui::testing::ProcessEnded) passes on to the caller.
void reportHandlerError(std::exception_ptr error);

// Runs `handler` as an event handler: an error leaving it is reported as above.
template <typename F> void runHandler(F&& handler)
{
    try {
        handler();
    } catch (...) {
        reportHandlerError(std::current_exception());
    }
}

} // namespace ui
