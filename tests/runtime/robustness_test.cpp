// Arbitrary patterns and texts never crash, hang or disagree with each other.

#include "platform/runtime/locale_info.h"
#include "platform/runtime/number_format.h"
#include "platform/runtime/numeric_text.h"
#include "runtime_test_support.h"

#include <cmath>
#include <limits>
#include <random>

using namespace rt;

namespace {

QString randomText(std::mt19937_64& random, const char* alphabet, int maxLength)
{
    const size_t size = std::char_traits<char>::length(alphabet);
    const int length = static_cast<int>(random() % static_cast<uint64_t>(maxLength + 1));
    QString s;
    for (int i = 0; i < length; ++i)
        s += QLatin1Char(alphabet[random() % size]);
    return s;
}

TEST(Robustness, ArbitraryPatternsFormatEveryKindOfValue)
{
    ScopedNumberLocale locale(QLatin1Char(','), QStringLiteral("-"), QLatin1Char('.'));
    std::mt19937_64 random(5);
    const double inf = std::numeric_limits<double>::infinity();
    const double tiny = std::numeric_limits<double>::denorm_min();
    const double doubles[] = {0.0, -0.0, 1.5, -2.5, 1e300, -1e-300, tiny, inf, std::nan(""), 123456.789};
    for (int i = 0; i < 1500; ++i) {
        const QString pattern = randomText(random, "0#.,Ee+-%;\"\\x ", 14);
        for (double v : doubles) {
            const QString text = Format(v, pattern);
            ASSERT_LT(text.size(), 2000) << pattern.toStdString();
        }
        const QString d = Format(Decimal::maxValue(), pattern);
        const QString n = Format(std::numeric_limits<long long>::min(), pattern);
        ASSERT_LT(d.size() + n.size(), 2000) << pattern.toStdString();
    }
}

TEST(Robustness, NumericTextReadersAgree)
{
    ScopedNumberLocale locale(QLatin1Char('.'), QStringLiteral("-"), QLatin1Char(','));
    std::mt19937_64 random(11);
    for (int i = 0; i < 20000; ++i) {
        const QString text = randomText(random, "0123456789.,-+Ee &HOF\t", 12);
        const bool numeric = IsNumeric(text);
        const int cdblError = rt::testing::errorNumberOf([&] { CDbl(text); });
        ASSERT_EQ(numeric, cdblError != errTypeMismatch) << text.toStdString();
        if (Decimal::tryFromText(text).has_value()) {
            ASSERT_TRUE(numeric) << text.toStdString();
        }
        if (numeric && cdblError == 0 && std::fabs(CDbl(text)) < 1e20) {
            // Both readers see the same number.
            ASSERT_NEAR(Decimal::fromText(text).toDouble(), CDbl(text), 1e-6 * std::fabs(CDbl(text)) + 1e-300)
                << text.toStdString();
        }
        const int valError = rt::testing::errorNumberOf([&] { Val(text); });
        ASSERT_TRUE(valError == 0 || valError == errOverflow) << text.toStdString();
    }
}

} // namespace
