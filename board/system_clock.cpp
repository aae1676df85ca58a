#include "board/system_clock.h"

#include "board/form_names.h"

#include "platform/ui/controls_textbox.h"
#include "platform/ui/forms.h"

QString SysClockText()
{
    ui::Form* control = ui::Forms::load(formnames::frmControl);
    if (control == nullptr)
        return QString();
    const auto* box = dynamic_cast<const ui::TextBox*>(control->control(QStringLiteral("txtSysClkTxt")));
    return box != nullptr ? box->Text() : QString();
}
