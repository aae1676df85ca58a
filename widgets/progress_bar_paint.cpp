#include "platform/ui/colors.h"
#include "widgets/progress_bar.h"
#include "widgets/progress_drawing.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionProgressBar>
#include <QWidget>
#include <cstdlib>

using progress_drawing::fillColour;

// What one drawing of the bar has found out about itself.
struct cProgressBar::Frame {
    PixelRect outer;
    bool horizontal = true;
    bool themed = false;
    int chunk = 0;
    int gap = 0;
    QStyle* style = nullptr;
    QStyleOptionProgressBar option;
};

namespace {

Qt::Alignment captionAlignment(int alignX, int alignY)
{
    Qt::Alignment alignment = alignX == 1 ? Qt::AlignHCenter : alignX == 2 ? Qt::AlignRight : Qt::AlignLeft;
    alignment |= alignY == 1 ? Qt::AlignVCenter : alignY == 2 ? Qt::AlignBottom : Qt::AlignTop;
    return alignment;
}

// Draws a style element with its option's rectangle at `area`, the painter moved there: the styles draw
// vertical bars relative to the rectangle's origin.
void drawStyleElement(QPainter& painter, QStyle* style, QStyle::ControlElement element,
                      QStyleOptionProgressBar option, const PixelRect& area, QWidget* window)
{
    if (area.isEmpty())
        return;
    painter.save();
    painter.translate(area.left, area.top);
    option.rect = QRect(0, 0, area.width(), area.height());
    style->drawControl(element, &option, &painter, window);
    painter.restore();
}

} // namespace

void cProgressBar::DrawToDC(QWidget* window, QPaintDevice* target, int left, int top, int right, int bottom)
{
    if (!target)
        return;
    const int64_t width64 = std::llabs(static_cast<int64_t>(right) - left);
    const int64_t height64 = std::llabs(static_cast<int64_t>(bottom) - top);
    // Nothing to see in an empty rectangle; none larger than a surface can be is drawn.
    if (width64 <= 0 || height64 <= 0 || width64 > pcMemDC::kMaxSide || height64 > pcMemDC::kMaxSide)
        return;
    const int width = static_cast<int>(width64);
    const int height = static_cast<int>(height64);
    const int x0 = std::min(left, right);
    const int y0 = std::min(top, bottom);
    const bool horizontal = width > height;

    QImage* surface = memDC_.hdc(width, height);
    {
        QPainter painter(surface ? static_cast<QPaintDevice*>(surface) : target);
        if (!surface)
            painter.translate(x0, y0);
        paintFrame(painter, window, PixelRect{0, 0, width, height}, horizontal);
    }
    if (surface) {
        QPainter out(target);
        memDC_.Draw(out, 0, 0, width, height, x0, y0);
    }
}

