#include "platform/ui/forms.h"

#include "platform/runtime/runtime_error.h"
#include "platform/ui/event_nesting.h"
#include "platform/ui/form_registry.h"
#include "platform/ui/form_window.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace ui {

namespace detail {

FormRegistry& registry()
{
    // Deliberately never destroyed: forms must not be torn down after the application object is gone.
    static auto* reg = new FormRegistry;
    return *reg;
}

void addLoaded(Form* form)
{
    auto& reg = registry();
    if (std::find(reg.loaded.begin(), reg.loaded.end(), form) == reg.loaded.end())
        reg.loaded.push_back(form);
}

void removeLoaded(Form* form)
{
    auto& reg = registry();
    std::erase(reg.loaded, form);
    reg.awaitingActivation.erase(form);
    auto it =
        std::find_if(reg.owned.begin(), reg.owned.end(), [form](const auto& p) { return p.get() == form; });
    if (it == reg.owned.end())
        return;
    reg.graveyard.push_back(std::move(*it));
    reg.owned.erase(it);
    reg.retired.insert(form);
    scheduleGraveyardFlush();
}

bool isRetired(const Form* form)
{
    return registry().retired.count(form) != 0;
}

void setActiveForm(Form* form)
{
    auto& reg = registry();
    if (reg.programActivationDepth == 0)
        ++reg.userActivations;
    if (reg.active == form)
        return;
    Form* previous = reg.active;
    reg.active = form;
    if (previous && previous->IsLoaded())
        FormWindowBridge::deactivate(*previous);
    if (form && reg.active == form && form->IsLoaded())
        FormWindowBridge::activate(*form);
}

ProgramActivation::ProgramActivation(bool byProgram) : byProgram_(byProgram)
{
    if (byProgram_)
        ++registry().programActivationDepth;
}

ProgramActivation::~ProgramActivation()
{
    if (byProgram_)
        --registry().programActivationDepth;
}

void flushGraveyard()
{
    auto& reg = registry();
    while (!reg.graveyard.empty()) {
        auto dead = std::move(reg.graveyard);
        reg.graveyard.clear();
        dead.clear(); // destroys the forms, oldest first
    }
}

void scheduleGraveyardFlush()
{
    auto& reg = registry();
    if (reg.graveyard.empty() || reg.flushPending || !QCoreApplication::instance())
        return;
    reg.flushPending = true;
    // Runs from the event loop. Only the outermost loop, with no DoEvents, modal window or message box
    // in progress, can be sure that no handler of an unloaded form is still on the stack.
    QTimer::singleShot(0, QCoreApplication::instance(), [] {
        registry().flushPending = false;
        if (nestingDepth() != 0)
            return; // asked again when the nesting ends
        if (QThread::currentThread()->loopLevel() > 1) {
            QTimer::singleShot(50, QCoreApplication::instance(), [] { scheduleGraveyardFlush(); });
            return;
        }
        flushGraveyard();
    });
}

void throwFormNotLoadable(const QString& name)
{
    throw rt::RuntimeError(91, QStringLiteral("Window \"%1\" could not be loaded").arg(name),
                           QStringLiteral("Forms"));
}

void throwFormOfOtherClass(const QString& name)
{
    throw rt::RuntimeError(
        rt::errTypeMismatch,
        QStringLiteral("Type mismatch: window \"%1\" is not of the class asked for").arg(name),
        QStringLiteral("Forms"));
}

} // namespace detail

void Forms::registerFactory(const QString& name, Factory factory)
{
    detail::registry().factories[name] = std::move(factory);
}

bool Forms::hasFactory(const QString& name)
{
    return detail::registry().factories.count(name) != 0;
}

std::vector<Form*> Forms::loaded()
{
    return detail::registry().loaded;
}

Form* Forms::find(const QString& name)
{
    for (Form* form : detail::registry().loaded)
        if (form->Name() == name)
            return form;
    return nullptr;
}

bool Forms::isLoaded(const QString& name)
{
    return find(name) != nullptr;
}

Form* Forms::load(const QString& name)
{
    if (Form* form = find(name))
        return form;
    auto& reg = detail::registry();
    const auto factory = reg.factories.find(name);
    if (factory == reg.factories.end())
        return nullptr;
    std::unique_ptr<Form> made = factory->second();
    if (!made)
        return nullptr;
    Form* form = made.get();
    reg.owned.push_back(std::move(made));
    form->Load();
    return form;
}

bool Forms::callIfLoaded(const QString& formName, const QString& proc)
{
    Form* form = find(formName);
    if (!form || !form->hasProc(proc))
        return false;
    return form->callProc(proc);
}

void Forms::callOnAll(const QString& proc)
{
    // A procedure may load or unload forms: walk a copy and skip what went away meanwhile.
    const std::vector<Form*> snapshot = detail::registry().loaded;
    for (Form* form : snapshot) {
        const auto& now = detail::registry().loaded;
        if (std::find(now.begin(), now.end(), form) == now.end())
            continue;
        if (form->hasProc(proc))
            form->callProc(proc);
    }
}

bool Forms::showByName(const QString& name)
{
    if (!find(name) && !hasFactory(name))
        return false;
    Form* form = load(name);
    if (!form || !form->IsLoaded())
        return false;
    form->Show();
    form->setWindowState(vbNormal);
    form->ZOrder(0);
    return true;
}

Form* Forms::activeForm()
{
    Form* active = detail::registry().active;
    return active && active->IsLoaded() ? active : nullptr;
}

uint64_t Forms::userActivations()
{
    return detail::registry().userActivations;
}

Form* Forms::fromHwnd(uint32_t hwnd)
{
    for (Form* form : detail::registry().loaded)
        if (form->hWnd() == hwnd)
            return form;
    return nullptr;
}

void Forms::unloadAll()
{
    // Newest first, so children and owned windows go before their frame and owner; a cancelled unload
    // is overridden.
    for (;;) {
        const auto& loaded = detail::registry().loaded;
        if (loaded.empty())
            break;
        Form* form = loaded.back();
        form->Unload(vbFormCode);
        if (form->IsLoaded())
            form->tearDown();
    }
    if (detail::nestingDepth() == 0)
        detail::flushGraveyard();
}

void Forms::discardAll()
{
    for (;;) {
        const auto& loaded = detail::registry().loaded;
        if (loaded.empty())
            break;
        loaded.back()->tearDown();
    }
    if (detail::nestingDepth() == 0)
        detail::flushGraveyard();
}

void Forms::destroyUnloaded()
{
    if (detail::nestingDepth() == 0)
        detail::flushGraveyard();
}

} // namespace ui

namespace ui {

void Forms::setWatcher(const void* owner, Watcher watcher)
{
    detail::registry().watcher = std::move(watcher);
    detail::registry().watcherOwner = owner;
}

void Forms::clearWatcher(const void* owner)
{
    if (detail::registry().watcherOwner != owner)
        return;
    detail::registry().watcher = {};
    detail::registry().watcherOwner = nullptr;
}

void Forms::notify(Form& form, Lifecycle event, int unloadMode)
{
    // A copy: the watcher may replace itself (the main window unloading).
    const Watcher watcher = detail::registry().watcher;
    if (watcher)
        watcher(form, event, unloadMode);
}

} // namespace ui
