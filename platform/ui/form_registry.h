#pragma once

#include "platform/ui/forms.h"

#include <QString>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <vector>

// Internal to the window layer: the state behind Forms and the lifecycle of each Form.
namespace ui::detail {

struct FormRegistry {
    std::map<QString, Forms::Factory> factories;
    std::vector<Form*> all;                       // every Form object alive
    std::vector<Form*> loaded;                    // loaded forms in load order
    std::vector<std::unique_ptr<Form>> owned;     // made by factories, alive
    std::vector<std::unique_ptr<Form>> graveyard; // unloaded, waiting for the loop to be idle
    std::set<const Form*> retired;                // unloaded factory forms: never loaded again
    Form* active = nullptr;
    // Forms whose window the program asked the window system to activate, while that activation is
    // still to come (a window is activated only once it is on the screen).
    std::set<const Form*> awaitingActivation;
    // Above zero while the program itself changes the active form (see ProgramActivation).
    int programActivationDepth = 0;
    // Activations that the program did not make, counted even when the active form stays the same.
    uint64_t userActivations = 0;
    bool flushPending = false;
    Forms::Watcher watcher;
    const void* watcherOwner = nullptr;
};

// Lives to the end of the process (never destroyed, so no form outlives it at exit).
FormRegistry& registry();

void addLoaded(Form* form);
// Removes the form from the loaded list; a form made by a factory is retired to the graveyard.
void removeLoaded(Form* form);
bool isRetired(const Form* form);
// Makes `form` the active one, firing Deactivate on the previous and Activate on it (nullptr: none).
// A call outside every ProgramActivation counts as the user's activation, even when `form` already is
// the active one (the user came back to it).
void setActiveForm(Form* form);

// While alive (and `byProgram`), changes of the active form are the program's own doing: showing,
// focusing or hiding a form, or the window system's answer to an activation the program asked for.
class ProgramActivation {
public:
    explicit ProgramActivation(bool byProgram = true);
    ~ProgramActivation();
    ProgramActivation(const ProgramActivation&) = delete;
    ProgramActivation& operator=(const ProgramActivation&) = delete;

private:
    bool byProgram_;
};
// Destroys the retired forms now; the caller makes sure no handler of theirs is running.
void flushGraveyard();

} // namespace ui::detail
