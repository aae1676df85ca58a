#pragma once

#include "platform/ui/control.h"

#include <QPointer>

class QGroupBox;

namespace ui {

// Classic frame: a titled group box that holds other controls. Lay the inner controls out in container();
// option buttons inside one frame form one group.
class Frame : public Control {
public:
    Frame(Form* owner, QString name, int index = -1);
    QWidget* widget() const override;
    QWidget* container() const { return widget(); }

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);

    Event<> Click;
    Event<> DblClick;

protected:
    void onClick() override { Click(); }
    void onDblClick() override { DblClick(); }

private:
    QPointer<QGroupBox> box_;
    QString caption_;
};

} // namespace ui
