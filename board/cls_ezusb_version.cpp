#include "board/cls_ezusb_version.h"

#include "board/num_base.h"

QString ezusbDecimalSeparator()
{
    return cbaseDecimalSep();
}

QString ezusbVersionText(uint8_t major, uint8_t minor, const QString& separator)
{
    return QString::number(major) + separator + QString::number(minor);
}

std::optional<double> ezusbVersionNumber(const QString& text, const QString& separator)
{
    if (text.isEmpty()) {
        return std::nullopt;
    }
    QString plain = text;
    if (!separator.isEmpty() && separator != QLatin1String(".")) {
        if (plain.contains(QLatin1Char('.'))) {
            return std::nullopt; // a point is not a number character in this locale
        }
        plain.replace(separator, QStringLiteral("."));
    }
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok) {
        return std::nullopt;
    }
    return value;
}
