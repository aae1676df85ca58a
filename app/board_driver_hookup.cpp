#include "app/board_driver_hookup.h"

#include "platform/ui/app.h"
#include "platform/usbhost/libusb_driver.h"

void tellOfTheProgramsWaits(usbhost::LibusbDriver* driver)
{
    if (driver == nullptr) {
        ui::setProgramWaitListener({});
        return;
    }
    ui::setProgramWaitListener({[driver] { driver->programWaitsForItsUser(); },
                                [driver] { driver->actionEventsBegin(); },
                                [driver] { driver->actionEventsEnd(); }});
}

void resetHeldBoardsAtTheEnd(usbhost::LibusbDriver& driver)
{
    ui::atEndProcess([&driver] { driver.programEnds(); });
}
