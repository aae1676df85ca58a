// The internal I/O update rate: IOUD Rt counts quarter periods of the system clock; the window shows the
// period in seconds (engineering notation) and the total period with the CFR2 clock divider, takes a
// typed period back into a count, and steps the count with its spin button straight into the chip.

#include "shell/frm_control.h"

#include "board/evalbd.h"
#include "board/text_util.h"
#include "board/utility.h"
#include "board/vco_tables.h"
#include "boardui/text_selection.h"
#include "shell/frm_control_fields.h"

#include "platform/ui/key_codes.h"
#include "platform/ui/msgbox.h"

#include <cmath>

using namespace control;

std::optional<double> frmControl::ioudPeriod(double count) const
{
    const std::optional<double> clock = usableSysClock();
    if (!clock)
        return std::nullopt;
    const double period = ebCheckRateRange(count, *clock);
    if (period == -1)
        return std::nullopt;
    return period;
}

// "400.000 nS": the period with its SI prefix and the unit.
QString frmControl::ioudPeriodText(double count) const
{
    const std::optional<double> period = ioudPeriod(count);
    return EngToSIPrefix(FormatEng(period.value_or(-1), QStringLiteral("0.000"))) + QStringLiteral("S");
}

void frmControl::UpdateIOUDClk()
{
    const int divider = 1 << kIOUpdateClockDivider.get();
    const auto count = static_cast<double>(kIOUpdateCount.get());
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
        txtInternalIOUDRate.setText(periodText);
    }
    ioudTextEdited_ = false;
    lblIOUDRateVal.setCaption(totalText);
}

void frmControl::txtInternalIOUDRate_Change()
{
    if (!settingIOUDText_)
        ioudTextEdited_ = true;
}

void frmControl::txtInternalIOUDRate_KeyPress(int& keyAscii)
{
    if (keyAscii == ui::vbKeyReturn) {
        keyAscii = 0;
        bool cancel = false;
        txtInternalIOUDRate_Validate(cancel);
        return;
    }
    keyAscii = KeyFilterNumeric2(keyAscii);
}

void frmControl::txtInternalIOUDRate_Validate(bool& cancel)
{
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
                           ioudPeriodText(kMaxIOUDCount) + QStringLiteral(".");
    const QString title = QStringLiteral("Invalid I/O Update Rate");
    const std::optional<double> period = numberOf(txtInternalIOUDRate.Text());
    if (!period) {
        ui::MsgBox(prompt, ui::vbExclamation, title);
        SelectAllText(txtInternalIOUDRate);
        cancel = true;
        return;
    }
    double count = ebTimeToSysClkCount(*period, *clock);
    const bool invalid = count == -1 || ebCheckRateRange(count, *clock) == -1;
    if (invalid) {
        ui::MsgBox(prompt, ui::vbExclamation, title);
        // Too long a period takes the longest count; a negative one the shortest count the chip is given.
        count = *period < 0 ? 7 : kMaxIOUDCount;
    }
    store(kIOUpdateCount, static_cast<uint64_t>(count));
    UpdateIOUDClk();
    if (invalid)
        SelectAllText(txtInternalIOUDRate);
}

void frmControl::vscIOUDRate_Change()
{
    const int step = vscIOUDRate.Value();
    if (step == 0)
        return;
    const uint64_t count = kIOUpdateCount.get();
    uint64_t next = count;
    if (step > 0)
        next = count >= 0xFFFFFFFFu ? 2 : count + 1;
    else if (count != 2 && count != 0) // the count never wraps below 0 into the largest one
        next = count - 1;
    store(kIOUpdateCount, next);
    UpdateIOUDClk();
    vscIOUDRate.setValue(0);
    // The one control that reaches the chip without LOAD.
    if (goEvalBd) {
        goEvalBd->USBSerialLoadPKT(kIOUDRate, goEvalBd->GetRegMapValue(0, kIOUDRate));
        goEvalBd->StrobeREGUD();
    }
}
