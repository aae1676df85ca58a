#include "platform/ui/colors.h"
#include "widgets/progress_bar.h"
#include "widgets/progress_drawing.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <gtest/gtest.h>
#include <limits>

namespace {

const QColor kWhite(255, 255, 255);
const QColor kBlue(0, 0, 255);
const QColor kMagenta(255, 0, 255);

// A bar in plain colours that are easy to tell apart: white background, blue bar, no border.
void plainColours(cProgressBar& bar)
{
    bar.setBackColor(0xFFFFFF);
    bar.setBarColor(0xFF0000); // 0x00BBGGRR: blue
    bar.setBorderStyle(0);
}

QImage render(cProgressBar& bar, int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(kMagenta);
    bar.DrawToDC(nullptr, &image, 0, 0, width, height);
    return image;
}

QColor at(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

// A system colour as an image stores it (8 bits a channel).
QColor system(uint32_t colour)
{
    return QColor::fromRgb(ui::toQColor(colour).rgb());
}

TEST(ProgressArithmetic, PercentIsTheClampedFractionAndZeroForAnEmptyRange)
{
    struct Case {
        int32_t min, max, value;
        double percent;
    };
    const int32_t lo = std::numeric_limits<int32_t>::min();
    const int32_t hi = std::numeric_limits<int32_t>::max();
    const Case cases[] = {
        {0, 100, 50, 50.0}, {0, 80, 20, 25.0}, {0, 100, -5, 0.0},   {0, 100, 150, 100.0}, {0, 0, 0, 0.0},
        {5, 5, 7, 0.0},     {10, 0, 5, 50.0},  {lo, hi, hi, 100.0}, {lo, hi, lo, 0.0},
    };
    for (const Case& c : cases) {
        cProgressBar bar;
        bar.setMin(c.min);
        bar.setMax(c.max);
        bar.setValue(c.value);
        EXPECT_DOUBLE_EQ(bar.Percent(), c.percent) << c.min << ".." << c.max << " at " << c.value;
    }
    EXPECT_NEAR(progressFraction(0, lo, hi), 0.5, 1e-9) << "a full 32-bit range does not overflow";
}

TEST(ProgressArithmetic, ValueIsStoredUnclamped)
{
    cProgressBar bar;
    bar.setValue(250);
    EXPECT_EQ(bar.Value(), 250);
    EXPECT_DOUBLE_EQ(bar.Percent(), 100.0);
}

TEST(ProgressArithmetic, BarRectangleCoversWholeStepsFromItsFixedEnd)
{
    const PixelRect inner{1, 1, 101, 19};
    struct Case {
        double fraction;
        bool horizontal;
        int step;
        PixelRect bar;
    };
    const PixelRect tall{0, 0, 20, 60};
    const Case cases[] = {
        {0.5, true, 0, {1, 1, 51, 19}},     {0.5, true, 10, {1, 1, 51, 19}},
        {0.57, true, 10, {1, 1, 51, 19}},   {0.57, true, 0, {1, 1, 58, 19}},
        {0.05, true, 10, {1, 1, 1, 19}},    {1.0, true, 10, {1, 1, 101, 19}},
        {0.0, true, 0, {1, 1, 1, 19}},      {0.5, false, 0, {0, 30, 20, 60}},
        {0.25, false, 10, {0, 50, 20, 60}}, {0.0, false, 10, {0, 60, 20, 60}},
        {1.0, false, 0, {0, 0, 20, 60}},
    };
    for (const Case& c : cases) {
        const PixelRect from = c.horizontal ? inner : tall;
        EXPECT_EQ(progressBarRect(from, c.fraction, c.horizontal, c.step), c.bar)
            << c.fraction << (c.horizontal ? " horizontal" : " vertical") << " step " << c.step;
    }
    // 100 x 0.505 = 50.5 rounds to the even 50; 100 x 0.515 = 51.5 rounds to 52.
    EXPECT_EQ(progressBarRect({0, 0, 100, 10}, 0.505, true, 0).right, 50);
    EXPECT_EQ(progressBarRect({0, 0, 100, 10}, 0.515, true, 0).right, 52);
}

TEST(ProgressArithmetic, InnerRectangleShrinksByTheBorder)
{
    const PixelRect outer{0, 0, 100, 20};
    EXPECT_EQ(progressInnerRect(outer, 0, 2, false), outer);
    EXPECT_EQ(progressInnerRect(outer, 1, 1, false), outer.shrunk(1));
    EXPECT_EQ(progressInnerRect(outer, 2, 2, false), outer.shrunk(2));
    EXPECT_EQ(progressInnerRect(outer, 1, 2, true), outer.shrunk(1));
}

TEST(ProgressDrawing, HalfwayBarFillsTheLeftHalf)
{
    cProgressBar bar;
    plainColours(bar);
    bar.setValue(50);
    const QImage image = render(bar, 100, 20);
    EXPECT_EQ(at(image, 0, 10), kBlue);
    EXPECT_EQ(at(image, 49, 0), kBlue);
    EXPECT_EQ(at(image, 50, 10), kWhite);
    EXPECT_EQ(at(image, 99, 19), kWhite);
}

TEST(ProgressDrawing, MaxEqualToMinDrawsAnEmptyBar)
{
    cProgressBar bar;
    plainColours(bar);
    bar.setMin(7);
    bar.setMax(7);
    bar.setValue(7);
    const QImage image = render(bar, 60, 12);
    for (int x = 0; x < 60; x += 5)
        EXPECT_EQ(at(image, x, 6), kWhite) << x;
}

TEST(ProgressDrawing, ValuesOutsideTheRangeDrawEmptyOrFull)
{
    cProgressBar bar;
    plainColours(bar);
    bar.setValue(-40);
    EXPECT_EQ(at(render(bar, 50, 10), 0, 5), kWhite);
    bar.setValue(400);
    EXPECT_EQ(at(render(bar, 50, 10), 49, 5), kBlue);
}

TEST(ProgressDrawing, SegmentsAreEightPixelBlocksWithTwoPixelGaps)
{
    cProgressBar bar;
    plainColours(bar);
    bar.setBorderStyle(1);
    bar.setAppearance(1);
    bar.setSegments(true);
    for (const int value : {50, 57}) {
        bar.setValue(value);
        const QImage image = render(bar, 102, 20); // inner rectangle 1..101: 100 pixels
        for (int x = 1; x < 51; ++x) {
            const bool gap = (x - 1) % 10 >= 8;
            EXPECT_EQ(at(image, x, 10), gap ? kWhite : kBlue) << "value " << value << " x " << x;
        }
        EXPECT_EQ(at(image, 51, 10), kWhite) << value;
        EXPECT_EQ(at(image, 60, 10), kWhite) << value;
    }
}

TEST(ProgressDrawing, VerticalSegmentsStartWithAWholeBlockAtTheBottom)
{
    cProgressBar bar;
    plainColours(bar);
    bar.setSegments(true);
    bar.setValue(50);
    const QImage image = render(bar, 20, 100); // bar from 50 to 100
    for (int y = 99; y >= 50; --y) {
        const bool gap = (99 - y) % 10 >= 8;
        EXPECT_EQ(at(image, 10, y), gap ? kWhite : kBlue) << y;
    }
    EXPECT_EQ(at(image, 10, 49), kWhite);
}

TEST(ProgressDrawing, NarrowOrSquareAreasGrowFromTheBottom)
{
    cProgressBar bar;
    plainColours(bar);
    bar.setValue(25);
    const QImage square = render(bar, 40, 40);
    EXPECT_EQ(at(square, 20, 39), kBlue);
    EXPECT_EQ(at(square, 20, 30), kBlue);
    EXPECT_EQ(at(square, 20, 29), kWhite);
    EXPECT_EQ(at(square, 0, 0), kWhite);
}

// Pixels of a clear colour: red, green or blue well above the other two.
bool reddish(const QColor& c)
{
    return c.red() > 150 && c.green() < 110 && c.blue() < 110;
}
bool greenish(const QColor& c)
{
    return c.green() > 150 && c.red() < 110 && c.blue() < 110;
}

TEST(ProgressDrawing, CaptionChangesColourWhereTheBarCoversIt)
{
    cProgressBar bar;
    plainColours(bar);
    bar.setForeColor(0x0000FF);    // red outside the bar
    bar.setBarForeColor(0x00FF00); // green over the bar
    bar.setText(QString(24, QLatin1Char('M')));
    bar.setShowText(true);
    bar.setValue(50);
    const QImage image = render(bar, 240, 24);
    int redInBar = 0, greenInBar = 0, redOutside = 0, greenOutside = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 240; ++x) {
            const QColor c = at(image, x, y);
            const bool inBar = x < 120;
            (inBar ? redInBar : redOutside) += reddish(c) ? 1 : 0;
            (inBar ? greenInBar : greenOutside) += greenish(c) ? 1 : 0;
        }
    }
    EXPECT_GT(greenInBar, 20);
    EXPECT_GT(redOutside, 20);
    EXPECT_EQ(redInBar, 0);
    EXPECT_EQ(greenOutside, 0);

