#include "board/run_mode.h"

#include "board/board_notices.h"
#include "board/globals.h"

namespace {

// Access keyword of each run mode 1-5 (index 0 unused).
const char* const kModeKeywords[] = {nullptr, "QUILLFERN", "TORVASK", "MARBLEQUINTOSH", "NOLKRAV", "WESPIL"};
constexpr int kHighestMode = 5;

QString optionOf(int mode)
{
    return QLatin1Char('-') + QLatin1String(kModeKeywords[mode]);
}

} // namespace

void SetRunModeFromCommand()
{
    for (int mode = kHighestMode; mode >= 1; --mode) {
        if (gsCmdLine.contains(optionOf(mode), Qt::CaseSensitive)) {
            giRunMode = static_cast<int16_t>(mode);
            return;
        }
    }
    giRunMode = 0;
}

void SetRunModeFromText(QString& word)
{
    if (word.isEmpty())
        return;
    gsCmdLine = QLatin1Char('-') + word.toUpper();
    giRunMode = 0;
    for (int mode = 1; mode <= kHighestMode; ++mode) {
        if (gsCmdLine == optionOf(mode)) {
            giRunMode = static_cast<int16_t>(mode);
            break;
        }
    }
    word.clear();
    SetModeAllForms();
}

void SetModeAllForms()
{
    boardNotices().RunModeChanged();
}
