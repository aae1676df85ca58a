// The system clock of a fresh program, read with the Control window closed: the Profiles window converts
// with the clock the Control window's plan gives, and reading it loads no window.

#include "board/evalbd.h"
#include "board/globals.h"
#include "board/setup_file.h"
#include "board/system_clock.h"
#include "boardui/form_names.h"
#include "debug/register_windows.h"
#include "modulation/register_windows.h"
#include "profiles/frm_profile.h"
#include "profiles/register_windows.h"
#include "profiles/sys_clock.h"
#include "shell/frm_control.h"
#include "shell/mdi_main.h"
#include "shell/register_windows.h"
#include "shell/startup.h"
#include "sweep/register_windows.h"

#include "platform/runtime/locale_info.h"
#include "platform/ui/forms.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

QString bitsOf(uint64_t value, int width)
{
    return QStringLiteral("%1").arg(value, width, 2, QLatin1Char('0'));
}

TEST(FreshProgramClock, ProfilesGetTheClockWhileTheControlWindowStaysClosed)
{
    struct Case {
        const char* what;
        int16_t rev;
        uint32_t cfr3;
        const char* clock;
        const char* halfClockFrequency;
    };
    const Case cases[] = {
        {"revision 3 at reset: 1000 MHz through the divider", 3, 0x1F3F4000, "500.00000", "250.00000000"},
        {"revision 3, divider disabled", 3, 0x1F3FC000, "1000.00000", "500.00000000"},
        {"revision 1/2, PLL ratio 4", 2, 0x1F3F410C, "2000.00000", "1000.00000000"},
    };
    rt::ScopedNumberLocale locale{QChar(u'.')};
    gsDecimalSep = QStringLiteral(".");
    giDecimalSepCode = '.';
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RegisterShellWindows();
        RegisterProfilesWindows();
        RegisterSweepWindows();
        RegisterDebugWindows();
        RegisterModulationWindows();
        ui::form<mdiMain>().tmrUSBCheck.setEnabled(false);
        ASSERT_NE(goEvalBd, nullptr);
        goEvalBd->setSiliconRev(c.rev);
        goEvalBd->InitRegMap(c.rev);
        goEvalBd->SetRegMapValue(0, 0x02, bitsOf(c.cfr3, 32));
        // Profile 0's tuning word is half of 2^32: half the clock.
        goEvalBd->SetRegMapValue(0, 0x0E, bitsOf(uint64_t{1} << 31, 64));

        frmProfile& profiles = ui::form<frmProfile>();
        EXPECT_EQ(profiles.txtOutFreqQD(0).Text(), QString::fromLatin1(c.halfClockFrequency));
        EXPECT_EQ(profiles::sysClockText(), QString::fromLatin1(c.clock));
        EXPECT_FALSE(ui::Forms::isLoaded(formnames::frmControl));

        // The Control window, once opened, shows that very clock.
        EXPECT_EQ(ui::form<frmControl>().txtSysClkTxt.Text(), QString::fromLatin1(c.clock));
        ui::Forms::discardAll();
        ui::Forms::destroyUnloaded();
        EXPECT_EQ(goEvalBd, nullptr);
    }
}

TEST(FreshProgramClock, ASetupFileLoadedWithTheControlWindowClosedOpensItOnTheFilesClock)
{
    rt::ScopedNumberLocale locale{QChar(u'.')};
    gsDecimalSep = QStringLiteral(".");
    giDecimalSepCode = '.';
    RegisterShellWindows();
    RegisterProfilesWindows();
    ui::form<mdiMain>().tmrUSBCheck.setEnabled(false);
    ASSERT_NE(goEvalBd, nullptr);

    // A file saved by this fresh program holds its 1000 MHz external clock; the same file with 800 MHz.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("clock.stp"));
    ASSERT_TRUE(ebSaveSetupFile(path));
    EXPECT_FALSE(ui::Forms::isLoaded(formnames::frmControl));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray contents = file.readAll();
    file.close();
    const qsizetype clockLine = contents.indexOf("\"External Clock\",");
    ASSERT_GE(clockLine, 0);
    const qsizetype lineEnd = contents.indexOf('\r', clockLine);
    contents.replace(clockLine, lineEnd - clockLine, "\"External Clock\",800");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
    file.close();

    ASSERT_EQ(ebLoadSetupFile(path), kSetupLoaded);
    // The file's clock reached the Control window as if typed there: the window is open on it and its
    // clock plan (the reset divider halves the reference) is what the Profiles window converts with.
    ASSERT_TRUE(ui::Forms::isLoaded(formnames::frmControl));
    frmControl& control = ui::form<frmControl>();
    EXPECT_EQ(control.txtExternClk.Text(), QStringLiteral("800.00000"));
    EXPECT_EQ(control.txtSysClkTxt.Text(), QStringLiteral("400.00000"));
    EXPECT_EQ(profiles::sysClockText(), QStringLiteral("400.00000"));
    ui::Forms::discardAll();
    ui::Forms::destroyUnloaded();
}

} // namespace
