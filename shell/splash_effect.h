#pragma once

// The shapes of the splash window's closing animation: the window's visible area as a four-cornered
// polygon that first closes from top and bottom toward the middle, then from left and right.

#include <QPolygon>
#include <vector>

// The polygons, in the order shown, for a window of that size in pixels. Phase 1 runs a counter from 0
// to half the height less 20 in steps of 20 and moves the top corners down and the bottom corners up by
// 20 at each step; phase 2 does the same over half the width with the left and right corners.
std::vector<QPolygon> splashClosingSteps(int width, int height);
