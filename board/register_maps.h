#pragma once

// The chip's two register maps, pending (what the windows edit) and written (what the chip was last given
// or answered), with the layout they follow: each address's width and reset value on the silicon revision
// laid out last. Values are bit strings ("0"/"1", most significant bit first); a map stores whatever string
// it is given. The board object owns the program's maps; register fields (register_field.h) work on them.

#include "board/register_layout.h"

#include <QString>

#include <array>
#include <cstdint>

// The two register maps: what the windows edit, and what the chip was last given.
enum class RegMap : int16_t { Pending = 0, Written = 1 };

// The map a classic selector names: 0 the pending map, any other value the written one.
constexpr RegMap regMapOfSelector(int16_t sel)
{
    return sel == 0 ? RegMap::Pending : RegMap::Written;
}

class RegisterMaps {
public:
    static constexpr int kRegisterCount = reglayout::kRegisterCount;

    // No layout yet: every width 0 and every value "" (the maps of no board object).
    RegisterMaps() = default;

    static constexpr bool validAddress(int16_t addr) { return addr >= 0 && addr < kRegisterCount; }

    // Lays the maps out for revision `rev` (1 and 2 share one layout, every other revision has the revision
    // 3 layout) and sets both maps to its reset values.
    void init(int16_t rev);
    // The reset values into the written map (mode 0), the pending map (1), both (2); any other mode: neither.
    void reset(int32_t mode);

    // The width of `addr` in bits; 0 outside the map.
    int16_t width(int16_t addr) const { return validAddress(addr) ? widths_[addr] : int16_t{0}; }
    // The value of `addr` in a map; "" outside the map.
    const QString& value(RegMap map, int16_t addr) const;
    // Stores the string unchanged; nothing outside the map.
    void setValue(RegMap map, int16_t addr, const QString& value);

    // True when `addr` has a bit `bit` (0 the least significant) on this layout.
    bool hasBit(int16_t addr, int16_t bit) const
    {
        return validAddress(addr) && bit >= 0 && bit < width(addr);
    }
    // Bit `bit` of the value, for a `bit` that hasBit. The layout's width decides which character it is,
    // also for a stored string of another length (one too short simply has no "1" there).
    bool bit(RegMap map, int16_t addr, int16_t bit) const;
    // Sets that character: the first (width - bit - 1) characters, the digit, then the last `bit`
    // characters, each part cut to what the stored string holds.
    void setBit(RegMap map, int16_t addr, int16_t bit, bool on);

private:
    std::array<QString, kRegisterCount>& of(RegMap map)
    {
        return map == RegMap::Pending ? pending_ : written_;
    }
    const std::array<QString, kRegisterCount>& of(RegMap map) const
    {
        return map == RegMap::Pending ? pending_ : written_;
    }

    std::array<int16_t, kRegisterCount> widths_{};
    std::array<QString, kRegisterCount> defaults_;
    std::array<QString, kRegisterCount> pending_;
    std::array<QString, kRegisterCount> written_;
};

// The maps of the program's board object (goEvalBd); without one, maps with no layout, which hold no
// field (defined with the board object).
RegisterMaps& boardRegisterMaps();
