#include "widgets/mem_dc.h"

#include <QPainter>

void pcMemDC::setWidth(int width)
{
    if (width == width_)
        return;
    width_ = width;
    remakeAtStoredSize();
}

void pcMemDC::setHeight(int height)
{
    if (height == height_)
        return;
    height_ = height;
    remakeAtStoredSize();
}

// The stored size and the surface always agree, so a copy of "the whole surface" never reads past it.
void pcMemDC::remakeAtStoredSize()
{
    if (width_ > 0 && height_ > 0) {
        if (image_.size() != QSize(width_, height_))
            Create(width_, height_);
    } else {
        image_ = QImage();
    }
}

QImage* pcMemDC::hdc(int width, int height)
{
    if (hasSurface()) {
        if (width > width_ || height > height_)
            Create(width, height);
    } else if (width > 0 && height > 0) {
        Create(width, height);
    }
    return hasSurface() ? &image_ : nullptr;
}

void pcMemDC::Create(int width, int height)
{
    Destroy();
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return;
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return;
    image.fill(Qt::black);
    image_ = std::move(image);
    width_ = width;
    height_ = height;
}

void pcMemDC::Destroy()
{
    image_ = QImage();
    width_ = 0;
    height_ = 0;
}

void pcMemDC::Draw(QPainter& target, int xSrc, int ySrc, int widthSrc, int heightSrc, int xDst,
                   int yDst) const
{
    if (!hasSurface())
        return;
    const int width = widthSrc <= 0 ? width_ : widthSrc;
    const int height = heightSrc <= 0 ? height_ : heightSrc;
    // Only what the surface has is copied: a source reaching past it is cut, not stretched.
    const QRect source = QRect(xSrc, ySrc, width, height).intersected(image_.rect());
    if (source.isEmpty())
        return;
    const QRect destination(xDst + (source.left() - xSrc), yDst + (source.top() - ySrc), source.width(),
                            source.height());
    const QPainter::CompositionMode previous = target.compositionMode();
    target.setCompositionMode(QPainter::CompositionMode_Source);
    target.drawImage(destination, image_, source);
    target.setCompositionMode(previous);
}

void pcMemDC::CreateFromPicture(const QImage& picture)
{
    if (picture.isNull()) {
        Destroy();
        return;
    }
    setWidth(picture.width());
    setHeight(picture.height());
    if (!hasSurface())
        return;
    QPainter painter(&image_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, picture);
}