    bar.setShowText(false);
    const QImage hidden = render(bar, 240, 24);
    EXPECT_EQ(at(hidden, 180, 12), kWhite);
    for (int x = 120; x < 240; ++x)
        ASSERT_FALSE(reddish(at(hidden, x, 12))) << "no caption while ShowText is off";
}

TEST(ProgressDrawing, CaptionFollowsTheAlignment)
{
    cProgressBar bar;
    plainColours(bar);
    bar.setForeColor(0x0000FF);
    bar.setText(QStringLiteral("MM"));
    bar.setShowText(true);
    const auto reddishColumns = [&](int alignX) {
        bar.setTextAlignX(alignX);
        const QImage image = render(bar, 300, 24);
        int first = -1, last = -1;
        for (int x = 0; x < 300; ++x)
            for (int y = 0; y < 24; ++y)
                if (reddish(at(image, x, y))) {
                    if (first < 0)
                        first = x;
                    last = x;
                }
        return std::pair{first, last};
    };
    const auto left = reddishColumns(0);
    const auto centre = reddishColumns(1);
    const auto right = reddishColumns(2);
    ASSERT_GE(left.first, 0);
    EXPECT_LT(left.second, 100);
    EXPECT_GT(centre.first, 100);
    EXPECT_LT(centre.second, 200);
    EXPECT_GT(right.first, 200);
}

