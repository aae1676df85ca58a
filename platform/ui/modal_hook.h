#pragma once

#include <cstdint>
#include <functional>

namespace ui {

class Form;

// Seams for the tests: a modal Show calls the hook once the form is visible; when the form is hidden or
// unloaded after it, Show returns at once, without a nested loop. Empty hooks restore the normal behaviour.
using ModalShowHook = std::function<void(Form&)>;
void setModalShowHook(ModalShowHook hook);

// Under the virtual clock a modal Show waits by DoEvents (so timers answer it); when no one answers within
// `limitMs` of virtual time the form is hidden, the hook below is told, and Show returns.
using ModalTimeoutHook = std::function<void(Form&)>;
void setModalTimeoutHook(ModalTimeoutHook hook, int64_t limitMs);

} // namespace ui
