#include "platform/ui/form.h"
#include "widgets/round_rect_frame.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

class FrameForm : public ui::Form {
public:
    FrameForm() : Form(QStringLiteral("frmFrameTest")) {}
    RoundRectFrame rrfMultiplier{this, QStringLiteral("rrfMultiplier")};
};

TEST(RoundRectLayoutTest, InnerAreaIsInsetByTheThicknessAndTheTopBand)
{
    struct Case {
        double width, height, thickness;
        QRectF inner;
    };
    const Case cases[] = {
        {3000, 2000, 30, QRectF(30, 270, 2940, 1700)},
        {3615, 2775, 30, QRectF(30, 270, 3555, 2475)},
        {3000, 2000, 150, QRectF(150, 270, 2700, 1580)},
        {200, 250, 150, QRectF(150, 270, 0, 0)}, // too small: nothing to draw inside
    };
    for (const Case& c : cases) {
        const RoundRectLayout layout = roundRectFrameLayout(c.width, c.height, c.thickness, 15.0);
        EXPECT_EQ(layout.border, QRectF(0, 0, c.width, c.height));
        EXPECT_EQ(layout.inner, c.inner) << c.width << "x" << c.height << " T " << c.thickness;
    }
}

TEST(RoundRectFrameControl, DefaultsToTwoPixelsAndLaysOutOnResizeAndThickness)
{
    FrameForm form;
    RoundRectFrame& frame = form.rrfMultiplier;
    EXPECT_FLOAT_EQ(frame.BorderThickness(), 2 * frame.TwipsPerPixelX());
    EXPECT_EQ(frame.BorderColor(), 0x808080u);
    frame.widget()->resize(200, 140);
    EXPECT_EQ(frame.innerArea(), QRect(2, 18, 196, 120));

    frame.setBorderColor(0x0000FF);
    EXPECT_EQ(frame.innerArea(), QRect(2, 18, 196, 120)) << "a colour moves nothing";
    frame.setBorderThickness(10 * frame.TwipsPerPixelX());
    EXPECT_EQ(frame.innerArea(), QRect(10, 18, 180, 112));
    frame.setBorderThickness(10 * frame.TwipsPerPixelX());
    EXPECT_EQ(frame.innerArea(), QRect(10, 18, 180, 112)) << "laying out again changes nothing";
}

TEST(RoundRectFrameControl, PaintsARingInTheBorderColourAroundAButtonFaceArea)
{
    FrameForm form;
    RoundRectFrame& frame = form.rrfMultiplier;
    frame.widget()->resize(200, 140);
    frame.setBorderColor(0x0000FF); // red
    QImage image = frame.widget()->grab().toImage();
    const QColor red(255, 0, 0);
    const QColor face =
        QColor::fromRgb(QApplication::palette().color(QPalette::Active, QPalette::Button).rgb());
    EXPECT_EQ(image.pixelColor(0, 70), red) << "left edge";
    EXPECT_EQ(image.pixelColor(100, 8), red) << "the top band";
    EXPECT_EQ(image.pixelColor(100, 139), red) << "bottom edge";
    EXPECT_EQ(image.pixelColor(100, 70), face) << "inside";

    frame.setBorderThickness(150);
    image = frame.widget()->grab().toImage();
    EXPECT_EQ(image.pixelColor(6, 70), red);
    EXPECT_EQ(image.pixelColor(12, 70), face);

    frame.widget()->resize(15, 15);
    EXPECT_EQ(frame.innerArea().height(), 0) << "too low for an inner area";
    EXPECT_EQ(frame.widget()->grab().toImage().pixelColor(7, 7), red);
}

TEST(RoundRectFrameControl, ControlsLaidOutInsideStayInTheInnerArea)
{
    FrameForm form;
    RoundRectFrame& frame = form.rrfMultiplier;
    auto* layout = new QVBoxLayout(frame.container());
    auto* label = new QLabel(QStringLiteral("Multiplier"));
    layout->addWidget(label);
    frame.widget()->setFixedSize(200, 140);
    form.Show();
    QApplication::processEvents();
    layout->activate();
    EXPECT_TRUE(frame.innerArea().contains(label->geometry()))
        << label->geometry().x() << "," << label->geometry().y();
}

} // namespace
