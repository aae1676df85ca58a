#pragma once

// The ZR4470's registers by name, and the fields that more than one window or the board object uses.
// A field only one window edits stays in that window's table.

#include "board/register_field.h"

#include <cstdint>

// Register addresses.
constexpr int16_t kCFR1 = 0x00;
constexpr int16_t kCFR2 = 0x01;
constexpr int16_t kCFR3 = 0x02;
constexpr int16_t kDACCtrl = 0x03;
constexpr int16_t kIOUDRate = 0x04;
constexpr int16_t kRSR0 = 0x05;
constexpr int16_t kRSR1 = 0x06;
constexpr int16_t kFTW = 0x07;
constexpr int16_t kPOW = 0x08;
constexpr int16_t kASF = 0x09;
constexpr int16_t kMCS = 0x0A;
constexpr int16_t kLSPR = 0x0B;
constexpr int16_t kLSDPR = 0x0C;
constexpr int16_t kLSRR = 0x0D;
constexpr int16_t kFirstProfileRegister = 0x0E;
constexpr int16_t kLastProfileRegister = 0x15;
constexpr int16_t kRAMRegister = 0x16;
// Silicon revision 3 only.
constexpr int16_t kWDT = 0x17;
constexpr int16_t kGPIOConfig = 0x18;
constexpr int16_t kGPIORead = 0x19;
constexpr int16_t kADCControl = 0x1A;
constexpr int16_t kADCResults = 0x1B;

constexpr int kProfileCount = 8;

constexpr int16_t profileRegister(int profile)
{
    return static_cast<int16_t>(kFirstProfileRegister + profile);
}

// RAM segment register of segment 0 or 1.
constexpr int16_t ramSegmentRegister(int segment)
{
    return static_cast<int16_t>(kRSR0 + segment);
}

// CFR1.
constexpr RegisterField kRAMEnable = regBit(kCFR1, 31);
constexpr RegisterField kQDUCRAMDest = regBit(kCFR1, 28);
// 0 quadrature modulation, 1 single tone, 2 interpolating DAC, 3 no mode.
constexpr RegisterField kOperatingMode{kCFR1, 25, 24};
constexpr RegisterField kOutputShiftKeying = regBit(kCFR1, 9);
// CFR2.
constexpr RegisterField kSXIEnable = regBit(kCFR2, 31);
constexpr RegisterField kProfileAmplitude = regBit(kCFR2, 24);
constexpr RegisterField kDigitalRampEnable = regBit(kCFR2, 19);
// CFR3: the clock. The PLL's ratio and M divider are revision 1/2 fields, its multiplier and the PFD input
// doubler revision 3 fields over the same bits.
constexpr RegisterField kReferenceDividerOff = regBit(kCFR3, 15);
constexpr RegisterField kPllEnable = regBit(kCFR3, 8);
constexpr RegisterField kPllRatioSR12{kCFR3, 7, 2};
constexpr RegisterField kPllMDividerSR12{kCFR3, 1, 0};
constexpr RegisterField kPllMultiplierSR3{kCFR3, 7, 1};
constexpr RegisterField kPfdInputDoublerSR3 = regBit(kCFR3, 0);

// The single-tone words (the OSK Control window edits them; the Profiles window's profile 0 mirrors them).
constexpr RegisterField kFrequencyTuningWord{kFTW, 31, 0};
constexpr RegisterField kPhaseOffsetWord{kPOW, 15, 0};
constexpr RegisterField kAmplitudeScaleFactor{kASF, 15, 2};
constexpr RegisterField kAmplitudeRampRate{kASF, 31, 16};
constexpr RegisterField kAmplitudeStepSize{kASF, 1, 0};
// The digital ramp: limits (LSPR), step sizes (LSDPR) and rates (LSRR). Each 64-bit register holds the
// lower word in bits 31..0 and the upper one in bits 63..32; a phase sits in the top 16 bits of its word,
// an amplitude in the top 14.
constexpr RegisterField kRampLowerFrequency{kLSPR, 31, 0};
constexpr RegisterField kRampUpperFrequency{kLSPR, 63, 32};
constexpr RegisterField kRampLowerPhase{kLSPR, 31, 16};
constexpr RegisterField kRampUpperPhase{kLSPR, 63, 48};
constexpr RegisterField kRampLowerAmplitude{kLSPR, 31, 18};
constexpr RegisterField kRampUpperAmplitude{kLSPR, 63, 50};
constexpr RegisterField kRampRisingFrequencyStep{kLSDPR, 31, 0};
constexpr RegisterField kRampFallingFrequencyStep{kLSDPR, 63, 32};
constexpr RegisterField kRampRisingPhaseStep{kLSDPR, 31, 16};
constexpr RegisterField kRampFallingPhaseStep{kLSDPR, 63, 48};
constexpr RegisterField kRampRisingAmplitudeStep{kLSDPR, 31, 18};
constexpr RegisterField kRampFallingAmplitudeStep{kLSDPR, 63, 50};
constexpr RegisterField kRampRisingRate{kLSRR, 15, 0};
constexpr RegisterField kRampFallingRate{kLSRR, 31, 16};
