#include "platform/os/orphan_adoption.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace os {

namespace {

bool& adopting()
{
    static bool flag = false;
    return flag;
}

void setSubreaper(bool on)
{
#ifdef __linux__
    ::prctl(PR_SET_CHILD_SUBREAPER, on ? 1 : 0, 0, 0, 0);
#else
    (void)on;
#endif
}

} // namespace

void adoptOrphans()
{
    if (adopting())
        return;
    adopting() = true;
    setSubreaper(true);
}

OrphansNotAdopted::OrphansNotAdopted() : adopting_(adopting())
{
    if (adopting_)
        setSubreaper(false);
}

OrphansNotAdopted::~OrphansNotAdopted()
{
    if (adopting_)
        setSubreaper(true);
}

std::vector<ProcessInfo> adoptedOrphans(const std::vector<ProcessInfo>& table,
                                        const std::vector<pid_t>& startedHere)
{
    std::vector<ProcessInfo> orphans;
    if (!adopting())
        return orphans;
    const pid_t self = ::getpid();
    const pid_t ownGroup = ::getpgrp();
    for (const ProcessInfo& process : table) {
        if (process.parent != self || process.pid <= 1 || process.group == ownGroup)
            continue;
        if (std::find(startedHere.begin(), startedHere.end(), process.pid) != startedHere.end())
            continue;
        orphans.push_back(process);
    }
    return orphans;
}

void collectEndedOrphans(const std::vector<ProcessInfo>& table, const std::vector<pid_t>& startedHere)
{
    if (!adopting())
        return;
    const pid_t self = ::getpid();
    const pid_t ownGroup = ::getpgrp();
    std::optional<std::vector<pid_t>> watched; // read only when a child of our own group has ended
    for (const ProcessInfo& process : table) {
        if (!process.ended || process.parent != self || process.pid <= 1)
            continue;
        if (std::find(startedHere.begin(), startedHere.end(), process.pid) != startedHere.end())
            continue;
        if (process.group == ownGroup) {
            if (!watched)
                watched = processesWithDescriptorsHere();
            if (std::find(watched->begin(), watched->end(), process.pid) != watched->end())
                continue;
        }
        // An ended child's number stays this program's until it is collected: no other process can have
        // taken it meanwhile.
        int status = 0;
        while (::waitpid(process.pid, &status, WNOHANG) < 0 && errno == EINTR) {
        }
    }
}

} // namespace os
