#pragma once

// The registers the register debug window offers, by run mode and silicon revision: 00H-16H always, the
// revision 3 blocks where that revision's layout applies, and the test register in the engineering modes.

#include <QString>
#include <cstdint>
#include <vector>

struct DebugRegisterItem {
    QString name;
    int16_t addr = 0;
    bool operator==(const DebugRegisterItem&) const = default;
};

// The list in the order the window shows it. A silicon revision code other than 1 and 2 (3, or 0 when no
// chip answered) takes the revision 3 layout.
std::vector<DebugRegisterItem> debugRegisterList(int16_t siliconRev, int16_t runMode);
