#include "platform/ui/controls_label.h"

#include <QLabel>

namespace ui {

QString captionDisplayText(const QString& caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&')) {
                shown += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        shown += caption.at(i);
    }
    return shown;
}

Qt::Alignment qtAlignment(int alignment)
{
    switch (alignment) {
    case vbRightJustify:
        return Qt::AlignRight | Qt::AlignVCenter;
    case vbCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

Label::Label(Form* owner, QString name, int index) : Control(owner, std::move(name), index)
{
    auto* label = new QLabel;
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(qtAlignment(alignment_));
    label_ = label;
    adoptWidget(label);
    consumeMouseEvents();
}

QWidget* Label::widget() const
{
    return label_;
}

void Label::setCaption(const QString& caption)
{
    caption_ = caption;
    if (label_) {
        label_->setText(captionDisplayText(caption));
        if (autoSize_)
            label_->adjustSize();
    }
}

void Label::setAlignment(int alignment)
{
    alignment_ = alignment;
    if (label_)
        label_->setAlignment(qtAlignment(alignment));
}

void Label::setAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    if (!label_)
        return;
    label_->setSizePolicy(autoSize ? QSizePolicy::Fixed : QSizePolicy::Preferred,
                          autoSize ? QSizePolicy::Fixed : QSizePolicy::Preferred);
    if (autoSize)
        label_->adjustSize();
}

void Label::setWordWrap(bool wordWrap)
{
    wordWrap_ = wordWrap;
    if (label_)
        label_->setWordWrap(wordWrap);
}

void Label::setBackStyle(int backStyle)
{
    backStyle_ = backStyle == 0 ? 0 : 1;
    applyColours();
}

void Label::setBorderStyle(int borderStyle)
{
    borderStyle_ = borderStyle == 0 ? 0 : 1;
    if (label_) {
        label_->setFrameStyle(borderStyle_ ? (QFrame::Panel | QFrame::Sunken) : QFrame::NoFrame);
        label_->setLineWidth(1);
    }
}

int Label::Width() const
{
    if (autoSize_ && label_)
        return label_->sizeHint().width();
    return Control::Width();
}

int Label::Height() const
{
    if (autoSize_ && label_)
        return label_->sizeHint().height();
    return Control::Height();
}

void Label::applyColours()
{
    Control::applyColours();
    if (label_)
        label_->setAutoFillBackground(backStyle_ == 1 && backColorSet());
}

} // namespace ui
