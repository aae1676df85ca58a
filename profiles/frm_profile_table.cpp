// The Profiles window's field table: for each profile the boxes, check boxes and lists of its three forms
// and the fields of its register they show, then the window-wide check boxes of CFR1 and CFR2. The Click
// handlers, RefreshFormVals and the load indicator all walk it; the value boxes are rows of the value-field
// kit, stored by their commit (which clips a typed value and keeps its word in the Tag) and shown from the
// map with that word in the Tag.

#include "profiles/frm_profile.h"

#include "profiles/profile_register.h"

using namespace profiles;

void frmProfile::addProfileRows(int n)
{
    auto inForm = [this](int16_t form) { return [this, form] { return refreshForm_ == form; }; };
    // A value box of form `applies`; a click selects its text as the focus does.
    auto valueBox = [this](ValueRow row, std::function<bool()> applies) {
        row.selectOnClick = true;
        values_.addTo(fields_, std::move(row)).applies = std::move(applies);
    };
    const QString frequencyCaption = QStringLiteral("Edit output frequency");

    // Quadrature modulation.
    const auto qduc = inForm(kFormQDUC);
    valueBox({.box = &txtOutFreqQD(n),
              .kind = ValueKind::Frequency,
              .field = ofProfile(kFrequencyField, n),
              .caption = frequencyCaption},
             qduc);
    valueBox({.box = &txtPhaseOffsetQD(n), .kind = ValueKind::Phase, .field = ofProfile(kPhaseField, n)},
             qduc);
    valueBox(
        {.box = &txtOSFValQD(n), .kind = ValueKind::OutputScale, .field = ofProfile(kOutputScaleField, n)},
        qduc);
    fields_.check(chkInvCCIQD(n), ofProfile(kInverseCCIBypassField, n)).applies = qduc;
    fields_.check(chkSpectralInvQD(n), ofProfile(kSpectralInversionField, n)).applies = qduc;
    // The interpolation rate: 1 .. 63, anything else 2; its tool tip shows the typed rate's bits.
    valueBox({.box = &txtCCIValQD(n),
              .kind = ValueKind::Word,
              .field = ofProfile(kCCIRateField, n),
              .numberToolTip = true,
              .lowest = 1,
              .highest = 63,
              .fallback = 2},
             qduc);

    // Single tone.
    const auto singleTone = inForm(kFormSingleTone);
    valueBox({.box = &txtOutFreqST(n),
              .kind = ValueKind::Frequency,
              .field = ofProfile(kFrequencyField, n),
              .caption = frequencyCaption},
             singleTone);
    valueBox({.box = &txtPhaseOffsetST(n), .kind = ValueKind::Phase, .field = ofProfile(kPhaseField, n)},
             singleTone);
    valueBox({.box = &txtAmpScaleST(n), .kind = ValueKind::Amplitude, .field = ofProfile(kAmplitudeField, n)},
             singleTone);
    for (ui::TextBox* step : {&txtPhOSpinStepST(n), &txtAmpScaleStepST(n)})
        ValueFields::bindStepBox(*step, true);

    // RAM segment. Modes 5-7 have no item: the list shows its first.
    const auto ram = inForm(kFormRAM);
    regwin::FieldRow& mode = fields_.combo(cmbRAMSegModeControl(n), ofProfile(kRAMModeField, n));
    mode.applies = ram;
    mode.indexOf = [](uint64_t value) { return value <= 4 ? static_cast<int>(value) : 0; };
    fields_.check(chkRAMZeroCrossing(n), ofProfile(kRAMZeroCrossingField, n)).applies = ram;
    fields_.check(chkRAMNoDwellActive(n), ofProfile(kRAMNoDwellField, n)).applies = ram;
    valueBox(
        {.box = &txtRAMSegBeginAddr(n), .kind = ValueKind::Address, .field = ofProfile(kRAMBeginField, n)},
        ram);
    valueBox(
        {.box = &txtRAMSegFinalAddr(n), .kind = ValueKind::Address, .field = ofProfile(kRAMFinalField, n)},
        ram);
    // The step rate's range reads from 0 up.
    valueBox({.box = &txtRAMSegAddrRampRate(n),
              .kind = ValueKind::RampRate,
              .field = ofProfile(kRAMRampRateField, n),
              .caption = QStringLiteral("Edit RAM Address Ramp Rate"),
              .rateName = QStringLiteral("Address Step Rate"),
              .rangeFromLongest = false},
             ram);
}

void frmProfile::buildFieldTable()
{
    for (int n = 0; n < kProfileCount; ++n)
        if (fraProfileQDUC.exists(n) && fraProfileRAM.exists(n) && fraProfileSnglTone.exists(n))
            addProfileRows(n);

    // The window-wide boxes: CFR1 bits 22, 21 and 16, CFR2 bits 24 and 8.
    regwin::FieldRow& profileAmplitude =
        fields_.check(chkUseProfileOSK, kProfileAmplitude, [this] { UdControlState(); });
    profileAmplitude.afterOnRefresh = true;
    fields_.check(chkClearCCI, kClearCCI);
    fields_.check(chkInvSincEn, regBit(kCFR1, 22));
    fields_.check(chkEnableSineOut, regBit(kCFR1, 16));
    fields_.check(chkQFirstData, regBit(kCFR2, 8));
    fields_.bindClicks();
}
