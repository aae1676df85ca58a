// The OSK Control window's value fields: eighteen text boxes of four kinds (frequency, phase, amplitude,
// ramp rate), and the two spin bars that step a word and write its register at once.

#include "sweep/frm_freq_and_sweep.h"

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
    frequency(txtOutFreqST, {0x07, 31, 0}, "Edit output frequency");
    plain(txtPhaseOffsetST, ValueKind::Phase, {0x08, 15, 0});
    plain(txtAmpScaleST, ValueKind::Amplitude, {0x09, 15, 2});
    values_.add({.box = &txtASKRR,
                 .kind = ValueKind::RampRate,
                 .field = {0x09, 31, 16},
                 .caption = QStringLiteral("Edit Amplitude Ramp Rate"),
                 .rateName = QStringLiteral("Amplitude Address Ramp Rate")});
    frequency(txtLSSweepFreq0, {0x0B, 31, 0}, "Edit Sweep Frequency 0");
    frequency(txtLSSweepFreq1, {0x0B, 63, 32}, "Edit Sweep Frequency 1");
    frequency(txtLSRisingDFW0, {0x0C, 31, 0}, "Edit Sweep Rising Step Size");
    frequency(txtLSFallingDFW1, {0x0C, 63, 32}, "Edit Sweep Falling Step Size");
    plain(txtLSSweepPhase0, ValueKind::Phase, {0x0B, 31, 16});
    plain(txtLSSweepPhase1, ValueKind::Phase, {0x0B, 63, 48});
    plain(txtLSRisingDPW0, ValueKind::Phase, {0x0C, 31, 16});
    plain(txtLSFallingDPW1, ValueKind::Phase, {0x0C, 63, 48});
    plain(txtLSSweepAmp0, ValueKind::Amplitude, {0x0B, 31, 18});
    plain(txtLSSweepAmp1, ValueKind::Amplitude, {0x0B, 63, 50});
    plain(txtLSRisingDAW0, ValueKind::Amplitude, {0x0C, 31, 18});
    plain(txtLSFallingDAW1, ValueKind::Amplitude, {0x0C, 63, 50});
    rampRate(txtLSRisingRR, {0x0D, 15, 0}, QStringLiteral("Rising Sweep Ramp Rate"));
    rampRate(txtLSFallingRR, {0x0D, 31, 16}, QStringLiteral("Falling Sweep Ramp Rate"));
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
