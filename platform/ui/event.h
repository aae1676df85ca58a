#pragma once

#include "platform/ui/handler_errors.h"

#include <functional>
#include <type_traits>
#include <utility>

namespace ui {

// One event of a control or form, bound to one handler (the window's method control_Event).
// Firing an event with no handler does nothing, as in the classic toolkit. An error the handler does not
// handle ends there (handler_errors.h): it is shown in the error box and not passed to the code that fired
// the event.
template <typename... Args> class Event {
public:
    using Handler = std::function<void(Args...)>;

    Event& operator=(Handler handler)
    {
        handler_ = std::move(handler);
        return *this;
    }
    void operator()(Args... args) const
    {
        if (handler_)
            runHandler([&] { handler_(std::forward<Args>(args)...); });
    }
    explicit operator bool() const { return static_cast<bool>(handler_); }

private:
    Handler handler_;
};

// Binds an event to a method of the window: a handler whose name or parameters do not match the event's does
// not compile. `ui::bind(cmdLoad.Click, this, &frmControl::cmdLoad_Click);`
template <typename... Args, typename Window, typename Owner>
void bind(Event<Args...>& event, Window* window, void (Owner::*handler)(Args...))
{
    static_assert(std::is_base_of_v<Owner, Window>, "the handler must be a method of the window");
    event = [window, handler](Args... args) { (window->*handler)(std::forward<Args>(args)...); };
}

} // namespace ui
