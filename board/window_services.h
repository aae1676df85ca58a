#pragma once

// What the board module needs of the windows: the event pump and the process clock its waits run on,
// windows reached by name (is one loaded, run a procedure of one or of all, a text box's text) and the
// screen-wide mouse pointer. The windows live in a layer above this one, so the board module talks to
// whatever services that layer installs here. With none installed the board module still works on its
// own: the clock is the time of day, a wait sleeps, no window is loaded, and the rest does nothing.

#include <QString>

#include <optional>

namespace boardwin {

class WindowServices {
public:
    virtual ~WindowServices() = default;

    // Lets the window system process its queue once (timers and other windows run; they may re-enter).
    virtual void doEvents() {}
    // Seconds since midnight on the process clock (the tests' virtual clock where they install one).
    virtual double timer();
    // One turn of a wait with `secondsLeft` to go. With `yield` the queued events run, and when there are
    // none the turn rests until one arrives or the time is up; without, nothing runs and the thread rests.
    // A turn never rests past the time left, and rests briefly enough that the caller notices the clock
    // passing midnight or being set back.
    virtual void waitTurn(double secondsLeft, bool yield);

    // True when a loaded window has exactly this name; loads nothing.
    virtual bool isLoaded(const QString& /*form*/) { return false; }
    // Runs `procedure` of the named window when it is loaded and has it.
    virtual void callIfLoaded(const QString& /*form*/, const QString& /*procedure*/) {}
    // Runs `procedure` of every loaded window that has it, in load order.
    virtual void callOnAll(const QString& /*procedure*/) {}
    // The text of the window's text box, the window loaded first when it is not; nothing when the program
    // has no such window or the window no such box.
    virtual std::optional<QString> textBoxText(const QString& /*form*/, const QString& /*box*/)
    {
        return std::nullopt;
    }
    // Sets that text (its change handlers run); false when there is no such window or box.
    virtual bool setTextBoxText(const QString& /*form*/, const QString& /*box*/, const QString& /*text*/)
    {
        return false;
    }

    // The screen-wide mouse pointer (0 default, 11 hourglass, 13 arrow and hourglass).
    virtual int screenMousePointer() { return 0; }
    virtual void setScreenMousePointer(int /*pointer*/) {}
};

// Installs the services the board module reaches (nullptr: none). Not owned: whoever installs them removes
// them before they go.
void setWindowServices(WindowServices* services);
// The installed services, or the stand-alone ones described above.
WindowServices& windowServices();
// True when services are installed.
bool windowServicesInstalled();

} // namespace boardwin
