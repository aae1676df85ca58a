#pragma once

// Rows of caption, field and error marker for the parameter windows' grids.

#include <QString>
#include <initializer_list>

class QGridLayout;
class QWidget;

namespace ui {
class Label;
}

namespace modlayout {

// One row: a caption (text, or a named label's widget), the field's widgets side by side, and the marker
// that stands beside the field (nullptr for none).
struct Row {
    QString caption;
    QWidget* captionWidget = nullptr;
    std::initializer_list<QWidget*> fields;
    ui::Label* marker = nullptr;
};

// Adds the rows from `firstRow` down, in the three columns from `column` on; returns the next free row.
int addRows(QGridLayout* grid, int firstRow, int column, std::initializer_list<Row> rows);

// A marker keeps its place while hidden, so nothing moves when it comes and goes.
void shapeMarker(ui::Label& marker);

} // namespace modlayout
