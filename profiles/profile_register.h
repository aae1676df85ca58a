#pragma once

// The registers the Profiles window owns and the fields it edits in them.

#include "board/chip_registers.h"

#include "platform/runtime/decimal.h"

#include <QString>
#include <cstdint>

namespace profiles {

// Reaches the chip once per LOAD in which it was set.
constexpr RegisterField kClearCCI = regBit(kCFR1, 21);
// CFR1 bits 20:17: no control of the window shows them; its LOAD sends them with the rest of CFR1.
constexpr RegisterField kInternalProfileControl{kCFR1, 20, 17};

// Fields of the three forms of a profile register, given for profile 0; `ofProfile` moves one to another.
constexpr RegisterField kFrequencyField{kFirstProfileRegister, 31, 0};
constexpr RegisterField kPhaseField{kFirstProfileRegister, 47, 32};
constexpr RegisterField kAmplitudeField{kFirstProfileRegister, 61, 48};
constexpr RegisterField kOutputScaleField{kFirstProfileRegister, 55, 48};
constexpr RegisterField kCCIRateField{kFirstProfileRegister, 63, 58};
constexpr RegisterField kSpectralInversionField = regBit(kFirstProfileRegister, 57);
constexpr RegisterField kInverseCCIBypassField = regBit(kFirstProfileRegister, 56);
constexpr RegisterField kRAMBeginField{kFirstProfileRegister, 23, 14};
constexpr RegisterField kRAMFinalField{kFirstProfileRegister, 39, 30};
constexpr RegisterField kRAMRampRateField{kFirstProfileRegister, 55, 40};
constexpr RegisterField kRAMModeField{kFirstProfileRegister, 2, 0};
constexpr RegisterField kRAMNoDwellField = regBit(kFirstProfileRegister, 5);
constexpr RegisterField kRAMZeroCrossingField = regBit(kFirstProfileRegister, 3);

constexpr RegisterField ofProfile(RegisterField field, int profile)
{
    return {profileRegister(profile), field.hi, field.lo};
}

// The word a value box keeps in its Tag (decimal text, possibly zero-padded); empty or unreadable text is 0.
rt::Decimal tagWord(const QString& tag);
// The low bits of a word that the field holds (two's complement for a negative word).
uint64_t fieldWord(const RegisterField& field, const rt::Decimal& word);

} // namespace profiles
