#include "modulation/param_file_fields.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

#include <algorithm>

namespace mvg {

QString paramValueOf(const ui::Control* control, const ParamLine& line)
{
    if (const auto* box = dynamic_cast<const ui::TextBox*>(control)) {
        switch (line.kind) {
        case LineKind::Trimmed:
            return box->Text().trimmed();
        case LineKind::Decimal:
            return ExportParam(box->Text());
        case LineKind::OutputFile:
            return box->Text().isEmpty() ? kDefaultModulationFile : box->Text();
        default:
            return box->Text();
        }
    }
    if (const auto* list = dynamic_cast<const ui::ComboBox*>(control)) {
        if (line.kind == LineKind::WindowType)
            return QStringLiteral("0");
        return QString::number(std::max(list->ListIndex(), 0));
    }
    if (const auto* check = dynamic_cast<const ui::CheckBox*>(control))
        return check->Value() == 0 ? QStringLiteral("0") : QStringLiteral("1");
    return QString();
}

QStringList paramValuesOf(const ui::Form& form, Generator generator)
{
    QStringList values;
    for (const ParamLine& line : paramLines(generator))
        values << paramValueOf(form.control(line.control), line);
    return values;
}

void showParamValues(ui::Form& form, Generator generator, const std::vector<ParamValue>& values)
{
    const std::vector<ParamLine>& table = paramLines(generator);
    for (size_t i = 0; i < values.size() && i < table.size(); ++i) {
        ui::Control* control = form.control(table[i].control);
        if (auto* box = dynamic_cast<ui::TextBox*>(control))
            box->setText(values[i].text);
        else if (auto* list = dynamic_cast<ui::ComboBox*>(control))
            list->setListIndex(values[i].number);
        else if (auto* check = dynamic_cast<ui::CheckBox*>(control))
            check->setValue(values[i].number);
    }
}

} // namespace mvg
