// The Control window's field table: every check box, list and value box that shows a register field, the
// field it edits and what follows a change. The Click handlers and RefreshFormVals both walk it, and the
// load indicator compares its fields.

#include "shell/frm_control.h"

#include "board/chip_registers.h"
#include "boardui/form_names.h"

#include "platform/ui/forms.h"

#include <algorithm>

namespace {

// The consequence of a change runs for a refresh too: greying and clocks follow what the window shows.
regwin::FieldRow& alsoOnRefresh(regwin::FieldRow& row)
{
    row.afterOnRefresh = true;
    return row;
}

} // namespace

void frmControl::buildFieldTable()
{
    auto rev3 = [this] { return isRev3Layout(); };
    auto rev12 = [this] { return !isRev3Layout(); };
    // The band lists are shown by RefreshFormVals once the clocks are worked out.
    auto afterTheClocks = [] { return false; };
    auto clocks = [this] { UpdateClks(); };

    // ---- CFR1: operating mode, RAM, power down, phase accumulator ----
    // A field value of 3 (no mode) shows as the last mode.
    alsoOnRefresh(fields_.list(lstOppMode, kOperatingMode, [this] {
        modeState_.operatingModeChanged();
    })).indexOf = [](uint64_t mode) { return static_cast<int>(std::min<uint64_t>(mode, 2)); };
    // RAM enable and the RAM destination never make the indicator blink: LOAD may clear RAM enable itself,
    // and the RAM segment window loads them with its own registers.
    auto& ramEnable = alsoOnRefresh(fields_.check(chkEnableRAM, kRAMEnable, [this] {
        // The profile window's form depends on the RAM enable bit.
        ui::Forms::callIfLoaded(formnames::frmProfile, formnames::RefreshFormVals);
        UdControlState();
    }));
    ramEnable.indicated = false;
    fields_.check(chkEnQDUCRAMEval, kQDUCRAMDest).indicated = false;
    fields_.check(chkAutoPD, regBit(kCFR1, 2));
    fields_.check(chkDigitalPD, regBit(kCFR1, 7));
    fields_.check(chkDACPD, regBit(kCFR1, 6));
    fields_.check(chkClkInpPD, regBit(kCFR1, 5));
    fields_.check(chkAuxDACPD, regBit(kCFR1, 4));
    fields_.list(lsbExternPDMode, regBit(kCFR1, 3));
    fields_.check(chkAutoClearPhaseAcc, regBit(kCFR1, 13));
    fields_.check(chkClearPhaseAcc, regBit(kCFR1, 11));

    // ---- CFR2: I/O update, sync clock, SXI, PDCLK, data assembler ----
    alsoOnRefresh(
        fields_.check(chkInternalIOUpdate, regBit(kCFR2, 23), [this] { ioUpdateRate_.showState(); }));
    fields_.check(chkEnableSincClkOut, regBit(kCFR2, 22));
    fields_.check(chkEnMatchedLatency, regBit(kCFR2, 7));
    alsoOnRefresh(fields_.check(chkActivateSXIMode, kSXIEnable, [this] { modeState_.sxiModeChanged(); }));
    fields_.list(lsbSXIBitOrder, regBit(kCFR2, 30));
    fields_.list(lsbDataFormatSXI, regBit(kCFR2, 12));
    alsoOnRefresh(fields_.check(chkEnablePDCLK, regBit(kCFR2, 11), [this] { modeState_.showPDCLKState(); }));
    fields_.check(chkInvertPDCLK, regBit(kCFR2, 10));
    fields_.check(chkInvertTxEnable, regBit(kCFR2, 9));
    fields_.check(chkEarlyFrameSyncEn, regBit(kCFR2, 29));
    fields_.check(chkPDClkRateCtrl, regBit(kCFR2, 13));
    fields_.check(chkDataAssmHldsLastVal, regBit(kCFR2, 6));
    alsoOnRefresh(fields_.combo(cmbIOUpdateClkDiv, kIOUpdateClockDivider, [this] { UpdateIOUDClk(); }));

    // ---- CFR3: the clock ----
    alsoOnRefresh(fields_.check(chkRefclkDivDisable, kReferenceDividerOff, clocks));

    // Silicon revision 3.
    // The typed multiplier is stored by the box's Change handler, which also marks a multiplier that will
    // not lock.
    fields_
        .custom(
            txtCLKMultiVal, kMultiplierSR3,
            [this](uint64_t n) { txtCLKMultiVal.setText(QString::number(n)); },
            [] { return std::optional<uint64_t>(); })
        .applies = rev3;
    alsoOnRefresh(fields_.check(chkEnablePllSR3, kPllEnable, [this] {
        clock_.showPllSR3State();
        UpdateClks();
    })).applies = rev3;
    alsoOnRefresh(fields_.check(chkPFDInputDblr, kPfdInputDoublerSR3, clocks)).applies = rev3;
    fields_.check(chkPFDXRST, regBit(kCFR3, 10)).applies = rev3;
    fields_.combo(cmbABPW, {kCFR3, 12, 11}).applies = rev3;
    fields_.combo(cmbChargePumpCurrent, {kCFR3, 21, 19}).applies = rev3;
    fields_.combo(cmbDRV0, {kCFR3, 31, 30}).applies = rev3;
    fields_.combo(cmbXTALOut, {kCFR3, 29, 28}).applies = rev3;
    // Its Click (lsbVCORangeSR3_Click) stores the band on the revision 3 layout only: on revisions 1/2 the
    // bits are part of their own band.
    fields_
        .custom(
            lsbVCORangeSR3, kVCOBandSR3,
            [this](uint64_t band) { lsbVCORangeSR3.setListIndex(band < 6 ? static_cast<int>(band) : -1); },
            [this] {
                const int band = lsbVCORangeSR3.ListIndex();
                return band >= 0 ? std::optional<uint64_t>(band) : std::nullopt;
            })
        .applies = afterTheClocks;

    // Silicon revisions 1 and 2.
    alsoOnRefresh(fields_.check(chkEnableMulti, kPllEnable, [this] {
        clock_.showMultiplierState();
        UpdateClks();
    })).applies = rev12;
    alsoOnRefresh(fields_.combo(cmbRFDividerRatio, kPllRatioSR12, clocks)).applies = rev12;
    fields_.check(chkNDivResetB, regBit(kCFR3, 14)).applies = rev12;
    alsoOnRefresh(fields_.combo(cmbMDivider, kPllMDividerSR12, clocks)).applies = rev12;
    alsoOnRefresh(fields_.list(lstVCORange, kVCOBandSR12, [this] { bands_.markVCOBand(); })).applies =
        afterTheClocks;

    // ---- DAC CTRL ----
    // The typed code is stored by the box's validation, which clips it.
    fields_.custom(
        txtDACControl, kAuxDACCode, [this](uint64_t code) { txtDACControl.setText(QString::number(code)); },
        [] { return std::optional<uint64_t>(); });

    fields_.bindClicks();

    // LOAD sends CFR2, CFR3, DAC CTRL and IOUD Rt whole: their bits without a control here count too, but
    // not CFR2's bits 24, 21:16 and 8, which other windows load with their own settings.
    indicateLoadOn(lblLoadFlash,
                   {{kCFR2, 28, 25}, {kCFR2, 5, 0}, {kCFR3, 31, 0}, {kDACCtrl, 31, 0}, {kIOUDRate, 31, 0}});
}
