#pragma once

// The main window's use of the status-bar progress bar (goProgressBar).

#include <QString>
#include <cstdint>

namespace ui {
class PictureBox;
}

// A new global progress bar drawing into `surface`: Min 0, Max 80, Tag "5", text shown, button-face
// background, selection-highlight bar, Value 0. The board module's progress calls reach it from then on.
void installProgressBar(ui::PictureBox& surface);

// A RAM or FIFO transfer on the bar: its start (0 to max, the text, the normal background), the words
// moved so far, and its end (empty text and 0 after success; 0, a red background and the error text after
// a failure, which stays until the next transfer or ResetProgressBar).
void progressBarBegin(int32_t max, const QString& text);
void progressBarValue(int32_t value);
void progressBarEnd(bool success, const QString& errorText);
