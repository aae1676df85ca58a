#pragma once

#include <QChar>
#include <QString>

namespace rt {

// The user's locale as numbers are read and written: decimal separator and negative sign.
// Taken from QLocale unless a test (or the user's environment) overrides it.
struct NumberLocale {
    QChar decimalSeparator;
    QString negativeSign;
    QChar groupSeparator;
};

const NumberLocale& numberLocale();
// Replaces the locale for the rest of the process (tests use "," and "." both).
void setNumberLocale(const NumberLocale& locale);
// Back to the system's locale.
void resetNumberLocale();

// Scoped override for tests.
class ScopedNumberLocale {
public:
    explicit ScopedNumberLocale(QChar decimalSeparator, QString negativeSign = QStringLiteral("-"),
                                QChar groupSeparator = QChar());
    ~ScopedNumberLocale();
    ScopedNumberLocale(const ScopedNumberLocale&) = delete;
    ScopedNumberLocale& operator=(const ScopedNumberLocale&) = delete;

private:
    NumberLocale previous_;
};

} // namespace rt
