#include "widgets/progress_bar.h"

#include "platform/ui/controls_picture.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

// Watches the host widget: a plain widget shows the bar's last frame in place of its own painting, and
// either kind of host gets a fresh frame when its size changes.
class cProgressBar::HostWatcher : public QObject {
public:
    explicit HostWatcher(cProgressBar& bar) : bar_(bar) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != bar_.hostWidget_.data())
            return false;
        if (event->type() == QEvent::Resize) {
            bar_.Draw();
        } else if (event->type() == QEvent::Paint && !bar_.hostBox_) {
            QPainter painter(bar_.hostWidget_.data());
            painter.drawImage(0, 0, bar_.hostImage_);
            return true;
        }
        return false;
    }

private:
    cProgressBar& bar_;
};

cProgressBar::cProgressBar() : font_(QStringLiteral("Tahoma"))
{
    font_.setPointSizeF(8);
}

cProgressBar::~cProgressBar() = default;

// ---- properties ----

void cProgressBar::setSegments(bool segments)
{
    segments_ = segments;
    Draw();
}

void cProgressBar::setXpStyle(bool xpStyle)
{
    xpStyle_ = xpStyle;
    Draw();
}

void cProgressBar::setText(const QString& text)
{
    text_ = text;
    Draw();
}

void cProgressBar::setTextAlignX(int align)
{
    textAlignX_ = align;
    Draw();
}

void cProgressBar::setTextAlignY(int align)
{
    textAlignY_ = align;
    Draw();
}

void cProgressBar::setShowText(bool show)
{
    showText_ = show;
    Draw();
}

double cProgressBar::Percent() const
{
    return progressFraction(value_, min_, max_) * 100.0;
}

void cProgressBar::setMin(int32_t min)
{
    min_ = min;
    Draw();
}

void cProgressBar::setMax(int32_t max)
{
    max_ = max;
    Draw();
}

void cProgressBar::setValue(int32_t value)
{
    value_ = value;
    Draw();
}

void cProgressBar::setBorderStyle(int style)
{
    borderStyle_ = style;
    Draw();
}

void cProgressBar::setAppearance(int appearance)
{
    appearance_ = appearance;
    Draw();
}

void cProgressBar::setBackColor(uint32_t colour)
{
    backColor_ = colour;
    Draw();
}

void cProgressBar::setForeColor(uint32_t colour)
{
    foreColor_ = colour;
    Draw();
}

void cProgressBar::setBarColor(uint32_t colour)
{
    barColor_ = colour;
    Draw();
}

void cProgressBar::setBarForeColor(uint32_t colour)
{
    barForeColor_ = colour;
    Draw();
}

void cProgressBar::setFont(const QFont& font)
{
    font_ = font;
    Draw();
}

void cProgressBar::setPictureInto(const QPixmap& picture, std::unique_ptr<pcMemDC>& target)
{
    if (picture.isNull()) {
        target.reset();
    } else {
        auto surface = std::make_unique<pcMemDC>();
        surface->CreateFromPicture(picture.toImage());
        target = surface->hasSurface() ? std::move(surface) : nullptr;
    }
    Draw();
}

void cProgressBar::setBarPicture(const QPixmap& picture)
{
    setPictureInto(picture, barPicture_);
}

void cProgressBar::setBarPictureMode(int mode)
{
    barPictureMode_ = mode;
    Draw();
}

void cProgressBar::setPicture(const QPixmap& picture)
{
    setPictureInto(picture, backPicture_);
}

void cProgressBar::setBackPictureMode(int mode)
{
    backPictureMode_ = mode;
    Draw();
}

// ---- host ----

ui::PictureBox* cProgressBar::DrawObject() const
{
    // The box's widget goes when the box goes: while the widget lives, the box does.
    return hostWidget_ ? hostBox_ : nullptr;
}

QWidget* cProgressBar::drawWidget() const
{
    return hostWidget_.data();
}

void cProgressBar::setDrawObject(ui::PictureBox* box)
{
    attachHost(box ? box->widget() : nullptr, box);
}

void cProgressBar::setDrawObject(QWidget* widget)
{
    attachHost(widget, nullptr);
}

void cProgressBar::attachHost(QWidget* widget, ui::PictureBox* box)
{
    if (hostWidget_ && watcher_)
        hostWidget_->removeEventFilter(watcher_.get());
    hostWidget_ = widget;
    hostBox_ = widget ? box : nullptr;
    hostImage_ = QImage();
    if (!widget)
        return;
    if (!watcher_)
        watcher_ = std::make_unique<HostWatcher>(*this);
    widget->installEventFilter(watcher_.get());
    Draw();
}

void cProgressBar::Draw()
{
    if (!hostWidget_)
        return;
    drawOnHost();
}

void cProgressBar::drawOnHost()
{
    QWidget* widget = hostWidget_.data();
    if (hostBox_) {
        // A resize reaches this bar before the box has grown its surface; the surface takes the widget's
        // size here, as the box would, so the whole new area gets the fresh frame.
        QImage& surface = hostBox_->surface();
        const QSize wanted(std::max(1, widget->width()), std::max(1, widget->height()));
        if (surface.size() != wanted) {
            QImage resized(wanted, QImage::Format_ARGB32_Premultiplied);
            resized.fill(Qt::transparent);
            QPainter painter(&resized);
            painter.drawImage(0, 0, surface);
            painter.end();
            surface = std::move(resized);
        }
        const int width = hostBox_->ScaleWidth();
        const int height = hostBox_->ScaleHeight();
        DrawToDC(widget, &hostBox_->surface(), 0, 0, width, height);
        hostBox_->surfaceChanged();
    } else {
        const QSize size = widget->size();
        if (size.isEmpty())
            return;
        if (hostImage_.size() != size) {
            hostImage_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
            hostImage_.fill(Qt::transparent);
        }
        DrawToDC(widget, &hostImage_, 0, 0, size.width(), size.height());
    }
    // Shown now: callers in the middle of a transfer do not return to the event loop between steps. Inside
    // the host's own paint the frame is already what that paint shows.
    if (widget->isVisible() && !widget->testAttribute(Qt::WA_WState_InPaintEvent))
        widget->repaint();
}
