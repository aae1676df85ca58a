// The main window's status bar and toolbar: the USB and FIFO indicators, the layout rules and the size grip.

#include "shell/mdi_main.h"

#include "board/board_flags.h"
#include "board/cls_ezusb.h"
#include "shell/frm_graphics.h"
#include "shell/startup.h"

#include "platform/ui/colors.h"
#include "platform/ui/forms.h"

#include <QCursor>
#include <QLayout>
#include <QWidget>

void mdiMain::UpdateUSBStat()
{
    frmGraphics& graphics = ui::form<frmGraphics>();
    if (!gbBoardConnected) {
        lblUSBStat.setCaption(QStringLiteral("Not Connected!"));
        lblUSBStat.setForeColor(glClrRed);
        lblUSBStat.setBackColor(glClrDkRed);
        imgUSBIco.setPicture(graphics.imgUSBIcon(1).Picture());
        imgUsbAttention.setVisible(true);
        return;
    }
    lblUSBStat.setForeColor(glClrGreen);
    lblUSBStat.setBackColor(glClrDkGreen);
    lblUSBStat.setCaption(goEZUSB().DriverName());
    imgUSBIco.setPicture(graphics.imgUSBIcon(0).Picture());
    imgUsbAttention.setVisible(false);
}

void mdiMain::UpdateFIFOStat()
{
    if (!gbBoardConnected) {
        lblFIFOStat.setForeColor(ui::colors::vbGrayText);
        lblFIFOStat.setBackColor(ui::colors::vbButtonFace);
        lblFIFOStat.setToolTipText(QStringLiteral("Waiting for eval board to be detected"));
    } else if (!gbHasFIFO) {
        lblFIFOStat.setForeColor(glClrYellow);
        lblFIFOStat.setBackColor(glClrDkYellow);
        lblFIFOStat.setCaption(QStringLiteral("FIFO Missing"));
        lblFIFOStat.setToolTipText(QStringLiteral("All FIFO features have been disabled"));
    } else {
        lblFIFOStat.setForeColor(glClrGreen);
        lblFIFOStat.setBackColor(glClrDkGreen);
        lblFIFOStat.setCaption(QStringLiteral("FIFO Present"));
        lblFIFOStat.setToolTipText(QStringLiteral("All FIFO features have been enabled"));
    }
}

void mdiMain::pbxStatusBar_Paint()
{
    // The grip is shown only where it can act (a normal window); the progress surface then stops short of
    // the bar's right edge by the grip's room. The bar redraws itself when its surface changes size, so
    // nothing is painted from here (a repaint would come straight back to this handler).
    const bool normal = WindowState() == ui::vbNormal;
    if (imgResizer.Visible() != normal)
        imgResizer.setVisible(normal);
    QWidget* bar = pbxStatusBar.container();
    if (bar == nullptr || bar->layout() == nullptr)
        return;
    const QMargins margins(2, 2, normal ? 0 : 15, 0);
    if (bar->layout()->contentsMargins() != margins)
        bar->layout()->setContentsMargins(margins);
}

void mdiMain::pbxToolBar_Resize()
{
    const int width = pbxToolBar.ScaleWidth();
    for (auto& line : lneMainMenuSep)
        line.setPoints(0, line.Y1(), width, line.Y2());
}

void mdiMain::imgResizer_MouseDown(int button, int shift, float x, float y)
{
    (void)shift, (void)x, (void)y;
    if (button != 1)
        return;
    gripStart_ = QCursor::pos();
    gripStartSize_ = QSize(Width(), Height());
}

void mdiMain::imgResizer_MouseMove(int button, int shift, float x, float y)
{
    (void)shift, (void)x, (void)y;
    if (button != 1 || WindowState() != ui::vbNormal || gripStartSize_.isEmpty())
        return;
    const QPoint travel = QCursor::pos() - gripStart_;
    Move(Left(), Top(), std::max(200, gripStartSize_.width() + travel.x()),
         std::max(150, gripStartSize_.height() + travel.y()));
}
