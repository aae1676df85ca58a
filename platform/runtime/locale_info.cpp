#include "platform/runtime/locale_info.h"

#include <QLocale>
#include <mutex>

namespace rt {

namespace {

QChar firstCharOr(const QString& text, QChar fallback)
{
    return text.isEmpty() ? fallback : text.at(0);
}

NumberLocale systemNumberLocale()
{
    const QLocale system = QLocale::system();
    NumberLocale locale;
    locale.decimalSeparator = firstCharOr(system.decimalPoint(), QLatin1Char('.'));
    locale.negativeSign = system.negativeSign().isEmpty() ? QStringLiteral("-") : system.negativeSign();
    // A group separator that equals the decimal separator could never be told apart from it: drop it.
    const QChar group = firstCharOr(system.groupSeparator(), QChar());
    locale.groupSeparator = group == locale.decimalSeparator ? QChar() : group;
    return locale;
}

struct LocaleState {
    std::once_flag loaded;
    NumberLocale current;
};

LocaleState& state()
{
    static LocaleState s;
    std::call_once(s.loaded, [] { s.current = systemNumberLocale(); });
    return s;
}

} // namespace

const NumberLocale& numberLocale()
{
    return state().current;
}

void setNumberLocale(const NumberLocale& locale)
{
    NumberLocale sane = locale;
    if (sane.decimalSeparator.isNull())
        sane.decimalSeparator = QLatin1Char('.');
    if (sane.negativeSign.isEmpty())
        sane.negativeSign = QStringLiteral("-");
    if (sane.groupSeparator == sane.decimalSeparator)
        sane.groupSeparator = QChar();
    state().current = sane;
}

void resetNumberLocale()
{
    state().current = systemNumberLocale();
}

ScopedNumberLocale::ScopedNumberLocale(QChar decimalSeparator, QString negativeSign, QChar groupSeparator)
    : previous_(numberLocale())
{
    setNumberLocale(NumberLocale{decimalSeparator, std::move(negativeSign), groupSeparator});
}

ScopedNumberLocale::~ScopedNumberLocale()
{
    state().current = previous_;
}

} // namespace rt
