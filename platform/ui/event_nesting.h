#pragma once

// Internal to the window layer: how deep the program is in nested event processing (DoEvents, modal
// windows, message boxes and dialogs). Unloaded forms are destroyed only when this depth is back at 0 and
// the outermost event loop runs, so a handler of an unloaded form can always run to its end.
namespace ui::detail {

int nestingDepth();

class NestingScope {
public:
    // What the nested processing is: a window waiting for its user (a modal window, a message box, a common
    // dialog), or the events one of the program's actions lets run while it waits (DoEvents, pauses). Every
    // nesting says which: the claims on a shared board go back only while the program waits for its user.
    enum class Kind { WaitForUser, InsideAction };

    explicit NestingScope(Kind kind);
    ~NestingScope();
    NestingScope(const NestingScope&) = delete;
    NestingScope& operator=(const NestingScope&) = delete;
};

// Defined by the form registry: asks for unloaded forms to be destroyed once the loop is idle.
void scheduleGraveyardFlush();

} // namespace ui::detail
