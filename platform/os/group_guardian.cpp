#include "platform/os/group_guardian.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
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
std::string& shell()
{
    static std::string path = "/bin/sh";
    return path;
}

bool& failureSaid()
{
    static bool said = false;
    return said;
}

const char* const kGuardianScript = "trap '' HUP INT QUIT TERM PIPE USR1 USR2 ALRM TSTP TTIN TTOU\n"
                                    "while read -r line; do :; done\n"
                                    "kill -KILL 0\n";

// Says once why no guardian could be started: the child programs run all the same, but what they start is
// no longer sure to end with this program should it be killed.
std::nullptr_t unguarded(const char* what, int error)
{
    if (!failureSaid()) {
        failureSaid() = true;
        std::fprintf(stderr,
                     "Child programs run unguarded: %s: %s. Should this program be killed, what they started "
                     "goes on running.\n",
                     what, std::strerror(error));
    }
    return nullptr;
}

} // namespace

void GroupGuardian::setShell(std::string path)
{
    shell() = std::move(path);
    failureSaid() = false;
}

std::unique_ptr<GroupGuardian> GroupGuardian::start()
{
    int ends[2] = {-1, -1};
    // Close-on-exec: a child program never holds the writing end, or the pipe would outlive the program.
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return unguarded("no pipe for a guardian", errno);
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
    const std::string program = shell();
    char* const arguments[] = {const_cast<char*>(program.c_str()), const_cast<char*>("-c"),
                               const_cast<char*>(kGuardianScript), nullptr};
    pid_t pid = 0;
    const int failed = ::posix_spawn(&pid, program.c_str(), &files, &attributes, arguments, environ);
    ::posix_spawn_file_actions_destroy(&files);
    ::posix_spawnattr_destroy(&attributes);
    ::close(ends[0]);
    if (failed != 0) {
        ::close(ends[1]);
        return unguarded(program.c_str(), failed);
    }
    auto guardian = std::unique_ptr<GroupGuardian>(new GroupGuardian(pid, ends[1]));
    // A guardian that leads no group of its own is ended and collected as it goes.
    const pid_t group = ::getpgid(pid);
    if (group != pid)
        return unguarded("the guardian's own process group", group < 0 ? errno : EPERM);
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
