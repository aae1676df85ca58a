// What the board module asks of the windows, through the services a layer above installs: with recording
// services that run a scripted clock, and with none at all (the stand-alone way must be safe).

#include "board/board_notices.h"
#include "board/evalbd.h"
#include "board/globals.h"
#include "board/hourglass.h"
#include "board/run_mode.h"
#include "board/setup_file.h"
#include "board/setup_file_format.h"
#include "board/system_clock.h"
#include "board/utility.h"
#include "board/window_services.h"
#include "board_core/virtual_time_windows.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace {

using boardcore::kDaySeconds;

// Services with the virtual clock, and every other call recorded.
class RecordingWindows : public boardcore::VirtualTimeWindows {
public:
    int doEventsCount = 0;
    int pointer = 0;
    QStringList calls;

    void doEvents() override { ++doEventsCount; }
    int screenMousePointer() override { return pointer; }
    void setScreenMousePointer(int value) override
    {
        calls << QStringLiteral("pointer %1").arg(value);
        pointer = value;
    }
};

class WindowServicesInstalled : public ::testing::Test {
protected:
    RecordingWindows windows;
    boardcore::ScopedWindowServices installed{windows};
};

TEST_F(WindowServicesInstalled, PauseWaitsOnTheirClockAndEndsAcrossMidnight)
{
    struct Case {
        const char* what;
        double start;
        double seconds;
        bool noYield;
    };
    const Case cases[] = {
        {"a profile read-back", 36000.0, 0.55, false},
        {"the same without yielding", 36000.0, 0.55, true},
        {"a second's retry", 36000.0, 1.0, false},
        {"started just before midnight", kDaySeconds - 0.2, 0.55, false},
        {"the same without yielding", kDaySeconds - 0.2, 0.55, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        windows.now = c.start;
        windows.turns = windows.yieldingTurns = 0;
        Pause(c.seconds, c.noYield);
        const double waited = std::fmod(windows.now - c.start + kDaySeconds, kDaySeconds);
        EXPECT_GE(waited, c.seconds - 1e-9);
        // Across midnight the rest is measured from the new day's clock: at most the time to midnight more.
        EXPECT_LE(waited, c.seconds + 0.2 + 0.1);
        EXPECT_GT(windows.turns, 0);
        EXPECT_EQ(windows.yieldingTurns, c.noYield ? 0 : windows.turns);
    }
}

TEST_F(WindowServicesInstalled, PumpPointerAndRunModesGoThroughThem)
{
    DoEventsN(3);
    DoEventsN(-1);
    EXPECT_EQ(windows.doEventsCount, 3);

    windows.pointer = 13;
    {
        HourglassPointer hourglass;
        EXPECT_EQ(windows.pointer, HourglassPointer::kHourglass);
    }
    EXPECT_EQ(windows.pointer, 13) << "the pointer that was there comes back";

    boardNotices().RunModeChanged = [this] { windows.calls << QStringLiteral("run mode changed"); };
    QString word = QStringLiteral("torvask");
    SetRunModeFromText(word);
    EXPECT_EQ(giRunMode, 2);
    EXPECT_TRUE(word.isEmpty());
    EXPECT_EQ(windows.calls, QStringList({"pointer 11", "pointer 13", "run mode changed"}));
    QString none;
    SetRunModeFromText(none); // nothing typed: no window is told
    EXPECT_EQ(windows.calls.size(), 3);
    boardNotices().RunModeChanged = nullptr;
    giRunMode = 0;
    gsCmdLine.clear();
}

TEST_F(WindowServicesInstalled, SystemClockLoadsNothingAndSetupFilesSetItsExternalClock)
{
    systemClock().reset();
    cZR4470XEvalBd bd;
    goEvalBd = &bd;
    EXPECT_EQ(SysClockText(), QString()) << "a program without a Control window has no clock";
    systemClock().setPlanned(true);
    // What the Control window would show on loading: its plan over the pending map.
    EXPECT_EQ(SysClockText(), QStringLiteral("500.00000"));
    systemClock().showClock(this, QStringLiteral("1000.5"));
    EXPECT_EQ(SysClockText(), QStringLiteral("1000.5"));
    EXPECT_EQ(systemClock().usable(), 1000.5);

    // A setup file loaded without a board sets the external clock and tells whoever is bound.
    QStringList told;
    systemClock().ExternalClockSet = [&told] { told << systemClock().externalClockText(); };
    QTemporaryDir dir;
    SetupFileContents contents;
    for (int16_t address : setupFileRegisters())
        contents.rows.push_back({address, QString(bd.GetRegLength(address), QLatin1Char('1'))});
    contents.externalClock = 61.44;
    const QString path = dir.filePath(QStringLiteral("a.stp"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(writeSetupFileText(contents));
    file.close();

    EXPECT_EQ(ebLoadSetupFile(path), kSetupLoaded);
    EXPECT_EQ(told, QStringList({"61.44000"}));
    EXPECT_EQ(systemClock().externalClockText(), QStringLiteral("61.44000"));
    EXPECT_EQ(bd.GetRegMapValue(1, 0x02), QString(32, QLatin1Char('1')));
    EXPECT_EQ(windows.calls.front(), QStringLiteral("pointer 11"));
    EXPECT_EQ(windows.calls.back(), QStringLiteral("pointer 0"));
    EXPECT_TRUE(windows.calls.filter(QStringLiteral("frmControl")).isEmpty());
    systemClock().ExternalClockSet = nullptr;
    systemClock().reset();
    systemClock().setPlanned(false);
    goEvalBd = nullptr;
}

TEST(SystemClockPlan, WithoutAControlWindowTheClockIsTheWindowsPlanOverThePendingMap)
{
    struct Case {
        const char* what;
        int16_t rev;
        uint32_t cfr3;
        const char* external;
        const char* clock;
    };
    const Case cases[] = {
        {"revision 3 defaults: reference / 2", 3, 0x1F3F4000, nullptr, "500.00000"},
        {"divider disabled", 3, 0x1F3FC000, nullptr, "1000.00000"},
        {"PLL on, multiplier 20", 3, 0x1F3F4128, "25.00000", "500.00000"},
        {"PLL on, multiplier 20, doubler", 3, 0x1F3F4129, "25.00000", "1000.00000"},
        {"revision 1/2 PLL on, ratio 4", 2, 0x1F3F410C, "100.00000", "200.00000"},
        {"revision 1/2 PLL off", 2, 0x1F3F400C, "100.00000", "50.00000"},
        {"a reference that is no number", 3, 0x1F3F4000, "fast", ""},
    };
    systemClock().setPlanned(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        systemClock().reset();
        cZR4470XEvalBd bd;
        goEvalBd = &bd;
        bd.setSiliconRev(c.rev);
        bd.InitRegMap(c.rev);
        bd.SetRegMapValue(0, 0x02, QStringLiteral("%1").arg(c.cfr3, 32, 2, QLatin1Char('0')));
        if (c.external)
            systemClock().showExternalClock(&bd, QString::fromLatin1(c.external));
        EXPECT_EQ(SysClockText(), QString::fromLatin1(c.clock));
        goEvalBd = nullptr;
    }
    EXPECT_EQ(SysClockText(), QString()) << "no board object: no clock plan";
    systemClock().reset();
    systemClock().setPlanned(false);
}

TEST(SystemClockPlan, OneRuleForAUsableClock)
{
    EXPECT_EQ(usableSystemClock(122.88), 122.88);
    for (const std::optional<double> unusable :
         {std::optional<double>(), std::optional<double>(0.0), std::optional<double>(-1.0),
          std::optional<double>(std::numeric_limits<double>::infinity()),
          std::optional<double>(std::numeric_limits<double>::quiet_NaN())})
        EXPECT_FALSE(usableSystemClock(unusable).has_value());
}

TEST(WindowServicesMissing, EveryCallIsSafe)
{
    ASSERT_FALSE(boardwin::windowServicesInstalled());
    Pause(0);
    Pause(0, true);
    DoEventsN(5);
    {
        HourglassPointer hourglass;
        EXPECT_EQ(boardwin::windowServices().screenMousePointer(), 0);
    }
    EXPECT_EQ(SysClockText(), QString());
    QString word = QStringLiteral("WESPIL");
    SetRunModeFromText(word);
    EXPECT_EQ(giRunMode, 5);
    giRunMode = 0;
    gsCmdLine.clear();
    const double now = boardwin::windowServices().timer();
    EXPECT_GE(now, 0.0);
    EXPECT_LT(now, kDaySeconds);
}

} // namespace
