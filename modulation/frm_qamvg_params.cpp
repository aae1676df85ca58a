// The tabs' parameter files: each line's control and kind come from the generator's table, so the writer
// and the reader follow one order.

#include "modulation/frm_qamvg.h"
#include "platform/os/files.h"
#include "platform/os/program_folder.h"
#include "platform/ui/msgbox.h"

#include <QFile>

using mvg::LineKind;

QString frmQAMVG::paramValue(const mvg::ParamLine& line) const
{
    const ui::Control* control = this->control(line.control);
    if (const auto* box = dynamic_cast<const ui::TextBox*>(control)) {
        switch (line.kind) {
        case LineKind::Trimmed:
            return box->Text().trimmed();
        case LineKind::Decimal:
            return mvg::ExportParam(box->Text());
        case LineKind::OutputFile:
            return box->Text().isEmpty() ? mvg::kDefaultModulationFile : box->Text();
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

bool frmQAMVG::writeParamFile(mvg::Generator generator, const QString& path)
{
    QStringList values;
    for (const mvg::ParamLine& line : mvg::paramLines(generator))
        values << paramValue(line);
    const QByteArray bytes = mvg::composeParamFile(values);
    if (os::writeWholeFile(path, bytes))
        return true;
    ui::MsgBox(QStringLiteral("The parameter file could not be written:") + QStringLiteral("\r\n") + path,
               ui::vbExclamation, QStringLiteral("Error!"));
    return false;
}

void frmQAMVG::readParamFile(mvg::Generator generator, const QString& path)
{
    // A parameter file is a few dozen short lines; anything far larger is none of ours.
    const std::optional<QByteArray> bytes = os::readWholeFile(path, 64 * 1024);
    if (!bytes)
        return;
    const std::vector<mvg::ParamLine>& table = mvg::paramLines(generator);
    const std::vector<mvg::ParamValue> values = mvg::parseParamFile(generator, *bytes, os::programFolder());
    for (size_t i = 0; i < values.size(); ++i) {
        ui::Control* control = this->control(table[i].control);
        if (auto* box = dynamic_cast<ui::TextBox*>(control))
            box->setText(values[i].text);
        else if (auto* list = dynamic_cast<ui::ComboBox*>(control))
            list->setListIndex(values[i].number);
        else if (auto* check = dynamic_cast<ui::CheckBox*>(control))
            check->setValue(values[i].number);
    }
}
