// Decimal arithmetic against independent references: exact 128-bit integer arithmetic where the result
// fits, and decimal long division on digit strings for quotients.

#include "platform/runtime/decimal.h"
#include "platform/runtime/locale_info.h"
#include "platform/runtime/number_format.h"
#include "runtime_test_support.h"

#include <random>
#include <string>
#include <vector>

using namespace rt;
using rt::testing::inv;

namespace {

using i128 = __int128;
using u128 = unsigned __int128;

const std::string kMaxDigits = "79228162514264337593543950335";

std::string digitsOf(u128 v)
{
    std::string s;
    do {
        s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
        v /= 10;
    } while (v != 0);
    return s;
}

// Invariant text of magnitude / 10^scale with the sign, trailing fraction zeros dropped.
std::string scaledText(bool negative, std::string magnitude, int scale)
{
    if (static_cast<int>(magnitude.size()) <= scale)
        magnitude.insert(0, static_cast<size_t>(scale + 1) - magnitude.size(), '0');
    std::string whole = magnitude.substr(0, magnitude.size() - static_cast<size_t>(scale));
    std::string fraction = magnitude.substr(magnitude.size() - static_cast<size_t>(scale));
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    const size_t firstNonZero = whole.find_first_not_of('0');
    whole = firstNonZero == std::string::npos ? "0" : whole.substr(firstNonZero);
    const bool zero = whole == "0" && fraction.empty();
    return (negative && !zero ? "-" : "") + whole + (fraction.empty() ? "" : "." + fraction);
}

std::string exactText(i128 value, int scale)
{
    const bool negative = value < 0;
    return scaledText(negative, digitsOf(negative ? u128(-value) : u128(value)), scale);
}

Decimal makeDecimal(int64_t mantissa, int scale)
{
    const uint64_t m = mantissa < 0 ? 0 - static_cast<uint64_t>(mantissa) : static_cast<uint64_t>(mantissa);
    return Decimal::fromParts(static_cast<uint32_t>(m), static_cast<uint32_t>(m >> 32), 0, mantissa < 0,
                              scale);
}

bool fitsType(const std::string& magnitude)
{
    const size_t first = magnitude.find_first_not_of('0');
    const std::string m = first == std::string::npos ? "0" : magnitude.substr(first);
    return m.size() < kMaxDigits.size() || (m.size() == kMaxDigits.size() && m <= kMaxDigits);
}

std::string incremented(std::string s)
{
    int i = static_cast<int>(s.size()) - 1;
    for (; i >= 0 && s[static_cast<size_t>(i)] == '9'; --i)
        s[static_cast<size_t>(i)] = '0';
    if (i < 0)
        s.insert(s.begin(), '1');
    else
        ++s[static_cast<size_t>(i)];
    return s;
}

// The nearest value of the type to whole.fraction (plus a non-zero remainder beyond the fraction when
// `sticky`): the largest scale up to 28 whose magnitude, rounded with ties to even, fits.
std::string roundedToType(bool negative, const std::string& whole, std::string fraction, bool sticky)
{
    if (fraction.size() < 30)
        fraction.append(30 - fraction.size(), '0');
    for (int scale = 28; scale >= 0; --scale) {
        std::string magnitude = whole + fraction.substr(0, static_cast<size_t>(scale));
        const char next = fraction[static_cast<size_t>(scale)];
        const bool beyond =
            sticky || fraction.find_first_not_of('0', static_cast<size_t>(scale) + 1) != std::string::npos;
        const bool odd = (magnitude.back() - '0') % 2 == 1;
        if (next > '5' || (next == '5' && (beyond || odd)))
            magnitude = incremented(magnitude);
        if (fitsType(magnitude))
            return scaledText(negative, magnitude, scale);
    }
    return "overflow";
}

// a / b by long division to 60 places.
std::string quotientText(int64_t a, int64_t b)
{
    const u128 A = a < 0 ? u128(-(i128)a) : u128(a);
    const u128 B = b < 0 ? u128(-(i128)b) : u128(b);
    u128 rest = A % B;
    std::string fraction;
    for (int i = 0; i < 60; ++i) {
        rest *= 10;
        fraction.push_back(static_cast<char>('0' + static_cast<int>(rest / B)));
        rest %= B;
    }
    return roundedToType((a < 0) != (b < 0), digitsOf(A / B), fraction, rest != 0);
}

// Schoolbook product of two digit strings.
std::string productDigits(const std::string& x, const std::string& y)
{
    std::vector<int> acc(x.size() + y.size(), 0);
    for (size_t i = 0; i < x.size(); ++i)
        for (size_t j = 0; j < y.size(); ++j)
            acc[i + j + 1] += (x[i] - '0') * (y[j] - '0');
    for (size_t k = acc.size() - 1; k > 0; --k) {
        acc[k - 1] += acc[k] / 10;
        acc[k] %= 10;
    }
    std::string out;
    for (int d : acc)
        out.push_back(static_cast<char>('0' + d));
    return out;
}

std::string magnitudeDigits(const Decimal& d)
{
    return digitsOf((u128(d.hi()) << 64) | (u128(d.mid()) << 32) | d.lo());
}

std::string stripped(const std::string& s)
{
    const size_t first = s.find_first_not_of('0');
    return first == std::string::npos ? "0" : s.substr(first);
}

bool lessDigits(const std::string& x, const std::string& y)
{
    const std::string a = stripped(x), b = stripped(y);
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// x - y for x >= y, digit strings.
std::string minusDigits(const std::string& x, const std::string& y)
{
    std::string a = stripped(x), b = stripped(y);
    b.insert(0, a.size() - b.size(), '0');
    int borrow = 0;
    for (int i = static_cast<int>(a.size()) - 1; i >= 0; --i) {
        int d = (a[static_cast<size_t>(i)] - '0') - (b[static_cast<size_t>(i)] - '0') - borrow;
        borrow = d < 0 ? 1 : 0;
        a[static_cast<size_t>(i)] = static_cast<char>('0' + (d < 0 ? d + 10 : d));
    }
    return stripped(a);
}

// The quotient digits of n / d, one digit per digit of n, and the remainder.
std::string longDivision(const std::string& n, const std::string& d, std::string& remainder)
{
    std::string q;
    remainder.assign(1, '0');
    for (char c : n) {
        remainder.push_back(c);
        remainder = stripped(remainder);
        int digit = 0;
        while (!lessDigits(remainder, d)) {
            remainder = minusDigits(remainder, d);
            ++digit;
        }
        q.push_back(static_cast<char>('0' + digit));
    }
    return q;
}

Decimal randomWide(std::mt19937_64& random)
{
    const int topBits = static_cast<int>(random() % 33);
    const uint32_t hi = topBits == 0 ? 0 : static_cast<uint32_t>(random() >> (64 - topBits));
    return Decimal::fromParts(static_cast<uint32_t>(random()), static_cast<uint32_t>(random()), hi,
                              (random() & 1) != 0, static_cast<int>(random() % 29));
}

TEST(DecimalProperties, SumsDifferencesAndProductsAreExactWhenTheyFit)
{
    std::mt19937_64 random(20240611);
    std::uniform_int_distribution<int64_t> mantissa(-(int64_t(1) << 40), int64_t(1) << 40);
    std::uniform_int_distribution<int> scale(0, 10);
    for (int i = 0; i < 3000; ++i) {
        const int64_t ma = mantissa(random), mb = mantissa(random);
        const int sa = scale(random), sb = scale(random);
        const Decimal a = makeDecimal(ma, sa), b = makeDecimal(mb, sb);
        const int s = std::max(sa, sb);
        i128 pa = ma, pb = mb;
        for (int k = sa; k < s; ++k)
            pa *= 10;
        for (int k = sb; k < s; ++k)
            pb *= 10;
        ASSERT_EQ(inv(a + b), exactText(pa + pb, s)) << inv(a) << " + " << inv(b);
        ASSERT_EQ(inv(a - b), exactText(pa - pb, s)) << inv(a) << " - " << inv(b);
        ASSERT_EQ(inv(a * b), exactText(i128(ma) * mb, sa + sb)) << inv(a) << " * " << inv(b);
        ASSERT_EQ(a < b, pa < pb);
        ASSERT_EQ(a == b, pa == pb);
    }
}

TEST(DecimalProperties, QuotientsMatchLongDivision)
{
    std::mt19937_64 random(7);
    std::uniform_int_distribution<int> bits(1, 63);
    for (int i = 0; i < 3000; ++i) {
        const auto draw = [&] {
            const int64_t v = static_cast<int64_t>(random() >> (64 - bits(random)));
            return (random() & 1) ? -v : v;
        };
        const int64_t a = draw();
        int64_t b = draw();
        if (b == 0)
            b = 3;
        ASSERT_EQ(inv(Decimal(static_cast<long long>(a)) / Decimal(static_cast<long long>(b))),
                  quotientText(a, b))
            << a << " / " << b;
    }
}

TEST(DecimalProperties, WideProductsRoundOnceToTheType)
{
    std::mt19937_64 random(31);
    for (int i = 0; i < 3000; ++i) {
        const Decimal a = randomWide(random), b = randomWide(random);
        std::string product = productDigits(magnitudeDigits(a), magnitudeDigits(b));
        const size_t scale = static_cast<size_t>(a.scale()) + static_cast<size_t>(b.scale());
        product.insert(0, scale + 1, '0');
        const std::string whole = product.substr(0, product.size() - scale);
        const std::string expected = roundedToType(a.isNegative() != b.isNegative(), whole,
                                                   product.substr(product.size() - scale), false);
        std::string actual;
        try {
            actual = inv(a * b);
        } catch (const RuntimeError& e) {
            actual = e.number() == errOverflow ? "overflow" : "other error";
        }
        ASSERT_EQ(actual, expected) << inv(a) << " * " << inv(b);
    }
}

TEST(DecimalProperties, WideQuotientsMatchLongDivision)
{
    std::mt19937_64 random(57);
    for (int i = 0; i < 300; ++i) {
        const Decimal a = randomWide(random), b = randomWide(random);
        if (b.isZero())
            continue;
        // a / b = (ma * 10^sb) / (mb * 10^sa); sixty more digits of the numerator give the fraction.
        const std::string numerator = magnitudeDigits(a) + std::string(static_cast<size_t>(b.scale()), '0');
        const std::string denominator = magnitudeDigits(b) + std::string(static_cast<size_t>(a.scale()), '0');
        std::string remainder;
        const std::string digits = longDivision(numerator + std::string(60, '0'), denominator, remainder);
        const std::string whole = digits.substr(0, digits.size() - 60);
        const std::string expected =
            roundedToType(a.isNegative() != b.isNegative(), whole, digits.substr(digits.size() - 60),
                          stripped(remainder) != "0");
        std::string actual;
        try {
            actual = inv(a / b);
        } catch (const RuntimeError& e) {
            actual = e.number() == errOverflow ? "overflow" : "other error";
        }
        ASSERT_EQ(actual, expected) << inv(a) << " / " << inv(b);
    }
}

TEST(DecimalProperties, TextRoundTripsAndFormatAgreesWithRounding)
{
    ScopedNumberLocale locale(QLatin1Char(','));
    std::mt19937_64 random(99);
    std::uniform_int_distribution<int> scale(0, 28);
    std::uniform_int_distribution<int> decimals(0, 8);
    for (int i = 0; i < 2000; ++i) {
        const uint32_t hi = static_cast<uint32_t>(random() >> (random() % 33));
        const Decimal d = Decimal::fromParts(static_cast<uint32_t>(random()), static_cast<uint32_t>(random()),
                                             hi, (random() & 1) != 0, scale(random));
        ASSERT_EQ(Decimal::fromText(d.toString()), d) << inv(d);
        ASSERT_EQ(Decimal::tryFromInvariantText(d.toInvariantString()), d) << inv(d);

        const int k = decimals(random);
        const QString pattern =
            k == 0 ? QStringLiteral("0") : QStringLiteral("0.") + QString(k, QLatin1Char('0'));
        QString expected = Format(d.roundedHalfAwayFromZero(k).abs(), QStringLiteral("General Number"));
        const qsizetype comma = expected.indexOf(QLatin1Char(','));
        const qsizetype have = comma < 0 ? 0 : expected.size() - comma - 1;
        if (k > 0 && comma < 0)
            expected += QLatin1Char(',');
        expected += QString(k - have, QLatin1Char('0'));
        if (d.isNegative())
            expected.prepend(QLatin1Char('-'));
        ASSERT_EQ(Format(d, pattern), expected) << inv(d) << " with " << pattern.toStdString();
    }
}

} // namespace
