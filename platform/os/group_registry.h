#pragma once

#include "platform/os/group_guardian.h"
#include "platform/os/process_table.h"

#include <memory>
#include <sys/types.h>
#include <vector>

namespace os {

// The process groups of our child programs, each held while a program of it may still run: a child that
// ended may have left programs of its own behind. While a group is held its number is ours: its guardian
// (or, unguarded, a program of the group) holds it, so signalling it reaches no other program's group.
// Process-wide (ourGroups()); single-threaded, as the child programs are.
class GroupRegistry {
public:
    // Holds a child's group, with its guardian; none when the child leads the group itself.
    void hold(pid_t group, std::unique_ptr<GroupGuardian> guardian);
    bool holds(pid_t group) const;
    bool empty() const { return groups_.empty(); }
    // The groups held, and the process ids of their guardians.
    std::vector<pid_t> groups() const;
    std::vector<pid_t> guardians() const;

    // True while a program of the group runs (a held group: its guardian does not count, nor does a program
    // that has ended and waits to be collected). Without a process table, the group as a whole.
    bool runs(pid_t group, const std::vector<ProcessInfo>& table) const;
    // Sends a signal to every program of a held group; a group let go of is never signalled, as its number
    // may be another's by now.
    void signal(pid_t group, int signalNumber) const;
    // Lets go of every group in which nothing runs any more: its guardian ends, and its number may pass to
    // other programs.
    void letGoOfIdle(const std::vector<ProcessInfo>& table);

private:
    struct Group {
        pid_t id = 0;
        std::unique_ptr<GroupGuardian> guardian;
    };
    std::vector<Group> groups_;
};

// The registry of this process's groups.
GroupRegistry& ourGroups();

} // namespace os
