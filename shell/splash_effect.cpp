#include "shell/splash_effect.h"

namespace {

constexpr int kStep = 20;

// Steps of "For counter = 0 To limit Step 20", where the limit is half the size less 20.
int stepsFor(int size)
{
    const double limit = size / 2.0 - kStep;
    if (limit < 0)
        return 0;
    return static_cast<int>(limit / kStep) + 1;
}

} // namespace

std::vector<QPolygon> splashClosingSteps(int width, int height)
{
    std::vector<QPolygon> steps;
    int top = 0;
    int bottom = height;
    int left = 0;
    int right = width;
    auto shape = [&] {
        return QPolygon({QPoint(left, top), QPoint(right, top), QPoint(right, bottom), QPoint(left, bottom)});
    };
    for (int k = stepsFor(height); k > 0; --k) {
        top += kStep;
        bottom -= kStep;
        steps.push_back(shape());
    }
    for (int k = stepsFor(width); k > 0; --k) {
        left += kStep;
        right -= kStep;
        steps.push_back(shape());
    }
    return steps;
}
