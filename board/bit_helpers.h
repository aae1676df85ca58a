#pragma once

// Setting, clearing and testing one bit of a byte (port buffers, the register and FIFO debug windows).

#include <cstdint>

// value with bit `bit` (0-7) set (setIt true) or cleared. A bit number outside 0-7 raises run-time error 9
// "Subscript out of range".
uint8_t ebSetBit(uint8_t value, int16_t bit, bool setIt);

// 1 when bit `bit` (0-7) of value is set, else 0. A bit number outside 0-7 raises run-time error 9.
int16_t ebTestBit(uint8_t value, int16_t bit);
