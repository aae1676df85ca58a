#include "shell/control_aux_dac.h"

#include "board/utility.h"
#include "boardui/board_attach.h"
#include "boardui/text_selection.h"
#include "boardui/window_utility.h"
#include "shell/control_window_kit.h"
#include "shell/frm_control.h"

#include "platform/runtime/number_format.h"
#include "platform/ui/key_codes.h"

#include <cmath>

using controlkit::numberOf;

void ControlAuxDac::txtDACControl_GotFocus()
{
    SelectAllText(window_.txtDACControl);
}

void ControlAuxDac::txtDACControl_KeyPress(int& keyAscii)
{
    if (keyAscii == ui::vbKeyReturn) {
        keyAscii = 0;
        bool cancel = false;
        txtDACControl_Validate(cancel);
        return;
    }
    controlkit::digitsOnly(keyAscii);
}

void ControlAuxDac::txtDACControl_Validate(bool& cancel)
{
    (void)cancel;
    ui::TextBox& box = window_.txtDACControl;
    const std::optional<double> typed = numberOf(box.Text());
    uint64_t code = 0;
    if (!typed) {
        // Nothing usable was typed: the box shows the code the chip is set to again.
        code = frmControl::kAuxDACCode.get();
    } else if (*typed > 255 || *typed < 0) {
        code = 255;
    } else {
        code = static_cast<uint64_t>(std::trunc(*typed));
    }
    const QString text = QString::number(code);
    if (box.Text() != text)
        box.setText(text);
    if (typed)
        window_.store(frmControl::kAuxDACCode, code);
    udI_DacOutval();
}

void ControlAuxDac::vscDACControl_Change()
{
    ui::ScrollBar& spin = window_.vscDACControl;
    ui::TextBox& box = window_.txtDACControl;
    const int step = spin.Value();
    if (step == 0)
        return;
    const std::optional<double> typed = numberOf(box.Text());
    const double n = (typed ? *typed : static_cast<double>(frmControl::kAuxDACCode.get())) + step;
    if (n >= 256) {
        box.setText(QStringLiteral("0"));
        controlkit::beep();
    } else if (n < 0) {
        box.setText(QStringLiteral("255"));
        controlkit::beep();
    } else {
        box.setText(rt::Format(n, QStringLiteral("0")));
    }
    bool cancel = false;
    txtDACControl_Validate(cancel);
    spin.setValue(0);
}

void ControlAuxDac::udI_DacOutval()
{
    const auto code = static_cast<int16_t>(frmControl::kAuxDACCode.get());
    const double amperes = ebRateFormula(code, 10000);
    SplitValueUnit(FormatSI(amperes, QStringLiteral("0.000000")) + QStringLiteral("A"), window_.txtDACI_Out,
                   window_.lblIoutUnits);
}
