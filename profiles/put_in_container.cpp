#include "profiles/put_in_container.h"

#include "platform/ui/control.h"

#include <QLayout>
#include <QWidget>

#include <memory>

void PutInContainer(ui::Control& control, ui::Control& container)
{
    QWidget* widget = control.widget();
    QWidget* parent = container.widget();
    if (!widget || !parent)
        return;
    if (widget->parentWidget() != parent)
        widget->setParent(parent);
    if (QLayout* layout = parent->layout(); layout && layout->indexOf(widget) < 0)
        layout->addWidget(widget);
    control.setVisible(true);
}

ui::ControlArray<ui::ComboBox>::Maker DropDownListMaker()
{
    return [](ui::Form* owner, const QString& name, int index) {
        return std::make_unique<ui::ComboBox>(owner, name, index, ui::vbComboDropdownList);
    };
}
