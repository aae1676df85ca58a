#pragma once

#include "platform/ui/form.h"

#include <QString>
#include <QStringList>
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

    // Unloads every form (test teardown).
    static void unloadAll();
};

// Typed access with the classic default-instance rule: referencing a form loads it.
template <typename T>
T& form()
{
    if (!Forms::hasFactory(T::FormName))
        Forms::registerFactory(T::FormName, [] { return std::make_unique<T>(); });
    return static_cast<T&>(*Forms::load(T::FormName));
}

// The loaded instance, or nullptr.
template <typename T>
T* loadedForm()
{
    return static_cast<T*>(Forms::find(T::FormName));
}

} // namespace ui
