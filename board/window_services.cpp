#include "board/window_services.h"

#include <QTime>

#include <algorithm>
#include <chrono>
#include <thread>

namespace boardwin {
namespace {

// The longest rest of one turn: the clock is read again after it, so a wait across midnight or a clock
// set back is noticed.
constexpr double kLongestRestSeconds = 0.05;

WindowServices* gServices = nullptr;

} // namespace

double WindowServices::timer()
{
    return static_cast<double>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0;
}

void WindowServices::waitTurn(double secondsLeft, bool /*yield*/)
{
    // Without a window system there is nothing to yield to: the turn rests either way.
    const double rest = std::clamp(secondsLeft, 0.0, kLongestRestSeconds);
    std::this_thread::sleep_for(std::chrono::microseconds(static_cast<int64_t>(rest * 1e6) + 1));
}

void setWindowServices(WindowServices* services)
{
    gServices = services;
}

WindowServices& windowServices()
{
    static WindowServices standAlone;
    return gServices != nullptr ? *gServices : standAlone;
}

bool windowServicesInstalled()
{
    return gServices != nullptr;
}

} // namespace boardwin
