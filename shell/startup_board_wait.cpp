#include "shell/startup_board_wait.h"

#include "board/utility.h"
#include "platform/ui/timer.h"
#include "platform/usb/usb_driver.h"

namespace {

// After the first request's claim wait of a second, ten tries a second for nine seconds more: about ten
// seconds in all, longer than the other copy's long actions, and the board taken soon after it is let go.
constexpr int kTriesPerSecond = 10;
constexpr int kFurtherSeconds = 9;

} // namespace

bool waitForBoardAnotherCopyHolds(const QString& deviceName, ui::TimerControl& usbWatch)
{
    usb::DeviceDriver& driver = usb::driver();
    const QString path = QStringLiteral("\\\\.\\") + deviceName;
    if (deviceName.isEmpty() || !driver.heldByAnotherCopy(path))
        return false;
    const bool watching = usbWatch.Enabled();
    usbWatch.setEnabled(false);
    bool taken = false;
    for (int tries = 0; tries < kTriesPerSecond * kFurtherSeconds; ++tries) {
        // The pause lets the windows paint (and whatever else is queued run).
        Pause(1.0 / kTriesPerSecond);
        taken = driver.tryToTakeBoard(path);
        if (taken || !driver.heldByAnotherCopy(path))
            break; // got it, or the board left
    }
    usbWatch.setEnabled(watching);
    return taken;
}
