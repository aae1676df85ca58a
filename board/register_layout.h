#pragma once

// The chip's register layout per silicon revision: the width of each address 0x00-0x1F and its reset
// value. Revisions 1 and 2 share one layout; every other revision, 0 included, has the revision 3 layout.

#include <QString>

#include <cstdint>

namespace reglayout {

inline constexpr int kRegisterCount = 32;

// The width in bits of `addr` on a chip of revision `rev`; 0 for an address outside the map.
int16_t widthOn(int16_t rev, int16_t addr);

// The reset value of `addr` on revision `rev` as a bit string of the register's width ("" outside the map).
QString defaultOn(int16_t rev, int16_t addr);

} // namespace reglayout
