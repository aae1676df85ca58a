#pragma once

// One event of the board object, bound to one handler (the main window's EvalBd_Event method, or a
// test's lambda). Raising an event with no handler does nothing. The event runs the handler as it is: a
// layer with windows binds it through boardui/board_event_binding.h, which reports an error leaving the
// handler there as any window event's error, so that it never reaches the transfer that raised it.

#include <functional>
#include <utility>

template <typename... Args> class BoardEvent {
public:
    using Handler = std::function<void(Args...)>;

    BoardEvent& operator=(Handler handler)
    {
        handler_ = std::move(handler);
        return *this;
    }
    void operator()(Args... args) const
    {
        if (handler_)
            handler_(std::forward<Args>(args)...);
    }
    explicit operator bool() const { return static_cast<bool>(handler_); }

private:
    Handler handler_;
};
