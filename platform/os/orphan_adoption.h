#pragma once

// Orphans of our child programs left to this program. A program that a child program starts may leave the
// child's process group on purpose (setsid(), a group of its own), where ending the group no longer
// reaches it. Once adoptOrphans() has run, such a program is handed to this one when its parent ends,
// instead of to the system's first process, so it can still be found and ended with the program. Programs
// this one starts to outlive it (viewers, a browser) start inside an OrphansNotAdopted scope, which keeps
// them and what they start out of it. Orphans only reach this program while it runs: after a SIGKILL
// they go to the system's first process, out of reach.

#include "platform/os/process_table.h"

#include <sys/types.h>
#include <vector>

namespace os {

// From now on, a process below this one whose parent ends becomes this program's child (on Linux, this
// program is then a child subreaper). Done once; later calls do nothing.
void adoptOrphans();

// While it lives, orphans go to the system's first process as if adoptOrphans() had never run: for a
// program started to outlive this one, through an intermediate process that ends at once. An orphan of
// our own children's programs that comes about in that moment goes there too, so the scope is kept to
// one such start.
class OrphansNotAdopted {
public:
    OrphansNotAdopted();
    ~OrphansNotAdopted();
    OrphansNotAdopted(const OrphansNotAdopted&) = delete;
    OrphansNotAdopted& operator=(const OrphansNotAdopted&) = delete;

private:
    bool adopting_;
};

// This program's children in `table` that it did not start itself (`startedHere` lists those it did) and
// that are not in its own process group: the orphans it adopted. Empty before adoptOrphans(): then every
// child is one that this program started. A plain child started elsewhere in the program stays in the
// program's own group and is never taken for an orphan.
std::vector<ProcessInfo> adoptedOrphans(const std::vector<ProcessInfo>& table,
                                        const std::vector<pid_t>& startedHere);

// Collects every child of this program in `table` that has ended and that it did not start itself
// (`startedHere`), whatever its group, so that none stays in the process table. In the program's own group a
// child may also be one that another part of the program started and waits for itself: one of which this
// process holds a process descriptor (as the process machinery does for each child it waits for) is left to
// it. Nothing before adoptOrphans().
void collectEndedOrphans(const std::vector<ProcessInfo>& table, const std::vector<pid_t>& startedHere);

} // namespace os
