// The main window as the user sees it: the menus' separator lines and a status bar that keeps still
// while the attention sign blinks.

#include "main_window_fixture.h"

#include "platform/ui/menu.h"
#include "platform/usb/usb_driver.h"

#include <QAction>
#include <QCoreApplication>
#include <QRect>
#include <QWidget>

#include <vector>

using namespace mainwindowtest;

namespace {

class MainWindowLayout : public MainWindowTest {
protected:
    // Where a status-bar widget stands in the main window, once pending layout work has run.
    QRect placeOf(ui::Control& control)
    {
        QCoreApplication::processEvents();
        QWidget* w = control.widget();
        return QRect(w->mapTo(mdi->widget(), QPoint(0, 0)), w->size());
    }
};

TEST_F(MainWindowLayout, SeparatorEntriesAreLinesWithoutText)
{
    int separators = 0;
    for (ui::Menu* menu : {&mdi->mnuFile, &mdi->mnuIO, &mdi->mnuView})
        for (ui::Menu* entry : menu->entries()) {
            if (entry->Caption() != QStringLiteral("-"))
                continue;
            ++separators;
            EXPECT_TRUE(entry->action()->isSeparator()) << entry->Name().toStdString();
            EXPECT_TRUE(entry->action()->text().isEmpty()) << entry->Name().toStdString();
        }
    EXPECT_EQ(separators, 3) << "one each in File, I/O and View";
}

TEST_F(MainWindowLayout, StatusBarKeepsStillWhileTheAttentionSignBlinks)
{
    mdi->Move(0, 0, 1000, 700);
    mdi->Show();
    tick(); // no board: the blinking begins
    const bool firstShown = mdi->imgUsbAttention.Visible();
    const QRect progress = placeOf(mdi->pbxProgress);
    const QRect fifo = placeOf(mdi->lblFIFOStat);
    const QRect usb = placeOf(mdi->lblUSBStat);
    const QRect sign = placeOf(mdi->imgUsbAttention);
    for (int k = 0; k < 3; ++k) {
        tick();
        SCOPED_TRACE(k);
        ASSERT_EQ(mdi->imgUsbAttention.Visible(), k % 2 == 0 ? !firstShown : firstShown);
        EXPECT_EQ(placeOf(mdi->pbxProgress), progress);
        EXPECT_EQ(placeOf(mdi->lblFIFOStat), fifo);
        EXPECT_EQ(placeOf(mdi->lblUSBStat), usb);
        EXPECT_EQ(placeOf(mdi->imgUsbAttention), sign) << "the hidden sign keeps its room";
    }
    EXPECT_GT(sign.width(), 0);
}

} // namespace

namespace {

TEST_F(MainWindowLayout, TheStatusBarSaysWhichKindOfBoardTheProgramTalksTo)
{
    // The same words as the start-up line on the standard error, for a user who never sees that.
    EXPECT_EQ(mdi->pbxStatusBar.container()->toolTip(), usb::boardKind());
    EXPECT_TRUE(usb::boardKind().startsWith(QStringLiteral("Boards: emulated, not real")))
        << "the tests' boards are emulated";
    // The indicators keep their own tip.
    EXPECT_EQ(mdi->lblUSBStat.ToolTipText(), QStringLiteral("Indicates eval board connection status"));
}

} // namespace
