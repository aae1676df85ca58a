// The main window's layout: the toolbar above the MDI area and the status bar below it, the layout rules
// that follow the window's state, and the size grip.

#include "shell/mdi_main.h"

#include "platform/usb/usb_driver.h"

#include "platform/ui/colors.h"

#include <QApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QLayout>
#include <QMdiArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>

namespace {

QPixmap standardPicture(QStyle::StandardPixmap which)
{
    return QApplication::style()->standardIcon(which).pixmap(16, 16);
}

} // namespace

void mdiMain::buildUi(QWidget* window)
{
    // Toolbar: the separator under the menu bar, the buttons, the "Auto" box and a separator.
    QWidget* toolBar = pbxToolBar.container();
    auto* toolColumn = new QVBoxLayout(toolBar);
    toolColumn->setContentsMargins(0, 0, 0, 2);
    toolColumn->setSpacing(2);
    for (auto& line : lneMainMenuSep) {
        line.setBorderColor(line.Index() == 0 ? ui::colors::vbButtonShadow : ui::colors::vb3DHighlight);
        toolColumn->addWidget(line.widget());
    }
    auto* toolRow = new QHBoxLayout;
    toolRow->setContentsMargins(4, 0, 4, 0);
    toolRow->setSpacing(3);
    cmdToolBarBtn(0).setPicture(standardPicture(QStyle::SP_DialogOpenButton));
    cmdToolBarBtn(1).setPicture(standardPicture(QStyle::SP_DialogSaveButton));
    for (auto& button : cmdToolBarBtn)
        toolRow->addWidget(button.widget());
    lneSep1.setPoints(0, 0, 0, 20);
    lneSep1.setBorderColor(ui::colors::vbButtonShadow);
    toolRow->addWidget(lneSep1.widget());
    toolRow->addWidget(chkAutoIOUd.widget());
    toolRow->addStretch(1);
    toolColumn->addLayout(toolRow);

    // Status bar: the progress bar's surface, the FIFO and USB indicators and the size grip.
    QWidget* statusBar = pbxStatusBar.container();
    // Which kind of board the program talks to, so that an emulated board never passes for a real one.
    statusBar->setToolTip(usb::boardKind());
    auto* statusRow = new QHBoxLayout(statusBar);
    statusRow->setContentsMargins(2, 2, 0, 0);
    statusRow->setSpacing(3);
    pbxProgress.widget()->setMinimumHeight(18);
    statusRow->addWidget(pbxProgress.widget(), 1);
    lblFIFOStat.widget()->setMinimumWidth(100);
    statusRow->addWidget(lblFIFOStat.widget());
    statusRow->addWidget(imgUSBIco.widget());
    // The attention sign blinks by its visibility; hidden, it keeps its room so nothing beside it moves.
    QSizePolicy keepRoom = imgUsbAttention.widget()->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    imgUsbAttention.widget()->setSizePolicy(keepRoom);
    statusRow->addWidget(imgUsbAttention.widget());
    lblUSBStat.widget()->setMinimumWidth(110);
    statusRow->addWidget(lblUSBStat.widget());
    statusRow->addWidget(imgResizer.widget(), 0, Qt::AlignBottom);

    auto* column = new QVBoxLayout(window);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(toolBar);
    column->addWidget(mdiArea(), 1);
    column->addWidget(statusBar);
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
