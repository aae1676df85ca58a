#include "app/termination_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The signal handler only writes a byte; the event loop reads it and ends the program there.
int g_signalPipe[2] = {-1, -1};
// Set by a request the event loop has not acted on yet.
volatile std::sig_atomic_t g_requestPending = 0;

void onSignal(int signal)
{
    // The event loop may not run for a long time (start-up, a long wait): a second request before it
    // acted on the first ends the program at once, as the signal itself does, and with it every program
    // of ours (their guardians end them).
    if (g_requestPending) {
        ::signal(signal, SIG_DFL);
        sigset_t this_signal;
        sigemptyset(&this_signal);
        sigaddset(&this_signal, signal);
        ::sigprocmask(SIG_UNBLOCK, &this_signal, nullptr);
        ::raise(signal);
        ::_exit(128 + signal);
    }
    g_requestPending = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[0], &byte, 1);
}

} // namespace

void endProgramOnTerminationSignals(std::function<void()> end)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto* notifier =
        new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [end = std::move(end)] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(g_signalPipe[1], &byte, 1);
        g_requestPending = 0;
        end();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}
