#pragma once

// What the board module needs of the window system: the event pump and the process clock its waits run on,
// and the screen-wide mouse pointer. The windows live in a layer above this one, so the board module talks
// to whatever services that layer installs here; it names no window (what windows must learn from it, it
// raises as events: board_notices.h, system_clock.h and the board object's own). With none installed the
// board module still works on its own: the clock is the time of day, a wait sleeps, and the pointer does
// nothing.

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
