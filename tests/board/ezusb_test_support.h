#pragma once

// Shared pieces of the USB object's tests: a driver that records every request's input bytes on the way to
// the emulated driver, and a fixture with a fresh emulated driver per test.

#include "board/cls_ezusb.h"
#include "platform/ui/test_doubles.h"
#include "platform/usb/emulated_driver.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace ezusbtest {

struct RecordedRequest {
    uint32_t code = 0;
    QByteArray in;
    uint32_t outLength = 0;
};

// Passes every call to the emulated driver and keeps the input of each request. `overrideBulk` may replace
// a bulk request's outcome (a driver that reports success with fewer bytes than asked, for instance).
class RecordingDriver final : public usb::DeviceDriver {
public:
    explicit RecordingDriver(usb::EmulatedDriver& inner) : inner_(inner) { usb::setDriver(this); }
    ~RecordingDriver() override { usb::setDriver(&inner_); }

    intptr_t open(const QString& path) override { return inner_.open(path); }
    bool ioControl(intptr_t handle, uint32_t code, const void* in, uint32_t inLen, void* out, uint32_t outLen,
                   uint32_t& bytesReturned) override;
    void close(intptr_t handle) override { inner_.close(handle); }
    bool driverInstalled(const QString& baseName) const override { return inner_.driverInstalled(baseName); }

    std::vector<RecordedRequest> requests;
    std::function<std::optional<bool>(uint32_t code, uint32_t pipe, uint32_t length, uint32_t& bytesReturned)>
        overrideBulk;

private:
    usb::EmulatedDriver& inner_;
};

class EzusbTest : public ::testing::Test {
protected:
    void TearDown() override;

    usb::EmulatedDriver& driver() { return emulated_.get(); }
    // A USB object with the board's own identifiers, as start-up sets them.
    static std::unique_ptr<clsEZUSB> makeUsb();
    std::vector<usb::RequestKind> kinds();
    std::vector<QString> boxPrompts() const;
    const std::vector<ui::testing::MessageBoxRecord>& boxes() const
    {
        return ui::testing::messageBoxes().shown;
    }

    bool expectCleanProtocol = true;

private:
    usb::ScopedEmulatedDriver emulated_;
};

} // namespace ezusbtest
