#pragma once

// Firmware version text of the USB object: major, the locale's decimal separator, minor ("0.3", "1.12").

#include <QString>

#include <cstdint>
#include <optional>

// The locale's decimal separator as the number conversions take it.
QString ezusbDecimalSeparator();

// The version text of the two reply bytes.
QString ezusbVersionText(uint8_t major, uint8_t minor, const QString& separator);

// The version text as a number, read the way the locale reads numbers: "0.3" is 0.3 and "0.10" is 0.1
// (so firmware 0.10 compares below 0.3). Nothing for a text that is not a number (the empty text of an
// unreadable reply).
std::optional<double> ezusbVersionNumber(const QString& text, const QString& separator);
