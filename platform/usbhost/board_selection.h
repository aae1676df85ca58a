#pragma once

// Which boards the program talks to: real boards over USB unless TESSARON_BOARDS names emulated ones
// ("demo", a list such as "0:rev2,2:fullspeed:nofifo", or "none"). The choice is said on the standard error
// at start and kept, in the same words, as usb::boardKind() for the main window's status bar: a user who
// started the program from a desktop reads it there.

#include "platform/usbhost/libusb_driver.h"

#include <QString>

namespace usbhost {

enum class BoardSource { RealBoards, Emulated, NoUsbSupport };

struct BoardChoice {
    BoardSource source = BoardSource::Emulated;
    QString line; // the start-up line on the standard error and the status bar's tool tip
};

// The choice for a value of TESSARON_BOARDS (null: unset), for a build with or without libusb.
BoardChoice chooseBoards(const QString& boardsVariable, bool libusbBuiltIn);

// Whether this build has the real-board driver.
bool libusbBuiltIn();

// Makes the choice of this process, says it on the standard error and installs the driver; reporter gets
// the one permission message of a run. Returns the real-board driver when it was installed (it lives until
// the process ends; the caller tells it of the program's waits and of its end), else nullptr.
LibusbDriver* installBoardDriver(LibusbDriver::PermissionReporter reporter);

} // namespace usbhost
