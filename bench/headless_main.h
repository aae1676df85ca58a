#pragma once

// The main of a benchmark whose code needs a (headless) Qt application: offscreen unless the environment
// names another platform, with the board module's waits and window calls on the application's windows as
// in the program.

#include "boardui/board_window_services.h"

#include <QApplication>
#include <QByteArray>

#include <benchmark/benchmark.h>

namespace bench {

inline int runHeadless(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallBoardWindowServices();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
