#include "modulation/console_output.h"

#include <limits>

namespace mvg {

namespace {

int16_t occurrences(const QString& text, const QString& word)
{
    int16_t count = 0;
    for (qsizetype at = text.indexOf(word); at >= 0; at = text.indexOf(word, at + 1)) {
        if (count < std::numeric_limits<int16_t>::max())
            ++count;
    }
    return count;
}

} // namespace

void countConsoleProblems(const QString& consoleText, int16_t& errors, int16_t& warnings)
{
    const QString text = consoleText.toUpper();
    if (const int16_t found = occurrences(text, QStringLiteral("ERROR")); found > 0)
        errors = found;
    if (const int16_t found = occurrences(text, QStringLiteral("WARNING")); found > 0)
        warnings = found;
}

} // namespace mvg
