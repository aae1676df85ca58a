#include "widgets/balloon_form.h"

#include "platform/ui/colors.h"
#include "widgets/balloon_geometry.h"

#include <QApplication>
#include <QMouseEvent>
#include <QOperatingSystemVersion>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>

namespace {
constexpr uint32_t kTipBack = ui::colors::vbInfoBackground;
constexpr uint32_t kTipText = ui::colors::vbInfoText;
constexpr uint32_t kOutline = ui::colors::vbButtonText;
} // namespace

// The window's surface: the tooltip background, the bubble's outline, and clicks anywhere.
class ttbForm::Bubble : public QWidget {
public:
    explicit Bubble(ttbForm& form) : form_(form) { setAutoFillBackground(false); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), ui::toQColor(kTipBack));
        form_.paintOutline(painter);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        event->accept();
        form_.closeByClick();
    }

private:
    ttbForm& form_;
};

ttbForm::ttbForm() : Form(FormName)
{
    const QStyle* style = QApplication::style();
    const QStyle::StandardPixmap icons[] = {QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxWarning,
                                            QStyle::SP_MessageBoxCritical,    QStyle::SP_MessageBoxQuestion,
                                            QStyle::SP_ComputerIcon,          QStyle::SP_DriveNetIcon};
    for (int i = 1; i <= 6; ++i)
        imgIcons(i).setPicture(style->standardIcon(icons[i - 1]).pixmap(kIconSize, kIconSize));
    for (int i = 0; i <= 6; ++i)
        imgIcons(i).setVisible(false);

    QFont title(QStringLiteral("Arial"));
    title.setPointSizeF(8.25);
    title.setBold(true);
    QFont text(QStringLiteral("Arial"));
    text.setPointSizeF(8.25);
    for (ui::Label* label : {&lblTitle, &lblText}) {
        label->setAutoSize(true);
        label->setBackStyle(0);
        label->setBackColor(kTipBack);
        label->setForeColor(kTipText);
    }
    lblTitle.setFont(title);
    lblText.setFont(text);

    imgIcon.setStretch(true);
    ui::bind(tmrTrack.Timer, this, &ttbForm::CenterOverControl);
    ui::bind(lblTitle.Click, this, &ttbForm::closeByClick);
    ui::bind(lblText.Click, this, &ttbForm::closeByClick);
    ui::bind(imgIcon.Click, this, &ttbForm::closeByClick);
}

ttbForm::~ttbForm() = default;

void ttbForm::buildUi(QWidget* window)
{
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bubble = new Bubble(*this);
    layout->addWidget(bubble);
    bubble_ = bubble;
    for (ui::Control* control : controls()) {
        if (QWidget* w = control->widget())
            w->setParent(bubble);
    }
    QWidget* top = window->window();
    top->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    top->setAttribute(Qt::WA_ShowWithoutActivating);
}

void ttbForm::Form_Load()
{
    // Each load starts from the design: no tracking, placeholder captions, icon and title in place.
    tmrTrack.setEnabled(false);
    lblTitle.setCaption(QStringLiteral("<Title>"));
    lblText.setCaption(QStringLiteral("<ToolTipText>"));
    imgIcon.Move(kIconLeft, kIconTop, kIconSize, kIconSize);
    lblTitle.Move(kIconLeft + kTitleIconGap, kTitleTop);
    lblText.Move(kTextLeft, kTextTop);
    for (int i = 0; i <= 6; ++i)
        imgIcons(i).setVisible(false);
}

void ttbForm::DrawRoundedRect(QPainter& painter, int x1, int y1, int x2, int y2, int cornerWidth,
                              int cornerHeight)
{
    QPen pen = painter.pen();
    const qreal previousWidth = pen.widthF();
    pen.setWidth(3);
    painter.setPen(pen);
    painter.drawRoundedRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), cornerWidth / 2.0,
                            cornerHeight / 2.0);
    pen.setWidthF(previousWidth);
    painter.setPen(pen);
}

void ttbForm::paintOutline(QPainter& painter)
{
    const QRect client = bubble_ ? bubble_->rect() : QRect();
    if (client.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ui::toQColor(kOutline), 1));
    const QRect body = balloon::bodyOutline(client);
    DrawRoundedRect(painter, body.left(), body.top(), body.left() + body.width(), body.top() + body.height(),
                    14, 14);
    painter.setPen(QPen(ui::toQColor(kOutline), 3));
    painter.drawPolyline(balloon::tailOutline(client));
    // The body's edge where the tail joins it is painted over, so body and tail read as one outline.
    const int bottom = client.top() + client.height();
    painter.setPen(QPen(ui::toQColor(kTipBack), 3));
    painter.drawLine(QPoint(client.left() + 36, bottom - 21), QPoint(client.left() + 18, bottom - 21));
    painter.restore();
}

void ttbForm::CreateBubbleForm()
{
    QWidget* top = frameWidget();
    if (!top)
        return;
    top->setMask(balloon::bubbleRegion(QRect(QPoint(0, 0), top->size())));
    top->update();
}

void ttbForm::applyRegionFromPicture(const QImage& picture, const QRect& bounds, const QColor& transparent)
{
    if (QWidget* top = frameWidget()) {
        top->setMask(balloon::regionFromPicture(picture, bounds, transparent));
        top->update();
    }
}

QRegion ttbForm::windowRegion() const
{
    const QWidget* top = frameWidget();
    return top ? top->mask() : QRegion();
}

QString ttbForm::GetWindowsVersion() const
{
    const QOperatingSystemVersion current = QOperatingSystemVersion::current();
    if (current.type() != QOperatingSystemVersion::Windows)
        return balloon::windowsVersionName(0, 0, 0, 0);
    return balloon::windowsVersionName(2, current.majorVersion(), current.minorVersion(),
                                       current.microVersion());
}

bool ttbForm::Is9xMe() const
{
    return false;
}

bool ttbForm::Is2kXp() const
{
    const QOperatingSystemVersion current = QOperatingSystemVersion::current();
    return current.type() == QOperatingSystemVersion::Windows && current.majorVersion() == 5;
}

ui::Control* ttbForm::pointedControl() const
{
    return controlWidget_ ? control_ : nullptr;
}

void ttbForm::setPointedControl(ui::Control* control)
{
    control_ = control;
    controlWidget_ = control ? control->widget() : nullptr;
    if (!controlWidget_)
        control_ = nullptr;
}

void ttbForm::CenterOverControl()
{
    QWidget* target = controlWidget_.data();
    QWidget* top = frameWidget();
    if (!target || !top || !IsLoaded())
        return;
    const QPoint topCentre = target->mapToGlobal(QPoint(target->width() / 2, 0));
    const QPoint place = balloon::bubblePosition(topCentre, top->height());
    top->move(place);
    showWithoutActivating();
}

void ttbForm::showWithoutActivating()
{
    QWidget* top = frameWidget();
    if (!top)
        return;
    if (!top->isVisible())
        top->show();
    top->raise();
}

void ttbForm::closeByClick()
{
    Hide();
    Unload();
}
