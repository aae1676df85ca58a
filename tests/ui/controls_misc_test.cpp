#include "controls_test_support.h"

#include "platform/ui/colors.h"
#include "platform/ui/controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using controls_test::EventLog;
using controls_test::HostForm;
using controls_test::showActive;
using controls_test::userClick;

namespace {

QColor pixelAt(QWidget* widget, QPoint at)
{
    return widget->grab().toImage().pixelColor(at);
}

TEST(ControlBase, RegistersWithItsFormByNameAndIndex)
{
    HostForm form;
    {
        ui::Label lblErr0(&form, QStringLiteral("lblErr"), 0);
        ui::Label lblErr4(&form, QStringLiteral("lblErr"), 4);
        EXPECT_EQ(form.control(QStringLiteral("lblErr"), 4), &lblErr4);
        EXPECT_EQ(lblErr4.Index(), 4);
        EXPECT_EQ(lblErr0.parentForm(), &form);
    }
    EXPECT_EQ(form.control(QStringLiteral("lblErr"), 4), nullptr) << "a destroyed control leaves the form";
}

TEST(ControlBase, VisibleIsTheControlsOwnPropertyAndSurvivesPlacement)
{
    HostForm form;
    ui::Label lblAutoSize(&form, QStringLiteral("lblAutoSize"));
    ui::Label lblShown(&form, QStringLiteral("lblShown"));
    lblAutoSize.setVisible(false); // set before the form lays its controls out
    EXPECT_TRUE(lblShown.Visible()) << "visible although its form is not shown";
    showActive(form);
    EXPECT_FALSE(lblAutoSize.widget()->isVisible());
    EXPECT_TRUE(lblShown.widget()->isVisible());
    form.Hide();
    EXPECT_TRUE(lblShown.Visible());
}

TEST(ControlBase, ColoursReachThePaletteAndSystemColoursResolve)
{
    HostForm form;
    ui::Label lblUSBStat(&form, QStringLiteral("lblUSBStat"));
    EXPECT_EQ(lblUSBStat.BackColor(), 0x8000000Fu);
    lblUSBStat.setForeColor(0x0000FF); // red
    lblUSBStat.setBackColor(0x000040); // dark red
    const QPalette palette = lblUSBStat.widget()->palette();
    EXPECT_EQ(palette.color(QPalette::Active, QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(palette.color(QPalette::Active, QPalette::Window), QColor(0x40, 0, 0));
    EXPECT_TRUE(lblUSBStat.widget()->autoFillBackground());
    lblUSBStat.setForeColor(ui::colors::vbGrayText);
    EXPECT_EQ(lblUSBStat.ForeColor(), ui::colors::vbGrayText);
    EXPECT_EQ(lblUSBStat.widget()->palette().color(QPalette::Active, QPalette::WindowText),
              ui::toQColor(ui::colors::vbGrayText));
}

TEST(ControlBase, TagToolTipAndEnabled)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtOutFreqST"), 0);
    txt.Tag = QStringLiteral("429496730");
    txt.setToolTipText(QStringLiteral("Hex: 3F   Bin: 111111"));
    txt.setEnabled(false);
    EXPECT_EQ(txt.Tag, QStringLiteral("429496730"));
    EXPECT_EQ(txt.widget()->toolTip(), QStringLiteral("Hex: 3F   Bin: 111111"));
    EXPECT_FALSE(txt.Enabled());
    EXPECT_FALSE(txt.widget()->isEnabled());
}

TEST(ControlBase, KeyDownCanSwallowAKeyAndKeyUpFollows)
{
    HostForm form;
    ui::TextBox txt(&form, QStringLiteral("txtCLKMultiVal"));
    showActive(form);
    std::vector<int> down;
    std::vector<int> up;
    int presses = 0;
    txt.KeyDown = [&](int& code, int shift) {
        down.push_back(code * 10 + shift);
        if (code == 38) // Up moves to the spin button in the window
            code = 0;
    };
    txt.KeyUp = [&](int& code, int) { up.push_back(code); };
    txt.KeyPress = [&](int&) { ++presses; };
    QTest::keyClick(txt.widget(), Qt::Key_Up);
    QTest::keyClick(txt.widget(), Qt::Key_A, Qt::ShiftModifier);
    // Shift itself is a key (16) with its own KeyDown and KeyUp.
    EXPECT_EQ(down, (std::vector<int>{380, 161, 651}));
    EXPECT_EQ(up, (std::vector<int>{38, 65, 16}));
    EXPECT_EQ(presses, 1);
}

TEST(ControlBase, MouseEventsCarryButtonShiftAndPosition)
{
    HostForm form;
    ui::Image imgResizer(&form, QStringLiteral("imgResizer"));
    QPixmap grip(16, 16);
    grip.fill(Qt::gray);
    imgResizer.setPicture(grip);
    showActive(form);
    EventLog log;
    imgResizer.MouseDown = [&](int button, int shift, float x, float y) {
        log.add(QStringLiteral("down %1 %2 %3,%4").arg(button).arg(shift).arg(x).arg(y));
    };
    imgResizer.MouseUp = [&](int button, int, float, float) { log.add(QStringLiteral("up %1").arg(button)); };
    imgResizer.Click = [&] { log.add(QStringLiteral("click")); };
    QTest::mouseClick(imgResizer.widget(), Qt::LeftButton, Qt::ShiftModifier, QPoint(3, 4));
    QTest::mouseClick(imgResizer.widget(), Qt::RightButton, Qt::NoModifier, QPoint(3, 4));
    EXPECT_EQ(log.joined(), QStringLiteral("down 1 1 3,4 up 1 click down 2 0 3,4 up 2"));
}

TEST(ControlBase, ContainerDestroyedBeforeItsControlsLeavesThemUsable)
{
    HostForm form;
    auto optA = std::make_unique<ui::OptionButton>(&form, QStringLiteral("optA"));
    auto fra = std::make_unique<ui::Frame>(&form, QStringLiteral("fraGroup"));
    auto* layout = new QVBoxLayout(fra->container());
    layout->addWidget(optA->widget());
    fra.reset(); // its group box takes the option button's widget along
    EXPECT_EQ(optA->widget(), nullptr);
    int clicks = 0;
    optA->Click = [&] { ++clicks; };
    optA->setValue(true);
    optA->setCaption(QStringLiteral("still here"));
    EXPECT_TRUE(optA->Value());
    EXPECT_EQ(optA->Caption(), QStringLiteral("still here"));
    EXPECT_EQ(clicks, 1);
}

TEST(Label, CaptionHidesAcceleratorMarksAndClicksFireOnce)
{
    HostForm form;
    ui::Label lbl(&form, QStringLiteral("lblStatus"));
    lbl.setCaption(QStringLiteral("&Status && more"));
    EXPECT_EQ(lbl.Caption(), QStringLiteral("&Status && more"));
    EXPECT_EQ(static_cast<QLabel*>(lbl.widget())->text(), QStringLiteral("Status & more"));
    showActive(form);
    EventLog log;
    lbl.Click = [&] { log.add(QStringLiteral("Click")); };
    lbl.DblClick = [&] { log.add(QStringLiteral("DblClick")); };
    lbl.MouseDown = [&](int, int, float, float) { log.add(QStringLiteral("Down")); };
    // A double click: press, release (Click), second press (DblClick), release (no second Click).
    userClick(lbl.widget());
    QTest::mouseDClick(lbl.widget(), Qt::LeftButton);
    EXPECT_EQ(log.joined(), QStringLiteral("Down Click DblClick"));
}

TEST(Label, AutoSizeMeasuresTheCaption)
{
    HostForm form;
    ui::Label lblAutoSize(&form, QStringLiteral("lblAutoSize"));
    lblAutoSize.setAutoSize(true);
    lblAutoSize.setCaption(QStringLiteral("Device"));
    const int narrow = lblAutoSize.Width();
    lblAutoSize.setCaption(QStringLiteral("Firmware Rev."));
    EXPECT_GT(lblAutoSize.Width(), narrow);
    EXPECT_EQ(lblAutoSize.Width(),
              QFontMetrics(lblAutoSize.Font()).horizontalAdvance(QStringLiteral("Firmware Rev.")) +
                  2 * static_cast<QLabel*>(lblAutoSize.widget())->margin() +
                  2 * static_cast<QLabel*>(lblAutoSize.widget())->frameWidth());
}

TEST(PictureBox, DrawingStaysOnTheSurfaceUntilCls)
{
    HostForm form;
    ui::PictureBox pbx(&form, QStringLiteral("pbxProgress"));
    pbx.setAutoRedraw(true);
    pbx.setBorderStyle(0);
    showActive(form);
    pbx.widget()->resize(100, 20);
    pbx.Box(0, 0, 49, 19, 0x00FF00, true);
    pbx.Line(60, 10, 90, 10, 0x0000FF);
    EXPECT_EQ(pixelAt(pbx.widget(), QPoint(10, 10)), QColor(0, 255, 0));
    EXPECT_EQ(pixelAt(pbx.widget(), QPoint(75, 10)), QColor(255, 0, 0));
    EXPECT_EQ(pbx.CurrentX(), 90);
    pbx.Cls();
    EXPECT_NE(pixelAt(pbx.widget(), QPoint(10, 10)), QColor(0, 255, 0));
    EXPECT_EQ(pbx.CurrentX(), 0);
}

TEST(PictureBox, PaintFiresOnRepaintOnlyWithoutAutoRedraw)
{
    HostForm form;
    ui::PictureBox pbxStatusBar(&form, QStringLiteral("pbxStatusBar"));
    pbxStatusBar.setAlign(ui::vbAlignBottom);
    showActive(form);
    QCoreApplication::processEvents(); // the window is exposed and painted once
    int paints = 0;
    int resizes = 0;
    pbxStatusBar.Paint = [&] {
        ++paints;
        pbxStatusBar.Cls(); // drawing inside Paint must not ask for another repaint
        pbxStatusBar.Box(0, 0, 5, 5, 0xFF0000, true);
    };
    pbxStatusBar.Resize = [&] { ++resizes; };
    pbxStatusBar.Refresh();
    EXPECT_EQ(paints, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(paints, 1) << "Paint asked for no further repaint";
    pbxStatusBar.widget()->resize(200, 30);
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(pbxStatusBar.ScaleWidth(), 198) << "inside the border";
    pbxStatusBar.setAutoRedraw(true);
    pbxStatusBar.Refresh();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(pbxStatusBar.Align(), ui::vbAlignBottom);
}

TEST(PictureBox, PrintWritesLinesDownwards)
{
    HostForm form;
    ui::PictureBox pbx(&form, QStringLiteral("pbxText"));
    const int lineHeight = pbx.TextHeight(QStringLiteral("x"));
    pbx.setCurrentX(12);
    pbx.Print(QStringLiteral("Loading FIFO"));
    EXPECT_EQ(pbx.CurrentX(), 0);
    EXPECT_EQ(pbx.CurrentY(), lineHeight);
    EXPECT_GT(pbx.TextWidth(QStringLiteral("Loading FIFO")), pbx.TextWidth(QStringLiteral("FIFO")));
}

TEST(Image, PictureIsTakenFromAnotherImage)
{
    HostForm graphics;
    ui::ControlArray<ui::Image> imgUSBIcon(&graphics, QStringLiteral("imgUSBIcon"), 2);
    QPixmap connected(12, 12);
    connected.fill(Qt::green);
    imgUSBIcon(0).setPicture(connected);
    HostForm mainWindow;
    ui::Image imgUSBIco(&mainWindow, QStringLiteral("imgUSBIco"));
    imgUSBIco.setPicture(imgUSBIcon(0).Picture());
    EXPECT_EQ(imgUSBIco.Picture().toImage(), connected.toImage());
    EXPECT_EQ(imgUSBIco.widget()->size(), QSize(12, 12))
        << "without Stretch the image takes the picture's size";
    imgUSBIco.setStretch(true);
    imgUSBIco.widget()->resize(40, 40);
    EXPECT_EQ(imgUSBIco.widget()->size(), QSize(40, 40));
}

TEST(Shape, LampShowsItsFillColour)
{
    HostForm form;
    ui::Shape shpLamp(&form, QStringLiteral("shpLamp"));
    shpLamp.setShape(ui::vbShapeCircle);
    shpLamp.setFillStyle(ui::vbFSSolid);
    shpLamp.setFillColor(0x00FF00); // lit green
    shpLamp.setBorderColor(0x000000);
    shpLamp.widget()->resize(20, 20);
    EXPECT_EQ(pixelAt(shpLamp.widget(), QPoint(10, 10)), QColor(0, 255, 0));
    shpLamp.setFillColor(0x004000); // dark green
    EXPECT_EQ(pixelAt(shpLamp.widget(), QPoint(10, 10)), QColor(0, 0x40, 0));
    shpLamp.setFillStyle(ui::vbFSTransparent);
    EXPECT_NE(pixelAt(shpLamp.widget(), QPoint(10, 10)), QColor(0, 0x40, 0));
}

TEST(Line, SitsOnItsBoundingBoxAndDrawsItsColour)
{
    HostForm form;
    ui::Line lneSep(&form, QStringLiteral("lneSep1"));
    lneSep.setBorderColor(0xFF0000); // blue
    lneSep.setBorderWidth(2);
    lneSep.setPoints(10, 5, 110, 5);
    EXPECT_EQ(lneSep.widget()->geometry(), QRect(9, 4, 102, 2));
    EXPECT_EQ(pixelAt(lneSep.widget(), QPoint(50, 1)), QColor(0, 0, 255));
}

TEST(Frame, HoldsControlsAndShowsItsCaption)
{
    HostForm form;
    ui::Frame fra(&form, QStringLiteral("fraClock"));
    fra.setCaption(QStringLiteral("Clock"));
    EXPECT_EQ(static_cast<QGroupBox*>(fra.widget())->title(), QStringLiteral("Clock"));
    EXPECT_TRUE(ui::isContainer(fra.container()));
}

TEST(Frame, AClickOnALabelInsideReachesTheLabelOnly)
{
    struct FrameForm : HostForm {
        ui::Frame fraDACControl{this, QStringLiteral("fraDACControl")};
        ui::Label lblIoutUnits{this, QStringLiteral("lblIoutUnits")};

    protected:
        void buildUi(QWidget* window) override
        {
            (new QVBoxLayout(window))->addWidget(fraDACControl.widget());
            (new QVBoxLayout(fraDACControl.container()))->addWidget(lblIoutUnits.widget());
        }
    } form;
    form.lblIoutUnits.setCaption(QStringLiteral("mA"));
    showActive(form);
    EventLog log;
    form.lblIoutUnits.Click = [&] { log.add(QStringLiteral("label")); };
    form.fraDACControl.Click = [&] { log.add(QStringLiteral("frame")); };
    form.fraDACControl.MouseDown = [&](int, int, float, float) { log.add(QStringLiteral("frame down")); };
    userClick(form.lblIoutUnits.widget());
    EXPECT_EQ(log.joined(), QStringLiteral("label"));
}

TEST(TabStrip, SelectionFiresClickWithThePreviousTab)
{
    HostForm form;
    ui::TabStrip sstTabs(&form, QStringLiteral("sstTabs"));
    for (const char* caption : {"QAM", "QAM (Polar)", "GMSK \\ EDGE", "SDPSK", "Debug", "About"})
        sstTabs.addTab(QString::fromLatin1(caption));
    EXPECT_EQ(sstTabs.Tabs(), 6);
    EXPECT_EQ(sstTabs.Tab(), 0);
    std::vector<int> previous;
    sstTabs.Click = [&](int before) { previous.push_back(before); };
    sstTabs.setTab(3);
    sstTabs.setTab(3);
    EXPECT_EQ(previous, (std::vector<int>{0}));
    sstTabs.setTabVisible(5, false);
    sstTabs.setTab(5); // hidden: refused
    EXPECT_EQ(sstTabs.Tab(), 3);
    sstTabs.setTabEnabled(3, false); // the selected tab goes out of use: the next usable one takes over
    EXPECT_EQ(sstTabs.Tab(), 4);
    EXPECT_EQ(previous, (std::vector<int>{0, 3}));
    ASSERT_NE(sstTabs.page(2), nullptr);
    EXPECT_TRUE(ui::isContainer(sstTabs.page(2)));

    showActive(form);
    QTabBar* bar = static_cast<QTabWidget*>(sstTabs.widget())->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(1).center());
    EXPECT_EQ(sstTabs.Tab(), 1);
    EXPECT_EQ(previous, (std::vector<int>{0, 3, 4}));
}

TEST(ControlArray, IndexesBoundsAndIteration)
{
    HostForm form;
    ui::ControlArray<ui::Label> lblErr(&form, QStringLiteral("lblErr"));
    EXPECT_EQ(lblErr.Count(), 0);
    EXPECT_EQ(lblErr.UBound(), -1);
    for (int index : {0, 1, 3, 4, 5})
        lblErr.add(index);
    EXPECT_EQ(lblErr.Count(), 5);
    EXPECT_EQ(lblErr.LBound(), 0);
    EXPECT_EQ(lblErr.UBound(), 5);
    EXPECT_FALSE(lblErr.exists(2));
    EXPECT_THROW(lblErr(2), std::out_of_range);
    EXPECT_EQ(lblErr(4).Index(), 4);
    EXPECT_EQ(lblErr(4).Name(), QStringLiteral("lblErr"));
    EXPECT_EQ(form.control(QStringLiteral("lblErr"), 3), &lblErr(3));
    std::vector<int> order;
    for (ui::Label& label : lblErr)
        order.push_back(label.Index());
    EXPECT_EQ(order, (std::vector<int>{0, 1, 3, 4, 5}));
    lblErr.remove(5);
    EXPECT_EQ(lblErr.UBound(), 4);
    EXPECT_EQ(form.control(QStringLiteral("lblErr"), 5), nullptr);
}

TEST(ControlArray, HandlersGetTheIndexAlsoForElementsAddedLater)
{
    HostForm form;
    ui::ControlArray<ui::CommandButton> cmdToolBarBtn(&form, QStringLiteral("cmdToolBarBtn"), 4);
    ui::ControlArray<ui::TextBox> txtTW(&form, QStringLiteral("txtTW"), 2);
    std::vector<int> clicked;
    cmdToolBarBtn.on(&ui::CommandButton::Click, [&](int index) { clicked.push_back(index); });
    txtTW.on(&ui::TextBox::KeyPress, [&](int index, int& key) { key = index == 1 ? 0 : key; });
    std::vector<int> focused;
    txtTW.on(&ui::TextBox::GotFocus, [&](int index) { focused.push_back(index); });
    cmdToolBarBtn.add(5);
    cmdToolBarBtn(3).click();
    cmdToolBarBtn(5).click();
    EXPECT_EQ(clicked, (std::vector<int>{3, 5}));

    showActive(form);
    QTest::keyClicks(txtTW(0).widget(), QStringLiteral("10"));
    QTest::keyClicks(txtTW(1).widget(), QStringLiteral("10"));
    EXPECT_EQ(txtTW(0).Text(), QStringLiteral("10"));
    EXPECT_EQ(txtTW(1).Text(), QString());
    txtTW(1).SetFocus();
    EXPECT_EQ(focused.back(), 1);
}

} // namespace
