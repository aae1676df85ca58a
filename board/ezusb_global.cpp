// The one USB object of the process.

#include "board/cls_ezusb.h"

// Keeps the USB object for the life of the process. An object still here when the process exits is past
// the application's end: the driver and the message boxes may already be gone, so it goes quietly.
class EZUSBHolder {
public:
    ~EZUSBHolder()
    {
        if (object) {
            object->releaseClaimOnDestruction_ = false;
        }
    }
    std::unique_ptr<clsEZUSB> object;
};

namespace {

EZUSBHolder& holder()
{
    static EZUSBHolder instance;
    return instance;
}

} // namespace

clsEZUSB& goEZUSB()
{
    EZUSBHolder& h = holder();
    if (!h.object) {
        h.object = std::make_unique<clsEZUSB>();
    }
    return *h.object;
}

std::unique_ptr<clsEZUSB> ReplaceEZUSB(std::unique_ptr<clsEZUSB> next)
{
    std::unique_ptr<clsEZUSB> previous = std::move(holder().object);
    holder().object = std::move(next);
    return previous;
}

ScopedEZUSB::ScopedEZUSB(bool boardIdentifiers)
{
    auto fresh = std::make_unique<clsEZUSB>();
    if (boardIdentifiers) {
        fresh->setVendorID(kEvalBoardVendorID);
        fresh->setProductID(kEvalBoardProductID);
    }
    previous_ = ReplaceEZUSB(std::move(fresh));
}

ScopedEZUSB::~ScopedEZUSB()
{
    // The test's object is destroyed here, releasing its claim on the board it selected.
    ReplaceEZUSB(std::move(previous_));
}
