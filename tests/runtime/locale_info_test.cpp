#include "platform/runtime/locale_info.h"
#include "runtime_test_support.h"

#include <QLocale>

using namespace rt;

namespace {

TEST(NumberLocale, ScopedOverrideRestoresThePreviousLocale)
{
    // The copy keeps the locale as it was before the override.
    // NOLINTNEXTLINE(performance-unnecessary-copy-initialization)
    const NumberLocale before = numberLocale();
    {
        ScopedNumberLocale outer(QLatin1Char(','), QStringLiteral("-"), QLatin1Char('.'));
        EXPECT_EQ(numberLocale().decimalSeparator, QLatin1Char(','));
        {
            ScopedNumberLocale inner(QLatin1Char('.'));
            EXPECT_EQ(numberLocale().decimalSeparator, QLatin1Char('.'));
            EXPECT_TRUE(numberLocale().groupSeparator.isNull());
        }
        EXPECT_EQ(numberLocale().decimalSeparator, QLatin1Char(','));
        EXPECT_EQ(numberLocale().groupSeparator, QLatin1Char('.'));
    }
    EXPECT_EQ(numberLocale().decimalSeparator, before.decimalSeparator);
    EXPECT_EQ(numberLocale().negativeSign, before.negativeSign);
}

TEST(NumberLocale, ResetGoesBackToTheSystemLocale)
{
    setNumberLocale(NumberLocale{QLatin1Char(','), QStringLiteral("-"), QChar()});
    resetNumberLocale();
    const QLocale system = QLocale::system();
    EXPECT_EQ(numberLocale().decimalSeparator, system.decimalPoint().at(0));
    EXPECT_EQ(numberLocale().negativeSign, system.negativeSign());
}

TEST(NumberLocale, UnusableSettingsAreMadeSafe)
{
    ScopedNumberLocale locale(QLatin1Char(','), QString(), QLatin1Char(','));
    EXPECT_EQ(numberLocale().negativeSign, QStringLiteral("-"));
    EXPECT_TRUE(numberLocale().groupSeparator.isNull()); // never equal to the decimal separator
}

} // namespace
