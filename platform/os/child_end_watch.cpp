#include "platform/os/child_end_watch.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace os {

namespace {

int g_endPipe[2] = {-1, -1};
struct sigaction g_previous = {};

void onChildSignal(int signal, siginfo_t* info, void* context)
{
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already says that a child has ended: the byte may be dropped.
    [[maybe_unused]] const ssize_t written = ::write(g_endPipe[1], &byte, 1);
    if ((g_previous.sa_flags & SA_SIGINFO) != 0) {
        if (g_previous.sa_sigaction)
            g_previous.sa_sigaction(signal, info, context);
    } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(signal);
    }
    errno = savedErrno;
}

} // namespace

void watchChildEnds(std::function<void()> ended)
{
    if (g_endPipe[0] >= 0 || !QCoreApplication::instance())
        return;
    if (::pipe2(g_endPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_endPipe[0] = g_endPipe[1] = -1;
        return;
    }
    auto* notifier = new QSocketNotifier(g_endPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [ended = std::move(ended)] {
        char bytes[64];
        while (::read(g_endPipe[0], bytes, sizeof bytes) > 0) {
        }
        ended();
    });
    struct sigaction action = {};
    action.sa_sigaction = onChildSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_SIGINFO | SA_RESTART | SA_NOCLDSTOP;
    ::sigaction(SIGCHLD, &action, &g_previous);
}

} // namespace os
