#pragma once

// The identifiers start-up stores for the evaluation board: the built-in ones, or those TESSARON_USB_ID
// names ("VVVV:PPPP", hexadecimal) for a board that reports identifiers of its own.

#include <QString>

#include <cstdint>
#include <optional>

namespace usb {

struct UsbIds {
    uint16_t vendor = 0;
    uint16_t product = 0;
    friend bool operator==(const UsbIds&, const UsbIds&) = default;
};

// Parses "VVVV:PPPP" (one to four hexadecimal digits each, an optional 0x). Sets error on a bad text.
std::optional<UsbIds> parseUsbIdVariable(const QString& text, QString* error = nullptr);

// TESSARON_USB_ID when it is set and well formed, else the built-in identifiers. A malformed value is
// reported once on the standard error.
UsbIds boardIds();

// The identifiers for a value of TESSARON_USB_ID (null: unset), with the line to report for a bad one.
UsbIds boardIdsFor(const QString& text, QString* problem);

} // namespace usb
