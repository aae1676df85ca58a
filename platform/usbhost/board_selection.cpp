#include "platform/usbhost/board_selection.h"

#include "platform/usb/board_ids.h"
#include "platform/usb/emulated_driver.h"

#include <cstdio>
#include <memory>

namespace usbhost {

bool libusbBuiltIn()
{
#if TESSARON_HAVE_LIBUSB
    return true;
#else
    return false;
#endif
}

BoardChoice chooseBoards(const QString& boardsVariable, bool builtIn)
{
    const QString text = boardsVariable.trimmed();
    BoardChoice choice;
    if (text.isEmpty()) {
        if (builtIn) {
            choice.source = BoardSource::RealBoards;
            choice.kind = QStringLiteral("real boards over USB");
            choice.line = QStringLiteral("Boards: real boards over USB (libusb). TESSARON_BOARDS=demo starts "
                                         "with an emulated board instead.");
        } else {
            choice.source = BoardSource::NoUsbSupport;
            choice.kind = QStringLiteral("no board: this build has no USB support");
            choice.line =
                QStringLiteral("Boards: this build has no USB support (libusb-1.0 was missing when "
                               "it was built), so no board is attached. TESSARON_BOARDS=demo starts "
                               "with an emulated board.");
        }
        return choice;
    }
    choice.source = BoardSource::Emulated;
    if (text.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0) {
        choice.kind = QStringLiteral("no board (TESSARON_BOARDS=none)");
        choice.line = QStringLiteral("Boards: none (TESSARON_BOARDS=none).");
    } else {
        choice.kind = QStringLiteral("emulated board (TESSARON_BOARDS=%1)").arg(text);
        choice.line = QStringLiteral("Boards: emulated, not real (TESSARON_BOARDS=%1).").arg(text);
    }
    return choice;
}

void installBoardDriver(LibusbDriver::PermissionReporter reporter)
{
    const QString variable =
        qEnvironmentVariableIsSet("TESSARON_BOARDS") ? qEnvironmentVariable("TESSARON_BOARDS") : QString();
    BoardChoice choice = chooseBoards(variable, libusbBuiltIn());
#if TESSARON_HAVE_LIBUSB
    static std::unique_ptr<LibusbDriver> real;
    if (choice.source == BoardSource::RealBoards) {
        const usb::UsbIds board = usb::boardIds();
        real = std::make_unique<LibusbDriver>(
            std::vector<usb::UsbIds>{board, usb::UsbIds{usb::kDevKitVendorId, usb::kDevKitProductId}});
        if (real->usable()) {
            real->setPermissionReporter(std::move(reporter));
            usb::setDriver(real.get());
        } else {
            real.reset();
            choice.kind = QStringLiteral("no board: USB could not be started");
            choice.line = QStringLiteral("Boards: libusb could not be started, so no board is attached.");
        }
    }
#else
    (void)reporter;
#endif
    usb::setBoardKind(choice.kind);
    std::fprintf(stderr, "%s\n", qPrintable(choice.line));
    std::fflush(stderr);
}

} // namespace usbhost
