#pragma once

// Binds an event of the board object (board/board_event.h) to a method of a window, with the window
// events' error rule: an error that leaves the handler is shown in the error box and stops there, so it
// never reaches the transfer that raised the event.
// `bindBoardEvent(board.RAMCOMBegin, this, &mdiMain::EvalBd_RAMCOMBegin);`

#include "board/board_event.h"
#include "platform/ui/handler_errors.h"

#include <type_traits>
#include <utility>

template <typename... Args, typename Window, typename Owner>
void bindBoardEvent(BoardEvent<Args...>& event, Window* window, void (Owner::*handler)(Args...))
{
    static_assert(std::is_base_of_v<Owner, Window>, "the handler must be a method of the window");
    event = [window, handler](Args... args) {
        ui::runHandler([&] { (window->*handler)(std::forward<Args>(args)...); });
    };
}
