#pragma once

// A request to end the program from outside (SIGTERM, SIGINT, SIGHUP) is handled as File > Exit: the
// program ends through EndProgram on the event loop, giving the board back to other running copies and
// closing "startup.log" on the way, and ending every program of ours that still runs. `end` is what runs
// (EndProgram; a test passes its own).
#include <functional>

void endProgramOnTerminationSignals(std::function<void()> end);
