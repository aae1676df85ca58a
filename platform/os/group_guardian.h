#pragma once

#include <memory>
#include <string>
#include <sys/types.h>

namespace os {

// The guardian of one process group for a child program: a small process of ours that leads the group and
// does nothing but wait on a pipe from this program. The child program joins the guardian's group, and what
// it starts stays in it. When the pipe reaches its end, because this program released the guardian or
// ended in whatever way (SIGKILL included: the system closes the pipe then), the guardian kills its whole
// group, itself with it, so nothing the child started and that stayed in the group outlives the program.
// While the guardian lives the group's number cannot pass to another program, so the group signalled is
// always ours.
//
// The guardian takes no request to end (SIGTERM, SIGINT, SIGHUP and their like): one sent to the group
// reaches the programs and leaves the guardian waiting for the pipe; SIGKILL ends it with the group.
class GroupGuardian {
public:
    // Starts a guardian; nothing when no pipe or process can be made. The first time that happens it is
    // said on the standard error, with the reason: the child programs then run unguarded.
    static std::unique_ptr<GroupGuardian> start();
    // The shell a guardian runs in: "/bin/sh" unless a test names another (a missing one, to see what a
    // system without a shell does). The next failure to start a guardian is said again.
    static void setShell(std::string path);
    // Ends the group: every program still in it, then the guardian, which is collected.
    ~GroupGuardian();
    GroupGuardian(const GroupGuardian&) = delete;
    GroupGuardian& operator=(const GroupGuardian&) = delete;

    // The group the guardian leads: its process id.
    pid_t group() const { return pid_; }

private:
    GroupGuardian(pid_t pid, int pipe) : pid_(pid), pipe_(pipe) {}

    pid_t pid_;
    int pipe_; // the writing end; the guardian holds the reading one
};

} // namespace os
