#include "sweep/osk_greying.h"

namespace sweep {

OskGreying oskGreying(const OskBits& bits)
{
    OskGreying grey;
    if (bits.operatingMode != 1)
        return grey;
    grey.enable = false;
    if (bits.oskEnabled) {
        grey.amplitude = false;
        grey.autoSetup = !bits.autoOsk;
        grey.pin = !bits.autoOsk && !bits.externalPin;
    }
    return grey;
}

} // namespace sweep
