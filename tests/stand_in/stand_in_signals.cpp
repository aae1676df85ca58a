// Stands in for the program in tests of its termination signals: installs the program's handling of them
// with an end that exits with code 3, receives the signal given (its number, first argument) as often as
// the second argument says before its event loop runs, as a request during start-up does, then runs the
// event loop. Exit code 4 when nothing ended it within 10 s.

#include "app/termination_signals.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTimer>
#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("usage: stand_in_signals signal count\n", stderr);
        return 2;
    }
    endProgramOnTerminationSignals([] { QCoreApplication::exit(3); });
    const int signal = arguments[1].toInt();
    for (int received = 0; received < arguments[2].toInt(); ++received)
        ::raise(signal);
    QTimer::singleShot(10000, [] { QCoreApplication::exit(4); });
    return QCoreApplication::exec();
}
