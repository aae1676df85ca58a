#pragma once

// Start-up's wait for a board that another running copy of the program holds through one of its actions
// (its pauses included: seconds, for a long one). The first request of this copy waited a claim wait of a
// second for it in vain; start-up then tries the claim a few times a second, letting the windows paint
// meanwhile, for about ten seconds in all, so that its steps on the board run once the other copy lets go of
// it instead of failing at once.

#include <QString>

namespace ui {
class TimerControl;
}

// Tries, after a pause, each time the claim of the board named `deviceName` while another copy holds it.
// The USB watch (`usbWatch`) does not tick during the wait: it attaches the board once start-up is done, as
// it always does. True when another copy held the board and this copy has it now; false when no other copy
// held it (nothing was waited for) and when it was still held when the wait ended.
bool waitForBoardAnotherCopyHolds(const QString& deviceName, ui::TimerControl& usbWatch);
