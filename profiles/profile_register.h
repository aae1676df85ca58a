#pragma once

// The registers the Profiles window owns and the fields it edits in them. Register values are bit strings
// ("0"/"1", most significant bit first, so bit 0 is the last character); a field is the run of bits hi..lo.

#include "platform/runtime/decimal.h"

#include <QString>
#include <cstdint>

namespace profiles {

constexpr int16_t kCFR1 = 0x00;
constexpr int16_t kCFR2 = 0x01;
constexpr int16_t kFirstProfileRegister = 0x0E;
constexpr int kProfileCount = 8;

constexpr int16_t profileRegister(int profile)
{
    return static_cast<int16_t>(kFirstProfileRegister + profile);
}

// One field of a profile register.
struct BitField {
    int hi;
    int lo;
    constexpr int width() const { return hi - lo + 1; }
};

// Fields of the three forms of a profile register.
constexpr BitField kFrequencyField{31, 0};
constexpr BitField kPhaseField{47, 32};
constexpr BitField kAmplitudeField{61, 48};
constexpr BitField kOutputScaleField{55, 48};
constexpr BitField kCCIRateField{63, 58};
constexpr int kSpectralInversionBit = 57;
constexpr int kInverseCCIBypassBit = 56;
constexpr BitField kRAMBeginField{23, 14};
constexpr BitField kRAMFinalField{39, 30};
constexpr BitField kRAMRampRateField{55, 40};
constexpr BitField kRAMModeField{2, 0};
constexpr int kRAMNoDwellBit = 5;
constexpr int kRAMZeroCrossingBit = 3;

// The unsigned value of a field; bits the value is too short to hold count as 0.
uint64_t fieldValue(const QString& bits, BitField field);
inline int bitValue(const QString& bits, int bit)
{
    return static_cast<int>(fieldValue(bits, {bit, bit}));
}

// The value with the field replaced by the low bits of `word` (two's complement for a negative word), every
// other character kept. A value too short to hold the field is returned unchanged.
QString withField(const QString& bits, BitField field, const rt::Decimal& word);

// The word a value box keeps in its Tag (decimal text, possibly zero-padded); empty or unreadable text is 0.
rt::Decimal tagWord(const QString& tag);

} // namespace profiles
