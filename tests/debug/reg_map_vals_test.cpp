// The register map values window: which addresses it lists per revision and run mode, the lines in both
// formats for both maps, the automatic refresh and the window's height from its line count.

#include "common/register_window_fixture.h"

#include "debug/frm_reg_map_vals.h"
#include "debug/register_windows.h"

#include "platform/ui/test_doubles.h"

namespace {

using namespace regtest;

class RegMapValsTest : public RegisterWindowTest {
protected:
    RegMapValsTest() { RegisterDebugWindows(); }
    frmRegMapVals& open()
    {
        mdi->Show();
        frmRegMapVals& window = ui::form<frmRegMapVals>();
        window.Show();
        return window;
    }
    // The address column of the printed register lines.
    static QStringList addresses(const QStringList& lines)
    {
        QStringList out;
        for (const QString& line : lines.mid(2))
            out << line.mid(6, 2);
        return out;
    }
};

TEST_F(RegMapValsTest, ListsTheAddressesOfTheRevisionAndRunMode)
{
    struct Case {
        int16_t rev;
        int16_t runMode;
        int lines;
        const char* last;
    };
    const Case cases[] = {{2, 0, 23, "16"}, {2, 5, 24, "17"}, {3, 0, 25, "19"},
                          {3, 3, 26, "1F"}, {3, 5, 31, "1E"}, {0, 4, 25, "19"}};
    frmRegMapVals& window = open();
    const int h = window.lineHeight();
    int heightAt25 = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "revision " << c.rev << ", run mode " << c.runMode);
        useRevision(c.rev);
        giRunMode = c.runMode;
        window.cmdRefresh.click();
        const QStringList shown = addresses(window.printedLines());
        EXPECT_EQ(shown.size(), c.lines);
        EXPECT_EQ(shown.value(0x0A), QStringLiteral("0A"));
        EXPECT_EQ(shown.last(), QLatin1String(c.last));
        if (c.lines == 25 && heightAt25 == 0)
            heightAt25 = window.Height();
        if (heightAt25 != 0) {
            EXPECT_EQ(window.Height() - heightAt25, (c.lines - 25) * h)
                << "the height follows the line count";
        }
    }
    EXPECT_LE(window.Height(), 1000);
    EXPECT_LE(window.Width(), 1600);
}

TEST_F(RegMapValsTest, PrintsEitherMapInBinaryOrHexadecimal)
{
    setPending(0x05, 0x0123456789ABULL);
    setWritten(0x05, 0xFEDCBA987654ULL);
    setWritten(0x1F, 0xF0);
    giRunMode = 3;
    frmRegMapVals& window = open();
    struct Case {
        int map;
        int base;
        const char* header;
        const char* line05;
    };
    const Case cases[] = {
        {0, 0, " Reg Addr (Hex):     Binary Value:",
         "      05           00000001 00100011 01000101 01100111 10001001 10101011"},
        {0, 1, " Reg Addr (Hex):     Hexidecimal Value:", "      05           01 23 45 67 89 AB"},
        {1, 1, " Reg Addr (Hex):     Hexidecimal Value:", "      05           FE DC BA 98 76 54"},
        {1, 0, " Reg Addr (Hex):     Binary Value:",
         "      05           11111110 11011100 10111010 10011000 01110110 01010100"},
    };
    for (const Case& c : cases) {
        window.cmbRegMap.setListIndex(c.map);
        window.optBase(c.base).setValue(true);
        const QStringList lines = window.printedLines();
        EXPECT_EQ(lines.value(0), QString());
        EXPECT_EQ(lines.value(1), QLatin1String(c.header));
        EXPECT_EQ(lines.value(2 + 5), QLatin1String(c.line05));
    }
    EXPECT_EQ(window.printedLines().last(),
              QStringLiteral("      1F           00000000 00000000 00000000 00000000 11110000"));
}

TEST_F(RegMapValsTest, AutoRefreshFollowsTheMapUntilUnchecked)
{
    frmRegMapVals& window = open();
    setPending(0x07, 0xFF);
    ui::testing::clock().advance(61);
    EXPECT_TRUE(window.printedLines().value(2 + 7).endsWith(QStringLiteral("11111111")));
    window.chkAutoRefresh.setValue(0);
    setPending(0x07, 0x00);
    ui::testing::clock().advance(200);
    EXPECT_TRUE(window.printedLines().value(2 + 7).endsWith(QStringLiteral("11111111")));
    window.cmdRefresh.click();
    EXPECT_TRUE(window.printedLines().value(2 + 7).endsWith(QStringLiteral("00000000")));

    EXPECT_TRUE(mdi->mnuViewRegMap.Checked());
    window.Unload(ui::vbFormControlMenu);
    EXPECT_FALSE(mdi->mnuViewRegMap.Checked()) << "closing the window unchecks its View entry";
}

} // namespace
