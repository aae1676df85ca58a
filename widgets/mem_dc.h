#pragma once

#include <QImage>

class QPainter;

// An off-screen drawing surface: the progress bar draws a whole frame here and then copies it to its
// target in one go, so the user never sees a half-drawn bar.
class pcMemDC {
public:
    int Width() const { return width_; }
    int Height() const { return height_; }
    // A new size makes a new (blank) surface of exactly that size; a side of 0 or less leaves none.
    void setWidth(int width);
    void setHeight(int height);

    // The surface, made or remade when it is smaller than width x height in either direction (remade at
    // exactly the size asked); nullptr when there is none and none can be made.
    QImage* hdc(int width, int height);
    bool hasSurface() const { return !image_.isNull(); }
    const QImage& image() const { return image_; }

    // Copies widthSrc x heightSrc from (xSrc, ySrc) of the surface to (xDst, yDst) of the painter's device,
    // replacing what was there; a width or height of 0 or less means the surface's own.
    void Draw(QPainter& target, int xSrc, int ySrc, int widthSrc, int heightSrc, int xDst, int yDst) const;
    // Makes the surface the size of the picture and copies the picture into it.
    void CreateFromPicture(const QImage& picture);

    // Sides beyond this are refused (a progress bar never needs more; it keeps huge sizes from exhausting
    // memory).
    static constexpr int kMaxSide = 16384;

private:
    void Create(int width, int height);
    void Destroy();
    void remakeAtStoredSize();

    QImage image_;
    int width_ = 0;
    int height_ = 0;
};
