#pragma once

#include "platform/runtime/decimal.h"

#include <QString>

namespace rt {

// Classic number formats. Named: "Fixed" (at least one integer digit, two decimals), "Standard",
// "General Number", "Percent", "Scientific". Patterns: "0", "00", "0.000", "0.00000", "#,##0.00",
// "0.000E+00", "#" and so on, with literal text passed through. Halves round away from zero on the decimal
// value (2.8125 with "0.000" gives "2.813"). The decimal separator and the negative sign are the locale's.
QString Format(double value, const QString& pattern);
QString Format(const Decimal& value, const QString& pattern);
QString Format(long long value, const QString& pattern);
// Every integer type, so that Format(0, "Fixed") picks an exact overload.
QString Format(int value, const QString& pattern);
QString Format(long value, const QString& pattern);
QString Format(unsigned value, const QString& pattern);
QString Format(unsigned long value, const QString& pattern);
QString Format(unsigned long long value, const QString& pattern);

} // namespace rt
