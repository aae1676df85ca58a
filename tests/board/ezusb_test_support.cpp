#include "ezusb_test_support.h"

namespace ezusbtest {

bool RecordingDriver::ioControl(intptr_t handle, uint32_t code, const void* in, uint32_t inLen, void* out,
                                uint32_t outLen, uint32_t& bytesReturned)
{
    requests.push_back(
        {code, QByteArray(static_cast<const char*>(in), static_cast<qsizetype>(inLen)), outLen});
    if ((code == usb::kRequestBulkWrite || code == usb::kRequestBulkRead) && overrideBulk && inLen >= 4) {
        const auto* pipe = static_cast<const uint8_t*>(in);
        if (const std::optional<bool> result = overrideBulk(code, pipe[0], outLen, bytesReturned)) {
            return *result;
        }
    }
    return inner_.ioControl(handle, code, in, inLen, out, outLen, bytesReturned);
}

void EzusbTest::TearDown()
{
    if (expectCleanProtocol) {
        EXPECT_TRUE(driver().violations().empty())
            << driver().violationTexts().join(QLatin1Char('\n')).toStdString();
    }
    EXPECT_EQ(driver().openHandleCount(), 0) << "a device handle was left open";
}

std::unique_ptr<clsEZUSB> EzusbTest::makeUsb()
{
    auto usbObject = std::make_unique<clsEZUSB>();
    usbObject->setVendorID(kEvalBoardVendorID);
    usbObject->setProductID(kEvalBoardProductID);
    return usbObject;
}

std::vector<usb::RequestKind> EzusbTest::kinds()
{
    std::vector<usb::RequestKind> list;
    for (const usb::TraceEntry& entry : driver().trace()) {
        list.push_back(entry.kind);
    }
    return list;
}

std::vector<QString> EzusbTest::boxPrompts() const
{
    std::vector<QString> prompts;
    for (const auto& box : boxes()) {
        prompts.push_back(box.prompt);
    }
    return prompts;
}

} // namespace ezusbtest
