#include "platform/usbhost/board_selection.h"

#include "platform/usb/board_ids.h"
#include "platform/usb/emulated_driver.h"

#include <cstdio>
#include <cstdlib>
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
            choice.line = QStringLiteral("Boards: real boards over USB (libusb). TESSARON_BOARDS=demo starts "
                                         "with an emulated board instead.");
        } else {
            choice.source = BoardSource::NoUsbSupport;
            choice.line =
                QStringLiteral("Boards: this build has no USB support (libusb-1.0 was missing when "
                               "it was built), so no board is attached. TESSARON_BOARDS=demo starts "
                               "with an emulated board.");
        }
        return choice;
    }
    choice.source = BoardSource::Emulated;
    QString problem;
    if (text.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0) {
        choice.line = QStringLiteral("Boards: none (TESSARON_BOARDS=none).");
    } else if (usb::parseBoardsVariable(text, &problem)) {
        choice.line = QStringLiteral("Boards: emulated, not real (TESSARON_BOARDS=%1).").arg(text);
    } else {
        // The emulated driver then attaches no board: the user learns why, and how to get one.
        const QString prefix = QStringLiteral("\"%1\": ").arg(text);
        if (problem.startsWith(prefix))
            problem = problem.mid(prefix.size());
        choice.line = QStringLiteral("Boards: TESSARON_BOARDS=%1 is not understood (%2), so no board is "
                                     "attached. TESSARON_BOARDS=demo starts with an emulated board.")
                          .arg(text, problem);
    }
    return choice;
}

LibusbDriver* installBoardDriver(LibusbDriver::PermissionReporter reporter)
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
            choice.line = QStringLiteral("Boards: libusb could not be started, so no board is attached. "
                                         "TESSARON_BOARDS=demo starts with an emulated board.");
        }
    }
#else
    (void)reporter;
#endif
    usb::setBoardKind(choice.line);
    std::fprintf(stderr, "%s\n", qPrintable(choice.line));
    std::fflush(stderr);
#if TESSARON_HAVE_LIBUSB
    return real.get();
#else
    return nullptr;
#endif
}

} // namespace usbhost
