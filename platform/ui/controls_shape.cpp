#include "platform/ui/controls_shape.h"

#include "platform/ui/colors.h"

#include <QLayout>
#include <QPainter>
#include <QWidget>

namespace ui {

Qt::PenStyle qtPenStyle(int borderStyle)
{
    switch (borderStyle) {
    case vbTransparent:
        return Qt::NoPen;
    case vbBSDash:
        return Qt::DashLine;
    case vbBSDot:
        return Qt::DotLine;
    case vbBSDashDot:
        return Qt::DashDotLine;
    case vbBSDashDotDot:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}

namespace {

Qt::BrushStyle qtBrushStyle(int fillStyle)
{
    switch (fillStyle) {
    case 0:
        return Qt::SolidPattern;
    case 2:
        return Qt::HorPattern;
    case 3:
        return Qt::VerPattern;
    case 4:
        return Qt::BDiagPattern;
    case 5:
        return Qt::FDiagPattern;
    case 6:
        return Qt::CrossPattern;
    case 7:
        return Qt::DiagCrossPattern;
    default:
        return Qt::NoBrush;
    }
}

bool layoutHolds(const QLayout* layout, const QWidget* widget)
{
    if (!layout)
        return false;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == widget || layoutHolds(item->layout(), widget))
            return true;
    }
    return false;
}

} // namespace

class ShapeWidget : public QWidget {
public:
    explicit ShapeWidget(Shape& shape) : shape_(shape) {}
    QSize sizeHint() const override { return QSize(16, 16); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const int pen = shape_.borderStyle_ == vbTransparent ? 0 : shape_.borderWidth_;
        QRectF area = QRectF(rect()).adjusted(pen / 2.0, pen / 2.0, -pen / 2.0, -pen / 2.0);
        const int kind = shape_.shape_;
        if (kind == vbShapeSquare || kind == vbShapeCircle || kind == vbShapeRoundedSquare) {
            const double side = std::min(area.width(), area.height());
            area = QRectF(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
        }
        const double radius = std::min(area.width(), area.height()) / 4;
        auto draw = [&](QPainter& p) {
            switch (kind) {
            case vbShapeOval:
            case vbShapeCircle:
                p.drawEllipse(area);
                break;
            case vbShapeRoundedRectangle:
            case vbShapeRoundedSquare:
                p.drawRoundedRect(area, radius, radius);
                break;
            default:
                p.drawRect(area);
                break;
            }
        };
        painter.setPen(Qt::NoPen);
        if (shape_.backStyle_ == 1) {
            painter.setBrush(toQColor(shape_.backColor_));
            draw(painter);
        }
        const Qt::BrushStyle brush = qtBrushStyle(shape_.fillStyle_);
        if (brush != Qt::NoBrush) {
            painter.setBrush(QBrush(toQColor(shape_.fillColor_), brush));
            draw(painter);
        }
        if (pen > 0) {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(toQColor(shape_.borderColor_), pen, qtPenStyle(shape_.borderStyle_)));
            draw(painter);
        }
    }

private:
    Shape& shape_;
};

Shape::Shape(Form* owner, QString name, int index) : Control(owner, std::move(name), index)
{
    backColor_ = 0x80000005;
    auto* widget = new ShapeWidget(*this);
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    shapeWidget_ = widget;
    adoptWidget(widget);
}

QWidget* Shape::widget() const
{
    return shapeWidget_;
}

void Shape::changed()
{
    if (shapeWidget_)
        shapeWidget_->update();
}

void Shape::applyColours()
{
    changed();
}

void Shape::setShape(int shape)
{
    shape_ = (shape >= vbShapeRectangle && shape <= vbShapeRoundedSquare) ? shape : vbShapeRectangle;
    changed();
}

void Shape::setFillColor(uint32_t colour)
{
    fillColor_ = colour;
    changed();
}

void Shape::setFillStyle(int style)
{
    fillStyle_ = style;
    changed();
}

void Shape::setBorderColor(uint32_t colour)
{
    borderColor_ = colour;
    changed();
}

void Shape::setBorderStyle(int style)
{
    borderStyle_ = style;
    changed();
}

void Shape::setBorderWidth(int width)
{
    borderWidth_ = std::max(1, width);
    changed();
}

void Shape::setBackStyle(int style)
{
    backStyle_ = style == 1 ? 1 : 0;
    changed();
}

// ---- Line ----

class LineWidget : public QWidget {
public:
    explicit LineWidget(Line& line) : line_(line) {}
    QSize sizeHint() const override
    {
        const int w = std::abs(line_.x2_ - line_.x1_) + line_.borderWidth_;
        const int h = std::abs(line_.y2_ - line_.y1_) + line_.borderWidth_;
        return QSize(w, h);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (line_.borderStyle_ == vbTransparent)
            return;
        QPainter painter(this);
        painter.setPen(
            QPen(toQColor(line_.borderColor_), line_.borderWidth_, qtPenStyle(line_.borderStyle_)));
        // The line's bounding box maps onto the widget; a flat box (horizontal or vertical line) keeps the
        // line in the middle of the other direction.
        const double left = std::min(line_.x1_, line_.x2_);
        const double top = std::min(line_.y1_, line_.y2_);
        const double spanX = std::abs(line_.x2_ - line_.x1_);
        const double spanY = std::abs(line_.y2_ - line_.y1_);
        const double inset = line_.borderWidth_ / 2.0;
        const QRectF area = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
        auto map = [&](double x, double y) {
            const double mx = spanX > 0 ? area.left() + (x - left) / spanX * area.width() : area.center().x();
            const double my = spanY > 0 ? area.top() + (y - top) / spanY * area.height() : area.center().y();
            return QPointF(mx, my);
        };
        painter.drawLine(map(line_.x1_, line_.y1_), map(line_.x2_, line_.y2_));
    }

private:
    Line& line_;
};

Line::Line(Form* owner, QString name, int index) : Control(owner, std::move(name), index)
{
    auto* widget = new LineWidget(*this);
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    lineWidget_ = widget;
    adoptWidget(widget);
    place();
}

QWidget* Line::widget() const
{
    return lineWidget_;
}

void Line::place()
{
    if (!lineWidget_)
        return;
    lineWidget_->updateGeometry();
    QWidget* parent = lineWidget_->parentWidget();
    if (!parent || !layoutHolds(parent->layout(), lineWidget_)) {
        const int inset = borderWidth_ / 2;
        lineWidget_->setGeometry(std::min(x1_, x2_) - inset, std::min(y1_, y2_) - inset,
                                 lineWidget_->sizeHint().width(), lineWidget_->sizeHint().height());
    }
    lineWidget_->update();
}

void Line::setX1(int x)
{
    x1_ = x;
    place();
}

void Line::setY1(int y)
{
    y1_ = y;
    place();
}

void Line::setX2(int x)
{
    x2_ = x;
    place();
}

void Line::setY2(int y)
{
    y2_ = y;
    place();
}

void Line::setPoints(int x1, int y1, int x2, int y2)
{
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    place();
}

void Line::setBorderColor(uint32_t colour)
{
    borderColor_ = colour;
    if (lineWidget_)
        lineWidget_->update();
}

void Line::setBorderStyle(int style)
{
    borderStyle_ = style;
    if (lineWidget_)
        lineWidget_->update();
}

void Line::setBorderWidth(int width)
{
    borderWidth_ = std::max(1, width);
    place();
}

} // namespace ui