TEST(ProgressDrawing, DefaultColoursAndSystemColoursResolve)
{
    cProgressBar bar;
    bar.setBorderStyle(0);
    EXPECT_EQ(bar.BackColor(), kDefaultBarColour);
    bar.setValue(50);
    QImage image = render(bar, 100, 10);
    EXPECT_EQ(at(image, 80, 5), system(ui::colors::vbButtonFace)) << "the default background";
    EXPECT_EQ(at(image, 10, 5), system(ui::colors::vbHighlight)) << "the default bar";

    bar.setBackColor(ui::colors::vbWindowBackground);
    bar.setBarColor(0x0000FF);
    image = render(bar, 100, 10);
    EXPECT_EQ(at(image, 80, 5), system(ui::colors::vbWindowBackground));
    EXPECT_EQ(at(image, 10, 5), QColor(255, 0, 0));
}

TEST(ProgressDrawing, BordersDrawTheirEdgesInTheSystemShadowAndHighlight)
{
    const QColor shadow = system(0x80000010);
    const QColor highlight = system(0x80000014);
    struct Case {
        int borderStyle;
        int appearance;
        QColor topLeft, topRight, bottomLeft, bottomRight;
    };
    const Case cases[] = {
        {1, 0, Qt::black, Qt::black, Qt::black, Qt::black},
        {1, 1, shadow, shadow, shadow, highlight},
        {2, 0, Qt::black, Qt::black, Qt::black, Qt::black},
    };
    for (const Case& c : cases) {
        cProgressBar bar;
        plainColours(bar);
        bar.setBorderStyle(c.borderStyle);
        bar.setAppearance(c.appearance);
        const QImage image = render(bar, 30, 12);
        EXPECT_EQ(at(image, 0, 0), c.topLeft) << c.borderStyle << "/" << c.appearance;
        EXPECT_EQ(at(image, 29, 0), c.topRight) << c.borderStyle << "/" << c.appearance;
        EXPECT_EQ(at(image, 0, 11), c.bottomLeft) << c.borderStyle << "/" << c.appearance;
        EXPECT_EQ(at(image, 29, 11), c.bottomRight) << c.borderStyle << "/" << c.appearance;
        EXPECT_EQ(at(image, 15, 6), kWhite) << "inside stays background";
    }

    // Raised thin edge, drawn on the inner rectangle: highlight top left, shadow bottom right.
    cProgressBar raised;
    plainColours(raised);
    raised.setBorderStyle(2);
    raised.setAppearance(1);
    const QImage image = render(raised, 30, 12);
    EXPECT_EQ(at(image, 1, 1), highlight);
    EXPECT_EQ(at(image, 28, 10), shadow);
    EXPECT_EQ(at(image, 0, 0), kWhite) << "outside the inner rectangle nothing is drawn";

    // The full 3-D look is two pixels deep.
    cProgressBar deep;
    plainColours(deep);
    deep.setBorderStyle(1);
    deep.setAppearance(2);
    deep.setValue(100);
    const QImage full = render(deep, 30, 12);
    EXPECT_EQ(at(full, 0, 6), shadow);
    EXPECT_EQ(at(full, 1, 6), system(0x80000015));
    EXPECT_EQ(at(full, 2, 6), kBlue);
}

