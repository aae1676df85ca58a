#include "platform/os/group_guardian.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace os {

namespace {

// Signals that only a fault of the guardian itself raises keep their default action; it takes no other.
bool faultSignal(int signal)
{
    return signal == SIGSEGV || signal == SIGBUS || signal == SIGFPE || signal == SIGILL ||
           signal == SIGTRAP || signal == SIGSYS || signal == SIGABRT;
}

// The guardian's whole life, in a copy of this program made by fork: only calls that are safe there (the
// other threads are gone, with whatever locks they held).
[[noreturn]] void guard(int reading)
{
    for (int signal = 1; signal < NSIG; ++signal) {
        struct sigaction action = {};
        action.sa_handler = faultSignal(signal) ? SIG_DFL : SIG_IGN;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr); // fails for SIGKILL, SIGSTOP and the library's own
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    // Nothing of the program stays open here: another guardian's pipe held open would never reach its
    // end, and a pipe a test or a shell reads would not end with the program.
    if (reading != 0 && ::dup2(reading, 0) != 0)
        ::_exit(1);
    if (::close_range(1, ~0U, 0) != 0) {
        struct rlimit limit = {};
        const rlim_t last = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
                                ? limit.rlim_cur
                                : 65536;
        for (rlim_t fd = 1; fd < last; ++fd)
            ::close(static_cast<int>(fd));
    }
    char byte = 0;
    for (;;) {
        const ssize_t got = ::read(0, &byte, 1);
        if (got == 0 || (got < 0 && errno != EINTR))
            break;
    }
    // The program has let the group go or has ended: its whole group goes, the guardian with it.
    ::kill(0, SIGKILL);
    ::_exit(0);
}

} // namespace

std::unique_ptr<GroupGuardian> GroupGuardian::start()
{
    int ends[2] = {-1, -1};
    // Close-on-exec: a child program never holds the writing end, or the pipe would outlive the program.
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return nullptr;
    // No signal handler of the program may run in the guardian before it has set its own.
    sigset_t all;
    sigset_t before;
    sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &before);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setpgid(0, 0);
        guard(ends[0]);
    }
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    ::close(ends[0]);
    if (pid < 0) {
        ::close(ends[1]);
        return nullptr;
    }
    // Made here too, so that the group exists before a child program is started into it, however far the
    // guardian has got.
    ::setpgid(pid, pid);
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
