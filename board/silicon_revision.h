#pragma once

// Detection of the chip's silicon revision through its 40-bit identification register (0x1F in the
// revision 3 layout, 0x17 in the revision 1/2 layout), over what the detection needs of the board.

#include <QString>

#include <cstdint>
#include <functional>

namespace siliconrev {

inline constexpr int16_t kRev3IdRegister = 0x1F;
inline constexpr int16_t kRev12IdRegister = 0x17;
// The identification register's answer on every revision.
inline const QString kIdentificationPattern = QStringLiteral("0000000011000000000000000000000100000000");

struct Probe {
    // The register's bits read from the chip in the present layout's width ("" when the read failed).
    std::function<QString(int16_t addr)> readRegister;
    // Pulses the serial port's I/O reset line.
    std::function<void()> ioResetPulse;
    // Switches the register layout (and both maps) to a revision's.
    std::function<void(int16_t rev)> useLayout;
};

// 3 = silicon revision 3, 2 = revisions 1 or 2, 0 = no chip answered (the revision 3 layout in place).
int16_t detect(const Probe& probe);

// The product flag of an identification register's bits: 1 when its 9th character is "1".
int16_t productOf(const QString& identification);

} // namespace siliconrev
