#pragma once

#include "widgets/progress_bar.h"

#include <memory>

// The status-bar progress bar of the main window, goProgressBar. It exists from its first use on (without
// a host it only keeps its state); the main window gives it its picture box with setDrawObject.
//
// The board module drives it through InitProgressBar, SetProgressBarValue and ResetProgressBar
// (board/progress.h), which reach the bar once InstallProgressBarSink has run; goProgressBar() installs it
// too, so any use of the bar connects them.
cProgressBar& goProgressBar();
// Puts `next` in place of the global bar (nullptr: a fresh one on next use) and returns the previous one.
// The main window makes its bar new when it loads.
std::unique_ptr<cProgressBar> ReplaceProgressBar(std::unique_ptr<cProgressBar> next);

// Makes the board module's progress calls reach goProgressBar():
//   InitProgressBar(min, max, text): Min, Max, Text, then Value = min;
//   SetProgressBarValue(value): Value;
//   ResetProgressBar(): Text empty, BackColor the button face (after a red error bar), Value = Min.
void InstallProgressBarSink();
