#include "platform/ui/controls_picture.h"

#include "platform/ui/colors.h"
#include "platform/ui/controls_button.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QResizeEvent>

namespace ui {

// The widget of a picture box: paints the box's surface and reports its size.
class PictureSurface : public QFrame {
public:
    explicit PictureSurface(PictureBox& box) : box_(box) {}
    QSize sizeHint() const override { return QSize(100, 30); }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        box_.paintOn(*this);
        QFrame::paintEvent(event);
    }
    void resizeEvent(QResizeEvent* event) override
    {
        QFrame::resizeEvent(event);
        box_.resized(event->size());
    }

private:
    PictureBox& box_;
};

PictureBox::PictureBox(Form* owner, QString name, int index) : Control(owner, std::move(name), index)
{
    auto* widget = new PictureSurface(*this);
    markAsContainer(widget);
    surfaceWidget_ = widget;
    adoptWidget(widget);
    consumeMouseEvents();
    setBorderStyle(borderStyle_);
    surface_ = QImage(widget->sizeHint(), QImage::Format_ARGB32_Premultiplied);
    surface_.fill(Qt::transparent);
}

QWidget* PictureBox::widget() const
{
    return surfaceWidget_;
}

void PictureBox::setAlign(int align)
{
    align_ = (align >= vbAlignNone && align <= vbAlignRight) ? align : vbAlignNone;
}

void PictureBox::setAutoRedraw(bool autoRedraw)
{
    autoRedraw_ = autoRedraw;
}

void PictureBox::setBorderStyle(int borderStyle)
{
    borderStyle_ = borderStyle == 0 ? 0 : 1;
    if (surfaceWidget_) {
        surfaceWidget_->setFrameStyle(borderStyle_ ? (QFrame::Panel | QFrame::Sunken) : QFrame::NoFrame);
        surfaceWidget_->setLineWidth(1);
    }
}

void PictureBox::setPicture(const QPixmap& picture)
{
    picture_ = picture;
    surfaceChanged();
}

int PictureBox::ScaleWidth() const
{
    return surfaceWidget_ ? surfaceWidget_->contentsRect().width() : surface_.width();
}

int PictureBox::ScaleHeight() const
{
    return surfaceWidget_ ? surfaceWidget_->contentsRect().height() : surface_.height();
}

QColor PictureBox::colourOf(uint32_t colour) const
{
    return toQColor(colour == kForeColour ? foreColor_ : colour);
}

void PictureBox::surfaceChanged()
{
    // Drawing inside Paint is what the repaint under way shows; asking for another would never end.
    if (surfaceWidget_ && !inPaint_)
        surfaceWidget_->update();
}

void PictureBox::Cls()
{
    surface_.fill(Qt::transparent);
    currentX_ = 0;
    currentY_ = 0;
    surfaceChanged();
}

void PictureBox::Line(double x1, double y1, double x2, double y2, uint32_t colour)
{
    {
        QPainter painter(&surface_);
        painter.setPen(QPen(colourOf(colour), drawWidth_));
        painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    }
    currentX_ = x2;
    currentY_ = y2;
    surfaceChanged();
}

void PictureBox::Box(double x1, double y1, double x2, double y2, uint32_t colour, bool filled)
{
    {
        QPainter painter(&surface_);
        const QColor c = colourOf(colour);
        const QRectF rect = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
        if (filled) {
            painter.fillRect(rect, c);
        } else {
            painter.setPen(QPen(c, drawWidth_));
            if (fillStyle_ == vbFSSolid)
                painter.setBrush(toQColor(fillColor_));
            painter.drawRect(rect);
        }
    }
    currentX_ = x2;
    currentY_ = y2;
    surfaceChanged();
}

void PictureBox::PSet(double x, double y, uint32_t colour)
{
    {
        QPainter painter(&surface_);
        painter.fillRect(QRectF(x, y, drawWidth_, drawWidth_), colourOf(colour));
    }
    currentX_ = x;
    currentY_ = y;
    surfaceChanged();
}

void PictureBox::Circle(double x, double y, double radius, uint32_t colour)
{
    {
        QPainter painter(&surface_);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(colourOf(colour), drawWidth_));
        if (fillStyle_ == vbFSSolid)
            painter.setBrush(toQColor(fillColor_));
        painter.drawEllipse(QPointF(x, y), radius, radius);
    }
    currentX_ = x;
    currentY_ = y;
    surfaceChanged();
}

void PictureBox::Print(const QString& text)
{
    const QFont font = Font();
    const QFontMetrics metrics(font);
    {
        QPainter painter(&surface_);
        painter.setFont(font);
        painter.setPen(colourOf(kForeColour));
        painter.drawText(QPointF(currentX_, currentY_ + metrics.ascent()), text);
    }
    currentX_ = 0;
    currentY_ += metrics.height();
    surfaceChanged();
}

void PictureBox::PaintPicture(const QPixmap& picture, double x, double y, double width, double height)
{
    {
        QPainter painter(&surface_);
        const double w = width < 0 ? picture.width() : width;
        const double h = height < 0 ? picture.height() : height;
        painter.drawPixmap(QRectF(x, y, w, h), picture, QRectF(picture.rect()));
    }
    surfaceChanged();
}

int PictureBox::TextWidth(const QString& text) const
{
    return QFontMetrics(Font()).horizontalAdvance(text);
}

int PictureBox::TextHeight(const QString& text) const
{
    const QFontMetrics metrics(Font());
    return metrics.height() * std::max<int>(1, static_cast<int>(text.count(QLatin1Char('\n'))) + 1);
}

void PictureBox::paintOn(QWidget& widget)
{
    if (!autoRedraw_) {
        inPaint_ = true;
        Paint();
        inPaint_ = false;
    }
    QPainter painter(&widget);
    const QRect area = widget.contentsRect();
    painter.fillRect(area, backColorSet() ? toQColor(backColor_) : widget.palette().color(QPalette::Window));
    painter.translate(area.topLeft());
    if (!picture_.isNull())
        painter.drawPixmap(0, 0, picture_);
    painter.drawImage(0, 0, surface_);
}

void PictureBox::resized(const QSize& size)
{
    const QSize wanted(std::max(1, size.width()), std::max(1, size.height()));
    if (wanted != surface_.size()) {
        QImage larger(wanted, QImage::Format_ARGB32_Premultiplied);
        larger.fill(Qt::transparent);
        QPainter painter(&larger);
        painter.drawImage(0, 0, surface_);
        painter.end();
        surface_ = larger;
    }
    Resize();
}

// ---- Image ----

Image::Image(Form* owner, QString name, int index) : Control(owner, std::move(name), index)
{
    auto* label = new QLabel;
    label->setAlignment(Qt::AlignCenter);
    label_ = label;
    adoptWidget(label);
    consumeMouseEvents();
}

QWidget* Image::widget() const
{
    return label_;
}

void Image::setPicture(const QPixmap& picture)
{
    picture_ = picture;
    if (label_) {
        label_->setPixmap(picture);
        if (!stretch_ && !picture.isNull())
            label_->setFixedSize(picture.size());
    }
}

void Image::setStretch(bool stretch)
{
    stretch_ = stretch;
    if (!label_)
        return;
    label_->setScaledContents(stretch);
    if (stretch) {
        label_->setMinimumSize(0, 0);
        label_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else if (!picture_.isNull()) {
        label_->setFixedSize(picture_.size());
    }
}

} // namespace ui
