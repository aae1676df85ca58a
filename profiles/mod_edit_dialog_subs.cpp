#include "profiles/mod_edit_dialog_subs.h"

#include "board/system_clock.h"
#include "platform/runtime/decimal.h"
#include "platform/runtime/number_format.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/msgbox.h"
#include "profiles/mod_edit_out_freq.h"

#include <cmath>
#include <limits>

std::optional<profiles::EditValue> gvEditSysClock;

namespace {

using profiles::EditValue;

constexpr int64_t kLongMin = std::numeric_limits<int32_t>::min();
constexpr int64_t kLongMax = std::numeric_limits<int32_t>::max();

// The clock a ramp-rate conversion works with: the argument, else the shared clock. Nothing when it is
// missing, not a number, zero or negative: the caller then reports it.
std::optional<EditValue> usableClock(const std::optional<EditValue>& clock)
{
    const std::optional<EditValue>& chosen = clock ? clock : gvEditSysClock;
    if (!chosen)
        return std::nullopt;
    if (!usableSystemClock(chosen->number()))
        return std::nullopt;
    return chosen;
}

void reportInvalidClock(const char* procedure)
{
    ui::MsgBox(QStringLiteral("Error: %1()\r\nInvalid system clock value.").arg(QLatin1String(procedure)),
               ui::vbCritical, QStringLiteral("Invalid Parameter Passed"));
}

double rampTime(int32_t word, const std::optional<EditValue>& clock, const char* procedure)
{
    const std::optional<EditValue> usable = usableClock(clock);
    if (!usable) {
        reportInvalidClock(procedure);
        return 0.0;
    }
    // Four times a 32-bit word needs more than 32 bits: the product is formed wide.
    const int64_t steps = static_cast<int64_t>(word) * 4;
    if (usable->isDecimal())
        return (rt::Decimal(static_cast<long long>(steps)) / *usable->decimal()).toDouble();
    return static_cast<double>(steps) / *usable->number();
}

enum class RampOrder { TimeTimesQuarterClock, TimeTimesClockOverFour };

int32_t rampWord(const EditValue& time, const std::optional<EditValue>& clock, RampOrder order,
                 const char* procedure)
{
    const std::optional<EditValue> usable = usableClock(clock);
    if (!usable) {
        reportInvalidClock(procedure);
        return 0;
    }
    const std::optional<double> seconds = time.number();
    if (!seconds)
        return 0;
    if (usable->isDecimal()) {
        try {
            const rt::Decimal t = rt::Decimal::fromDouble(*seconds);
            const rt::Decimal c = *usable->decimal();
            const rt::Decimal four(4);
            const rt::Decimal word =
                order == RampOrder::TimeTimesQuarterClock ? t * (c / four) : t * c / four;
            const rt::Decimal rounded = word.roundedHalfEven(0);
            if (rounded > rt::Decimal(static_cast<long long>(kLongMax)))
                return static_cast<int32_t>(kLongMax);
            if (rounded < rt::Decimal(static_cast<long long>(kLongMin)))
                return static_cast<int32_t>(kLongMin);
            return static_cast<int32_t>(rounded.toInt64());
        } catch (const rt::RuntimeError&) {
            // Overflow of the decimal: the word lies far beyond the 32-bit range on the side of its sign.
            return static_cast<int32_t>(*seconds < 0 ? kLongMin : kLongMax);
        }
    }
    const double c = *usable->number();
    const double word = order == RampOrder::TimeTimesQuarterClock ? *seconds * (c / 4.0) : *seconds * c / 4.0;
    return static_cast<int32_t>(profiles::roundHalfEvenClamped(word, kLongMin, kLongMax));
}

} // namespace

double CalculateRRTime(int32_t word, const std::optional<EditValue>& clock)
{
    return rampTime(word, clock, "CalculateRRTime");
}

double CalculateRAMRRTime(int32_t word, const std::optional<EditValue>& clock)
{
    return rampTime(word, clock, "CalculateRAMRRTime");
}

int32_t CalculateRRWord(const EditValue& time, const std::optional<EditValue>& clock)
{
    return rampWord(time, clock, RampOrder::TimeTimesQuarterClock, "CalculateRRWord");
}

int32_t CalculateRAMRRWord(const EditValue& time, const std::optional<EditValue>& clock)
{
    return rampWord(time, clock, RampOrder::TimeTimesClockOverFour, "CalculateRAMRRWord");
}

QString edtFormatRRTime(double time)
{
    return rt::Format(time, QStringLiteral("0.0000"));
}

QString edtFormatRAMRRTime(double time)
{
    return rt::Format(time, QStringLiteral("0.0000"));
}

double edtPOWToDegrees(double word)
{
    return word * (360.0 / 65536.0);
}

int32_t edtDegreesToPOW(double degrees)
{
    return static_cast<int32_t>(
        profiles::roundHalfEvenClamped(65536.0 * degrees / 360.0, kLongMin, kLongMax));
}

int32_t edtAmplToASF(double fraction)
{
    return static_cast<int32_t>(
        profiles::roundHalfEvenClamped(fraction / std::ldexp(1.0, -14), kLongMin, kLongMax));
}

double edtASFToAmpl(int32_t word)
{
    return word * std::ldexp(1.0, -14);
}

double edtOSFToGain(int16_t word)
{
    return (1.9921875 / 255.0) * word;
}

int16_t edtGainToOSF(double gain)
{
    return static_cast<int16_t>(profiles::truncateClamped((255.0 / 1.9921875) * gain,
                                                          std::numeric_limits<int16_t>::min(),
                                                          std::numeric_limits<int16_t>::max()));
}

QVariant edtDecimalSep2(bool asCode)
{
    return edtDecimalSep(asCode);
}
