#pragma once

// Bit-string helpers of the Control window: fields of a register value ("0"/"1", most significant bit
// first, bit 0 = the last character), the numbers typed into its boxes, and the bits the load indicator
// compares.

#include <QString>
#include <cstdint>
#include <optional>

namespace control {

// The register addresses the window owns.
constexpr int16_t kCFR1 = 0x00;
constexpr int16_t kCFR2 = 0x01;
constexpr int16_t kCFR3 = 0x02;
constexpr int16_t kDACCtrl = 0x03;
constexpr int16_t kIOUDRate = 0x04;

// The largest count of the I/O update rate register.
constexpr double kMaxIOUDCount = 4294967295.0;

// The unsigned value of bits hi..lo; 0 when the value is too short to hold them.
uint64_t fieldOf(const QString& bits, int hi, int lo);
// The value with bits hi..lo replaced by the low (hi - lo + 1) bits of `value`, the other characters kept;
// unchanged when it is too short to hold the field.
QString withField(const QString& bits, int hi, int lo, uint64_t value);
// `width` characters of the low bits of a value, most significant first.
QString binaryOf(uint64_t value, int width);

// The characters of a register that the load indicator compares between the pending and written copies
// (CFR1 and CFR2 reduced to their compared bits, every other register whole).
QString comparedBits(int16_t addr, const QString& bits);

// A box's text as a number in the user's locale, or nothing when it is not one.
std::optional<double> numberOf(const QString& text);

} // namespace control
