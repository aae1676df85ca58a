#pragma once

// One field of a chip register: the run of bits hi..lo of the register at `addr`, a plain value. Register
// values are bit strings ("0"/"1", most significant bit first, so bit 0 is the last character). Every
// window, the board module and the tests read and write register bits through this one type, on the maps
// they name (register_maps.h); without, on the program's board object's maps (boardRegisterMaps()), which
// hold no field while there is no board object: a get gives 0 and a set stores nothing.

#include "board/register_maps.h"

#include <QString>

#include <cstdint>

struct RegisterField {
    int16_t addr = 0;
    int hi = 0;
    int lo = 0;

    constexpr int width() const { return hi - lo + 1; }
    // The largest value the field holds.
    constexpr uint64_t maxValue() const { return width() >= 64 ? ~0ULL : (1ULL << width()) - 1; }
    constexpr bool fits(uint64_t value) const { return value <= maxValue(); }

    // The field's value in a bit string; bits the string is too short to hold count as 0.
    uint64_t of(const QString& bits) const;
    // The bit string with the field replaced by `value`, every other character kept. A string too short to
    // hold the field, or a value wider than the field, leaves it unchanged.
    QString in(const QString& bits, uint64_t value) const;
    // The field's characters, most significant first ("" when the string cannot hold it).
    QString text(const QString& bits) const;

    // The field in one map.
    uint64_t get(RegMap map = RegMap::Pending, const RegisterMaps& maps = boardRegisterMaps()) const;
    // Stores the value into one map; false (nothing stored) when the value does not fit the field or the
    // register is too narrow for it on the maps' layout.
    bool set(uint64_t value, RegMap map = RegMap::Pending, RegisterMaps& maps = boardRegisterMaps()) const;
    // Stores into both maps (a value the chip already holds, or the offline copy).
    bool setBoth(uint64_t value, RegisterMaps& maps = boardRegisterMaps()) const;
    // True when the pending and written maps differ in this field.
    bool differs(const RegisterMaps& maps = boardRegisterMaps()) const;
    // True when the register is wide enough for the field on the maps' layout.
    bool exists(const RegisterMaps& maps = boardRegisterMaps()) const;

    constexpr bool operator==(const RegisterField&) const = default;
};

// `width` characters (at most 64) holding the low bits of `value`, most significant first.
QString bitString(uint64_t value, int width);

// A one-bit field.
constexpr RegisterField regBit(int16_t addr, int bit)
{
    return RegisterField{addr, bit, bit};
}
