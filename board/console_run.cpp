#include "board/console_run.h"

#include "platform/os/child_process.h"

ConsoleRun::ConsoleRun(std::vector<ConsoleWatch::Text> watched) : watch_(std::move(watched))
{
}

void ConsoleRun::stop(int milliseconds)
{
    stopped_ = true;
    if (child_)
        child_->terminate(milliseconds);
}
