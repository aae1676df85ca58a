// What the board module asks of the windows, through the services a layer above installs: with recording
// services that run a scripted clock, and with none at all (the stand-alone way must be safe).

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

#include <map>
#include <optional>

namespace {

using boardcore::kDaySeconds;

// Services with the virtual clock, text boxes kept by "window.box", and every other call recorded.
class RecordingWindows : public boardcore::VirtualTimeWindows {
public:
    int doEventsCount = 0;
    int pointer = 0;
    QStringList calls;
    QStringList loaded;
    std::map<QString, QString> boxes;

    void doEvents() override { ++doEventsCount; }
    bool isLoaded(const QString& form) override { return loaded.contains(form); }
    void callIfLoaded(const QString& form, const QString& procedure) override
    {
        calls << form + QLatin1Char('.') + procedure;
    }
    void callOnAll(const QString& procedure) override { calls << QStringLiteral("*.") + procedure; }
    std::optional<QString> textBoxText(const QString& form, const QString& box) override
    {
        const auto found = boxes.find(form + QLatin1Char('.') + box);
        if (found == boxes.end())
            return std::nullopt;
        return found->second;
    }
    bool setTextBoxText(const QString& form, const QString& box, const QString& text) override
    {
        const auto found = boxes.find(form + QLatin1Char('.') + box);
        if (found == boxes.end())
            return false;
        found->second = text;
        return true;
    }
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

TEST_F(WindowServicesInstalled, PumpFormsPointerAndRunModesGoThroughThem)
{
    DoEventsN(3);
    DoEventsN(-1);
    EXPECT_EQ(windows.doEventsCount, 3);

    windows.loaded << QStringLiteral("frmControl");
    EXPECT_TRUE(IsFormLoaded(QStringLiteral("frmControl")));
    EXPECT_FALSE(IsFormLoaded(QStringLiteral("frmProfile")));

    windows.pointer = 13;
    {
        HourglassPointer hourglass;
        EXPECT_EQ(windows.pointer, HourglassPointer::kHourglass);
    }
    EXPECT_EQ(windows.pointer, 13) << "the pointer that was there comes back";

    QString word = QStringLiteral("torvask");
    SetRunModeFromText(word);
    EXPECT_EQ(giRunMode, 2);
    EXPECT_TRUE(word.isEmpty());
    EXPECT_EQ(windows.calls, QStringList({"pointer 11", "pointer 13", "*.SetMode"}));
    QString none;
    SetRunModeFromText(none); // nothing typed: no window is told
    EXPECT_EQ(windows.calls.size(), 3);
    giRunMode = 0;
    gsCmdLine.clear();
}

TEST_F(WindowServicesInstalled, ClockBoxesOfTheControlWindow)
{
    EXPECT_EQ(SysClockText(), QString()) << "no Control window";
    windows.boxes[QStringLiteral("frmControl.txtSysClkTxt")] = QStringLiteral("1000.5");
    EXPECT_EQ(SysClockText(), QStringLiteral("1000.5"));

    // A setup file loaded without a board puts its clock into the Control window's clock box.
    cZR4470XEvalBd bd;
    goEvalBd = &bd;
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
    windows.boxes[QStringLiteral("frmControl.txtExternClk")] = QStringLiteral("1000.00000");

    EXPECT_EQ(ebLoadSetupFile(path), kSetupLoaded);
    EXPECT_EQ(windows.boxes[QStringLiteral("frmControl.txtExternClk")], QStringLiteral("61.44000"));
    EXPECT_EQ(bd.GetRegMapValue(1, 0x02), QString(32, QLatin1Char('1')));
    EXPECT_EQ(windows.calls.front(), QStringLiteral("pointer 11"));
    EXPECT_EQ(windows.calls.back(), QStringLiteral("pointer 0"));
    goEvalBd = nullptr;
}

TEST(WindowServicesMissing, EveryCallIsSafe)
{
    ASSERT_FALSE(boardwin::windowServicesInstalled());
    Pause(0);
    Pause(0, true);
    DoEventsN(5);
    EXPECT_FALSE(IsFormLoaded(QStringLiteral("frmControl")));
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
