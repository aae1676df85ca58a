#include "board/bit_helpers.h"

#include "platform/runtime/runtime_error.h"

#include <array>

namespace {

constexpr std::array<uint8_t, 8> kBitMasks = {1, 2, 4, 8, 16, 32, 64, 128};

uint8_t maskOf(int16_t bit, const char* procedure)
{
    if (bit < 0 || bit >= static_cast<int16_t>(kBitMasks.size())) {
        throw rt::RuntimeError(9, QStringLiteral("Subscript out of range"), QString::fromLatin1(procedure));
    }
    return kBitMasks[static_cast<size_t>(bit)];
}

} // namespace

uint8_t ebSetBit(uint8_t value, int16_t bit, bool setIt)
{
    const uint8_t mask = maskOf(bit, "ebSetBit");
    return setIt ? static_cast<uint8_t>(value | mask) : static_cast<uint8_t>(value & ~mask);
}

int16_t ebTestBit(uint8_t value, int16_t bit)
{
    return (value & maskOf(bit, "ebTestBit")) != 0 ? 1 : 0;
}
