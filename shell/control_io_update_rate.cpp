#include "shell/control_io_update_rate.h"

#include "board/chip_registers.h"
#include "board/clock_plan.h"
#include "board/evalbd.h"
#include "board/globals.h"
#include "board/system_clock.h"
#include "board/text_util.h"
#include "board/utility.h"
#include "boardui/text_selection.h"
#include "shell/control_window_kit.h"
#include "shell/frm_control.h"

#include "platform/ui/key_codes.h"
#include "platform/ui/msgbox.h"

using controlkit::numberOf;

namespace {

constexpr uint32_t kIllustrationLit = 0x00FF00;
constexpr uint32_t kIllustrationDark = 0x808080;

} // namespace

void ControlIOUpdateRate::showState()
{
    frmControl& w = window_;
    const bool internal = w.chkInternalIOUpdate.Value() == 1;
    const uint32_t illustration = internal ? kIllustrationLit : kIllustrationDark;
    for (ui::Line& line : w.lneIOUDIll)
        line.setBorderColor(illustration);
    w.lblIOUDRateVal.setForeColor(illustration);
    w.lblIOUpdateRateTotal.setForeColor(illustration);
    controlkit::paint({&w.lblInternalIOUpdateRate, &w.txtInternalIOUDRate, &w.lblIOUDRateUnits,
                       &w.lblIOUDClkDivVal, &w.cmbIOUpdateClkDiv},
                      internal);
}

std::optional<double> ControlIOUpdateRate::usableSysClock() const
{
    return usableSystemClock(numberOf(window_.txtSysClkTxt.Text()));
}

std::optional<double> ControlIOUpdateRate::ioudPeriod(double count) const
{
    return clockplan::ioUpdatePeriod(count, usableSysClock());
}

// "400.000 nS": the period with its SI prefix and the unit.
QString ControlIOUpdateRate::ioudPeriodText(double count) const
{
    const std::optional<double> period = ioudPeriod(count);
    return EngToSIPrefix(FormatEng(period.value_or(-1), QStringLiteral("0.000"))) + QStringLiteral("S");
}

void ControlIOUpdateRate::UpdateIOUDClk()
{
    frmControl& w = window_;
    const int divider = 1 << frmControl::kIOUpdateClockDivider.get();
    const auto count = static_cast<double>(frmControl::kIOUpdateCount.get());
    const std::optional<double> period = ioudPeriod(count);
    QString periodText;
    QString totalText;
    // Without a usable system clock there is no period to show.
    if (period) {
        periodText = FormatEng(*period, QStringLiteral("0.0000000"));
        totalText =
            EngToSIPrefix(FormatEng(*period * divider, QStringLiteral("0.000"))) + QStringLiteral("S");
    }
    {
        regwin::ScopedFlag setting(settingIOUDText_);
        w.txtInternalIOUDRate.setText(periodText);
    }
    ioudTextEdited_ = false;
    w.lblIOUDRateVal.setCaption(totalText);
}

void ControlIOUpdateRate::txtInternalIOUDRate_Change()
{
    if (!settingIOUDText_)
        ioudTextEdited_ = true;
}

void ControlIOUpdateRate::txtInternalIOUDRate_KeyPress(int& keyAscii)
{
    if (keyAscii == ui::vbKeyReturn) {
        keyAscii = 0;
        bool cancel = false;
        txtInternalIOUDRate_Validate(cancel);
        return;
    }
    keyAscii = KeyFilterNumeric2(keyAscii);
}

void ControlIOUpdateRate::txtInternalIOUDRate_Validate(bool& cancel)
{
    ui::TextBox& box = window_.txtInternalIOUDRate;
    // The box shows a rounded period: read back unedited, it would move a large count.
    if (!ioudTextEdited_)
        return;
    const std::optional<double> clock = usableSysClock();
    if (!clock) {
        // Without a usable system clock (its mark is shown) no period converts to a count.
        UpdateIOUDClk();
        return;
    }
    const QString prompt = QStringLiteral("Invald Internal I/O Update Rate entered.\r\nThe min value is ") +
                           ioudPeriodText(1) + QStringLiteral(".\r\nThe max value is ") +
                           ioudPeriodText(clockplan::kMaxIOUpdateCount) + QStringLiteral(".");
    const QString title = QStringLiteral("Invalid I/O Update Rate");
    const std::optional<double> period = numberOf(box.Text());
    if (!period) {
        ui::MsgBox(prompt, ui::vbExclamation, title);
        SelectAllText(box);
        cancel = true;
        return;
    }
    const std::optional<double> typedCount = clockplan::ioUpdateCount(*period, *clock);
    const bool invalid = !typedCount;
    // Too long a period takes the longest count; a negative one the shortest count the chip is given.
    const double count = typedCount.value_or(*period < 0 ? 7 : clockplan::kMaxIOUpdateCount);
    if (invalid)
        ui::MsgBox(prompt, ui::vbExclamation, title);
    window_.store(frmControl::kIOUpdateCount, static_cast<uint64_t>(count));
    UpdateIOUDClk();
    if (invalid)
        SelectAllText(box);
}

void ControlIOUpdateRate::vscIOUDRate_Change()
{
    ui::ScrollBar& spin = window_.vscIOUDRate;
    const int step = spin.Value();
    if (step == 0)
        return;
    const uint64_t count = frmControl::kIOUpdateCount.get();
    uint64_t next = count;
    if (step > 0)
        next = count >= 0xFFFFFFFFu ? 2 : count + 1;
    else if (count != 2 && count != 0) // the count never wraps below 0 into the largest one
        next = count - 1;
    window_.store(frmControl::kIOUpdateCount, next);
    UpdateIOUDClk();
    spin.setValue(0);
    // The one control that reaches the chip without LOAD.
    if (goEvalBd) {
        goEvalBd->USBSerialLoadPKT(kIOUDRate, goEvalBd->GetRegMapValue(0, kIOUDRate));
        goEvalBd->StrobeREGUD();
    }
}
