#include "profiles/edit_dialog_layout.h"

#include <QGridLayout>
#include <QLayout>

namespace profiles {

void makeFixedDialog(QWidget* content)
{
    if (QLayout* layout = content->layout())
        layout->setSizeConstraint(QLayout::SetFixedSize);
    QWidget* window = content->window();
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
    if (QLayout* layout = window->layout())
        layout->setSizeConstraint(QLayout::SetFixedSize);
}

QHBoxLayout* widgetRow(std::initializer_list<QWidget*> widgets)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    for (QWidget* widget : widgets) {
        if (widget)
            row->addWidget(widget);
        else
            row->addStretch(1);
    }
    return row;
}

QWidget* highlightedButton(QWidget* button, QWidget* highlight)
{
    auto* holder = new QWidget;
    auto* grid = new QGridLayout(holder);
    grid->setContentsMargins(0, 0, 0, 0);
    highlight->setAttribute(Qt::WA_TransparentForMouseEvents);
    grid->addWidget(highlight, 0, 0);
    auto* inner = new QGridLayout;
    inner->setContentsMargins(3, 3, 3, 3);
    inner->addWidget(button, 0, 0);
    grid->addLayout(inner, 0, 0);
    highlight->lower();
    return holder;
}

} // namespace profiles
