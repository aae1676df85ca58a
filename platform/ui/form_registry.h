#pragma once

#include "platform/ui/forms.h"

#include <QString>
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
    bool flushPending = false;
};

// Lives to the end of the process (never destroyed, so no form outlives it at exit).
FormRegistry& registry();

void addLoaded(Form* form);
// Removes the form from the loaded list; a form made by a factory is retired to the graveyard.
void removeLoaded(Form* form);
bool isRetired(const Form* form);
// Makes `form` the active one, firing Deactivate on the previous and Activate on it (nullptr: none).
void setActiveForm(Form* form);
// Destroys the retired forms now; the caller makes sure no handler of theirs is running.
void flushGraveyard();

} // namespace ui::detail
