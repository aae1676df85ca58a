// The Control window keeps its frames where they are while the user works: boxes keep their widths and
// marks that come and go keep their room.

#include "control_fixture.h"

#include "shell/frm_control.h"

#include <QCoreApplication>
#include <QRect>
#include <QWidget>

#include <map>
#include <string>

using namespace controltest;

namespace {

class ControlLayout : public ControlWindowTest {
protected:
    static void settle()
    {
        for (int k = 0; k < 3; ++k)
            QCoreApplication::processEvents();
    }
    // Where each frame and LOAD stand in the window.
    static std::map<std::string, QRect> places(frmControl& w)
    {
        std::map<std::string, QRect> result;
        for (ui::Control* control : std::initializer_list<ui::Control*>{
                 &w.fraOperationalMode, &w.fraModulationOptions, &w.fraOther, &w.fraDACControl,
                 &w.fraSarvexInterface, &w.fraPowerDowns, &w.fraIOUpdateCtrls, &w.fraClock, &w.cmdLoad}) {
            QWidget* widget = control->widget();
            result[control->Name().toStdString()] =
                QRect(widget->mapTo(w.widget(), QPoint(0, 0)), widget->size());
        }
        return result;
    }
};

TEST_F(ControlLayout, FramesStayPutWhileValuesChange)
{
    useRevision(3);
    frmControl& w = open();
    w.Show();
    settle();
    const auto before = places(w);
    const int width = w.Width();

    // Clocks of every length, a reference out of range (its mark shows), the multiplier and the I/O
    // update rate on and off, the load indicator blinking.
    for (const char* clock : {"25.5", "1", "123456.789", "0.000001", "1000"}) {
        w.txtExternClk.setText(QString::fromLatin1(clock));
        settle();
        EXPECT_EQ(places(w), before) << clock;
    }
    for (int on : {1, 0, 1}) {
        w.chkEnablePllSR3.setValue(on);
        w.chkInternalIOUpdate.setValue(on);
        w.txtCLKMultiVal.setText(on ? QStringLiteral("20") : QStringLiteral("4"));
        settle();
        EXPECT_EQ(places(w), before) << on;
    }
    for (ui::Label& mark : w.lblErr)
        mark.setVisible(true);
    w.lblLoadFlash.setVisible(true);
    settle();
    EXPECT_EQ(places(w), before) << "marks shown";
    for (ui::Label& mark : w.lblErr)
        mark.setVisible(false);
    w.lblLoadFlash.setVisible(false);
    settle();
    EXPECT_EQ(places(w), before) << "marks hidden";
    EXPECT_EQ(w.Width(), width);
}

} // namespace
