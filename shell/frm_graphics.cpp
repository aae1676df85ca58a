// The picture store's pictures, drawn once when the store is made.

#include "shell/frm_graphics.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QRadialGradient>

namespace {

QPixmap blank(int width, int height)
{
    QPixmap picture(width, height);
    picture.fill(Qt::transparent);
    return picture;
}

// A round lamp: lit in `colour`, dark in a dim shade of it.
QPixmap roundLamp(QColor colour, bool lit, int size = 12)
{
    QPixmap picture = blank(size, size);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor face = lit ? colour : colour.darker(400);
    QRadialGradient shine(size * 0.35, size * 0.35, size * 0.6);
    shine.setColorAt(0, lit ? face.lighter(170) : face.lighter(130));
    shine.setColorAt(1, face);
    painter.setBrush(shine);
    painter.setPen(QPen(QColor(64, 64, 64), 1));
    painter.drawEllipse(QRectF(0.5, 0.5, size - 1, size - 1));
    return picture;
}

QPixmap rectLamp(bool lit)
{
    QPixmap picture = blank(16, 8);
    QPainter painter(&picture);
    painter.setBrush(lit ? QColor(255, 0, 0) : QColor(64, 0, 0));
    painter.setPen(QPen(QColor(64, 64, 64), 1));
    painter.drawRect(0, 0, 15, 7);
    return picture;
}

QPixmap logo(int width, int height)
{
    QPixmap picture = blank(width, height);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0, 70, 140));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0, 0, width, height), height / 5.0, height / 5.0);
    QFont font(QStringLiteral("Sans Serif"));
    font.setBold(true);
    font.setPixelSize(height * 3 / 5);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, width, height), Qt::AlignCenter, QStringLiteral("SX"));
    return picture;
}

QPixmap stopIcon(bool enabled)
{
    QPixmap picture = blank(16, 16);
    QPainter painter(&picture);
    painter.setBrush(enabled ? QColor(200, 0, 0) : QColor(160, 160, 160));
    painter.setPen(QPen(QColor(64, 64, 64), 1));
    painter.drawRect(3, 3, 10, 10);
    return picture;
}

QPixmap playIcon(bool enabled)
{
    QPixmap picture = blank(16, 16);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(enabled ? QColor(0, 160, 0) : QColor(160, 160, 160));
    painter.setPen(QPen(QColor(64, 64, 64), 1));
    const QPointF triangle[3] = {{4, 2}, {14, 8}, {4, 14}};
    painter.drawPolygon(triangle, 3);
    return picture;
}

// The USB trident; crossed out in red when no board is connected.
QPixmap usbIcon(bool connected)
{
    QPixmap picture = blank(16, 16);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = connected ? QColor(0, 90, 0) : QColor(96, 96, 96);
    painter.setPen(QPen(ink, 1.5));
    painter.drawLine(QPointF(8, 2), QPointF(8, 14));
    painter.drawLine(QPointF(8, 10), QPointF(4, 7));
    painter.drawLine(QPointF(8, 8), QPointF(12, 5));
    painter.setBrush(ink);
    painter.drawEllipse(QPointF(8, 14), 1.5, 1.5);
    painter.drawEllipse(QPointF(4, 6.5), 1.2, 1.2);
    painter.drawRect(QRectF(11, 3.5, 2, 2));
    if (!connected) {
        painter.setPen(QPen(QColor(220, 0, 0), 2));
        painter.drawLine(QPointF(2, 2), QPointF(14, 14));
    }
    return picture;
}

QPixmap attentionSign()
{
    QPixmap picture = blank(16, 16);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(255, 210, 0));
    painter.setPen(QPen(QColor(64, 64, 64), 1));
    const QPointF triangle[3] = {{8, 1}, {15, 15}, {1, 15}};
    painter.drawPolygon(triangle, 3);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(QPointF(8, 6), QPointF(8, 10));
    painter.drawPoint(QPointF(8, 13));
    return picture;
}

} // namespace

frmGraphics::frmGraphics() : Form(FormName)
{
    setCaption(QStringLiteral("Graphics"));
    imgSXLogo(0).setPicture(logo(32, 16));
    imgSXLogo(1).setPicture(logo(64, 32));
    imgRLed(0).setPicture(roundLamp(QColor(255, 0, 0), false));
    imgRLed(1).setPicture(roundLamp(QColor(255, 0, 0), true));
    imgStopIcon(0).setPicture(stopIcon(true));
    imgStopIcon(1).setPicture(stopIcon(false));
    imgPlayIcon(0).setPicture(playIcon(true));
    imgPlayIcon(1).setPicture(playIcon(false));
    imgUSBIcon(0).setPicture(usbIcon(true));
    imgUSBIcon(1).setPicture(usbIcon(false));
    imgAttenSM(0).setPicture(attentionSign());
    imgRedRectLED(0).setPicture(rectLamp(false));
    imgRedRectLED(1).setPicture(rectLamp(true));
    imgGreenLed(0).setPicture(roundLamp(QColor(0, 255, 0), false));
    imgGreenLed(1).setPicture(roundLamp(QColor(0, 255, 0), true));
}
