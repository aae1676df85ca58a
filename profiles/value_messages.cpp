#include "profiles/value_messages.h"

#include "profiles/mod_edit_dialog_subs.h"

#include "platform/runtime/number_format.h"
#include "platform/ui/msgbox.h"

namespace profiles {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");
const QString kPhaseFormat = QStringLiteral("0.000");

} // namespace

void reportFrequencyTooHigh()
{
    ui::MsgBox(QStringLiteral("The DDS output frequency can not exceed the system clock."),
               ui::vbOKOnly | ui::vbInformation, QStringLiteral("Output Frequency to High!!!"));
}

void reportPhaseClipped()
{
    ui::MsgBox(QStringLiteral("The vaid range for the Phase Offset is ") + rt::Format(0.0, kPhaseFormat) +
                   QStringLiteral(" Deg to ") + rt::Format(edtPOWToDegrees(65535), kPhaseFormat) +
                   QStringLiteral(" Deg.") + kLineBreak +
                   QStringLiteral("The value entered has been clipped!"),
               ui::vbOKOnly | ui::vbInformation, QStringLiteral("Maximum Phase Offset Exceeded!!!"));
}

QString rampRateRangeText(const QString& name, const QString& from, const QString& to, const QString& unit)
{
    return QStringLiteral("The vaid range for the ") + name + QStringLiteral(" Time is ") + from + unit +
           QStringLiteral(" to ") + to + unit + QStringLiteral(" .") + kLineBreak +
           QStringLiteral("The value entered will be clipped!");
}

void reportRampRateClipped(const QString& name, const QString& from, const QString& to)
{
    ui::MsgBox(rampRateRangeText(name, from, to, QStringLiteral("\u00B5s")), ui::vbOKOnly | ui::vbInformation,
               QStringLiteral("Maximum Ramp Rate Time Exceeded!!!"));
}

} // namespace profiles
