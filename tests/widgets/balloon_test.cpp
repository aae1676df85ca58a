#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/test_doubles.h"
#include "widgets/balloon_form.h"
#include "widgets/balloon_geometry.h"
#include "widgets/balloon_tooltip.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// A left click as the user makes it: press and release at one spot.
void click(QWidget* widget, QPoint at)
{
    const QPointF local(at);
    const QPointF global(widget->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

class HostForm : public ui::Form {
public:
    HostForm() : Form(QStringLiteral("frmBalloonHost")) {}
    ui::CommandButton cmdLoad{this, QStringLiteral("cmdLoad")};
};

TEST(BalloonGeometry, SizeFitsTheWiderOfTitleAndText)
{
    struct Case {
        int titleLeft, titleWidth, textWidth, textHeight;
        QSize size;
    };
    const Case cases[] = {
        {10, 40, 120, 14, QSize(140, 66)},  // text wider: 2 x 10 + 120
        {34, 150, 120, 14, QSize(194, 66)}, // title from the icon: 24 + 150 + 2 x 10
        {10, 110, 100, 30, QSize(130, 82)}, // equal spans count as the title's
    };
    for (const Case& c : cases)
        EXPECT_EQ(balloon::bubbleSize(10, 10, c.titleLeft, c.titleWidth, 10, 32, c.textWidth, c.textHeight),
                  c.size);
}

TEST(BalloonGeometry, RegionIsTheBodyAndTheTailOnly)
{
    const QRect client(0, 0, 140, 70);
    const QRegion region = balloon::bubbleRegion(client);
    EXPECT_TRUE(region.contains(QPoint(70, 25))) << "body";
    EXPECT_TRUE(region.contains(QPoint(20, 55))) << "upper tail";
    EXPECT_TRUE(region.contains(QPoint(17, 68))) << "near the tip";
    EXPECT_FALSE(region.contains(QPoint(100, 60))) << "below the body, right of the tail";
    EXPECT_FALSE(region.contains(QPoint(5, 60))) << "left of the tail";
    EXPECT_FALSE(region.contains(QPoint(0, 0))) << "rounded corner";
}

TEST(BalloonGeometry, PositionPutsTheTailAtTheTarget)
{
    EXPECT_EQ(balloon::bubblePosition(QPoint(300, 200), 66), QPoint(282, 134));
}

TEST(BalloonGeometry, RegionFromPictureTakesEveryVerticalRunOfOpaquePixels)
{
    QImage picture(4, 5, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixelColor(1, 1, Qt::black);
    picture.setPixelColor(1, 2, Qt::black);
    picture.setPixelColor(1, 4, Qt::red);
    picture.setPixelColor(3, 0, Qt::blue);
    const QRegion region = balloon::regionFromPicture(picture, QRect(0, 0, 4, 5), Qt::white);
    EXPECT_EQ(region, QRegion(1, 1, 1, 2) + QRegion(1, 4, 1, 1) + QRegion(3, 0, 1, 1));
    EXPECT_EQ(balloon::regionFromPicture(picture, QRect(0, 0, 3, 5), Qt::white),
              QRegion(1, 1, 1, 2) + QRegion(1, 4, 1, 1))
        << "only within the bounds";
}

TEST(BalloonGeometry, SystemNamesFollowThePlatformAndVersion)
{
    struct Case {
        int platform, major, minor, build;
        const char* name;
    };
    const Case cases[] = {
        {1, 4, 0, 950, "Windows 95"},
        {1, 4, 0, 1111, "Windows 95 SP1"},
        {1, 4, 10, 1998, "Windows 98"},
        {1, 4, 10, 2222, "Windows 98 SP1"},
        {1, 4, 90, 3000, "Windows ME"},
        {2, 3, 51, 0, "Windows NT 3.51"},
        {2, 4, 0, 0, "Windows NT 4.0"},
        {2, 5, 0, 0, "Windows 2000"},
        {2, 5, 1, 0, "Windows XP"},
        {2, 6, 0, 0, ""},
        {3, 1, 0, 0, "Windows CE 1.0"},
        {3, 2, 0, 0, "Windows CE 2.0"},
        {3, 2, 1, 0, "Windows CE 2.1"},
        {3, 4, 0, 0, "Windows CE 3.0"},
        {0, 5, 1, 0, "Unable To get Windows Version"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(balloon::windowsVersionName(c.platform, c.major, c.minor, c.build),
                  QString::fromLatin1(c.name));
}

TEST(BalloonTooltip, WithoutAControlItShowsInPlaceWithoutTracking)
{
    clsTTBalloon tip;
    tip.setTitle(QStringLiteral("Clock"));
    tip.setToolTipText(QStringLiteral("The system clock in MHz."));
    tip.ShowballoonForm();
    ttbForm& window = tip.form();
    EXPECT_TRUE(window.IsLoaded());
    EXPECT_TRUE(window.frameWidget()->isVisible());
    EXPECT_FALSE(window.tmrTrack.Enabled());
    EXPECT_EQ(window.lblTitle.Caption(), QStringLiteral("Clock"));
    EXPECT_EQ(window.lblText.Caption(), QStringLiteral("The system clock in MHz."));
    EXPECT_EQ(window.lblTitle.Left(), ttbForm::kIconLeft) << "no icon: the title takes its place";
    // Ten pixels on both sides of the wider of title and text; the text 32 pixels down, twenty below it.
    const QSize expected(std::max(window.lblTitle.Width(), window.lblText.Width()) + 20,
                         32 + window.lblText.Height() + 20);
    EXPECT_EQ(window.frameWidget()->size(), expected);
    EXPECT_FALSE(window.windowRegion().isEmpty());
    EXPECT_TRUE(window.frameWidget()->windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST(BalloonTooltip, PointsAtTheControlAndFollowsItWhileTracking)
{
    HostForm host;
    host.Show();
    host.Move(100, 100, 300, 200);
    QApplication::processEvents();

    clsTTBalloon tip;
    tip.setTitle(QStringLiteral("Load"));
    tip.setToolTipText(QStringLiteral("Writes the registers."));
    tip.setIcon(2);
    tip.setControl(&host.cmdLoad);
    EXPECT_EQ(tip.Control(), &host.cmdLoad);
    tip.ShowballoonForm();
    ttbForm& window = tip.form();

    const auto tipTarget = [&] {
        QWidget* button = host.cmdLoad.widget();
        return button->mapToGlobal(QPoint(button->width() / 2, 0));
    };
    QWidget* top = window.frameWidget();
    EXPECT_EQ(top->pos() + QPoint(18, top->height()), tipTarget());
    EXPECT_EQ(window.ownerForm(), &host);
    EXPECT_TRUE(window.tmrTrack.Enabled());
    EXPECT_EQ(window.lblTitle.Left(), ttbForm::kIconLeft + ttbForm::kTitleIconGap);
    EXPECT_FALSE(window.imgIcon.Picture().isNull());

    host.Move(160, 130);
    QApplication::processEvents();
    ui::testing::clock().advance(5);
    EXPECT_EQ(top->pos() + QPoint(18, top->height()), tipTarget()) << "the timer keeps it over the control";

    tip.setCenterOverControl(false);
    EXPECT_FALSE(window.tmrTrack.Enabled());
}

TEST(BalloonTooltip, ClickingAnywhereClosesItAndHideUnloads)
{
    clsTTBalloon tip;
    tip.setToolTipText(QStringLiteral("Click me"));
    tip.ShowballoonForm();
    ttbForm& window = tip.form();
    click(window.lblText.widget(), QPoint(3, 3));
    EXPECT_FALSE(window.IsLoaded());
    EXPECT_FALSE(window.frameWidget()->isVisible());

    tip.ShowballoonForm();
    ASSERT_TRUE(window.IsLoaded()) << "shown again after a click closed it";
    EXPECT_FALSE(window.tmrTrack.Enabled());
    QWidget* bubble = window.frameWidget()->childAt(QPoint(60, 3));
    ASSERT_NE(bubble, nullptr);
    click(bubble, bubble->mapFrom(window.frameWidget(), QPoint(60, 3)));
    EXPECT_FALSE(window.IsLoaded()) << "a click on the bubble itself";

    tip.ShowballoonForm();
    tip.HideballoonForm();
    EXPECT_FALSE(window.IsLoaded());
}

TEST(BalloonTooltip, IconsOutsideTheSetAndVanishedControlsShowNoIconAndNoTracking)
{
    clsTTBalloon tip;
    tip.setIcon(9);
    {
        HostForm host;
        tip.setControl(&host.cmdLoad);
    }
    EXPECT_EQ(tip.Control(), nullptr);
    tip.ShowballoonForm();
    ttbForm& window = tip.form();
    EXPECT_TRUE(window.imgIcon.Picture().isNull());
    EXPECT_EQ(window.lblTitle.Left(), ttbForm::kIconLeft);
    EXPECT_FALSE(window.tmrTrack.Enabled());
    EXPECT_TRUE(window.frameWidget()->isVisible());
}

TEST(BalloonTooltip, OwnerCanBeSetAndTakenBack)
{
    HostForm host;
    host.Load();
    clsTTBalloon tip;
    EXPECT_EQ(clsTTBalloon::MakeFormModeless(tip.form(), host.hWnd()), 0u);
    EXPECT_EQ(clsTTBalloon::MakeFormModeless(tip.form(), 0), host.hWnd());
    EXPECT_EQ(tip.form().ownerForm(), nullptr);
    EXPECT_EQ(clsTTBalloon::GetParentForm(&host.cmdLoad), &host);
}

TEST(BalloonTooltip, ThePlatformIsNoneOfTheClassicSystems)
{
    clsTTBalloon tip;
    EXPECT_FALSE(tip.form().Is9xMe());
#ifndef Q_OS_WIN
    EXPECT_FALSE(tip.form().Is2kXp());
    EXPECT_EQ(tip.form().GetWindowsVersion(), QStringLiteral("Unable To get Windows Version"));
#endif
}

} // namespace
