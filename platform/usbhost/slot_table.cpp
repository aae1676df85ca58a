#include "platform/usbhost/slot_table.h"

namespace usbhost {

std::optional<int> SlotTable::find(Key key) const
{
    if (key == 0) {
        return std::nullopt;
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (keys_[slot] == key) {
            return slot;
        }
    }
    return std::nullopt;
}

std::optional<int> SlotTable::assign(Key key)
{
    if (key == 0) {
        return std::nullopt;
    }
    if (const auto existing = find(key)) {
        return existing;
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (keys_[slot] == 0) {
            keys_[slot] = key;
            return slot;
        }
    }
    return std::nullopt;
}

void SlotTable::release(int slot)
{
    if (slot >= 0 && slot < kSlotCount) {
        keys_[slot] = 0;
    }
}

int SlotTable::used() const
{
    int count = 0;
    for (const Key key : keys_) {
        count += key != 0 ? 1 : 0;
    }
    return count;
}

} // namespace usbhost
