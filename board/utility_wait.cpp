#include "board/utility.h"

#include "board/window_services.h"

void Pause(double seconds, bool noYield)
{
    boardwin::WindowServices& windows = boardwin::windowServices();
    double start = windows.timer();
    double end = start + seconds;
    int turns = 0;
    double now = start;
    do {
        now = windows.timer();
        if (now < start) {
            // The clock passed midnight: measure the rest from the new day's clock.
            end -= start;
            start = now;
            turns = 0;
        } else if (turns >= 1000) {
            // Keep the midnight test's reference recent.
            start = now;
            turns = 0;
        }
        ++turns;
        windows.waitTurn(end - now, !noYield);
    } while (now < end);
}

void DoEventsN(int n)
{
    for (int i = 0; i < n; ++i)
        boardwin::windowServices().doEvents();
}
