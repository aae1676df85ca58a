#pragma once

// Reading what a generator or the simulator wrote to its console window.

#include "board/console_watch.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace mvg {

// Counts "ERROR" and "WARNING" in the console text, in any letter case (each search starts one character
// after the previous find). A count is written only when the word occurs, so the caller's start values
// stand otherwise; a count stops at the largest 16-bit number.
void countConsoleProblems(const QString& consoleText, int16_t& errors, int16_t& warnings);

// The texts a run's whole output is watched for: "ERROR" and "WARNING" in any letter case (kErrorWord,
// kWarningWord), then `texts` as written, from kFirstOwnText on.
constexpr size_t kErrorWord = 0;
constexpr size_t kWarningWord = 1;
constexpr size_t kFirstOwnText = 2;
std::vector<ConsoleWatch::Text> consoleWatchTexts(const QStringList& texts = {});

// Where the program's output stands in the console box, and what all of it held (the box shows only its
// first part).
struct ProgramOutput {
    bool valid = false;
    qsizetype begin = 0; // the box's characters [begin, end) are the program's output as mirrored
    qsizetype end = 0;
    qint64 errors = 0; // "ERROR" and "WARNING" in all of the output
    qint64 warnings = 0;
};
ProgramOutput programOutput(qsizetype begin, qsizetype end, const ConsoleWatch& watch);

// countConsoleProblems over the console box, with the program's part of it judged on all of its output.
void countConsoleProblems(const QString& consoleText, const ProgramOutput& output, int16_t& errors,
                          int16_t& warnings);

} // namespace mvg
