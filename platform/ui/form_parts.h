#pragma once

class QMainWindow;

// Internal to the window layer: what a form asks of its timer and menu controls.
namespace ui {
class Form;
namespace detail {

// Starts or stops the form's timers after it loaded or unloaded.
void updateFormTimers(Form& form);
// Puts the form's top-level menus on the window's menu bar.
void attachMenus(Form& form, QMainWindow& window);

} // namespace detail
} // namespace ui
