// The OSK Control window's value fields: eighteen text boxes of four kinds (frequency, phase, amplitude,
// ramp rate), and the two spin bars that step a word and write its register at once.

#include "sweep/frm_freq_and_sweep.h"

#include "board/chip_registers.h"
#include "board/text_util.h"

#include <limits>

using profiles::ValueKind;
using profiles::ValueRow;

void frmFreqAndSweep::buildValueFields()
{
    auto frequency = [this](ui::TextBox& box, RegisterField field, const char* caption) {
        values_.add({.box = &box, .kind = ValueKind::Frequency, .field = field, .caption = caption});
    };
    auto plain = [this](ui::TextBox& box, ValueKind kind, RegisterField field) {
        values_.add({.box = &box, .kind = kind, .field = field});
    };
    auto rampRate = [this](ui::TextBox& box, RegisterField field, const QString& name) {
        values_.add({.box = &box,
                     .kind = ValueKind::RampRate,
                     .field = field,
                     .caption = QStringLiteral("Edit ") + name,
                     .rateName = name});
    };
    frequency(txtOutFreqST, kFrequencyTuningWord, "Edit output frequency");
    plain(txtPhaseOffsetST, ValueKind::Phase, kPhaseOffsetWord);
    plain(txtAmpScaleST, ValueKind::Amplitude, kAmplitudeScaleFactor);
    values_.add({.box = &txtASKRR,
                 .kind = ValueKind::RampRate,
                 .field = kAmplitudeRampRate,
                 .caption = QStringLiteral("Edit Amplitude Ramp Rate"),
                 .rateName = QStringLiteral("Amplitude Address Ramp Rate")});
    frequency(txtLSSweepFreq0, kRampLowerFrequency, "Edit Sweep Frequency 0");
    frequency(txtLSSweepFreq1, kRampUpperFrequency, "Edit Sweep Frequency 1");
    frequency(txtLSRisingDFW0, kRampRisingFrequencyStep, "Edit Sweep Rising Step Size");
    frequency(txtLSFallingDFW1, kRampFallingFrequencyStep, "Edit Sweep Falling Step Size");
    plain(txtLSSweepPhase0, ValueKind::Phase, kRampLowerPhase);
    plain(txtLSSweepPhase1, ValueKind::Phase, kRampUpperPhase);
    plain(txtLSRisingDPW0, ValueKind::Phase, kRampRisingPhaseStep);
    plain(txtLSFallingDPW1, ValueKind::Phase, kRampFallingPhaseStep);
    plain(txtLSSweepAmp0, ValueKind::Amplitude, kRampLowerAmplitude);
    plain(txtLSSweepAmp1, ValueKind::Amplitude, kRampUpperAmplitude);
    plain(txtLSRisingDAW0, ValueKind::Amplitude, kRampRisingAmplitudeStep);
    plain(txtLSFallingDAW1, ValueKind::Amplitude, kRampFallingAmplitudeStep);
    rampRate(txtLSRisingRR, kRampRisingRate, QStringLiteral("Rising Sweep Ramp Rate"));
    rampRate(txtLSFallingRR, kRampFallingRate, QStringLiteral("Falling Sweep Ramp Rate"));
}

void frmFreqAndSweep::focusLoad()
{
    if (cmdLoad.Enabled())
        cmdLoad.SetFocus();
}

// ---- spin bars ----

void frmFreqAndSweep::txtPhOSpinStepST_KeyPress(int& keyAscii)
{
    keyAscii = KeyFilterNoSign(KeyFilterSignedInt(keyAscii));
}

void frmFreqAndSweep::vscAmpScaleSpinST_Change()
{
    values_.spin(vscAmpScaleSpinST, txtAmpScaleStepST, txtAmpScaleST, std::numeric_limits<int16_t>::max());
}

void frmFreqAndSweep::vscPhaseOSpinST_Change()
{
    values_.spin(vscPhaseOSpinST, txtPhOSpinStepST, txtPhaseOffsetST, std::numeric_limits<int16_t>::max());
}
