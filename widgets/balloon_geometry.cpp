#include "widgets/balloon_geometry.h"

#include <QImage>
#include <QPainterPath>

namespace balloon {

QRegion bubbleRegion(const QRect& client)
{
    const int left = client.left();
    const int top = client.top();
    const int right = client.left() + client.width();
    const int bottom = client.top() + client.height();

    const QPolygon tail{QPoint(left + 17, bottom - 20), QPoint(left + 16, bottom),
                        QPoint(left + 36, bottom - 20), QPoint(left + 17, bottom - 20)};
    const QRegion tailRegion(tail, Qt::WindingFill);

    // Corners of 13 x 13: ellipses with radii of 6.5.
    QPainterPath body;
    body.addRoundedRect(QRectF(left, top, right + 1 - left, bottom - 19 - top), 6.5, 6.5);
    const QRegion bodyRegion(body.toFillPolygon().toPolygon(), Qt::WindingFill);
    return bodyRegion.united(tailRegion);
}

QRect bodyOutline(const QRect& client)
{
    return QRect(client.left(), client.top(), client.width(), client.height() - kTailHeight);
}

QPolygon tailOutline(const QRect& client)
{
    const int left = client.left();
    const int bottom = client.top() + client.height();
    return QPolygon{QPoint(left + 17, bottom - 21), QPoint(left + 17, bottom - 2),
                    QPoint(left + 36, bottom - 21), QPoint(left + 17, bottom - 21)};
}

QSize bubbleSize(int iconLeft, int iconTop, int titleLeft, int titleWidth, int textLeft, int textTop,
                 int textWidth, int textHeight)
{
    const int titleSpan = titleLeft - iconLeft + titleWidth;
    const int width = titleSpan < textWidth ? 2 * textLeft + textWidth : titleSpan + 2 * textLeft;
    const int height = textTop + textHeight + 2 * iconTop;
    return QSize(width, height);
}

QPoint bubblePosition(const QPoint& target, int bubbleHeight)
{
    return QPoint(target.x() - kTailOffsetX, target.y() - bubbleHeight);
}

QRegion regionFromPicture(const QImage& picture, const QRect& bounds, const QColor& transparent)
{
    QRegion region;
    const QRect area = bounds.intersected(picture.rect());
    if (area.isEmpty())
        return region;
    const QRgb clear = transparent.rgb() & 0x00FFFFFFu;
    const auto opaque = [&](int x, int y) { return (picture.pixel(x, y) & 0x00FFFFFFu) != clear; };
    for (int x = area.left(); x <= area.right(); ++x) {
        int y = area.top();
        while (y <= area.bottom()) {
            if (!opaque(x, y)) {
                ++y;
                continue;
            }
            const int start = y;
            while (y <= area.bottom() && opaque(x, y))
                ++y;
            region += QRect(x, start, 1, y - start);
        }
    }
    return region;
}

QString windowsVersionName(int platformId, int major, int minor, int build)
{
    switch (platformId) {
    case 1:
        if (minor < 10)
            return build == 950 ? QStringLiteral("Windows 95") : QStringLiteral("Windows 95 SP1");
        if (minor == 10)
            return build == 1998 ? QStringLiteral("Windows 98") : QStringLiteral("Windows 98 SP1");
        return QStringLiteral("Windows ME");
    case 2:
        switch (major) {
        case 3:
            return QStringLiteral("Windows NT 3.51");
        case 4:
            return QStringLiteral("Windows NT 4.0");
        case 5:
            return minor == 0 ? QStringLiteral("Windows 2000") : QStringLiteral("Windows XP");
        default:
            return QString();
        }
    case 3:
        switch (major) {
        case 1:
            return QStringLiteral("Windows CE 1.0");
        case 2:
            return minor == 0 ? QStringLiteral("Windows CE 2.0") : QStringLiteral("Windows CE 2.1");
        default:
            return QStringLiteral("Windows CE 3.0");
        }
    default:
        return QStringLiteral("Unable To get Windows Version");
    }
}

} // namespace balloon
