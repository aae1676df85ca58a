#pragma once

// The numbers 0-8 of the boards a driver serves. A board keeps its number while it stays plugged; a newly
// plugged board takes the lowest free number; when all nine are taken a further board gets none.

#include <array>
#include <cstdint>
#include <optional>

namespace usbhost {

inline constexpr int kSlotCount = 9;

class SlotTable {
public:
    using Key = uintptr_t; // identifies one plugged board (a replugged board is a new key); 0 = none

    // The number of a board, if it has one.
    std::optional<int> find(Key key) const;
    // Gives a board the lowest free number; nothing when all are taken or the key is 0.
    std::optional<int> assign(Key key);
    void release(int slot);
    Key at(int slot) const { return slot >= 0 && slot < kSlotCount ? keys_[slot] : 0; }
    int used() const;

private:
    std::array<Key, kSlotCount> keys_{};
};

} // namespace usbhost
