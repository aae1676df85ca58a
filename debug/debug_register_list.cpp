#include "debug/debug_register_list.h"

#include <array>

namespace {

// 00H-16H, in address order.
constexpr std::array<const char*, 23> kCommonNames = {
    "CFR1 - 00H",     "CFR2 - 01H",     "CFR3 - 02H",     "DAC CTRL - 03H", "IOUD Rt - 04H",
    "RSR0 - 05H",     "RSR1 - 06H",     "FTW - 07H",      "POW - 08H",      "ASF - 09H",
    "MCS - 0AH",      "LSPR - 0BH",     "LSDPR - 0CH",    "LSRR - 0DH",     "Profile0 - 0EH",
    "Profile1 - 0FH", "Profile2 - 10H", "Profile3 - 11H", "Profile4 - 12H", "Profile5 - 13H",
    "Profile6 - 14H", "Profile7 - 15H", "RAM - 16H",
};

void add(std::vector<DebugRegisterItem>& list, const char* name, int addr)
{
    list.push_back({QString::fromLatin1(name), static_cast<int16_t>(addr)});
}

} // namespace

std::vector<DebugRegisterItem> debugRegisterList(int16_t siliconRev, int16_t runMode)
{
    const bool rev12 = siliconRev == 1 || siliconRev == 2;
    std::vector<DebugRegisterItem> list;
    list.reserve(kCommonNames.size() + 6);
    for (size_t addr = 0; addr < kCommonNames.size(); ++addr)
        add(list, kCommonNames[addr], static_cast<int>(addr));
    if (!rev12 && runMode >= 0 && runMode <= 4) {
        add(list, "GPIO Config - 18H", 0x18);
        add(list, "GPIO Read - 19H", 0x19);
    }
    if (!rev12 && runMode == 5) {
        add(list, "WDT - 17H", 0x17);
        add(list, "GPIO Config - 18H", 0x18);
        add(list, "GPIO Read - 19H", 0x19);
        add(list, "ADC Control - 1AH", 0x1A);
        add(list, "ADC Results- 1BH", 0x1B);
    }
    if (runMode == 2 || runMode == 3) {
        if (rev12)
            add(list, "Test - 17H", 0x17);
        else
            add(list, "Test - 1FH", 0x1F);
    }
    return list;
}
