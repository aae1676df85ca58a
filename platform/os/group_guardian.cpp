#include "platform/os/group_guardian.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace os {

namespace {

// The guardian: the system's shell, which takes no signal that asks a program to end, waits for the end of
// its standard input (the pipe from the program) and then kills its whole group, itself with it. Started
// by spawning, not by copying this program, which may be large and has threads.
const char* const kShell = "/bin/sh";
const char* const kGuardianScript = "trap '' HUP INT QUIT TERM PIPE USR1 USR2 ALRM TSTP TTIN TTOU\n"
                                    "while read -r line; do :; done\n"
                                    "kill -KILL 0\n";

} // namespace

std::unique_ptr<GroupGuardian> GroupGuardian::start()
{
    int ends[2] = {-1, -1};
    // Close-on-exec: a child program never holds the writing end, or the pipe would outlive the program.
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return nullptr;
    posix_spawn_file_actions_t files;
    posix_spawnattr_t attributes;
    ::posix_spawn_file_actions_init(&files);
    ::posix_spawnattr_init(&attributes);
    // Nothing of the program stays open in the guardian but the pipe: another guardian's pipe held open
    // would never reach its end, and a pipe a test or a shell reads would not end with the program.
    ::posix_spawn_file_actions_adddup2(&files, ends[0], 0);
    ::posix_spawn_file_actions_addclosefrom_np(&files, 1);
    // A group of its own, led by the guardian, with the program's signal handling gone. The requests to end
    // stay blocked until its shell ignores them, so one sent to the group at once does not end it first.
    sigset_t requests;
    sigset_t all;
    sigemptyset(&requests);
    for (const int signal :
         {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE, SIGUSR1, SIGUSR2, SIGALRM, SIGTSTP, SIGTTIN, SIGTTOU})
        sigaddset(&requests, signal);
    sigfillset(&all);
    ::posix_spawnattr_setpgroup(&attributes, 0);
    ::posix_spawnattr_setsigmask(&attributes, &requests);
    ::posix_spawnattr_setsigdefault(&attributes, &all);
    ::posix_spawnattr_setflags(&attributes,
                               POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    char* const arguments[] = {const_cast<char*>(kShell), const_cast<char*>("-c"),
                               const_cast<char*>(kGuardianScript), nullptr};
    pid_t pid = 0;
    const int failed = ::posix_spawn(&pid, kShell, &files, &attributes, arguments, environ);
    ::posix_spawn_file_actions_destroy(&files);
    ::posix_spawnattr_destroy(&attributes);
    ::close(ends[0]);
    if (failed != 0) {
        ::close(ends[1]);
        return nullptr;
    }
    auto guardian = std::unique_ptr<GroupGuardian>(new GroupGuardian(pid, ends[1]));
    if (::getpgid(pid) != pid)
        return nullptr; // the guardian is ended and collected as it goes
    return guardian;
}

GroupGuardian::~GroupGuardian()
{
    ::kill(-pid_, SIGKILL);
    ::close(pipe_);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace os
