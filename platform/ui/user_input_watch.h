#pragma once

#include <QObject>
#include <cstdint>

namespace ui {

// Counts what the user does in the program's windows: mouse buttons pressed and keys pressed. A window
// manager that activates a window on its own (at start-up, when a window is mapped) presses nothing, so a
// rule that must follow the user alone can ask whether anything was pressed since.
class UserInputWatch : public QObject {
public:
    // Watches the application's events from the first call on; the count of presses so far.
    static uint64_t presses();
    // Installed once, when the first window of the program is made.
    static void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

} // namespace ui
