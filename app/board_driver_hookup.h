#pragma once

// What the real-board driver is told of the program around it: when the program waits for its user and when
// the events one of its actions lets run begin and end (the driver gives its claims on the boards back
// then, so that other running copies may have them), and when the program ends.

namespace usbhost {
class LibusbDriver;
}

// From now on the driver hears of the program's waits; nullptr: no driver does any more.
void tellOfTheProgramsWaits(usbhost::LibusbDriver* driver);
// The program's end (EndProgram, through the end-of-process handlers) resets the boards the driver still
// holds out of step before the process lets go of them.
void resetHeldBoardsAtTheEnd(usbhost::LibusbDriver& driver);
