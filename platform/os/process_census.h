#pragma once

#include "platform/os/process_table.h"

#include <sys/types.h>
#include <vector>

namespace os {

// The system's processes at one moment and, among them, the orphans our child programs left to this
// program (orphan_adoption.h).
struct ProcessCensus {
    std::vector<ProcessInfo> table;
    std::vector<ProcessInfo> orphans;
};

// Takes a census; `startedHere` names the processes this program started itself (its child programs and
// their guardians), which are never orphans. Every orphan that has ended is collected on the way, whatever
// its group, so that none stays in the process table.
ProcessCensus takeCensus(const std::vector<pid_t>& startedHere);

} // namespace os
