#include "shell/control_multiplier_sr3.h"

#include "board/clock_plan.h"
#include "shell/control_window_kit.h"
#include "shell/frm_control.h"

#include "platform/runtime/number_format.h"
#include "platform/ui/key_codes.h"

#include <algorithm>
#include <cmath>

using controlkit::numberOf;

void ControlMultiplierSR3::txtCLKMultiVal_Change()
{
    frmControl& w = window_;
    const std::optional<double> multiplier = numberOf(w.txtCLKMultiVal.Text());
    if (!multiplier) {
        w.setMark(4, true);
        return;
    }
    // 11 is marked yet written: the chip takes any 7-bit value, the mark tells the user it will not lock.
    w.setMark(4, !clockplan::validMultiplierSR3(*multiplier));
    if (*multiplier >= 0 && *multiplier <= 127) {
        w.store(frmControl::kMultiplierSR3, static_cast<uint64_t>(std::trunc(*multiplier)));
        w.UpdateClks();
    }
}

void ControlMultiplierSR3::txtCLKMultiVal_KeyPress(int& keyAscii)
{
    if (keyAscii == ui::vbKeyReturn) {
        keyAscii = 0;
        bool cancel = false;
        txtCLKMultiVal_Validate(cancel);
        return;
    }
    controlkit::digitsOnly(keyAscii);
}

void ControlMultiplierSR3::txtCLKMultiVal_KeyDown(int& keyCode, int shift)
{
    (void)shift;
    // The arrow keys work the spin button beside the box.
    if (keyCode == 38) {
        keyCode = 0;
        window_.vscMultiplier.stepUp();
    } else if (keyCode == 40) {
        keyCode = 0;
        window_.vscMultiplier.stepDown();
    }
}

void ControlMultiplierSR3::txtCLKMultiVal_Validate(bool& cancel)
{
    (void)cancel;
    const std::optional<double> multiplier = numberOf(window_.txtCLKMultiVal.Text());
    if (!multiplier)
        return;
    const double clipped = std::clamp(std::trunc(*multiplier), 8.0, 127.0);
    window_.txtCLKMultiVal.setText(rt::Format(clipped, QStringLiteral("0")));
}

void ControlMultiplierSR3::vscMultiplier_Change()
{
    ui::ScrollBar& spin = window_.vscMultiplier;
    const int step = spin.Value();
    if (step == 0)
        return;
    if (const std::optional<double> n = numberOf(window_.txtCLKMultiVal.Text())) {
        double next = *n + step;
        if (step < 0 && *n < 1)
            next = 127;
        else if (step > 0 && *n >= 127)
            next = 0;
        window_.txtCLKMultiVal.setText(rt::Format(next, QStringLiteral("0")));
    }
    spin.setValue(0);
}
