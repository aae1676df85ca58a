#pragma once

class mdiMain;

// Start-up's placement of the main window: shown maximised, over a normal placement that covers the screen's
// available area, so that a bare display without a window manager (which honours no maximised state) shows
// it full size too. A window manager keeps that normal placement for when the user un-maximises the window,
// where its frame would reach beyond the screen with the title bar above the top edge; so whenever the window
// leaves the maximised state for the normal one, it takes the largest placement within the available area
// that holds its whole frame.
void placeMainWindow(mdiMain& main);
