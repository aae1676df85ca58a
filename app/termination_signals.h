#pragma once

// A request to end the program from outside (SIGTERM, SIGINT, SIGHUP) is handled as File > Exit: the
// program ends through EndProgram on the event loop, giving the board back to other running copies and
// closing "startup.log" on the way, and ending every program of ours that still runs. `end` is what runs
// (EndProgram; a test passes its own). While the event loop does not run (start-up, a long wait), a second
// request before the first was acted on ends the program at once, by that signal.
#include <functional>

void endProgramOnTerminationSignals(std::function<void()> end);
