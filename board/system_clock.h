#pragma once

// The system clock as a value: what the Control window's clock plan computes (MHz) and the external
// (reference) clock it starts from. The Control window feeds both after each change while it is loaded and
// they are forgotten when it goes; a setup file sets the external clock through here, and ExternalClockSet
// (bound by boardui/board_event_table.cpp) has the Control window (loaded first) take it into its box so that
// its change handlers run. Reading the clock loads no window: in a program with a Control window
// (setPlanned), before any Control window has shown a clock, it is the one the window's plan gives for the
// pending register map and the external clock (the revision 3 layout unless the board object has revision 1
// or 2), as the window would show it on loading; a program without one has no clock ("").

#include "board/board_event.h"

#include <QString>
#include <optional>

// The one rule for a clock conversions can use: a finite number above 0.
std::optional<double> usableSystemClock(std::optional<double> megahertz);
// A clock text (MHz) in the user's locale as a number, nothing when it is not one.
std::optional<double> clockTextNumber(const QString& text);

class SystemClock {
public:
    // The clock as the Control window shows it ("0.00000" in the user's locale); "" when there is none
    // (no board object, or a plan that gives none).
    QString text() const;
    // The text as a number.
    std::optional<double> megahertz() const { return clockTextNumber(text()); }
    // The clock when conversions can use it.
    std::optional<double> usable() const { return usableSystemClock(megahertz()); }

    // The external clock text (MHz), "1000.00000" (in the user's locale) until something sets it.
    QString externalClockText() const;
    // Sets it and raises ExternalClockSet (a setup file's clock).
    void setExternalClockText(const QString& text);
    BoardEvent<> ExternalClockSet;

    // The Control window's feeds: the texts its boxes show now (no event is raised). `window` tells the
    // feeding window apart from one that is going away meanwhile.
    void showClock(const void* window, const QString& text);
    void showExternalClock(const void* window, const QString& text);
    // The window that fed the clock went: both values back to what a fresh program has. A window that is
    // not the last one to feed changes nothing.
    void forget(const void* window);
    // Everything back to what a fresh program has.
    void reset();
    // True when the program has a Control window whose plan stands in while none is loaded.
    void setPlanned(bool planned) { planned_ = planned; }

private:
    // The clock of the default plan: the Control window's controls as its refresh sets them.
    QString plannedText() const;

    std::optional<QString> shown_;
    std::optional<QString> external_;
    const void* shownBy_ = nullptr;
    bool planned_ = false;
};

// The program's one system clock.
SystemClock& systemClock();

// The clock's text (systemClock().text()).
QString SysClockText();
