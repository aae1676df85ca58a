#include "modulation/console_output.h"

#include <algorithm>
#include <limits>

namespace mvg {

namespace {

const QString kErrorText = QStringLiteral("ERROR");
const QString kWarningText = QStringLiteral("WARNING");

qint64 occurrences(const QString& text, const QString& word)
{
    qint64 count = 0;
    for (qsizetype at = text.indexOf(word); at >= 0; at = text.indexOf(word, at + 1))
        ++count;
    return count;
}

int16_t capped(qint64 count)
{
    return static_cast<int16_t>(std::min<qint64>(count, std::numeric_limits<int16_t>::max()));
}

} // namespace

void countConsoleProblems(const QString& consoleText, int16_t& errors, int16_t& warnings)
{
    const QString text = consoleText.toUpper();
    if (const qint64 found = occurrences(text, kErrorText); found > 0)
        errors = capped(found);
    if (const qint64 found = occurrences(text, kWarningText); found > 0)
        warnings = capped(found);
}

std::vector<ConsoleWatch::Text> consoleWatchTexts(const QStringList& texts)
{
    std::vector<ConsoleWatch::Text> watched{{kErrorText, Qt::CaseInsensitive},
                                            {kWarningText, Qt::CaseInsensitive}};
    for (const QString& text : texts)
        watched.push_back({text, Qt::CaseSensitive});
    return watched;
}

ProgramOutput programOutput(qsizetype begin, qsizetype end, const ConsoleWatch& watch)
{
    return {true, begin, std::max(begin, end), watch.count(kErrorWord), watch.count(kWarningWord)};
}

void countConsoleProblems(const QString& consoleText, const ProgramOutput& output, int16_t& errors,
                          int16_t& warnings)
{
    if (!output.valid || output.end > consoleText.size()) {
        countConsoleProblems(consoleText, errors, warnings);
        return;
    }
    // The first text and what the window appended after the run, apart, so no word is made of both.
    const QString rest =
        (consoleText.left(output.begin) + QLatin1Char('\n') + consoleText.mid(output.end)).toUpper();
    const qint64 errorCount = occurrences(rest, kErrorText) + output.errors;
    const qint64 warningCount = occurrences(rest, kWarningText) + output.warnings;
    if (errorCount > 0)
        errors = capped(errorCount);
    if (warningCount > 0)
        warnings = capped(warningCount);
}

} // namespace mvg
