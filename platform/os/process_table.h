#pragma once

#include <sys/types.h>
#include <vector>

namespace os {

// One process as the system's process table shows it.
struct ProcessInfo {
    pid_t pid = 0;
    pid_t parent = 0;
    pid_t group = 0;
    bool ended = false; // a zombie: it has ended and waits to be collected by its parent
};

// Every process of the system at one moment (read from /proc); empty where /proc cannot be read.
std::vector<ProcessInfo> readProcessTable();

// The processes of which this process holds a process descriptor (a pidfd), read from /proc/self.
std::vector<pid_t> processesWithDescriptorsHere();

} // namespace os