void cProgressBar::paintFrame(QPainter& painter, QWidget* window, const PixelRect& outer, bool horizontal)
{
    Frame frame;
    frame.outer = outer;
    frame.horizontal = horizontal;
    paintBackground(painter, window, frame);
    if (segments_ && !frame.themed) {
        frame.chunk = 8;
        frame.gap = 2;
    }
    const bool themed = frame.themed;
    const PixelRect inner = progressInnerRect(outer, borderStyle_, appearance_, themed);
    const bool captionDue = !text_.isEmpty() && showText_;
    if (captionDue && !themed)
        paintCaption(painter, inner, foreColor_);

    const int step = (segments_ || themed) ? frame.chunk + frame.gap : 0;
    const PixelRect bar = progressBarRect(inner, progressFraction(value_, min_, max_), horizontal, step);

    if (!themed) {
        painter.save();
        painter.setClipRect(bar.toQRect());
    }
    if (barPicture_) {
        paintPicture(painter, *barPicture_, barPictureMode_, outer.width(), outer.height());
    } else if (themed) {
        QStyleOptionProgressBar chunkOption = frame.option;
        chunkOption.progress = chunkOption.maximum;
        drawStyleElement(painter, frame.style, QStyle::CE_ProgressBarContents, chunkOption, bar, window);
    } else {
        painter.fillRect(bar.toQRect(), fillColour(barColor_, ui::colors::vbHighlight));
    }
    if (segments_ && !themed && !bar.isEmpty()) {
        const QColor back = fillColour(backColor_, ui::colors::vbButtonFace);
        const int pitch = frame.chunk + frame.gap;
        if (horizontal) {
            for (int x = bar.left + frame.chunk; x <= bar.right; x += pitch)
                painter.fillRect(QRect(x, inner.top, frame.gap, inner.height()), back);
        } else {
            // Mirrors the horizontal bar: whole blocks from the bottom up, each topped by its gap.
            for (int y = bar.bottom - pitch; y >= bar.top; y -= pitch)
                painter.fillRect(QRect(inner.left, y, inner.width(), frame.gap), back);
        }
    }
    if (captionDue) {
        if (themed) {
            QStyleOptionProgressBar textOption = frame.option;
            textOption.rect = inner.toQRect();
            const QRect content =
                frame.style->subElementRect(QStyle::SE_ProgressBarContents, &textOption, window);
            painter.save();
            painter.setFont(font_);
            frame.style->drawItemText(&painter, content.isValid() ? content : inner.toQRect(),
                                      static_cast<int>(captionAlignment(textAlignX_, textAlignY_)),
                                      frame.option.palette, true, text_, QPalette::WindowText);
            painter.restore();
        } else {
            paintCaption(painter, inner, barForeColor_);
        }
    }
    if (!themed) {
        painter.restore();
        if (borderStyle_ > 0 && appearance_ >= 0 && appearance_ <= 2) {
            const bool raised = borderStyle_ == 2;
            const PixelRect& edge = (raised && appearance_ == 1) ? inner : outer;
            progress_drawing::DrawBorder(painter, appearance_, edge, raised);
        }
    }
}

void cProgressBar::paintBackground(QPainter& painter, QWidget* window, Frame& frame)
{
    const PixelRect& outer = frame.outer;
    if (backPicture_) {
        paintPicture(painter, *backPicture_, backPictureMode_, outer.width(), outer.height());
        return;
    }
    if (xpStyle_) {
        frame.style = window ? window->style() : QApplication::style();
        if (frame.style) {
            QStyleOptionProgressBar& option = frame.option;
            if (window)
                option.initFrom(window);
            else
                option.palette = QApplication::palette();
            option.state |= QStyle::State_Enabled;
            if (frame.horizontal)
                option.state |= QStyle::State_Horizontal;
            else
                option.state &= ~QStyle::State_Horizontal;
            option.minimum = 0;
            option.maximum = 1;
            option.progress = 0;
            option.textVisible = false;
            option.rect = outer.toQRect();
            // The styles here have no space between chunks; a style without chunks gives a smooth bar.
            const int chunkSize =
                std::max(0, frame.style->pixelMetric(QStyle::PM_ProgressBarChunkWidth, &option, window));
            const int space = 0;
            drawStyleElement(painter, frame.style, QStyle::CE_ProgressBarGroove, option, outer, window);
            frame.themed = true;
            frame.chunk = chunkSize + space;
            frame.gap = space;
            return;
        }
    }
    painter.fillRect(outer.toQRect(), fillColour(backColor_, ui::colors::vbButtonFace));
}

void cProgressBar::paintCaption(QPainter& painter, const PixelRect& area, uint32_t colour)
{
    painter.save();
    painter.setFont(font_);
    painter.setPen(progress_drawing::captionColour(colour));
    const int flags = static_cast<int>(captionAlignment(textAlignX_, textAlignY_)) | Qt::TextSingleLine;
    painter.drawText(area.toQRect(), flags, QLatin1Char(' ') + text_ + QLatin1Char(' '));
    painter.restore();
}

void cProgressBar::paintPicture(QPainter& painter, const pcMemDC& picture, int mode, int width, int height)
{
    if (!picture.hasSurface())
        return;
    if (mode == 1) {
        progress_drawing::TileBitmap(painter, 0, 0, width, height, picture.image(), picture.Width(),
                                     picture.Height(), 0, 0);
        return;
    }
    const QPainter::CompositionMode previous = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QRect(0, 0, width, height), picture.image(),
                      QRect(0, 0, picture.Width(), picture.Height()));
    painter.setCompositionMode(previous);
}
