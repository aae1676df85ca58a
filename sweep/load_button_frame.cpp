#include "sweep/load_button_frame.h"

#include <QWidget>

namespace sweep {

namespace {

// The indicator's rim around the button, in pixels.
constexpr int kRim = 3;

} // namespace

void placeLoadButton(QWidget* holder, QSize size, ui::Label& indicator, ui::CommandButton& load)
{
    QWidget* frame = indicator.widget();
    QWidget* button = load.widget();
    frame->setParent(holder);
    frame->setGeometry(0, 0, size.width(), size.height());
    button->setParent(holder);
    button->setGeometry(kRim, kRim, size.width() - 2 * kRim, size.height() - 2 * kRim);
    frame->lower();
    button->raise();
}

} // namespace sweep
