#pragma once

// The chip RAM's words between their two forms and their order on the wire: a word is 32 bits, as a number
// (bit 31 first) or as a bit string of 32 "0"/"1" characters. Most significant bit first sends the array's
// last element first (the whole stream is one big number); least significant bit first sends element 0
// first.

#include <QString>

#include <cstdint>

namespace ramwords {

inline constexpr int kWordBits = 32;

// The array index of the p-th of `count` words on the wire.
constexpr int elementAt(int position, int count, bool lsbFirst)
{
    return lsbFirst ? position : count - 1 - position;
}

// A checked 32-character bit string as its word.
uint32_t wordOfBits(const QString& bits);
// The word's 32 characters, most significant first.
QString bitsOfWord(uint32_t word);

} // namespace ramwords
