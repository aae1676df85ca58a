#pragma once

#include "platform/ui/form.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>

namespace controls_test {

// A window of its own for the controls under test; the default layout stacks their widgets.
class HostForm : public ui::Form {
public:
    HostForm() : Form(QStringLiteral("frmControlsTest")) {}
};

// Shows the form and makes its window the active one, so that focus moves produce focus events as they do
// for a user.
inline void showActive(ui::Form& form)
{
    form.Show();
    QWidget* window = form.frameWidget()->window();
    QApplication::setActiveWindow(window);
}

// Events in the order they fired.
struct EventLog {
    QStringList entries;
    void add(const QString& entry) { entries << entry; }
    QString joined() const { return entries.join(QLatin1Char(' ')); }
};

// A plain left click in the middle of a widget, as the user makes it.
inline void userClick(QWidget* widget, QPoint at = QPoint())
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
}

// A click on the box of a check box or option button (the part of a wide widget that takes clicks).
inline void userClickBox(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(6, widget->height() / 2));
}

} // namespace controls_test
