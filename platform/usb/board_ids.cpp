#include "platform/usb/board_ids.h"

#include "platform/usb/usb_driver.h"

#include <QStringList>
#include <QtGlobal>

namespace usb {

namespace {

std::optional<uint16_t> hex16(QString text)
{
    text = text.trimmed();
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        text = text.mid(2);
    }
    if (text.isEmpty() || text.size() > 4) {
        return std::nullopt;
    }
    bool ok = false;
    const uint value = text.toUInt(&ok, 16);
    if (!ok) {
        return std::nullopt;
    }
    return static_cast<uint16_t>(value);
}

} // namespace

std::optional<UsbIds> parseUsbIdVariable(const QString& text, QString* error)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    std::optional<uint16_t> vendor;
    std::optional<uint16_t> product;
    if (parts.size() == 2) {
        vendor = hex16(parts[0]);
        product = hex16(parts[1]);
    }
    if (!vendor || !product) {
        if (error != nullptr) {
            *error = QStringLiteral("\"%1\" is not VVVV:PPPP (two hexadecimal identifiers)").arg(text);
        }
        return std::nullopt;
    }
    return UsbIds{*vendor, *product};
}

UsbIds boardIdsFor(const QString& text, QString* problem)
{
    const UsbIds builtIn{kBoardVendorId, kBoardProductId};
    if (text.isNull()) {
        return builtIn;
    }
    QString error;
    if (const auto ids = parseUsbIdVariable(text, &error)) {
        return *ids;
    }
    if (problem != nullptr) {
        *problem = QStringLiteral("TESSARON_USB_ID: %1; the built-in identifiers %2:%3 are used.")
                       .arg(error)
                       .arg(builtIn.vendor, 4, 16, QLatin1Char('0'))
                       .arg(builtIn.product, 4, 16, QLatin1Char('0'));
    }
    return builtIn;
}

UsbIds boardIds()
{
    static const UsbIds ids = [] {
        const QString text = qEnvironmentVariableIsSet("TESSARON_USB_ID")
                                 ? qEnvironmentVariable("TESSARON_USB_ID")
                                 : QString();
        QString problem;
        const UsbIds chosen = boardIdsFor(text, &problem);
        if (!problem.isEmpty()) {
            qWarning("%s", qPrintable(problem));
        }
        return chosen;
    }();
    return ids;
}

} // namespace usb
