#pragma once

#include "platform/ui/form.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace ui {

// The registry of windows: factories by name (a window that is not built has no factory) and the
// loaded forms in load order.
class Forms {
public:
    using Factory = std::function<std::unique_ptr<Form>()>;

    static void registerFactory(const QString& name, Factory factory);
    static bool hasFactory(const QString& name);

    // Loaded forms in load order.
    static std::vector<Form*> loaded();
    static Form* find(const QString& name); // loaded form by exact name, or nullptr
    static bool isLoaded(const QString& name);

    // Loads the form by name through its factory (when not loaded); nullptr when no such window exists.
    static Form* load(const QString& name);
    // Calls `proc` on the named form when it is loaded and has it; false otherwise.
    static bool callIfLoaded(const QString& formName, const QString& proc);
    // Calls `proc` on every loaded form that has it, in load order.
    static void callOnAll(const QString& proc);
    // Shows the named form (loading it) in normal state and brings it to the front; false when absent.
    static bool showByName(const QString& name);

    // The form the user works in (the active MDI child rather than its frame), or nullptr.
    static Form* activeForm();
    // How often a form was activated by the user's doing: the window system activating a window (again
    // too) or the MDI frame a child on its own. Not counted: Show, SetFocus, ZOrder and hiding, nor the
    // window system's late answer to the activation that Show or SetFocus asked for.
    static uint64_t userActivations();
    // The loaded form whose window has this handle, or nullptr.
    static Form* fromHwnd(uint32_t hwnd);

    // What happens to a form, as the registry tells a watcher: loaded (after its Load handler),
    // activated, asked to unload (after its QueryUnload handler, whatever it answered) and unloaded
    // (after its Unload handler let it go). `unloadMode` is the classic unload mode (0 for the others).
    enum class Lifecycle { Loaded, Activated, QueryUnload, Unloaded };
    using Watcher = std::function<void(Form&, Lifecycle, int unloadMode)>;
    // One watcher at a time (the main window, which keeps its menus in step), known by its owner;
    // `clearWatcher` removes it only when that owner set it.
    static void setWatcher(const void* owner, Watcher watcher);
    static void clearWatcher(const void* owner);
    static void notify(Form& form, Lifecycle event, int unloadMode = 0);

    // Unloads every form, newest first, overriding cancels (test teardown and the end of the program).
    static void unloadAll();
    // Unloads every form without running QueryUnload or Unload (the end of a test: handlers of one test's
    // forms never run in the next one).
    static void discardAll();
    // Destroys unloaded form objects now when no event processing is in progress (otherwise later, once the
    // event loop is idle). Tests call it to check destruction.
    static void destroyUnloaded();
};

namespace detail {
// The errors of typed access: a window that cannot be loaded, or one of another class under the name.
[[noreturn]] void throwFormNotLoadable(const QString& name);
[[noreturn]] void throwFormOfOtherClass(const QString& name);
} // namespace detail

// Typed access with the classic default-instance rule: referencing a form loads it. A window that cannot be
// loaded, or a window of another class registered under the name, raises rt::RuntimeError (91 or 13).
template <typename T> T& form()
{
    if (!Forms::hasFactory(T::FormName))
        Forms::registerFactory(T::FormName, [] { return std::make_unique<T>(); });
    Form* loaded = Forms::load(T::FormName);
    if (loaded == nullptr)
        detail::throwFormNotLoadable(T::FormName);
    T* typed = dynamic_cast<T*>(loaded);
    if (typed == nullptr)
        detail::throwFormOfOtherClass(T::FormName);
    return *typed;
}

// The loaded instance, or nullptr when the window is not loaded; a loaded window of another class under
// the name raises rt::RuntimeError 13.
template <typename T> T* loadedForm()
{
    Form* loaded = Forms::find(T::FormName);
    if (loaded == nullptr)
        return nullptr;
    T* typed = dynamic_cast<T*>(loaded);
    if (typed == nullptr)
        detail::throwFormOfOtherClass(T::FormName);
    return typed;
}

} // namespace ui
