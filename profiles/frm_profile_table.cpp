// The Profiles window's field table: for each profile the boxes, check boxes and lists of its three forms
// and the fields of its register they show, then the window-wide check boxes of CFR1 and CFR2. The Click
// handlers and RefreshFormVals both walk it; the value boxes are stored by their validation (which clips a
// typed value and keeps its word in the Tag) and shown from the map with that word in the Tag.

#include "profiles/frm_profile.h"

#include "profiles/mod_edit_dialog_subs.h"
#include "profiles/mod_edit_out_freq.h"
#include "profiles/profile_register.h"

#include "platform/runtime/number_format.h"

using namespace profiles;

namespace {

constexpr int16_t kTuningWordBits = 32;

std::optional<uint64_t> storedByValidation()
{
    return std::nullopt;
}

} // namespace

void frmProfile::addProfileRows(int n)
{
    auto inForm = [this](int16_t form) { return [this, form] { return refreshForm_ == form; }; };
    // A value box of form `applies`: shown from the map with the word in its Tag and `text` of the word in
    // the box; stored by its validation.
    auto valueBox = [this](ui::TextBox& box, const RegisterField& field,
                           std::function<QString(uint64_t)> text, std::function<bool()> applies) {
        fields_
            .custom(
                box, field,
                [&box, text = std::move(text)](uint64_t word) {
                    box.Tag = QString::number(word);
                    box.setText(text(word));
                },
                storedByValidation)
            .applies = std::move(applies);
    };
    auto wordText = [](uint64_t word) { return QString::number(word); };
    auto frequencyText = [this](uint64_t word) {
        const double clock = sysClock();
        return edtFormatFreq(
            edtFTWToFreq(rt::Decimal(static_cast<unsigned long long>(word)), clock, kTuningWordBits),
            kTuningWordBits, clock);
    };
    auto phaseText = [](uint64_t word) {
        return rt::Format(edtPOWToDegrees(static_cast<double>(word)), QStringLiteral("0.000"));
    };

    // Quadrature modulation.
    const auto qduc = inForm(kFormQDUC);
    valueBox(txtOutFreqQD(n), ofProfile(kFrequencyField, n), frequencyText, qduc);
    valueBox(txtPhaseOffsetQD(n), ofProfile(kPhaseField, n), phaseText, qduc);
    valueBox(
        txtOSFValQD(n), ofProfile(kOutputScaleField, n),
        [](uint64_t word) {
            return rt::Format(edtOSFToGain(static_cast<int16_t>(word)), QStringLiteral("0.0000000"));
        },
        qduc);
    fields_.check(chkInvCCIQD(n), ofProfile(kInverseCCIBypassField, n)).applies = qduc;
    fields_.check(chkSpectralInvQD(n), ofProfile(kSpectralInversionField, n)).applies = qduc;
    valueBox(txtCCIValQD(n), ofProfile(kCCIRateField, n), wordText, qduc);

    // Single tone.
    const auto singleTone = inForm(kFormSingleTone);
    valueBox(txtOutFreqST(n), ofProfile(kFrequencyField, n), frequencyText, singleTone);
    valueBox(txtPhaseOffsetST(n), ofProfile(kPhaseField, n), phaseText, singleTone);
    valueBox(
        txtAmpScaleST(n), ofProfile(kAmplitudeField, n),
        [](uint64_t word) {
            return rt::Format(edtASFToAmpl(static_cast<int32_t>(word)), QStringLiteral("0.00000"));
        },
        singleTone);

    // RAM segment. Modes 5-7 have no item: the list shows its first.
    const auto ram = inForm(kFormRAM);
    regwin::FieldRow& mode = fields_.combo(cmbRAMSegModeControl(n), ofProfile(kRAMModeField, n));
    mode.applies = ram;
    mode.indexOf = [](uint64_t value) { return value <= 4 ? static_cast<int>(value) : 0; };
    fields_.check(chkRAMZeroCrossing(n), ofProfile(kRAMZeroCrossingField, n)).applies = ram;
    fields_.check(chkRAMNoDwellActive(n), ofProfile(kRAMNoDwellField, n)).applies = ram;
    valueBox(txtRAMSegBeginAddr(n), ofProfile(kRAMBeginField, n), wordText, ram);
    valueBox(txtRAMSegFinalAddr(n), ofProfile(kRAMFinalField, n), wordText, ram);
    valueBox(
        txtRAMSegAddrRampRate(n), ofProfile(kRAMRampRateField, n),
        [this](uint64_t word) {
            return edtFormatRAMRRTime(CalculateRAMRRTime(static_cast<int32_t>(word), sysClock()));
        },
        ram);
}

void frmProfile::buildFieldTable()
{
    for (int n = 0; n < kProfileCount; ++n)
        if (fraProfileQDUC.exists(n) && fraProfileRAM.exists(n) && fraProfileSnglTone.exists(n))
            addProfileRows(n);

    regwin::FieldRow& profileAmplitude =
        fields_.check(chkUseProfileOSK, kProfileAmplitude, [this] { UdControlState(); });
    profileAmplitude.afterOnRefresh = true;
    fields_.check(chkClearCCI, kClearCCI);
    fields_.check(chkInvSincEn, regBit(kCFR1, 22));
    fields_.check(chkEnableSineOut, regBit(kCFR1, 16));
    fields_.check(chkQFirstData, regBit(kCFR2, 8));
    fields_.bindClicks();
}
