#include "widgets/round_rect_frame.h"

#include "platform/ui/colors.h"
#include "platform/ui/controls_button.h"

#include <QGuiApplication>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kTopBandPixels = 18.0;
constexpr uint32_t kInnerColour = 0x8000000F; // button face
constexpr double kCornerRadius = 8.0;         // pixels, outer rectangle

double twipsPerPixel(bool vertical)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi =
        screen ? (vertical ? screen->logicalDotsPerInchY() : screen->logicalDotsPerInchX()) : 96.0;
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

} // namespace

RoundRectLayout roundRectFrameLayout(double widthTwips, double heightTwips, double thicknessTwips,
                                     double twipsPerPixelY)
{
    RoundRectLayout layout;
    layout.border = QRectF(0, 0, widthTwips, heightTwips);
    const double band = kTopBandPixels * twipsPerPixelY;
    const double innerWidth = std::max(0.0, widthTwips - 2 * thicknessTwips);
    const double innerHeight = std::max(0.0, heightTwips - band - thicknessTwips);
    layout.inner = QRectF(thicknessTwips, band, innerWidth, innerHeight);
    return layout;
}

class RoundRectFrame::Surface : public QWidget {
public:
    explicit Surface(RoundRectFrame& frame) : frame_(frame) {}
    QSize sizeHint() const override { return QSize(241, 185); }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        frame_.layout();
    }
    void showEvent(QShowEvent* event) override
    {
        QWidget::showEvent(event);
        frame_.layout();
    }
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        const QRectF outer = QRectF(rect());
        const double outerRadius = std::min({kCornerRadius, outer.width() / 2, outer.height() / 2});
        painter.setBrush(ui::toQColor(frame_.borderColor_));
        painter.drawRoundedRect(outer, outerRadius, outerRadius);
        const QRectF inner = QRectF(frame_.innerArea());
        if (inner.width() > 0 && inner.height() > 0) {
            const double innerRadius = std::min({kCornerRadius - 2, inner.width() / 2, inner.height() / 2});
            painter.setBrush(ui::toQColor(kInnerColour));
            painter.drawRoundedRect(inner, innerRadius, innerRadius);
        }
    }

private:
    RoundRectFrame& frame_;
};

RoundRectFrame::RoundRectFrame(ui::Form* owner, QString name, int index)
    : Control(owner, std::move(name), index)
{
    twipsPerPixelX_ = static_cast<float>(twipsPerPixel(false));
    twipsPerPixelY_ = static_cast<float>(twipsPerPixel(true));
    borderThickness_ = 2 * twipsPerPixelX_;
    auto* surface = new Surface(*this);
    ui::markAsContainer(surface);
    surface_ = surface;
    adoptWidget(surface);
    layout();
}

QWidget* RoundRectFrame::widget() const
{
    return surface_;
}

void RoundRectFrame::setBorderThickness(float twips)
{
    borderThickness_ = twips;
    layout();
}

void RoundRectFrame::setBorderColor(uint32_t colour)
{
    borderColor_ = colour;
    if (surface_)
        surface_->update();
}

QRect RoundRectFrame::innerArea() const
{
    if (!surface_)
        return QRect();
    const QSize size = surface_->size();
    const RoundRectLayout twips = roundRectFrameLayout(static_cast<float>(size.width()) * twipsPerPixelX_,
                                                       static_cast<float>(size.height()) * twipsPerPixelY_,
                                                       borderThickness_, twipsPerPixelY_);
    const auto px = [](double value, double perPixel) {
        return static_cast<int>(std::lround(value / perPixel));
    };
    return QRect(px(twips.inner.left(), twipsPerPixelX_), px(twips.inner.top(), twipsPerPixelY_),
                 px(twips.inner.width(), twipsPerPixelX_), px(twips.inner.height(), twipsPerPixelY_));
}

void RoundRectFrame::layout()
{
    if (!surface_)
        return;
    // Controls laid out in the frame keep to the inner area.
    const QRect inner = innerArea();
    const QSize size = surface_->size();
    const int right = inner.width() > 0 ? std::max(0, size.width() - inner.left() - inner.width()) : 0;
    const int bottom = inner.height() > 0 ? std::max(0, size.height() - inner.top() - inner.height()) : 0;
    surface_->setContentsMargins(std::max(0, inner.left()), std::max(0, inner.top()), right, bottom);
    surface_->update();
}