QPixmap checker()
{
    QImage tile(3, 2, QImage::Format_ARGB32_Premultiplied);
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan, Qt::black};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            tile.setPixelColor(x, y, colours[y * 3 + x]);
    return QPixmap::fromImage(tile);
}

TEST(ProgressDrawing, PicturesAreTiledFromTheOriginOrStretched)
{
    const QImage tile = checker().toImage();
    cProgressBar bar;
    plainColours(bar);
    bar.setPicture(checker());
    QImage image = render(bar, 20, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(at(image, x, y), tile.pixelColor(x % 3, y % 2)) << x << "," << y;

    bar.setBackPictureMode(2);
    image = render(bar, 30, 20);
    EXPECT_EQ(at(image, 0, 0), tile.pixelColor(0, 0));
    EXPECT_EQ(at(image, 29, 19), tile.pixelColor(2, 1));

    cProgressBar withBar;
    plainColours(withBar);
    withBar.setBarPicture(checker());
    withBar.setValue(50);
    image = render(withBar, 40, 10);
    EXPECT_EQ(at(image, 4, 3), tile.pixelColor(1, 1)) << "the bar picture shows inside the bar";
    EXPECT_EQ(at(image, 30, 3), kWhite) << "and nowhere else";

    withBar.setBarPicture(QPixmap());
    EXPECT_EQ(at(render(withBar, 40, 10), 4, 3), kBlue) << "removing the picture brings the colour back";
}

TEST(ProgressDrawing, TileBitmapStartsAtTheOffsetIntoTheSource)
{
    const QImage tile = checker().toImage();
    QImage image(7, 5, QImage::Format_ARGB32_Premultiplied);
    image.fill(kMagenta);
    {
        QPainter painter(&image);
        progress_drawing::TileBitmap(painter, 1, 1, 5, 3, tile, 3, 2, 1, 0);
    }
    EXPECT_EQ(at(image, 0, 0), kMagenta);
    EXPECT_EQ(at(image, 6, 4), kMagenta);
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 6; ++x)
            ASSERT_EQ(at(image, x, y), tile.pixelColor((x + 1) % 3, y % 2)) << x << "," << y;
}

