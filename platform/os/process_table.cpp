#include "platform/os/process_table.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace os {

namespace {

// Reads "/proc/<pid>/stat": "pid (name) state ppid pgrp ...", where the name may hold blanks and
// parentheses. False when the process went meanwhile.
bool readStat(int procFolder, const char* pid, ProcessInfo& info)
{
    char path[64];
    std::snprintf(path, sizeof path, "%s/stat", pid);
    const int fd = ::openat(procFolder, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char line[1024];
    const ssize_t size = ::read(fd, line, sizeof line - 1);
    ::close(fd);
    if (size <= 0)
        return false;
    line[size] = '\0';
    const char* close = std::strrchr(line, ')');
    if (!close || close[1] != ' ' || close[2] == '\0')
        return false;
    const char state = close[2];
    char* rest = nullptr;
    info.pid = static_cast<pid_t>(std::strtol(pid, nullptr, 10));
    info.parent = static_cast<pid_t>(std::strtol(close + 3, &rest, 10));
    info.group = static_cast<pid_t>(std::strtol(rest, nullptr, 10));
    info.ended = state == 'Z' || state == 'X';
    return true;
}

} // namespace

std::vector<ProcessInfo> readProcessTable()
{
    std::vector<ProcessInfo> table;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return table;
    const int procFolder = ::dirfd(proc);
    while (const dirent* entry = ::readdir(proc)) {
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9')
            continue;
        ProcessInfo info;
        if (readStat(procFolder, entry->d_name, info))
            table.push_back(info);
    }
    ::closedir(proc);
    return table;
}

std::vector<pid_t> processesWithDescriptorsHere()
{
    std::vector<pid_t> pids;
    DIR* fdinfo = ::opendir("/proc/self/fdinfo");
    if (!fdinfo)
        return pids;
    const int folder = ::dirfd(fdinfo);
    while (const dirent* entry = ::readdir(fdinfo)) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9')
            continue;
        const int fd = ::openat(folder, entry->d_name, O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        char text[1024];
        const ssize_t size = ::read(fd, text, sizeof text - 1);
        ::close(fd);
        if (size <= 0)
            continue;
        text[size] = '\0';
        // Only a process descriptor's information has a "Pid:" line.
        const char* line = std::strstr(text, "\nPid:");
        if (!line)
            continue;
        const long pid = std::strtol(line + 5, nullptr, 10);
        if (pid > 0)
            pids.push_back(static_cast<pid_t>(pid));
    }
    ::closedir(fdinfo);
    return pids;
}

} // namespace os
