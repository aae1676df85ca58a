#include "platform/os/group_registry.h"

#include <algorithm>
#include <csignal>

namespace os {

void GroupRegistry::hold(pid_t group, std::unique_ptr<GroupGuardian> guardian)
{
    groups_.push_back(Group{group, std::move(guardian)});
}

bool GroupRegistry::holds(pid_t group) const
{
    return std::any_of(groups_.begin(), groups_.end(),
                       [group](const Group& entry) { return entry.id == group; });
}

std::vector<pid_t> GroupRegistry::groups() const
{
    std::vector<pid_t> ids;
    for (const Group& group : groups_)
        ids.push_back(group.id);
    return ids;
}

std::vector<pid_t> GroupRegistry::guardians() const
{
    std::vector<pid_t> pids;
    for (const Group& group : groups_) {
        if (group.guardian)
            pids.push_back(group.guardian->group());
    }
    return pids;
}

bool GroupRegistry::runs(pid_t group, const std::vector<ProcessInfo>& table) const
{
    if (group <= 0)
        return false;
    if (table.empty())
        return ::kill(-group, 0) == 0; // no process table to read: the group as a whole
    const bool skipLeader = std::any_of(groups_.begin(), groups_.end(), [group](const Group& entry) {
        return entry.id == group && entry.guardian;
    });
    return std::any_of(table.begin(), table.end(), [group, skipLeader](const ProcessInfo& process) {
        return process.group == group && !process.ended && !(skipLeader && process.pid == group);
    });
}

void GroupRegistry::signal(pid_t group, int signalNumber) const
{
    if (group > 0 && holds(group))
        ::kill(-group, signalNumber);
}

void GroupRegistry::letGoOfIdle(const std::vector<ProcessInfo>& table)
{
    groups_.erase(std::remove_if(groups_.begin(), groups_.end(),
                                 [this, &table](const Group& group) { return !runs(group.id, table); }),
                  groups_.end());
}

GroupRegistry& ourGroups()
{
    static GroupRegistry registry;
    return registry;
}

} // namespace os
