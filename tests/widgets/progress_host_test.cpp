#include "board/progress.h"
#include "platform/ui/colors.h"
#include "platform/ui/controls_picture.h"
#include "platform/ui/form.h"
#include "widgets/progress_global.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

const QColor kBlue(0, 0, 255);
const QColor kWhite(255, 255, 255);

class StatusForm : public ui::Form {
public:
    StatusForm() : Form(QStringLiteral("frmProgressHost")) {}
    ui::PictureBox pbxProgress{this, QStringLiteral("pbxProgress")};
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void plainColours(cProgressBar& bar)
{
    bar.setBackColor(0xFFFFFF);
    bar.setBarColor(0xFF0000);
    bar.setBorderStyle(0);
}

TEST(ProgressHost, PictureBoxShowsEveryStepWithoutTheEventLoop)
{
    StatusForm form;
    form.Show();
    form.pbxProgress.setBorderStyle(0);
    form.pbxProgress.widget()->setFixedSize(200, 20);
    QApplication::processEvents();

    PaintCounter counter;
    form.pbxProgress.widget()->installEventFilter(&counter);
    cProgressBar bar;
    plainColours(bar);
    bar.setDrawObject(&form.pbxProgress);
    EXPECT_EQ(bar.DrawObject(), &form.pbxProgress);

    const int before = counter.paints;
    bar.setValue(25);
    EXPECT_GT(counter.paints, before) << "painted at once, no event processed in between";
    const QImage& surface = form.pbxProgress.surface();
    EXPECT_EQ(surface.pixelColor(10, 10), kBlue);
    EXPECT_EQ(surface.pixelColor(60, 10), kWhite);

    const int afterValue = counter.paints;
    bar.setTag(QStringLiteral("5"));
    EXPECT_EQ(counter.paints, afterValue) << "Tag never redraws";
    EXPECT_EQ(bar.Tag(), QStringLiteral("5"));
    form.pbxProgress.widget()->removeEventFilter(&counter);
}

TEST(ProgressHost, AGrownPictureBoxGetsTheWholeBarAtOnce)
{
    StatusForm form;
    form.Show();
    form.pbxProgress.setBorderStyle(0);
    form.pbxProgress.widget()->setFixedSize(100, 20);
    QApplication::processEvents();
    cProgressBar bar;
    plainColours(bar);
    bar.setValue(50);
    bar.setDrawObject(&form.pbxProgress);
    form.pbxProgress.widget()->setFixedSize(300, 20);
    QApplication::processEvents();
    const QImage& surface = form.pbxProgress.surface();
    ASSERT_GE(surface.width(), 300);
    EXPECT_EQ(surface.pixelColor(140, 10), kBlue);
    EXPECT_EQ(surface.pixelColor(290, 10), kWhite);
}

TEST(ProgressHost, PlainWidgetShowsTheBarOverItsOwnPainting)
{
    QWidget host;
    host.resize(100, 16);
    host.show();
    cProgressBar bar;
    plainColours(bar);
    bar.setDrawObject(&host);
    bar.setValue(50);
    const QImage shown = host.grab().toImage();
    EXPECT_EQ(shown.pixelColor(10, 8), kBlue);
    EXPECT_EQ(shown.pixelColor(90, 8), kWhite);

    host.resize(200, 16);
    QApplication::processEvents();
    EXPECT_EQ(host.grab().toImage().pixelColor(150, 8), kWhite) << "a resized host gets a fresh frame";
    EXPECT_EQ(host.grab().toImage().pixelColor(90, 8), kBlue);
}

TEST(ProgressHost, AHostThatGoesAwayIsDroppedSafely)
{
    cProgressBar bar;
    {
        StatusForm form;
        bar.setDrawObject(&form.pbxProgress);
        EXPECT_NE(bar.drawWidget(), nullptr);
    }
    EXPECT_EQ(bar.DrawObject(), nullptr);
    EXPECT_EQ(bar.drawWidget(), nullptr);
    bar.setValue(30); // nothing to draw on: keeps the state only
    EXPECT_EQ(bar.Value(), 30);

    auto widget = std::make_unique<QWidget>();
    bar.setDrawObject(widget.get());
    widget.reset();
    bar.setText(QStringLiteral("after"));
    EXPECT_EQ(bar.drawWidget(), nullptr);
}

class GlobalBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = ReplaceProgressBar(std::make_unique<cProgressBar>());
        InstallProgressBarSink();
    }
    void TearDown() override { ReplaceProgressBar(std::move(previous_)); }

private:
    std::unique_ptr<cProgressBar> previous_;
};

TEST_F(GlobalBar, BoardCallsKeepTheStateBeforeTheMainWindowGivesAHost)
{
    ASSERT_EQ(goProgressBar().drawWidget(), nullptr);
    InitProgressBar(0, 21, QStringLiteral("Saving Setup..."));
    EXPECT_EQ(goProgressBar().Min(), 0);
    EXPECT_EQ(goProgressBar().Max(), 21);
    EXPECT_EQ(goProgressBar().Text(), QStringLiteral("Saving Setup..."));
    EXPECT_EQ(goProgressBar().Value(), 0);
    SetProgressBarValue(7);
    EXPECT_EQ(goProgressBar().Value(), 7);
}

TEST_F(GlobalBar, ResetAfterARedErrorBarRestoresTheButtonFace)
{
    StatusForm form;
    form.Show();
    form.pbxProgress.setBorderStyle(0);
    form.pbxProgress.widget()->setFixedSize(120, 18);
    QApplication::processEvents();
    cProgressBar& bar = goProgressBar();
    bar.setDrawObject(&form.pbxProgress);
    bar.setBorderStyle(0);

    InitProgressBar(5, 15, QStringLiteral("Writing RAM"));
    SetProgressBarValue(15);
    bar.setValue(5);
    bar.setBackColor(0x0000FF);
    bar.setText(QStringLiteral("RAM Load Error!"));
    EXPECT_EQ(form.pbxProgress.surface().pixelColor(118, 1), QColor(255, 0, 0));

    ResetProgressBar();
    EXPECT_TRUE(bar.Text().isEmpty());
    EXPECT_EQ(bar.BackColor(), ui::colors::vbButtonFace);
    EXPECT_EQ(bar.Value(), 5) << "back to the current Min";
    EXPECT_EQ(form.pbxProgress.surface().pixelColor(118, 1).rgb(),
              ui::toQColor(ui::colors::vbButtonFace).rgb());
}

TEST_F(GlobalBar, FirstUseConnectsTheBoardCalls)
{
    setProgressSink(nullptr);
    goProgressBar();
    ASSERT_NE(progressSink(), nullptr);
    SetProgressBarValue(3);
    EXPECT_EQ(goProgressBar().Value(), 3);
}

} // namespace
