#include "platform/ui/controls_frame.h"

#include "platform/ui/controls_button.h"

#include <QGroupBox>

namespace ui {

Frame::Frame(Form* owner, QString name, int index) : Control(owner, std::move(name), index)
{
    auto* box = new QGroupBox;
    markAsContainer(box);
    box_ = box;
    adoptWidget(box);
    consumeMouseEvents();
}

QWidget* Frame::widget() const
{
    return box_;
}

void Frame::setCaption(const QString& caption)
{
    caption_ = caption;
    if (box_)
        box_->setTitle(caption);
}

} // namespace ui
