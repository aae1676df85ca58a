#pragma once

#include <functional>

class QEventLoop;

namespace ui {
class Form;
namespace detail {

// Internal to the window layer: the wait of a modal Show, until the form is no longer shown. It is a nested
// event loop; under the virtual clock it is DoEvents, so timers and scripted answers can end it, and a form
// that no one answers within the timeout hook's limit (modal_hook.h) is hidden. The hooks of modal_hook.h
// are kept here.
class ModalLoop {
public:
    ModalLoop() = default;
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;

    // Hands the form, now shown, to the tests' modal-show hook; false when none is set.
    static bool offerToShowHook(Form& form);
    // Waits while `stillShown` holds.
    void run(Form& form, const std::function<bool()>& stillShown);
    // Ends a running wait (the form was hidden, unloaded or destroyed).
    void quit();

private:
    QEventLoop* loop_ = nullptr;
};

} // namespace detail
} // namespace ui
