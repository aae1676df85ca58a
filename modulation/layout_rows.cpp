#include "modulation/layout_rows.h"

#include "platform/ui/controls_label.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSizePolicy>
#include <QWidget>

namespace modlayout {

void shapeMarker(ui::Label& marker)
{
    QWidget* widget = marker.widget();
    if (!widget)
        return;
    widget->setFixedSize(14, 20);
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

int addRows(QGridLayout* grid, int firstRow, int column, std::initializer_list<Row> rows)
{
    int row = firstRow;
    for (const Row& entry : rows) {
        QWidget* caption = entry.captionWidget;
        if (!caption && !entry.caption.isEmpty())
            caption = new QLabel(entry.caption);
        if (caption)
            grid->addWidget(caption, row, column);
        auto* fields = new QHBoxLayout;
        fields->setSpacing(4);
        for (QWidget* field : entry.fields)
            fields->addWidget(field, field == *entry.fields.begin() ? 1 : 0);
        grid->addLayout(fields, row, column + 1);
        if (entry.marker) {
            shapeMarker(*entry.marker);
            grid->addWidget(entry.marker->widget(), row, column + 2);
        }
        ++row;
    }
    return row;
}

} // namespace modlayout
