#include "board/system_clock.h"

#include "board/chip_registers.h"
#include "board/clock_plan.h"
#include "board/evalbd.h"
#include "platform/runtime/number_format.h"
#include "platform/runtime/numeric_text.h"
#include "platform/runtime/runtime_error.h"

#include <cmath>

namespace {

const QString kClockFormat = QStringLiteral("0.00000");
constexpr double kStartingExternalClock = 1000.0;

} // namespace

std::optional<double> usableSystemClock(std::optional<double> megahertz)
{
    if (!megahertz || !std::isfinite(*megahertz) || *megahertz <= 0.0)
        return std::nullopt;
    return megahertz;
}

std::optional<double> clockTextNumber(const QString& text)
{
    if (!rt::IsNumeric(text))
        return std::nullopt;
    try {
        return rt::CDbl(text);
    } catch (const rt::RuntimeError&) {
        return std::nullopt;
    }
}

QString SystemClock::text() const
{
    return shown_ ? *shown_ : plannedText();
}

QString SystemClock::externalClockText() const
{
    return external_ ? *external_ : rt::Format(kStartingExternalClock, kClockFormat);
}

void SystemClock::setExternalClockText(const QString& text)
{
    external_ = text;
    ExternalClockSet();
}

void SystemClock::showClock(const void* window, const QString& text)
{
    shownBy_ = window;
    shown_ = text;
}

void SystemClock::showExternalClock(const void* window, const QString& text)
{
    shownBy_ = window;
    external_ = text;
}

void SystemClock::forget(const void* window)
{
    if (window == shownBy_)
        reset();
}

void SystemClock::reset()
{
    shownBy_ = nullptr;
    shown_.reset();
    external_.reset();
}

QString SystemClock::plannedText() const
{
    const cZR4470XEvalBd* board = goEvalBd;
    if (!planned_ || board == nullptr)
        return QString();
    const QString cfr3 = board->GetRegMapValue(static_cast<int16_t>(RegMap::Pending), kCFR3);
    const int16_t rev = board->SiliconRev();
    const bool rev3 = rev != 1 && rev != 2;

    clockplan::ClockInputs in;
    in.reference = clockTextNumber(externalClockText());
    in.referenceDividerOff = kReferenceDividerOff.of(cfr3) == 1;
    in.pllOn = kPllEnable.of(cfr3) == 1;
    in.ratioIndex = static_cast<int>(kPllRatioSR12.of(cfr3));
    in.mDividerIndex = static_cast<int>(kPllMDividerSR12.of(cfr3));
    in.multiplier = static_cast<double>(kPllMultiplierSR3.of(cfr3));
    in.pfdDoubler = kPfdInputDoublerSR3.of(cfr3) == 1;
    const std::optional<double> clock = rev3 ? clockplan::systemClockSR3(in) : clockplan::systemClockSR12(in);
    return clock ? rt::Format(*clock, kClockFormat) : QString();
}

SystemClock& systemClock()
{
    static SystemClock clock;
    return clock;
}

QString SysClockText()
{
    return systemClock().text();
}
