#pragma once

#include <functional>

namespace os {

// Tells the event loop that a child of this process has ended: the system's signal for it (SIGCHLD) writes a
// byte into a pipe, which a notifier reads on the event loop and then calls `ended` there, never inside the
// signal. A handler that was installed before (the process machinery's own) still runs on each signal.
// Installed once: later calls do nothing. Without an application object there is no event loop to tell,
// and nothing is installed.
void watchChildEnds(std::function<void()> ended);

} // namespace os
