#pragma once

#include "platform/ui/control.h"

#include <QPointer>

namespace ui {

class ShapeWidget;
class LineWidget;

// Classic shape kinds.
enum ShapeValue : int {
    vbShapeRectangle = 0,
    vbShapeSquare = 1,
    vbShapeOval = 2,
    vbShapeCircle = 3,
    vbShapeRoundedRectangle = 4,
    vbShapeRoundedSquare = 5,
};
// Classic border styles of shapes and lines.
enum BorderStyleValue : int {
    vbTransparent = 0,
    vbBSSolid = 1,
    vbBSDash = 2,
    vbBSDot = 3,
    vbBSDashDot = 4,
    vbBSDashDotDot = 5,
    vbBSInsideSolid = 6,
};

// Classic shape (the status lamps): a rectangle, square, oval, circle or rounded one, filled with FillColor
// in FillStyle (0 solid, 1 transparent, 2-7 hatches) over BackColor (BackStyle 1) or nothing (0), outlined
// in BorderColor. It has no events.
class Shape : public Control {
public:
    Shape(Form* owner, QString name, int index = -1);
    QWidget* widget() const override;

    int ShapeKind() const { return shape_; }
    void setShape(int shape);
    uint32_t FillColor() const { return fillColor_; }
    void setFillColor(uint32_t colour);
    int FillStyle() const { return fillStyle_; }
    void setFillStyle(int style);
    uint32_t BorderColor() const { return borderColor_; }
    void setBorderColor(uint32_t colour);
    int BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int style);
    int BorderWidth() const { return borderWidth_; }
    void setBorderWidth(int width);
    int BackStyle() const { return backStyle_; }
    void setBackStyle(int style);

protected:
    void applyColours() override;

private:
    friend class ShapeWidget;
    void changed();
    QPointer<ShapeWidget> shapeWidget_;
    int shape_ = vbShapeRectangle;
    uint32_t fillColor_ = 0;
    int fillStyle_ = 1;
    uint32_t borderColor_ = 0x80000008;
    int borderStyle_ = vbBSSolid;
    int borderWidth_ = 1;
    int backStyle_ = 0;
};

// Classic line from (X1, Y1) to (X2, Y2), in pixels of its container. Outside a layout the control sits on
// the line's bounding box; inside one the line is drawn across the space the layout gives it (a horizontal
// separator stretches with its container).
class Line : public Control {
public:
    Line(Form* owner, QString name, int index = -1);
    QWidget* widget() const override;

    int X1() const { return x1_; }
    void setX1(int x);
    int Y1() const { return y1_; }
    void setY1(int y);
    int X2() const { return x2_; }
    void setX2(int x);
    int Y2() const { return y2_; }
    void setY2(int y);
    void setPoints(int x1, int y1, int x2, int y2);
    uint32_t BorderColor() const { return borderColor_; }
    void setBorderColor(uint32_t colour);
    int BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int style);
    int BorderWidth() const { return borderWidth_; }
    void setBorderWidth(int width);

private:
    friend class LineWidget;
    void place();
    QPointer<LineWidget> lineWidget_;
    int x1_ = 0;
    int y1_ = 0;
    int x2_ = 100;
    int y2_ = 0;
    uint32_t borderColor_ = 0x80000008;
    int borderStyle_ = vbBSSolid;
    int borderWidth_ = 1;
};

// The Qt pen style of a classic border style (vbTransparent: Qt::NoPen).
Qt::PenStyle qtPenStyle(int borderStyle);

} // namespace ui
