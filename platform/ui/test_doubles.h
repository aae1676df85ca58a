#pragma once

namespace ui::testing {

// Installs every test double of the window layer: scripted message boxes and common dialogs, the modal
// form hook, the virtual clock (timers and waits take no real time), and the sound and shell-open
// recorders. Called once by the test programs' main before any test runs.
void installTestDoubles();

// Puts the doubles back in their initial state (empty scripts and records); called before each test.
void resetTestDoubles();

} // namespace ui::testing
