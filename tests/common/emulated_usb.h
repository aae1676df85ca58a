#pragma once

// Header only: tessaron_testmain links the UI layer alone, and only the test programs that include this
// also link the board and USB layers.

#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "platform/usb/emulated_driver.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace testusb {

// Plugs an emulated board into slot 0, finds and selects it through the USB object (as host `hostId`)
// and has the board object take its port levels.
inline usb::EmulatedBoard& plugAndSelect(usb::EmulatedDriver& drv, cZR4470XEvalBd& bd,
                                         const usb::BoardOptions& options, int32_t hostId = 0)
{
    usb::EmulatedBoard& board = drv.attach(0, options);
    EXPECT_EQ(goEZUSB().GetDevices(), 1);
    EXPECT_EQ(goEZUSB().SelectDevice(0, hostId), 1);
    bd.InitIOBuffs();
    return board;
}

// Forgets the traffic and protocol violations recorded so far.
inline void clearTraffic(usb::EmulatedDriver& drv)
{
    drv.clearTrace();
    drv.clearViolations();
}

} // namespace testusb