TEST(ProgressDrawing, DrawsOnlyIntoItsRectangleWhicheverWayTheCornersAreGiven)
{
    cProgressBar bar;
    plainColours(bar);
    bar.setValue(100);
    for (const bool reversed : {false, true}) {
        QImage image(60, 30, QImage::Format_ARGB32_Premultiplied);
        image.fill(kMagenta);
        if (reversed)
            bar.DrawToDC(nullptr, &image, 50, 25, 10, 5);
        else
            bar.DrawToDC(nullptr, &image, 10, 5, 50, 25);
        EXPECT_EQ(at(image, 9, 10), kMagenta);
        EXPECT_EQ(at(image, 10, 5), kBlue);
        EXPECT_EQ(at(image, 49, 24), kBlue);
        EXPECT_EQ(at(image, 50, 24), kMagenta);
        EXPECT_EQ(at(image, 30, 25), kMagenta);
    }
}

TEST(ProgressDrawing, EmptyAndOversizedRectanglesDrawNothing)
{
    cProgressBar bar;
    plainColours(bar);
    QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(kMagenta);
    bar.DrawToDC(nullptr, &image, 5, 5, 5, 15);
    bar.DrawToDC(nullptr, &image, std::numeric_limits<int>::min(), 0, std::numeric_limits<int>::max(), 10);
    bar.DrawToDC(nullptr, nullptr, 0, 0, 10, 10);
    for (int x = 0; x < 20; ++x)
        ASSERT_EQ(at(image, x, 8), kMagenta) << x;
}

TEST(ProgressDrawing, ThemedBarUsesTheStyleAndTracksTheValue)
{
    cProgressBar bar;
    plainColours(bar);
    bar.setXpStyle(true);
    bar.setBorderStyle(1);
    bar.setValue(0);
    const QImage empty = render(bar, 200, 20);
    bar.setValue(100);
    const QImage full = render(bar, 200, 20);
    EXPECT_NE(empty, full);
    EXPECT_NE(at(full, 100, 10), kMagenta);
    EXPECT_NE(at(full, 100, 10), at(empty, 100, 10)) << "the bar covers the middle only when full";
    bar.setMax(0);
    bar.setText(QStringLiteral("Loading..."));
    bar.setShowText(true);
    const QImage emptyRange = render(bar, 200, 20);
    EXPECT_EQ(at(emptyRange, 190, 10), at(empty, 190, 10)) << "an empty range draws an empty bar";
}

TEST(MemorySurface, GrowsToExactlyTheSizeAskedWhenEitherSideIsTooSmall)
{
    pcMemDC surface;
    EXPECT_EQ(surface.hdc(0, 10), nullptr);
    ASSERT_NE(surface.hdc(100, 20), nullptr);
    EXPECT_EQ(surface.Width(), 100);
    EXPECT_EQ(surface.Height(), 20);
    surface.hdc(50, 10);
    EXPECT_EQ(surface.Width(), 100) << "a smaller request keeps the surface";
    surface.hdc(50, 30);
    EXPECT_EQ(surface.Width(), 50);
    EXPECT_EQ(surface.Height(), 30);
    EXPECT_EQ(surface.image().size(), QSize(50, 30));
    EXPECT_EQ(surface.hdc(pcMemDC::kMaxSide + 1, 10), nullptr) << "a refused size leaves no surface";

    pcMemDC sized;
    sized.setWidth(8);
    EXPECT_FALSE(sized.hasSurface());
    sized.setHeight(4);
    EXPECT_EQ(sized.image().size(), QSize(8, 4));
    sized.setWidth(16);
    EXPECT_EQ(sized.image().size(), QSize(16, 4)) << "the stored size and the surface agree";
}

TEST(MemorySurface, PictureIsCopiedAndDrawnBack)
{
    pcMemDC surface;
    surface.CreateFromPicture(checker().toImage());
    EXPECT_EQ(surface.Width(), 3);
    EXPECT_EQ(surface.Height(), 2);
    QImage target(5, 5, QImage::Format_ARGB32_Premultiplied);
    target.fill(kMagenta);
    {
        QPainter painter(&target);
        surface.Draw(painter, 1, 0, 0, 0, 2, 3);
    }
    EXPECT_EQ(target.pixelColor(2, 3), QColor(Qt::green));
    EXPECT_EQ(target.pixelColor(1, 3), kMagenta);
}

} // namespace
