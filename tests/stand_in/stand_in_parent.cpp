// Stands in for the program in tests of what its child programs leave behind when it is killed: starts the
// program named by its first argument (the others are that program's arguments) as a child of ours, hands
// on what the child writes to its own standard output, and runs until it is killed. It ends by itself only
// when its child has ended or the program that started it has gone.

#include "platform/os/child_process.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2) {
        std::fputs("usage: stand_in_parent program [arguments...]\n", stderr);
        return 2;
    }
    const pid_t starter = ::getppid();
    os::ChildProcess child;
    if (!child.start(arguments[1], arguments.mid(2))) {
        std::fprintf(stderr, "%s\n", qPrintable(child.errorText()));
        return 1;
    }
    while (child.isRunning() && ::getppid() == starter) {
        child.waitForActivity(100);
        const QByteArray output = child.takeNewOutput();
        if (!output.isEmpty()) {
            std::fwrite(output.constData(), 1, static_cast<size_t>(output.size()), stdout);
            std::fflush(stdout);
        }
    }
    return 0;
}
