#include "shell/board_status_indicators.h"

#include "shell/frm_graphics.h"
#include "shell/startup.h"

#include "platform/ui/colors.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"

void BoardStatusIndicators::showConnection(bool connected, const QString& driverName)
{
    frmGraphics& graphics = ui::form<frmGraphics>();
    if (!connected) {
        usbText_.setCaption(QStringLiteral("Not Connected!"));
        usbText_.setForeColor(glClrRed);
        usbText_.setBackColor(glClrDkRed);
        usbIcon_.setPicture(graphics.imgUSBIcon(1).Picture());
        usbAttention_.setVisible(true);
        return;
    }
    usbText_.setForeColor(glClrGreen);
    usbText_.setBackColor(glClrDkGreen);
    usbText_.setCaption(driverName);
    usbIcon_.setPicture(graphics.imgUSBIcon(0).Picture());
    usbAttention_.setVisible(false);
}

void BoardStatusIndicators::showBoardName(const QString& driverName)
{
    usbText_.setCaption(driverName);
}

void BoardStatusIndicators::blinkDisconnected()
{
    if (usbText_.BackColor() != glClrDkRed)
        usbText_.setBackColor(glClrDkRed);
    if (usbAttention_.Visible()) {
        usbAttention_.setVisible(false);
        usbText_.setForeColor(glClrRed);
    } else {
        usbAttention_.setVisible(true);
        usbText_.setForeColor(glClrDkRed);
    }
}

void BoardStatusIndicators::keepConnected()
{
    if (usbText_.BackColor() != glClrDkGreen)
        usbText_.setBackColor(glClrDkGreen);
}

void BoardStatusIndicators::showNotAnswering(const QString& driverName)
{
    // Said once, and left standing (no blinking) until the board answers again or goes.
    usbText_.setCaption(driverName + QStringLiteral(" Not Answering!"));
    usbText_.setForeColor(glClrRed);
    usbText_.setBackColor(glClrDkYellow);
    usbIcon_.setPicture(ui::form<frmGraphics>().imgUSBIcon(1).Picture());
    usbAttention_.setVisible(true);
}

void BoardStatusIndicators::showFIFO(bool connected, bool hasFIFO)
{
    if (!connected) {
        fifo_.setForeColor(ui::colors::vbGrayText);
        fifo_.setBackColor(ui::colors::vbButtonFace);
        fifo_.setToolTipText(QStringLiteral("Waiting for eval board to be detected"));
    } else if (!hasFIFO) {
        fifo_.setForeColor(glClrYellow);
        fifo_.setBackColor(glClrDkYellow);
        fifo_.setCaption(QStringLiteral("FIFO Missing"));
        fifo_.setToolTipText(QStringLiteral("All FIFO features have been disabled"));
    } else {
        fifo_.setForeColor(glClrGreen);
        fifo_.setBackColor(glClrDkGreen);
        fifo_.setCaption(QStringLiteral("FIFO Present"));
        fifo_.setToolTipText(QStringLiteral("All FIFO features have been enabled"));
    }
}
