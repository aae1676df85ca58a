#pragma once

// A request to end the program from outside (SIGTERM, SIGINT, SIGHUP) is handled as File > Exit: the
// program ends through EndProgram on the event loop, giving the board back to other running copies and
// closing "startup.log" on the way.
void endProgramOnTerminationSignals();
