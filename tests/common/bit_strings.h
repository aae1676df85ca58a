#pragma once

#include <QString>

#include <cstdint>

// Register values as the board keeps them: strings of '0' and '1', most significant bit first.
namespace testbits {

// `width` characters of a value, most significant first.
QString bits(uint64_t value, int width);
// The value of a bit string; any character but '1' counts as 0.
uint64_t valueOf(const QString& bits);

} // namespace testbits
