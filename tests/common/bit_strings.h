#pragma once

// Register values as the board keeps them: strings of '0' and '1', most significant bit first. Header only:
// the test programs that include it link the board layer, whose register field reads and writes them.

#include "board/register_field.h"

#include <QString>

#include <cstdint>

namespace testbits {

// `width` characters of a value, most significant first.
inline QString bits(uint64_t value, int width)
{
    return bitString(value, width);
}

// The value of a bit string (its last 64 characters); any character but '1' counts as 0.
inline uint64_t valueOf(const QString& text)
{
    return RegisterField{0, static_cast<int>(text.size()) - 1, 0}.of(text);
}

} // namespace testbits
