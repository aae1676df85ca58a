#pragma once

// Layout pieces of the word edit dialogs: a fixed-size dialog window and rows of widgets.

#include <QBoxLayout>
#include <QWidget>
#include <initializer_list>

namespace profiles {

// Makes the form's window a fixed-size dialog (title and close box only) around the layout of `content`.
void makeFixedDialog(QWidget* content);

// A row of widgets (nullptr adds a stretch), left to right.
QHBoxLayout* widgetRow(std::initializer_list<QWidget*> widgets);

// A button with its focus highlight: the highlight is drawn behind the button, a little larger.
QWidget* highlightedButton(QWidget* button, QWidget* highlight);

} // namespace profiles
